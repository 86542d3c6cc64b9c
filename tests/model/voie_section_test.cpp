// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the channel keys of a configuration section.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/entree_binaire.h"
#include "model/sortie_analogique.h"
#include "model/voie.h"
#include "sections_memoire.h"

namespace kvx::model {
namespace {

using Cles = std::vector<std::string>;

const Cles kClesCommunes = {"Nom",    "Unite",   "Signif",      "Mini",   "Maxi",
                            "Offset", "UnVolt",  "NumeroNuvex", "Active", "Couleur",
                            "Motif",  "Capteur", "Etalonnage"};

Cles plus(Cles cles, const Cles &extra) {
  cles.insert(cles.end(), extra.begin(), extra.end());
  return cles;
}

TEST(VoieSection, EveryKindWritesItsKeysInOrder) {
  MasseTemporaire masse(true);
  SectionsMemoire ini;
  Tvoie v1("V1", "V", "", kVoieV1);
  TbaseDeTemps temps;
  TsortieAnalogique sa;
  TentreeClavier clavier;
  TentreeBinaire eb;
  v1.EcritSection("V1", ini);
  temps.EcritSection("T", ini);
  sa.EcritSection("SA", ini);
  clavier.EcritSection("Clavier", ini);
  eb.EcritSection("EB", ini);
  EXPECT_EQ(ini.cles("V1"), kClesCommunes);
  EXPECT_EQ(ini.cles("T"), plus(kClesCommunes, {"Durée"}));
  EXPECT_EQ(ini.cles("SA"), plus(kClesCommunes, {"Debut", "Fin", "Deltat", "Inverse"}));
  EXPECT_EQ(ini.cles("Clavier"), kClesCommunes);
  EXPECT_EQ(ini.cles("EB"), plus(kClesCommunes, {"Nbre"}));
  EXPECT_EQ(*ini.lit<std::int32_t>("V1", "NumeroNuvex"), 0);
  EXPECT_EQ(*ini.lit<std::int32_t>("SA", "NumeroNuvex"), -1);
  EXPECT_EQ(*ini.lit<std::string>("EB", "Unite"), "");
  EXPECT_EQ(*ini.lit<double>("V1", "Maxi"), 2.5);
}

TEST(VoieSection, WritingWithoutASensorResetsTheCalibration) {
  MasseTemporaire masse(true);
  SectionsMemoire ini;
  Tvoie voie(kVoieV1);
  voie.Offset = 3;
  voie.UnVolt = 7;
  voie.EcritSection("V1", ini);
  EXPECT_EQ(*ini.lit<double>("V1", "Offset"), 0);
  EXPECT_EQ(*ini.lit<double>("V1", "UnVolt"), 1);
  EXPECT_EQ(voie.Offset, 0);  // in the channel as well
  EXPECT_EQ(voie.UnVolt, 1);
  voie.Capteur = true;
  voie.Offset = 3;
  voie.UnVolt = 7;
  voie.EcritSection("V1", ini);
  EXPECT_EQ(*ini.lit<double>("V1", "Offset"), 3);
  EXPECT_EQ(*ini.lit<double>("V1", "UnVolt"), 7);
}

TEST(VoieSection, AnEmptySectionGivesTheDefaults) {
  MasseTemporaire masse(true);
  const SectionsMemoire vide;
  Tvoie v2("V2", "V", "", kVoieV1 + 1);
  v2.Signif = "old";
  v2.Active = true;
  v2.Motif = 3;
  v2.LitSection("V2", vide);
  EXPECT_EQ(v2.Nom, "V2");
  EXPECT_EQ(v2.Unite, "V");
  EXPECT_EQ(v2.Signif, "");
  EXPECT_FALSE(v2.Active);
  EXPECT_EQ(v2.Motif, 0);
  EXPECT_EQ(v2.NumeroNuvex, 1);  // keeps its input
  EXPECT_EQ(v2.Couleur, kCouleurMarine);
  EXPECT_DOUBLE_EQ(v2.Maxi, 2.5);  // from the input, not the file's default 5
  TentreeClavier clavier;
  clavier.LitSection("Clavier", vide);
  EXPECT_EQ(clavier.NumeroNuvex, -2);  // still no box input
  EXPECT_DOUBLE_EQ(clavier.Mini, 0);
  EXPECT_DOUBLE_EQ(clavier.Maxi, 5);
  TsortieAnalogique sa;
  sa.LitSection("SA", vide);
  EXPECT_EQ(sa.Debut, 50);
  EXPECT_EQ(sa.Fin, 250);
  EXPECT_EQ(sa.Deltat, 1000);
  EXPECT_NEAR(sa.valeurs[0], 0.980, 5e-4);
  TentreeBinaire eb;
  eb.LitSection("EB", vide);
  EXPECT_EQ(eb.Nbre, 8);
  EXPECT_EQ(eb.masque, 255);
  EXPECT_EQ(eb.Maxi, 256);
  TbaseDeTemps temps;
  temps.LitSection("T", vide);
  EXPECT_EQ(temps.Maxi, 1);
}

TEST(VoieSection, MiniAndMaxiSetOnlyTheRangeOfANonInputChannel) {
  MasseTemporaire masse(true);
  SectionsMemoire ini;
  for (const std::string s : {"V1", "Clavier"}) {
    ini.met(s, "Mini", -40.0);
    ini.met(s, "Maxi", 40.0);
  }
  Tvoie v1("V1", "V", "", kVoieV1);
  v1.LitSection("V1", ini);
  EXPECT_DOUBLE_EQ(v1.Mini, -2.5);
  EXPECT_DOUBLE_EQ(v1.Maxi, 2.5);
  TentreeClavier clavier;
  clavier.LitSection("Clavier", ini);
  EXPECT_DOUBLE_EQ(clavier.Mini, -40);
  EXPECT_DOUBLE_EQ(clavier.Maxi, 40);
  EXPECT_EQ(clavier.echelleLecture, 1);
  EXPECT_EQ(clavier.chiffresLecture, 3);
}

TEST(VoieSection, ACalibratedInputTakesItsRangeFromTheSensor) {
  MasseTemporaire masse(false);
  SectionsMemoire ini;
  ini.met("V3", "Capteur", true);
  ini.met("V3", "Offset", -50.0);
  ini.met("V3", "UnVolt", 20.0);
  ini.met("V3", "NumeroNuvex", 6);
  ini.met("V3", "Unite", std::string("°C"));
  ini.met("V3", "Nom", std::string("θ"));
  Tvoie v3("V3", "V", "", kVoieV1 + 2);
  v3.LitSection("V3", ini);
  EXPECT_EQ(v3.NomEntree(), "EA6");
  EXPECT_EQ(v3.Nom, "θ");
  EXPECT_EQ(v3.Unite, "°C");
  EXPECT_DOUBLE_EQ(v3.Mini, -50);  // 0 V
  EXPECT_DOUBLE_EQ(v3.Maxi, -30);  // 1 V
  EXPECT_DOUBLE_EQ(v3.ValeurDeCode(255), -30);
}

TEST(VoieSection, BadValuesFromAFileAreContained) {
  MasseTemporaire masse(true);
  SectionsMemoire ini;
  ini.met("V1", "Unite", std::string("kg/(m.s)"));  // no unit the program knows
  ini.met("V1", "Motif", 9);
  ini.met("V1", "NumeroNuvex", 42);
  ini.met("V1", "Couleur", static_cast<std::int32_t>(0xFF000005u));
  ini.met("V1", "Nom", std::string("F"));
  Tvoie v1("V1", "V", "", kVoieV1);
  ASSERT_NO_THROW(v1.LitSection("V1", ini));
  EXPECT_EQ(v1.Unite, "kg/(m.s)");
  EXPECT_FALSE(v1.correcte);
  EXPECT_EQ(v1.Nom, "F");  // read before; and the keys after are read too
  EXPECT_EQ(v1.Motif, 0);
  EXPECT_EQ(v1.NumeroNuvex, 0);
  EXPECT_EQ(v1.Couleur, static_cast<std::int32_t>(0xFF000005u));
}

}  // namespace
}  // namespace kvx::model
