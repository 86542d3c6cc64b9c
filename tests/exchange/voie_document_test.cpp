// SPDX-License-Identifier: GPL-3.0-or-later
// Channel sections through the INI document and its bytes, as a
// configuration file holds them.
#include <gtest/gtest.h>

#include <string>

#include "exchange/ini_document.h"
#include "model/entree_binaire.h"
#include "model/masse.h"
#include "model/separateur_decimal.h"
#include "model/sortie_analogique.h"
#include "model/veltor.h"
#include "model/voie.h"

namespace kvx::exchange {
namespace {

using namespace kvx::model;

std::string avecSeparateur(std::string texte) {
  for (char &c : texte)
    if (c == '.') c = SeparateurDecimal();
  return texte;
}

class VoieDocument : public testing::Test {
 protected:
  void SetUp() override { FixeMasse(true); }
  void TearDown() override { FixeMasse(kMasseDefaut); }
  // Written, turned into bytes and loaded again, as saving and opening do.
  static IniDocument parOctets(const IniDocument &doc) {
    return IniDocument::parse(doc.serialize());
  }
};

TEST_F(VoieDocument, AnAnalogInputSectionReadsExactly) {
  IniDocument doc;
  Tvoie v1("V1", "V", "", kVoieV1);
  v1.EcritSection("V1", doc);
  EXPECT_EQ(doc.serialize(), avecSeparateur("[V1]\r\nNom=V1\r\nUnite=V\r\nSignif=\r\n"
                                            "Mini=-2.5\r\nMaxi=2.5\r\nOffset=0\r\nUnVolt=1\r\n"
                                            "NumeroNuvex=0\r\nActive=0\r\nCouleur=255\r\n"
                                            "Motif=0\r\nCapteur=0\r\nEtalonnage=0\r\n\r\n"));
}

TEST_F(VoieDocument, AnalogInputsRoundTrip) {
  Tvoie ecrite("θ", "°C", "température", kVoieV1 + 1);
  ecrite.gain6 = false;
  ecrite.ChoisitEntree(7);
  ecrite.Capteur = true;
  ecrite.Etalonnage = true;
  ecrite.UnVolt = 12.5;
  ecrite.Offset = -0.75;
  ecrite.Active = true;
  ecrite.Couleur = 0x123456;
  ecrite.Motif = 4;
  ecrite.CalculeEchelle();
  IniDocument doc;
  ecrite.EcritSection("V2", doc);
  Tvoie lue("V2", "V", "", kVoieV1 + 1);
  lue.LitSection("V2", parOctets(doc));
  EXPECT_EQ(lue.Nom, "θ");
  EXPECT_EQ(lue.Unite, "°C");
  EXPECT_EQ(lue.Signif, "température");
  EXPECT_EQ(lue.NumeroNuvex, 7);
  EXPECT_TRUE(lue.Capteur);
  EXPECT_TRUE(lue.Etalonnage);
  EXPECT_TRUE(lue.Active);
  EXPECT_EQ(lue.UnVolt, 12.5);
  EXPECT_EQ(lue.Offset, -0.75);
  EXPECT_EQ(lue.Couleur, 0x123456);
  EXPECT_EQ(lue.Motif, 4);
  EXPECT_DOUBLE_EQ(lue.Mini, ecrite.Mini);
  EXPECT_DOUBLE_EQ(lue.Maxi, ecrite.Maxi);
  EXPECT_EQ(lue.echelleLecture, ecrite.echelleLecture);
  EXPECT_EQ(lue.chiffresLecture, ecrite.chiffresLecture);
}

TEST_F(VoieDocument, EveryOtherKindRoundTrips) {
  IniDocument doc;
  TsortieAnalogique sa;
  sa.Debut = 10;
  sa.Fin = 200;
  sa.Deltat = 250;
  sa.Inverse = true;
  sa.EcritSection("SA", doc);
  TentreeBinaire eb;
  eb.FixeNbreBits(5);
  eb.Active = true;
  eb.EcritSection("EB", doc);
  TentreeClavier clavier;
  clavier.Nom = "m";
  clavier.FixeUnite("g");
  clavier.FixeMini(-0.125);
  clavier.FixeMaxi(1250.5);
  clavier.EcritSection("Clavier", doc);
  Tveltor fourche;
  fourche.FixeAngle(true);
  fourche.FixeRadian(true);
  fourche.Taille = 0.0314159265358979;
  fourche.Increment = 2e-7;
  fourche.nbremax = 500;
  fourche.Negatif = false;
  fourche.EcritSection("Veltor", doc);
  TbaseDeTemps temps;
  temps.FixeMaxi(12.75);
  temps.EcritSection("Temps", doc);

  const IniDocument lu = parOctets(doc);
  TsortieAnalogique sa2;
  sa2.LitSection("SA", lu);
  EXPECT_EQ(sa2.Debut, 10);
  EXPECT_EQ(sa2.Fin, 200);
  EXPECT_EQ(sa2.Deltat, 250);
  EXPECT_TRUE(sa2.Inverse);
  EXPECT_DOUBLE_EQ(sa2.valeurs[0], 200 * 5.0 / 255);
  TentreeBinaire eb2;
  eb2.LitSection("EB", lu);
  EXPECT_EQ(eb2.Nbre, 5);
  EXPECT_EQ(eb2.Maxi, 32);
  EXPECT_TRUE(eb2.Active);
  TentreeClavier clavier2;
  clavier2.LitSection("Clavier", lu);
  EXPECT_EQ(clavier2.Nom, "m");
  EXPECT_EQ(clavier2.Unite, "g");
  EXPECT_EQ(clavier2.Mini, -0.125);
  EXPECT_EQ(clavier2.Maxi, 1250.5);
  Tveltor fourche2;
  fourche2.LitSection("Veltor", lu);
  EXPECT_TRUE(fourche2.angle);
  EXPECT_TRUE(fourche2.radian);
  EXPECT_EQ(fourche2.Unite, "rad");
  EXPECT_DOUBLE_EQ(fourche2.Taille, 0.0314159265358979);
  EXPECT_DOUBLE_EQ(fourche2.Increment, 2e-7);
  EXPECT_EQ(fourche2.nbremax, 500);
  EXPECT_FALSE(fourche2.Negatif);
  TbaseDeTemps temps2;
  temps2.LitSection("Temps", lu);
  EXPECT_EQ(temps2.Maxi, 12.75);
  // Written again, the document is the same bytes.
  IniDocument encore;
  sa2.EcritSection("SA", encore);
  eb2.EcritSection("EB", encore);
  clavier2.EcritSection("Clavier", encore);
  fourche2.EcritSection("Veltor", encore);
  temps2.EcritSection("Temps", encore);
  EXPECT_EQ(encore.serialize(), doc.serialize());
}

TEST_F(VoieDocument, AFileFromTheOtherDesktopReadsTheSame) {
  // Written on a desktop with the other separator, and with the fork's keys
  // in their reading spelling.
  const IniDocument doc = IniDocument::parse(
      "[Clavier]\r\nMini=-1,5\r\nMaxi=2.25\r\nNumeroNuvex=-2\r\n\r\n"
      "[Veltor]\r\ntaille=0,005\r\nincrement=1.5E-3\r\n");
  TentreeClavier clavier;
  clavier.LitSection("Clavier", doc);
  EXPECT_EQ(clavier.Mini, -1.5);
  EXPECT_EQ(clavier.Maxi, 2.25);
  Tveltor fourche;
  fourche.LitSection("Veltor", doc);
  EXPECT_EQ(fourche.Taille, 0.005);
  EXPECT_EQ(fourche.Increment, 0.0015);
}

TEST_F(VoieDocument, SavingOverAChannelSectionKeepsForeignKeys) {
  IniDocument doc = IniDocument::parse(
      "[V1]\r\nCommentaire=capteur neuf\r\nMaxi=99\r\nNom=old\r\n\r\n[Perso]\r\nA=1\r\n");
  Tvoie v1("V1", "V", "", kVoieV1);
  v1.EcritSection("V1", doc);
  EXPECT_EQ(doc.keys("V1"),
            (std::vector<std::string>{"Commentaire", "Maxi", "Nom", "Unite", "Signif", "Mini",
                                      "Offset", "UnVolt", "NumeroNuvex", "Active", "Couleur",
                                      "Motif", "Capteur", "Etalonnage"}));
  EXPECT_EQ(doc.value("V1", "Maxi"), avecSeparateur("2.5"));
  EXPECT_EQ(doc.value("V1", "Commentaire"), "capteur neuf");
  EXPECT_EQ(doc.sectionNames(), (std::vector<std::string>{"V1", "Perso"}));
}

}  // namespace
}  // namespace kvx::exchange
