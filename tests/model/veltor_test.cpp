// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/veltor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "sections_memoire.h"

namespace kvx::model {
namespace {

TEST(Veltor, PositionsAreCodesTimesTheStep) {
  const Tveltor fourche;
  EXPECT_DOUBLE_EQ(fourche.ValeurDeCode(10), 0.018);
  EXPECT_EQ(fourche.TexteValeurCourante(), "");
}

TEST(Veltor, AngleAndRadianSwitchTheUnit) {
  Tveltor fourche;
  fourche.FixeRadian(true);  // no effect on a displacement
  EXPECT_FALSE(fourche.radian);
  fourche.Taille = 0.1;
  fourche.FixeAngle(true);
  EXPECT_EQ(fourche.Unite, "°");
  EXPECT_DOUBLE_EQ(fourche.Taille, 0.1);
  fourche.FixeRadian(true);
  EXPECT_EQ(fourche.Unite, "rad");
  fourche.FixeAngle(true);  // unchanged
  EXPECT_EQ(fourche.Unite, "rad");
  fourche.FixeAngle(false);
  EXPECT_EQ(fourche.Unite, "m");
  EXPECT_DOUBLE_EQ(fourche.Taille, 0.0018);
  fourche.FixeAngle(true);  // radian was kept
  EXPECT_EQ(fourche.Unite, "rad");
}

TEST(Veltor, EventLinesGiveCountsAndTimes) {
  Tveltor fourche;
  const struct {
    const char *ligne;
    std::int32_t compte;
    double temps;
  } cas[] = {
      {"30005 1 0", 5, 0},  // the first event is the time origin
      {"29990 1 1000", -10, 1000 * 1.08506e-6},
      {"30000 2 0\r", 0, 65536 * 1.08506e-6},  // a line end left over is ignored
      {"abc 1 0", 0, 0},                       // unreadable count: 0
      {"30001 x 5", 1, -65536 * 1.08506e-6},   // unreadable time: 0
      {"30001", 1, -65536 * 1.08506e-6},
      {"30001 65535 65535", 1, -65537 * 1.08506e-6},  // 32-bit stamps: just before the origin
      {"30001  1 0", 1, -65536 * 1.08506e-6},  // two blanks: not single-blank separated
  };
  for (const auto &c : cas) {
    fourche.ligneRecue = c.ligne;
    const double t = fourche.LitLigne();
    EXPECT_EQ(fourche.comptes[static_cast<std::size_t>(fourche.nbEvenements)], c.compte) << c.ligne;
    EXPECT_NEAR(t, c.temps, 1e-9) << c.ligne;
    ++fourche.nbEvenements;
  }
  // Events beyond the arrays are timed but not stored.
  fourche.nbEvenements = kNbValeurs;
  fourche.ligneRecue = "30007 1 10";
  EXPECT_NEAR(fourche.LitLigne(), 10 * 1.08506e-6, 1e-12);
  fourche.nbEvenements = -3;
  EXPECT_NO_THROW(fourche.LitLigne());
}

TEST(VeltorLigne, TimeGoesOnAcrossTheWrapOfTheBoxClock) {
  Tveltor fourche;
  fourche.nbEvenements = 0;
  fourche.ligneRecue = "30000 65535 65000";  // 536 ticks before the counter wraps
  EXPECT_EQ(fourche.LitLigne(), 0);
  fourche.nbEvenements = 1;
  fourche.ligneRecue = "30001 0 100";
  EXPECT_NEAR(fourche.LitLigne(), 636 * 1.08506e-6, 1e-12);
  // Field values beyond 16 bits are taken modulo 2^32 as the box's counter.
  fourche.ligneRecue = "30002 65536 100";
  EXPECT_NEAR(fourche.LitLigne(), 636 * 1.08506e-6, 1e-12);
}

void remplit(Tveltor &fourche, int n, int (*compte)(int)) {
  fourche.nbEvenements = n;
  for (int i = 0; i < n; ++i) fourche.comptes[static_cast<std::size_t>(i)] = compte(i);
}

TEST(Veltor, DetectsAOneWayMovement) {
  Tveltor fourche;
  remplit(fourche, 16, [](int i) { return i; });
  fourche.DetecteMonotone();
  EXPECT_FALSE(fourche.monotone);  // too few events to tell
  remplit(fourche, 40, [](int i) { return i; });
  fourche.DetecteMonotone();
  EXPECT_TRUE(fourche.monotone);
  remplit(fourche, 40, [](int i) { return -i; });
  fourche.DetecteMonotone();
  EXPECT_TRUE(fourche.monotone);
  remplit(fourche, 40, [](int i) { return i % 8 < 4 ? i % 8 : 8 - i % 8; });
  fourche.DetecteMonotone();
  EXPECT_FALSE(fourche.monotone);
  fourche.nbEvenements = 100000;  // beyond the arrays: bounded
  EXPECT_NO_THROW(fourche.DetecteMonotone());
}

TEST(Veltor, OneWayPositionsStepByTwiceTheSize) {
  Tveltor fourche;
  remplit(fourche, 20, [](int i) { return i; });
  fourche.monotone = true;
  fourche.Negatif = false;
  fourche.CalculePositions();
  EXPECT_DOUBLE_EQ(fourche.valeurs[19], 19 * 0.0036);
  EXPECT_DOUBLE_EQ(fourche.Mini, 0);
  EXPECT_DOUBLE_EQ(fourche.Maxi, 22 * 0.0036);
  fourche.Negatif = true;
  fourche.CalculePositions();
  EXPECT_DOUBLE_EQ(fourche.valeurs[19], -19 * 0.0036);
  EXPECT_DOUBLE_EQ(fourche.Maxi, 0);
  EXPECT_DOUBLE_EQ(fourche.Mini, -22 * 0.0036);
}

TEST(Veltor, OscillationsAreCentredOnTheirMiddle) {
  Tveltor fourche;
  remplit(fourche, 30, [](int i) { return 100 + (i % 2 ? 10 : -9); });
  fourche.monotone = false;
  fourche.CalculePositions();
  // Counts 91..110, centre 100: within ±10 steps, so ±11 × Taille.
  EXPECT_DOUBLE_EQ(fourche.valeurs[0], -9 * 0.0018);
  EXPECT_DOUBLE_EQ(fourche.valeurs[1], 10 * 0.0018);
  EXPECT_DOUBLE_EQ(fourche.Maxi, 11 * 0.0018);
  EXPECT_DOUBLE_EQ(fourche.Mini, -11 * 0.0018);
  remplit(fourche, 30, [](int i) { return i % 2 ? 50 : -51; });
  fourche.CalculePositions();
  // Centre (−51 + 50) div 2 = 0, truncated toward zero.
  EXPECT_DOUBLE_EQ(fourche.valeurs[0], -51 * 0.0018);
  EXPECT_DOUBLE_EQ(fourche.Maxi, 1.05 * 51 * 0.0018);
  fourche.nbEvenements = 0;
  fourche.CalculePositions();
  EXPECT_DOUBLE_EQ(fourche.Maxi, 11 * 0.0018);
}

TEST(Veltor, SectionKeysAndTheirDefaults) {
  Tveltor fourche;
  fourche.angle = false;
  SectionsMemoire vide;
  fourche.LitSection("Veltor", vide);
  EXPECT_TRUE(fourche.Negatif);
  EXPECT_EQ(fourche.nbremax, 256);
  EXPECT_EQ(fourche.Unite, "m");

  SectionsMemoire ini;
  ini.met("Veltor", "angle", true);
  ini.met("Veltor", "radian", true);
  ini.met("Veltor", "taille", 0.25);
  ini.met("Veltor", "increment", 0.5);
  ini.met("Veltor", "nbremax", 1000000);
  ini.met("Veltor", "Negatif", false);
  fourche.LitSection("Veltor", ini);
  EXPECT_EQ(fourche.Unite, "rad");
  EXPECT_DOUBLE_EQ(fourche.Taille, 0.25);
  EXPECT_DOUBLE_EQ(fourche.Increment, 0.5);
  EXPECT_EQ(fourche.nbremax, kMaxPoints);
  EXPECT_FALSE(fourche.Negatif);

  SectionsMemoire sortie;
  fourche.EcritSection("Veltor", sortie);
  const std::vector<std::string> cles = sortie.cles("Veltor");
  const std::vector<std::string> fin(cles.end() - 6, cles.end());
  EXPECT_EQ(fin, (std::vector<std::string>{"radian", "angle", "Negatif", "nbremax", "Taille",
                                           "Increment"}));
}

}  // namespace
}  // namespace kvx::model
