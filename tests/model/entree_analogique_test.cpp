// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/entree_analogique.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kvx::model {
namespace {

// ---- Input texts ------------------------------------------------------------

struct CasEntree {
  int entree;
  bool refAlt, gain6, alim;
  const char *texte;
};

class TexteEntree : public ::testing::TestWithParam<CasEntree> {};

TEST_P(TexteEntree, ReadsTheRangeAndSocketOfTheInput) {
  const CasEntree &c = GetParam();
  EXPECT_EQ(TexteEntreeAnalogique(c.entree, c.refAlt, c.gain6, c.alim), c.texte);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TexteEntree,
    ::testing::Values(CasEntree{0, true, true, false, "EA0 ±15 V module"},
                      CasEntree{0, true, false, false, "EA0 ±2,5 V prise A"},
                      CasEntree{1, false, true, false, "EA1 0-30 V module"},
                      CasEntree{1, false, false, false, "EA1 0-5 V prise A"},
                      CasEntree{2, true, false, false, "EA2 ±2,5 V prise D"},
                      CasEntree{2, true, false, true, "EA2 ±2,5 V prise F"},
                      CasEntree{3, false, false, true, "EA3 0-5 V prise F"},
                      CasEntree{3, false, true, true, "EA3 0-30 V module"},
                      CasEntree{4, true, true, false, "EA4 ±50 mV prise B"},
                      CasEntree{5, false, false, false, "EA5 0-100 mV prise B"},
                      // The module is for EA0..EA3 only: the other inputs read the same.
                      CasEntree{6, true, true, false, "EA6 ±500 mV prise C"},
                      CasEntree{6, false, true, false, "EA6 0-1 V prise C"},
                      CasEntree{7, true, false, false, "EA7 ±1 V prise C"},
                      CasEntree{7, false, false, true, "EA7 0-2 V prise C"},
                      CasEntree{-1, true, false, false, ""}, CasEntree{8, true, false, false, ""}));

// ---- Symbol characters ------------------------------------------------------

TEST(SymboleAdmis, LettersDigitsAndTheFewSignsOfANamePass) {
  for (char32_t c : {U'a', U'z', U'A', U'Z', U'0', U'9', U'#', U'$', U'%', U'\'',
                     U'µ', U'ψ', U'Γ', U'Θ', U'Ξ', U'ξ', U'±', U'²', U'É', U'À'})
    EXPECT_TRUE(CaractereSymboleAdmis(c)) << static_cast<unsigned>(c);
}

TEST(SymboleAdmis, EverythingElseIsDropped) {
  for (char32_t c : {U' ', U'-', U'+', U'/', U'*', U'.', U',', U'(', U'_', U'é', U'°', U'Ω', U'α',
                     U'€', U'\u4E2D', U'\U0001F600', U'\u00A4'})
    EXPECT_FALSE(CaractereSymboleAdmis(c)) << static_cast<unsigned>(c);
}

// ---- Two-point calibration --------------------------------------------------

struct CasEtalonnage {
  double x1, y1, x2, y2;
  ResultatEtalonnage attendu;
  double offset, pente;
};

class DeuxPoints : public ::testing::TestWithParam<CasEtalonnage> {};

TEST_P(DeuxPoints, GivesTheLineOrLeavesTheChannelAlone) {
  const CasEtalonnage &c = GetParam();
  double offset = 7, pente = 3;
  EXPECT_EQ(EtalonneDeuxPoints(c.x1, c.y1, c.x2, c.y2, offset, pente), c.attendu);
  if (c.attendu == ResultatEtalonnage::Calcule) {
    EXPECT_NEAR(pente, c.pente, 1e-9);
    EXPECT_NEAR(offset, c.offset, 1e-9);
  } else {
    EXPECT_EQ(offset, 7);
    EXPECT_EQ(pente, 3);
  }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Table, DeuxPoints,
    ::testing::Values(
        // A proportional sensor: point 1 and the origin.
        CasEtalonnage{1.0, 20, 0, 0, ResultatEtalonnage::Calcule, 0, 20},
        CasEtalonnage{0.5, 10, 2.5, 50, ResultatEtalonnage::Calcule, 0, 20},
        CasEtalonnage{1.0, 100, 3.0, 0, ResultatEtalonnage::Calcule, 150, -50},
        CasEtalonnage{1.0, 10, 1.05, 20, ResultatEtalonnage::Imprecis, 0, 0},
        CasEtalonnage{1.0, 10, 1.078125, 20, ResultatEtalonnage::Imprecis, 0, 0},
        CasEtalonnage{1.0, 10, 3.0, 10, ResultatEtalonnage::NonDefinis, 0, 0},
        CasEtalonnage{1.0, kNaN, 3.0, 10, ResultatEtalonnage::NonDefinis, 0, 0},
        CasEtalonnage{kNaN, 5, 3.0, 10, ResultatEtalonnage::NonDefinis, 0, 0},
        // Equal values with close points: the missing point is what to say.
        CasEtalonnage{1.0, 10, 1.01, 10, ResultatEtalonnage::NonDefinis, 0, 0},
        // A slope too steep for a double never reaches the channel.
        CasEtalonnage{0, -1e308, 1.0, 1e308, ResultatEtalonnage::NonDefinis, 0, 0}));

}  // namespace
}  // namespace kvx::model
