// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/configuration_moteur.h"

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "model/masse.h"
#include "model/voie.h"

namespace kvx::device {

exchange::ValeursConfiguration ConfigurationMoteur::valeurs() const {
  display::TgrapheKVX &g = m_graphe;  // its time base has no const access
  exchange::ValeursConfiguration v;
  v.abscisse = g.Abscisse;
  v.ligne = g.Ligne;
  v.points = g.Points;
  v.mode = g.Mode;
  v.duree = g.temps().Maxi;
  v.nombre = g.nombre;
  v.monocoup = m_moteur.monocoup();
  v.axeY = g.AxeY;
  v.grille = g.Grille;
  v.analLog = g.AnalLog;
  v.dimPoint = g.DimPoint;
  v.pointAuto = m_moteur.pointAuto();
  v.masse = model::Masse();
  v.synchroMode = g.ModeSynchro;
  v.front = m_moteur.EntreeFront();
  v.seuil = g.Seuil;
  v.bouge = g.Bouge;
  v.voie = g.VoieSynchro;
  return v;
}

void ConfigurationMoteur::appliqueValeurs(const exchange::ValeursConfiguration &v) {
  display::TgrapheKVX &g = m_graphe;
  g.Abscisse = static_cast<std::uint8_t>(v.abscisse);
  g.Ligne = v.ligne;
  g.Points = v.points;
  g.Mode = static_cast<std::uint8_t>(v.mode);
  g.temps().FixeMaxi(v.duree);
  g.FixeNombre(v.nombre);
  m_balayageLu = std::make_pair(v.duree, v.nombre);
  m_moteur.setMonocoup(v.monocoup);
  m_moteur.setPointAuto(v.pointAuto);
  g.AxeY = v.axeY;
  g.Grille = v.grille;
  g.AnalLog = v.analLog;
  m_moteur.FixeEntreeFront(v.front);
  g.Seuil = v.seuil;
  g.Bouge = v.bouge;
  g.VoieSynchro = v.voie;
  // Before the channels read their sections: their inputs take their range
  // from the reference.
  model::FixeMasse(v.masse);
  g.ModeSynchro = static_cast<std::uint8_t>(v.synchroMode);
  g.DimPoint = v.dimPoint;
}

void ConfigurationMoteur::litVoie(int slot, const std::string &section,
                                  const model::IniSections &document) {
  m_graphe.voie(slot).LitSection(section, document);
}

void ConfigurationMoteur::ecritVoie(int slot, const std::string &section,
                                    model::IniSections &document) {
  m_graphe.voie(slot).EcritSection(section, document);
}

void ConfigurationMoteur::finLecture() {
  display::TgrapheKVX &g = m_graphe;
  // A 6400-point scan of one input, opened while two were in use, was cut
  // to 3200 points. With no input on, the count stays as read: setting it
  // would switch the first input on without the question the engine asks.
  bool entree = false;
  for (int slot = model::kVoieV1; slot <= model::kVoieV4; ++slot)
    entree = entree || g.voie(slot).Active;
  if (m_balayageLu && entree) {
    g.temps().FixeMaxi(m_balayageLu->first);
    g.FixeNombre(m_balayageLu->second);
  }
  m_balayageLu.reset();
  g.nbPoints = 0;
}

}  // namespace kvx::device
