// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/capteur.h"

#include <string_view>

#include "model/erreurs.h"
#include "model/masse.h"
#include "model/texte_utf8.h"

namespace kvx::model {

namespace {

// The choice list shows the symbols in one column.
constexpr std::size_t kLargeurNomListe = 6;

// The first n characters of a text, never cutting one in two.
std::string Debut(std::string_view texte, std::size_t n) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < n && pos < texte.size(); ++i) {
    std::size_t longueur = 0;
    LitCodePoint(texte, pos, longueur);
    pos += longueur;
  }
  return std::string(texte.substr(0, pos));
}

}  // namespace

bool TCapteur::operator==(const TCapteur &autre) const {
  return Etalonnage == autre.Etalonnage && Ampli == autre.Ampli && Alim == autre.Alim &&
         Valeur0V == autre.Valeur0V && Pente == autre.Pente && Nom == autre.Nom &&
         Unite == autre.Unite && Signif == autre.Signif && Aide == autre.Aide &&
         Numero == autre.Numero && Masse == autre.Masse;
}

void CopieCapteur(TCapteur &destination, const TCapteur &source) {
  const std::uint8_t numero = destination.Numero;
  destination = source;
  destination.Numero = numero;
}

ResultatApplication AppliqueCapteur(Tvoie &voie, const TCapteur &capteur) {
  ResultatApplication resultat;
  voie.Nom = capteur.Nom;
  try {
    voie.FixeUnite(capteur.Unite);
  } catch (const EUniteError &) {
    // The unit keeps its text and shows in power-of-ten form; the channel
    // dialog shows the unit as it stands, and a sensor half applied (a new
    // symbol over the old calibration) would be worse than an odd unit.
  }
  voie.Signif = capteur.Signif;
  voie.aide = capteur.Aide;
  voie.ampli = capteur.Ampli;
  voie.alim = capteur.Alim;
  voie.Etalonnage = capteur.Etalonnage;
  voie.Capteur = true;
  voie.Offset = capteur.Valeur0V;
  voie.UnVolt = capteur.Pente;
  // The reference first, so that the range below is the one the box will
  // give: computed with the old reference it would be wrong until the next
  // change of the channel.
  resultat.masseChangee = Masse() != capteur.Masse;
  FixeMasse(capteur.Masse);
  // Choosing the input recomputes the range through the calibration.
  voie.ChoisitEntree(capteur.Ampli ? kEntreeAmpli : capteur.Numero);
  if (capteur.Ampli) resultat.message = kMessageAmpli;
  return resultat;
}

std::string LigneChoixCapteur(const TCapteur &capteur) {
  std::string nom = Debut(capteur.Nom, kLargeurNomListe);
  const std::size_t n = NombreCaracteres(nom);
  if (n < kLargeurNomListe) nom.append(kLargeurNomListe - n, ' ');
  return nom + ": " + capteur.Signif;
}

std::string LigneListeCapteur(const TCapteur &capteur) {
  return capteur.Nom + " " + capteur.Signif;
}

std::string TextePente(const std::string &nom, const std::string &unite) {
  return "Δ" + nom + "/ΔV (" + unite + "/V)";
}

}  // namespace kvx::model
