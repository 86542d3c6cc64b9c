// SPDX-License-Identifier: GPL-3.0-or-later
// The channel kinds that are not plain box inputs: analog output, binary
// inputs, keyboard entry and time base.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/entree_binaire.h"
#include "model/separateur_decimal.h"
#include "model/sortie_analogique.h"
#include "model/veltor.h"
#include "model/voie.h"
#include "sections_memoire.h"

namespace kvx::model {
namespace {

TEST(SortieAnalogique, CodesGiveZeroToFiveVolts) {
  const TsortieAnalogique sa;
  EXPECT_EQ(sa.TensionDeCode(0), 0);
  EXPECT_DOUBLE_EQ(sa.TensionDeCode(255), 5);
  EXPECT_DOUBLE_EQ(sa.TensionDeCode(51), 1);
  EXPECT_EQ(sa.ValeurDeCode(128), sa.TensionDeCode(128));
}

TEST(SortieAnalogique, RampRunsFromDebutToFinOrBack) {
  TsortieAnalogique sa;
  sa.Debut = 50;
  sa.Fin = 250;
  sa.CalculeRampe();
  ASSERT_EQ(sa.NombrePointsRampe(), 201);
  EXPECT_NEAR(sa.valeurs[0], 0.980, 5e-4);
  EXPECT_NEAR(sa.valeurs[200], 4.902, 5e-4);
  EXPECT_EQ(sa.tampon[100], sa.valeurs[100]);
  EXPECT_NEAR(sa.valeurs[1] - sa.valeurs[0], 5.0 / 255, 1e-12);
  sa.Inverse = true;
  sa.CalculeRampe();
  EXPECT_NEAR(sa.valeurs[0], 4.902, 5e-4);
  EXPECT_NEAR(sa.valeurs[200], 0.980, 5e-4);
  sa.Debut = 10;
  sa.Fin = 9;
  EXPECT_EQ(sa.NombrePointsRampe(), 0);
  sa.Fin = 10;
  EXPECT_EQ(sa.NombrePointsRampe(), 1);
}

TEST(SortieAnalogique, RampCodesFromAFileStayWithinTheOutput) {
  SectionsMemoire ini;
  ini.met("SA", "Debut", -100000);
  ini.met("SA", "Fin", 100000);
  TsortieAnalogique sa;
  sa.LitSection("SA", ini);
  EXPECT_EQ(sa.Debut, 0);
  EXPECT_EQ(sa.Fin, 255);
  EXPECT_EQ(sa.NombrePointsRampe(), 256);
  EXPECT_DOUBLE_EQ(sa.valeurs[255], 5);
}

TEST(EntreeBinaire, BitCountSetsMaskAndRange) {
  const struct {
    int bits;
    unsigned masque;
    double maxi;
  } cas[] = {{0, 0, 1},          {1, 1, 2},          {3, 7, 8},         {8, 255, 256},
             {15, 32767, 32768}, {16, 65535, 65536}, {20, 65535, 65536}};
  for (const auto &c : cas) {
    TentreeBinaire eb;
    eb.FixeNbreBits(static_cast<std::uint8_t>(c.bits));
    EXPECT_EQ(eb.masque, c.masque) << c.bits;
    EXPECT_EQ(eb.Maxi, c.maxi) << c.bits;
  }
  TentreeBinaire eb;
  eb.FixeNbreBits(8);
  EXPECT_EQ(eb.TexteCalibre(), "255");
  EXPECT_EQ(eb.ValeurDeCode(0x1FF), 255);
  eb.FixeNbreBits(3);
  EXPECT_EQ(eb.ValeurDeCode(0xFD), 5);
}

TEST(EntreeBinaire, ValuesShowInDecimalHexadecimalAndBinary) {
  const struct {
    double valeur;
    int bits;
    const char *texte;
  } cas[] = {
      {5, 3, "5=05h=101b"},
      {5.4, 3, "5=05h=101b"},
      {255, 8, "255=FFh=11111111b"},
      {300, 8, "300=2Ch=00101100b"},
      {0, 1, "0=00h=0b"},
      {-1, 3, "65535=FFh=111b"},
      {std::nan(""), 3, "0=00h=000b"},
      {1e20, 2, "0=00h=00b"},
      {70000, 16, "4464=70h=0001000101110000b"},
      {7, 0, "7=07h=b"},
  };
  for (const auto &c : cas) {
    TentreeBinaire eb;
    eb.FixeNbreBits(static_cast<std::uint8_t>(c.bits));
    EXPECT_EQ(eb.TexteNomValeur(c.valeur), c.texte) << c.valeur;
  }
}

TEST(EntreeBinaire, BitCountFromAFileIsBounded) {
  for (const auto &[lu, attendu] : {std::pair{300, 16}, {-5, 0}, {4, 4}}) {
    SectionsMemoire ini;
    ini.met("EB", "Nbre", lu);
    TentreeBinaire eb;
    eb.LitSection("EB", ini);
    EXPECT_EQ(eb.Nbre, attendu);
  }
}

// What the user first sees of every channel, as the graph builds them.
TEST(Voies, DefaultsOfEveryKind) {
  MasseTemporaire masse(true);
  const TbaseDeTemps t;
  const TsortieAnalogique sa;
  const TentreeClavier clavier;
  const TentreeBinaire eb;
  const Tvoie v1("V1", "V", "", 5), v4("V4", "V", "", 8);
  const Tveltor fourche;
  const struct {
    const Tvoie &voie;
    const char *nom, *unite, *signif, *entree, *calibre;
    int numero;
    std::int32_t couleur;
    double mini, maxi;
  } cas[] = {
      {t, "t", "s", "durée", "", "1 s", -1, kCouleurNoir, 0, 1},
      {sa, "Vsa", "V", "Tension sortie analogique", "SA", "0-5 V", -1, kCouleurNoir, 0, 5},
      {clavier, "X", "", "", "Clavier", "1 ", -2, kCouleurRouge, 0, 1},
      {eb, "EB", "", "Entrées binaires", "EB", "7", -1, kCouleurNoir, 0, 8},
      {v1, "V1", "V", "", "EA0", "±2.5 V", 0, kCouleurRouge, -2.5, 2.5},
      {v4, "V4", "V", "", "EA3", "±2.5 V", 3, kCouleurNoir, -2.5, 2.5},
      // Built as slot 9, it first chose EA4 and keeps that range until a
      // recording sets its own.
      {fourche, "x", "m", "Fourche optique", "", "", -1, kCouleurBleu, 0, 1},
  };
  for (const auto &c : cas) {
    SCOPED_TRACE(c.nom);
    EXPECT_EQ(c.voie.Nom, c.nom);
    EXPECT_EQ(c.voie.Unite, c.unite);
    EXPECT_EQ(c.voie.Signif, c.signif);
    EXPECT_EQ(c.voie.NomEntree(), c.entree);
    std::string calibre = c.calibre;
    if (const auto point = calibre.find('.'); point != std::string::npos)
      calibre[point] = SeparateurDecimal();
    EXPECT_EQ(c.voie.TexteCalibre(), calibre);
    EXPECT_EQ(c.voie.NumeroNuvex, c.numero);
    EXPECT_EQ(c.voie.Couleur, c.couleur);
    EXPECT_DOUBLE_EQ(c.voie.Mini, c.mini);
    EXPECT_DOUBLE_EQ(c.voie.Maxi, c.maxi);
    EXPECT_FALSE(c.voie.Active);
    EXPECT_FALSE(c.voie.Capteur);
  }
  EXPECT_EQ(sa.Debut, 0);
  EXPECT_EQ(sa.Fin, 255);
  EXPECT_EQ(sa.Deltat, 1000);
  EXPECT_EQ(eb.Nbre, 3);
  EXPECT_FALSE(fourche.angle);
  EXPECT_DOUBLE_EQ(fourche.Taille, 0.0018);
  EXPECT_DOUBLE_EQ(fourche.Increment, 0.0018);
  EXPECT_EQ(fourche.nbremax, 256);
}

}  // namespace
}  // namespace kvx::model
