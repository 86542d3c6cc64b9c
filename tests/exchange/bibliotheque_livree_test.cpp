// SPDX-License-Identifier: GPL-3.0-or-later
// The sensor library shipped with the program, data/kvx.CPT, read as the
// program reads it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "dossier_temporaire.h"
#include "exchange/atomic_file.h"
#include "exchange/fichier_capteurs.h"
#include "exchange/text_encoding.h"
#include "model/capteur.h"
#include "model/masse.h"
#include "model/separateur_decimal.h"
#include "model/texte_utf8.h"

namespace kvx::exchange {
namespace {

const std::filesystem::path kLivree =
    (std::filesystem::path(KVX_TEST_DATA) / ".." / ".." / "data" / "kvx.CPT").lexically_normal();

struct Attendu {
  const char *nom, *unite, *signif;
  double valeur0V, pente;
  int numero;
  bool etalonnage, alim;
  double mini, maxi;  // over 0..5 V
};

const Attendu kAttendus[] = {
    {"T", "°C", "Température", -30, 20, 0, false, false, -30, 70},
    {"E", "lux", "Éclairement", 0, 400, 1, false, false, 0, 2000},
    {"P", "hPa", "Pression", 200, 200, 2, false, false, 200, 1200},
    {"F", "N", "Force", -10, 4, 3, true, true, -10, 10},
    {"pH", "", "Acidité", 14, -2.8, 0, true, false, 0, 14},
    {"L", "dB", "Niveau sonore", 30, 20, 1, false, false, 30, 130},
    {"HR", "%", "Humidité relative", -25, 31.25, 2, false, false, -25, 131.25},
};

class BibliothequeLivree : public test::DossierTemporaire {};

TEST_F(BibliothequeLivree, EverySensorReadsBackWhole) {
  model::TlisteCapteur liste;
  ASSERT_EQ(ChargeCapteurs(kLivree, liste), ResultatCapteurs::Lu) << kLivree;
  ASSERT_EQ(liste.Nombre(), std::size(kAttendus));
  for (std::size_t i = 0; i < liste.Nombre(); ++i) {
    const model::TCapteur &c = liste.Capteur(i);
    const Attendu &a = kAttendus[i];
    EXPECT_EQ(c.Nom, a.nom);
    EXPECT_EQ(c.Unite, a.unite) << a.nom;
    EXPECT_EQ(c.Signif, a.signif) << a.nom;
    EXPECT_EQ(c.Valeur0V, a.valeur0V) << a.nom;
    EXPECT_EQ(c.Pente, a.pente) << a.nom;
    EXPECT_EQ(c.Numero, a.numero) << a.nom;
    EXPECT_EQ(c.Etalonnage, a.etalonnage) << a.nom;
    EXPECT_EQ(c.Alim, a.alim) << a.nom;
    EXPECT_FALSE(c.Ampli) << a.nom;
    // Outputs of 0 to 5 V are read against 0 V.
    EXPECT_FALSE(c.Masse) << a.nom;
    EXPECT_GT(c.Aide.size(), 20u) << a.nom;
    EXPECT_LE(model::NombreCaracteres(c.Nom), model::kNomCapteurMax) << a.nom;
    EXPECT_LE(model::NombreCaracteres(c.Unite), model::kUniteCapteurMax) << a.nom;
  }
}

TEST_F(BibliothequeLivree, EachSensorAppliesWithAKnownUnitAndItsRange) {
  model::TlisteCapteur liste;
  ChargeCapteurs(kLivree, liste);
  const bool avant = model::Masse();
  for (std::size_t i = 0; i < liste.Nombre() && i < std::size(kAttendus); ++i) {
    model::Tvoie voie(model::kVoieV1);
    model::AppliqueCapteur(voie, liste.Capteur(i));
    EXPECT_TRUE(voie.correcte) << kAttendus[i].nom;
    EXPECT_NEAR(voie.Mini, kAttendus[i].mini, 1e-9) << kAttendus[i].nom;
    EXPECT_NEAR(voie.Maxi, kAttendus[i].maxi, 1e-9) << kAttendus[i].nom;
  }
  model::FixeMasse(avant);
}

TEST_F(BibliothequeLivree, IsWindows1252AndExactlyWhatTheProgramWrites) {
  const std::string livree = readWholeFile(kLivree, 1u << 20);
  EXPECT_FALSE(isValidUtf8(livree));
  EXPECT_NE(livree.find("Unite=\xB0"
                        "C\r\n"),
            std::string::npos);
  model::TlisteCapteur liste;
  ChargeCapteurs(kLivree, liste);
  // The shipped file is written with ".", as a French desktop reads it too.
  const char separateur = model::SeparateurDecimal();
  model::FixeSeparateurDecimal('.');
  MemorySettingsStore reglages;
  SauveCapteurs(chemin("kvx.CPT"), liste, reglages);
  model::FixeSeparateurDecimal(separateur);
  EXPECT_EQ(lit("kvx.CPT"), livree);
}

}  // namespace
}  // namespace kvx::exchange
