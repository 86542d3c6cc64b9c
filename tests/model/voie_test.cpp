// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/voie.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/separateur_decimal.h"
#include "sections_memoire.h"

namespace kvx::model {
namespace {

// "2.5" written with the program's separator.
std::string avecSeparateur(std::string texte) {
  for (char &c : texte)
    if (c == '.') c = SeparateurDecimal();
  return texte;
}

struct Gamme {
  int entree;
  bool refAlt;
  bool gain6;
  double mini, maxi;
};

TEST(Voie, EachInputHasTheRangeOfItsSocketAndReference) {
  const Gamme gammes[] = {
      {0, true, false, -2.5, 2.5}, {3, true, false, -2.5, 2.5},   {0, true, true, -15, 15},
      {3, true, true, -15, 15},    {4, true, false, -0.05, 0.05}, {5, true, true, -0.05, 0.05},
      {6, true, false, -0.5, 0.5}, {7, true, false, -1, 1},       {0, false, false, 0, 5},
      {2, false, true, 0, 30},     {4, false, false, 0, 0.1},     {6, false, false, 0, 1},
      {7, false, true, 0, 2},
  };
  for (const Gamme &g : gammes) {
    MasseTemporaire masse(g.refAlt);
    Tvoie voie(kVoieV1);
    voie.gain6 = g.gain6;
    voie.ChoisitEntree(g.entree);
    SCOPED_TRACE("EA" + std::to_string(g.entree) + (g.refAlt ? " Ref Alt" : " Ref 0V") +
                 (g.gain6 ? " x6" : ""));
    EXPECT_NEAR(voie.Mini, g.mini, 1e-12);
    EXPECT_NEAR(voie.Maxi, g.maxi, 1e-12);
    EXPECT_NEAR(voie.TensionDeCode(0), g.mini, 1e-12);
    EXPECT_NEAR(voie.TensionDeCode(kCodeMax), g.maxi, 1e-12);
    EXPECT_NEAR(voie.pasCode, (g.maxi - g.mini) / 255, 1e-15);
  }
}

TEST(Voie, CodesConvertAtBothEndsAndInTheMiddle) {
  {
    MasseTemporaire masse(true);
    Tvoie voie(kVoieV1 + 2);  // EA2
    EXPECT_DOUBLE_EQ(voie.TensionDeCode(0), -2.5);
    EXPECT_DOUBLE_EQ(voie.TensionDeCode(255), 2.5);
    EXPECT_NEAR(voie.TensionDeCode(128), 0.0098039, 1e-7);
    EXPECT_NEAR(voie.TensionDeCode(127), -0.0098039, 1e-7);
    EXPECT_EQ(voie.ValeurDeCode(128), voie.TensionDeCode(128));
  }
  MasseTemporaire masse(false);
  Tvoie voie(kVoieV1 + 2);
  EXPECT_DOUBLE_EQ(voie.TensionDeCode(0), 0);
  EXPECT_DOUBLE_EQ(voie.TensionDeCode(255), 5);
  EXPECT_NEAR(voie.TensionDeCode(128), 2.5098039, 1e-7);
}

TEST(Voie, TheConversionKeepsTheReferenceItsInputWasChosenWith) {
  MasseTemporaire masse(true);
  Tvoie voie(kVoieV1);
  FixeMasse(false);  // not yet applied to the channel
  EXPECT_DOUBLE_EQ(voie.TensionDeCode(0), -2.5);
  voie.ChoisitEntree(voie.NumeroNuvex);
  EXPECT_DOUBLE_EQ(voie.TensionDeCode(0), 0);
  EXPECT_DOUBLE_EQ(voie.Maxi, 5);
}

TEST(Voie, CalibrationAppliesToValuesAndRange) {
  for (const bool refAlt : {true, false}) {
    MasseTemporaire masse(refAlt);
    Tvoie voie(kVoieV1);
    voie.Capteur = true;
    voie.UnVolt = 10;  // 10 °C per volt
    voie.Offset = -5;
    voie.CalculeEchelle();
    const double v0 = voie.TensionDeCode(0);
    const double v255 = voie.TensionDeCode(255);
    EXPECT_DOUBLE_EQ(voie.ValeurDeCode(0), 10 * v0 - 5);
    EXPECT_DOUBLE_EQ(voie.ValeurDeCode(255), 10 * v255 - 5);
    EXPECT_DOUBLE_EQ(voie.Mini, 10 * v0 - 5);
    EXPECT_DOUBLE_EQ(voie.Maxi, 10 * v255 - 5);
    // A negative slope swaps the ends.
    voie.UnVolt = -2;
    voie.CalculeEchelle();
    EXPECT_DOUBLE_EQ(voie.Maxi, voie.ValeurDeCode(0));
    EXPECT_DOUBLE_EQ(voie.Mini, voie.ValeurDeCode(255));
    // Without Capteur the calibration is ignored.
    voie.Capteur = false;
    EXPECT_DOUBLE_EQ(voie.ValeurDeCode(255), v255);
  }
}

TEST(Voie, ChoosingAnInput) {
  MasseTemporaire masse(true);
  Tvoie voie(kVoieV1);
  voie.ChoisitEntree(6);
  EXPECT_EQ(voie.NomEntree(), "EA6");
  voie.ChoisitEntree(9);  // beyond the box: EA0
  EXPECT_EQ(voie.NumeroNuvex, 0);
  EXPECT_DOUBLE_EQ(voie.Maxi, 2.5);
  const double pas = voie.pasCode;
  voie.ChoisitEntree(-1);
  EXPECT_EQ(voie.NumeroNuvex, -1);
  EXPECT_EQ(voie.pasCode, pas);
  EXPECT_EQ(voie.NomEntree(), "");
}

TEST(Voie, TheTimesSixModuleOnlyExistsOnTheFirstFourInputs) {
  MasseTemporaire masse(true);
  Tvoie voie(kVoieV1);
  voie.ChoisitEntree(5);
  voie.FixeGain6(true);
  EXPECT_FALSE(voie.gain6);
  EXPECT_DOUBLE_EQ(voie.Maxi, 0.05);
  voie.ChoisitEntree(1);
  voie.FixeGain6(true);
  EXPECT_TRUE(voie.gain6);
  EXPECT_DOUBLE_EQ(voie.Maxi, 15);
  voie.FixeGain6(false);
  EXPECT_DOUBLE_EQ(voie.Maxi, 2.5);
}

TEST(Voie, RangeOfABoxInputIsNotSetByHand) {
  MasseTemporaire masse(true);
  Tvoie entree(kVoieV1);
  entree.FixeMaxi(100);
  entree.FixeMini(-100);
  EXPECT_DOUBLE_EQ(entree.Maxi, 2.5);
  EXPECT_DOUBLE_EQ(entree.Mini, -2.5);
  TvoieNonEA libre("Y", "N", "force", -1);
  libre.FixeMini(-3);
  libre.FixeMaxi(7);
  EXPECT_DOUBLE_EQ(libre.Mini, -3);
  EXPECT_DOUBLE_EQ(libre.Maxi, 7);
}

struct Lecture {
  double mini, maxi;
  double echelle;
  int chiffres;
};

TEST(Voie, ReadOutScaleFollowsTheLargerBound) {
  const Lecture cas[] = {
      {-2.5, 2.5, 1, 2},    {-0.05, 0.05, 0.001, 3},
      {-15, 15, 1, 3},      {-0.5, 0.5, 0.001, 4},
      {0, 0.1, 0.001, 4},   {0, 30, 1, 3},
      {0, 1, 1, 2},         {-1, 0, 1, 2},
      {0, 0.001, 0.001, 2}, {0, 1000, 1000, 2},
      {0, 999, 1, 4},       {0, 6400, 1000, 2},
      {-2e-6, 0, 1e-6, 2},  {0, 1e-3 * 0.9999, 1e-6, 4},
  };
  for (const Lecture &l : cas) {
    TvoieNonEA voie("Y", "", "", -1);
    voie.FixeMini(l.mini);
    voie.FixeMaxi(l.maxi);
    voie.CalculeEchelle();
    SCOPED_TRACE(std::to_string(l.mini) + ".." + std::to_string(l.maxi));
    EXPECT_DOUBLE_EQ(voie.echelleLecture, l.echelle);
    EXPECT_EQ(voie.chiffresLecture, l.chiffres);
  }
}

TEST(Voie, DegenerateRangesAreRepaired) {
  TvoieNonEA libre("Y", "", "", -1);
  libre.FixeMini(3);
  libre.FixeMaxi(3);
  libre.CalculeEchelle();
  EXPECT_DOUBLE_EQ(libre.Maxi, 4);
  libre.FixeMaxi(-10);
  libre.CalculeEchelle();
  EXPECT_DOUBLE_EQ(libre.Maxi, 4);
  libre.FixeMaxi(std::nan(""));
  libre.CalculeEchelle();
  EXPECT_DOUBLE_EQ(libre.Maxi, 4);
  // A calibration of slope 0 on a box input: a range of nothing, still a
  // usable read-out scale.
  MasseTemporaire masse(true);
  Tvoie entree(kVoieV1);
  entree.Capteur = true;
  entree.UnVolt = 0;
  entree.Offset = 0;
  entree.CalculeEchelle();
  EXPECT_EQ(entree.Mini, 0);
  EXPECT_EQ(entree.Maxi, 0);
  EXPECT_EQ(entree.echelleLecture, 1);
  EXPECT_EQ(entree.chiffresLecture, 2);
}

TEST(Voie, ReadOutsLineUpOnTheirSeparator) {
  MasseTemporaire masse(true);
  Tvoie voie(kVoieV1);
  voie.ChoisitEntree(4);  // ±50 mV: shown in mV with 3 integer digits
  ASSERT_EQ(voie.echelleLecture, 0.001);
  ASSERT_EQ(voie.chiffresLecture, 3);
  const struct {
    double valeur;
    const char *texte;
  } cas[] = {
      {0.0123456, " 12.30"}, {0.0023456, "  2.35"}, {-0.0123456, "-12.30"},
      {0.0499, " 49.90"},    {0, "  0.00"},         {-0.002, " -2.00"},
  };
  for (const auto &c : cas) {
    voie.valeurCourante = c.valeur;
    EXPECT_EQ(voie.TexteValeurCourante(), avecSeparateur(c.texte)) << c.valeur;
  }
  voie.ChoisitEntree(0);  // ±2.5 V: volts, 2 integer digits, 3 decimals
  voie.valeurCourante = 1.23456;
  EXPECT_EQ(voie.TexteValeurCourante(), avecSeparateur(" 1.230"));
  voie.valeurCourante = std::nan("");
  EXPECT_EQ(voie.TexteValeurCourante(), "   ");
}

TEST(Voie, ANewChannelReadsOutInTheFormatOfItsRange) {
  MasseTemporaire masse(true);
  Tvoie neuve(kVoieV1 + 1);
  neuve.valeurCourante = 1.58;
  Tvoie relue(kVoieV1 + 1);
  relue.ChoisitEntree(relue.NumeroNuvex);
  relue.valeurCourante = 1.58;
  EXPECT_EQ(neuve.TexteValeurCourante(), relue.TexteValeurCourante());
  EXPECT_EQ(neuve.TexteValeurCourante(), avecSeparateur(" 1.580"));
}

TEST(Voie, RangeTexts) {
  MasseTemporaire masse(true);
  Tvoie voie(kVoieV1);
  EXPECT_EQ(voie.TexteCalibre(), avecSeparateur("±2.5 V"));
  voie.ChoisitEntree(4);
  EXPECT_EQ(voie.TexteCalibre(), "±50 mV");
  FixeMasse(false);
  voie.ChoisitEntree(0);
  EXPECT_EQ(voie.TexteCalibre(), "5 V");
  TvoieNonEA libre("F", "N", "", -1);
  libre.FixeMini(-3);
  libre.FixeMaxi(0);
  EXPECT_EQ(libre.TexteCalibre(), "-3 N");
  libre.FixeMaxi(1);
  EXPECT_EQ(libre.TexteCalibre(), "±3 N");
}

TEST(Voie, BoxCaptionNamesTheRangeOrTheCalibratedUnit) {
  MasseTemporaire masse(true);
  const struct {
    bool capteur;
    double unVolt;
    const char *unite;
    const char *titre;
  } cas[] = {
      {false, 1, "V", "V1=EA0 ±2.5 V"},
      {true, 227.04, "°C", "T=EA0 (°C)"},  // the span would read ±567.6 °C
      {true, 0.001, "N", "T=EA0 (mN)"},    // read-outs in thousandths
      {true, 1000, "Pa", "T=EA0 (kPa)"},
      {true, 10, "", "T=EA0"},  // a sensor without unit
  };
  for (const auto &c : cas) {
    Tvoie v(kVoieV1);
    v.Nom = "V1";  // as the graph names its first input
    if (c.capteur) {
      v.Nom = "T";
      v.FixeUnite(c.unite);
      v.Capteur = true;
      v.UnVolt = c.unVolt;
      v.CalculeEchelle();
    }
    std::string attendu = c.titre;
    if (!c.capteur) attendu = avecSeparateur(attendu);
    EXPECT_EQ(TexteCadre(v), attendu) << c.titre;
  }
  // An input that is no box input keeps its range.
  TbaseDeTemps t;
  t.Capteur = true;
  EXPECT_EQ(TexteCadre(t), "t= " + t.TexteCalibre());
}

TEST(Voie, ANumberedChannelStartsAsTheBoxInputOfItsSlot) {
  MasseTemporaire masse(true);
  const Tvoie v7(7);
  EXPECT_EQ(v7.Nom, "V7");
  EXPECT_EQ(v7.Unite, "V");
  EXPECT_EQ(v7.NumeroNuvex, 2);
  EXPECT_DOUBLE_EQ(v7.Maxi, 2.5);
  EXPECT_EQ(v7.Couleur, kCouleurVert);
  EXPECT_EQ(v7.echelleLecture, 1);
  EXPECT_EQ(v7.chiffresLecture, 2);  // volts: two integer digits, from the start
  EXPECT_FALSE(v7.Active);
  EXPECT_EQ(v7.UnVolt, 1);
  const Tvoie v1(1);
  EXPECT_EQ(v1.NumeroNuvex, -4);
  EXPECT_DOUBLE_EQ(v1.Mini, 0);
  EXPECT_DOUBLE_EQ(v1.Maxi, 1);
  EXPECT_EQ(Tvoie(12).NumeroNuvex, 7);
  EXPECT_EQ(Tvoie(13).NumeroNuvex, 0);
  const int couleurs[] = {kCouleurNoir,   kCouleurNoir, kCouleurRouge, kCouleurNoir, kCouleurRouge,
                          kCouleurMarine, kCouleurVert, kCouleurNoir,  kCouleurBleu};
  for (int slot = 1; slot <= 9; ++slot) EXPECT_EQ(Tvoie(slot).Couleur, couleurs[slot - 1]);
  EXPECT_EQ(Tvoie(0).Couleur, kCouleurNoir);
}

}  // namespace
}  // namespace kvx::model
