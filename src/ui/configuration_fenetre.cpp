// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/configuration_fenetre.h"

#include <QCheckBox>
#include <QToolButton>

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "model/masse.h"
#include "model/voie.h"
#include "ui/kvxmain.h"
#include "ui/panel_mode.h"

namespace kvx::ui {

TConfigurationFenetre::TConfigurationFenetre(TKVXmainForm &fenetre,
                                             const exchange::IniDateTime &demarrage)
    : m_fenetre(fenetre) {
  m_page.debutAcq = demarrage;
}

exchange::ValeursConfiguration TConfigurationFenetre::valeurs() const {
  const display::TgrapheKVX &g = m_fenetre.graphe();
  exchange::ValeursConfiguration v;
  v.constanteNom = m_page.constanteNom;
  v.constanteUnite = m_page.constanteUnite;
  v.constanteComm = m_page.constanteComm;
  v.abscisse = g.Abscisse;
  v.ligne = g.Ligne;
  v.points = g.Points;
  v.mode = g.Mode;
  v.duree = m_fenetre.graphe().temps().Maxi;
  v.nombre = g.nombre;
  v.debutAcq = m_page.debutAcq;
  v.monocoup = m_fenetre.moteur().monocoup();
  v.axeY = g.AxeY;
  v.grille = g.Grille;
  v.analLog = g.AnalLog;
  v.dimPoint = g.DimPoint;
  v.pointAuto = m_fenetre.PanelMode->PointAutoCB->isChecked();
  v.masse = model::Masse();
  v.synchroMode = g.ModeSynchro;
  v.front = m_fenetre.moteur().EntreeFront();
  v.seuil = g.Seuil;
  v.bouge = g.Bouge;
  v.voie = g.VoieSynchro;
  return v;
}

void TConfigurationFenetre::appliqueValeurs(const exchange::ValeursConfiguration &v) {
  display::TgrapheKVX &g = m_fenetre.graphe();
  m_page.constanteNom = v.constanteNom;
  m_page.constanteUnite = v.constanteUnite;
  m_page.constanteComm = v.constanteComm;
  m_page.debutAcq = v.debutAcq;
  g.Abscisse = static_cast<std::uint8_t>(v.abscisse);
  g.Ligne = v.ligne;
  g.Points = v.points;
  g.Mode = static_cast<std::uint8_t>(v.mode);
  g.temps().FixeMaxi(v.duree);
  g.FixeNombre(v.nombre);
  m_balayageLu = std::make_pair(v.duree, v.nombre);
  m_fenetre.moteur().setMonocoup(v.monocoup);
  m_fenetre.PanelMode->MonocoupCB->setChecked(v.monocoup);
  m_fenetre.PanelMode->PointAutoCB->setChecked(v.pointAuto);
  m_fenetre.moteur().setPointAuto(v.pointAuto);
  g.AxeY = v.axeY;
  g.Grille = v.grille;
  g.AnalLog = v.analLog;
  m_fenetre.moteur().FixeEntreeFront(v.front);
  g.Seuil = v.seuil;
  g.Bouge = v.bouge;
  g.VoieSynchro = v.voie;
  // Before the channels read their sections: their inputs take their range
  // from the reference.
  model::FixeMasse(v.masse);
  g.ModeSynchro = static_cast<std::uint8_t>(v.synchroMode);
  g.DimPoint = v.dimPoint;
}

void TConfigurationFenetre::litVoie(int slot, const std::string &section,
                                    const model::IniSections &document) {
  m_fenetre.graphe().voie(slot).LitSection(section, document);
}

void TConfigurationFenetre::ecritVoie(int slot, const std::string &section,
                                      model::IniSections &document) {
  m_fenetre.graphe().voie(slot).EcritSection(section, document);
}

void TConfigurationFenetre::finLecture() {
  display::TgrapheKVX &g = m_fenetre.graphe();
  // The file's channel sections come after its count: a 6400-point scan of
  // one input, opened while two were in use, was cut to 3200 points.
  // With no input on, the count stays as read: setting it would switch the
  // first input on without the question the engine asks then.
  bool entree = false;
  for (int slot = model::kVoieV1; slot <= model::kVoieV4; ++slot)
    entree = entree || g.voie(slot).Active;
  if (m_balayageLu && entree) {
    g.temps().FixeMaxi(m_balayageLu->first);
    g.FixeNombre(m_balayageLu->second);
  }
  m_balayageLu.reset();
  // The recorded points belong to the settings they were taken with.
  g.nbPoints = 0;
  m_fenetre.RegSaveBtn->setEnabled(false);
}

}  // namespace kvx::ui
