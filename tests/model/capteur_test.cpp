// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/capteur.h"

#include <gtest/gtest.h>

#include <string>

#include "model/masse.h"
#include "sections_memoire.h"

namespace kvx::model {
namespace {

TCapteur Thermometre() {
  TCapteur c;
  c.Etalonnage = true;
  c.Alim = true;
  c.Valeur0V = -30;
  c.Pente = 20;
  c.Nom = "θ";
  c.Unite = "°C";
  c.Signif = "Température";
  c.Aide = "Sonde 0-5 V";
  c.Numero = 1;
  c.Masse = false;
  return c;
}

TEST(Capteur, CopyTakesEveryFieldButTheInput) {
  TCapteur source = Thermometre();
  source.Numero = 5;
  TCapteur copie;  // a new sensor: EA0
  CopieCapteur(copie, source);
  TCapteur attendu = source;
  attendu.Numero = 0;
  EXPECT_EQ(copie, attendu);

  TCapteur autre;
  autre.Numero = 3;
  CopieCapteur(autre, source);
  EXPECT_EQ(autre.Numero, 3);
  EXPECT_EQ(autre.Nom, "θ");
}

TEST(Capteur, EqualityLooksAtEveryField) {
  const TCapteur base = Thermometre();
  void (*const changes[])(TCapteur &) = {
      [](TCapteur &c) { c.Etalonnage = !c.Etalonnage; },
      [](TCapteur &c) { c.Ampli = !c.Ampli; },
      [](TCapteur &c) { c.Alim = !c.Alim; },
      [](TCapteur &c) { c.Valeur0V += 1; },
      [](TCapteur &c) { c.Pente += 1; },
      [](TCapteur &c) { c.Nom += "x"; },
      [](TCapteur &c) { c.Unite += "x"; },
      [](TCapteur &c) { c.Signif += "x"; },
      [](TCapteur &c) { c.Aide += "x"; },
      [](TCapteur &c) { c.Numero += 1; },
      [](TCapteur &c) { c.Masse = !c.Masse; },
  };
  for (auto change : changes) {
    TCapteur c = base;
    change(c);
    EXPECT_NE(c, base);
  }
}

TEST(AppliqueCapteur, CopiesTheSensorIntoTheChannel) {
  MasseTemporaire masse(true);
  Tvoie voie(kVoieV1);
  voie.aide = "ancienne aide";
  const auto resultat = AppliqueCapteur(voie, Thermometre());
  EXPECT_EQ(resultat.message, "");
  EXPECT_TRUE(resultat.masseChangee);
  EXPECT_FALSE(Masse());
  EXPECT_EQ(voie.Nom, "θ");
  EXPECT_EQ(voie.Unite, "°C");
  EXPECT_TRUE(voie.correcte);
  EXPECT_EQ(voie.Signif, "Température");
  EXPECT_EQ(voie.aide, "Sonde 0-5 V");
  EXPECT_EQ(voie.NumeroNuvex, 1);
  EXPECT_FALSE(voie.ampli);
  EXPECT_TRUE(voie.alim);
  EXPECT_TRUE(voie.Etalonnage);
  EXPECT_TRUE(voie.Capteur);
  EXPECT_EQ(voie.Offset, -30.0);
  EXPECT_EQ(voie.UnVolt, 20.0);
  // Ranged with the sensor's reference "Ref 0V": 0..5 V is -30..70 °C.
  EXPECT_DOUBLE_EQ(voie.Mini, -30.0);
  EXPECT_DOUBLE_EQ(voie.Maxi, 70.0);
}

TEST(AppliqueCapteur, InputReferenceAndRangeFollowTheSensor) {
  struct Cas {
    bool masseAvant;
    bool masseCapteur;
    double pente;
    double mini, maxi;
    bool change;
  } const cas[] = {
      {true, false, 20, -30, 70, true},    {false, false, 20, -30, 70, false},
      {false, true, 20, -80, 20, true},    {true, true, 20, -80, 20, false},
      {false, false, -2, -40, -30, false},  // a negative slope swaps the bounds
  };
  for (const Cas &c : cas) {
    MasseTemporaire masse(c.masseAvant);
    TCapteur capteur = Thermometre();
    capteur.Masse = c.masseCapteur;
    capteur.Pente = c.pente;
    Tvoie voie(kVoieV1);
    const auto resultat = AppliqueCapteur(voie, capteur);
    EXPECT_EQ(Masse(), c.masseCapteur);
    EXPECT_EQ(resultat.masseChangee, c.change);
    EXPECT_DOUBLE_EQ(voie.Mini, c.mini) << c.masseAvant << c.masseCapteur << c.pente;
    EXPECT_DOUBLE_EQ(voie.Maxi, c.maxi) << c.masseAvant << c.masseCapteur << c.pente;
  }
}

TEST(AppliqueCapteur, TheAmplifierTakesEA2AndAsksForItToBePluggedIn) {
  struct Cas {
    bool ampli;
    std::uint8_t numero;
    int entree;
    const char *message;
  } const cas[] = {
      {false, 5, 5, ""},
      {true, 5, 2, "Nécessite un ampli physique branché sur prise F"},
      {true, 0, 2, "Nécessite un ampli physique branché sur prise F"},
      {false, 7, 7, ""},
      {false, 200, 0, ""},  // an input the box does not have
  };
  for (const Cas &c : cas) {
    MasseTemporaire masse(false);
    TCapteur capteur = Thermometre();
    capteur.Ampli = c.ampli;
    capteur.Numero = c.numero;
    Tvoie voie(kVoieV1 + 1);
    const auto resultat = AppliqueCapteur(voie, capteur);
    EXPECT_EQ(voie.NumeroNuvex, c.entree);
    EXPECT_EQ(voie.ampli, c.ampli);
    EXPECT_EQ(resultat.message, c.message);
  }
}

TEST(AppliqueCapteur, AnUnknownUnitStillAppliesTheRest) {
  MasseTemporaire masse(false);
  TCapteur capteur = Thermometre();
  capteur.Unite = "zorglub²";
  Tvoie voie(kVoieV1);
  EXPECT_NO_THROW(AppliqueCapteur(voie, capteur));
  EXPECT_EQ(voie.Unite, "zorglub²");
  EXPECT_FALSE(voie.correcte);
  EXPECT_EQ(voie.Nom, "θ");
  EXPECT_TRUE(voie.Capteur);
  EXPECT_EQ(voie.UnVolt, 20.0);
  EXPECT_DOUBLE_EQ(voie.Maxi, 70.0);
}

TEST(TexteCapteur, ListLinesAndSlopeLabel) {
  struct Cas {
    const char *nom;
    const char *signif;
    const char *choix;
    const char *liste;
  } const cas[] = {
      {"Temperatur", "sonde", "Temper: sonde", "Temperatur sonde"},
      {"T", "Température", "T     : Température", "T Température"},
      {"θ", "angle", "θ     : angle", "θ angle"},
      {"ΔθΔθΔθΔθ", "", "ΔθΔθΔθ: ", "ΔθΔθΔθΔθ "},
      {"", "vide", "      : vide", " vide"},
      {"pH", "Acidité", "pH    : Acidité", "pH Acidité"},
  };
  for (const Cas &c : cas) {
    TCapteur capteur;
    capteur.Nom = c.nom;
    capteur.Signif = c.signif;
    EXPECT_EQ(LigneChoixCapteur(capteur), c.choix);
    EXPECT_EQ(LigneListeCapteur(capteur), c.liste);
  }
  EXPECT_EQ(TextePente("T", "°C"), "ΔT/ΔV (°C/V)");
  EXPECT_EQ(TextePente("F", ""), "ΔF/ΔV (/V)");
}

}  // namespace
}  // namespace kvx::model
