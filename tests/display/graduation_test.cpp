// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/graduation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kvx::display {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct GraduationCase {
  const char *name;
  double min, max;
  bool secondes, dense;
  double pas, premier, echelle;
  int chiffres;
  bool temps;
  int graduations;
};

class ChoisitGraduationTest : public ::testing::TestWithParam<GraduationCase> {};

TEST_P(ChoisitGraduationTest, GivesStepFirstScaleAndDigits) {
  const GraduationCase &c = GetParam();
  const Graduation g = ChoisitGraduation(c.min, c.max, c.secondes, false, c.dense);
  EXPECT_DOUBLE_EQ(g.pas, c.pas);
  EXPECT_DOUBLE_EQ(g.premier, c.premier);
  EXPECT_DOUBLE_EQ(g.echelle, c.echelle);
  EXPECT_EQ(g.chiffres, c.chiffres);
  EXPECT_EQ(g.formatTemps, c.temps);
  EXPECT_EQ(NombreGraduations(g, c.max), c.graduations);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ChoisitGraduationTest,
    ::testing::Values(
        // Five intervals at most: 9.9 cut in steps of 2 gives 0, 2, 4, 6, 8.
        GraduationCase{"coarse_0_9_9", 0, 9.9, false, false, 2, 0, 1, 3, false, 5},
        GraduationCase{"fine_0_9_9", 0, 9.9, false, true, 1, 0, 1, 3, false, 10},
        // Labels 0, 100, 200, 300 in thousandths.
        GraduationCase{"tenths_0_0_37", 0, 0.37, false, false, 0.1, 0, 1e-3, 3, false, 4},
        GraduationCase{"alt_2_5V", -2.5, 2.5, false, false, 2, -2, 1, 3, false, 3},
        GraduationCase{"alt_50mV", -0.05, 0.05, false, false, 0.05, -0.05, 1e-3, 3, false, 2},
        GraduationCase{"ref0_5V_fine", 0, 5, false, true, 1, 0, 1, 3, false, 5},
        GraduationCase{"kilo", 0, 25000, false, false, 10000, 0, 1000, 3, false, 3},
        // The scale follows the width of the range: 3400 .. 4000 thousandths.
        GraduationCase{"offset_start", 3.3, 4.1, false, false, 0.2, 3.4, 1e-3, 4, false, 4},
        // Times in seconds read as clock times beyond a quarter of an hour.
        GraduationCase{"two_hours", 0, 7200, true, false, 1800, 0, 1, 4, true, 4},
        GraduationCase{"ten_hours", 0, 36000, true, false, 7200, 0, 1, 4, true, 5},
        GraduationCase{"thirty_hours", 0, 108000, true, false, 21600, 0, 1, 4, true, 5},
        GraduationCase{"ninety_hours", 0, 324000, true, false, 43200, 0, 1, 4, true, 8},
        GraduationCase{"ten_days", 0, 864000, true, false, 172800, 0, 1, 4, true, 5},
        GraduationCase{"quarter_hours", 0, 1000, true, false, 180, 0, 1, 4, true, 6},
        GraduationCase{"ten_minutes_decimal", 0, 600, true, false, 200, 0, 1, 3, false, 3},
        GraduationCase{"seconds_unit_not_s", 0, 7200, false, false, 2000, 0, 1000, 3, false, 4},
        // A recording far from midnight starts its clock labels in range.
        GraduationCase{"late_clock", 1e9, 1e9 + 3600, true, false, 600, 1000000200, 1, 4, true, 6}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ChoisitGraduation, LogarithmicAxisShowsFourDigits) {
  EXPECT_EQ(ChoisitGraduation(0, 3, false, true, false).chiffres, 4);
  EXPECT_EQ(ChoisitGraduation(0, 7200, true, true, false).formatTemps, false);
}

struct PlageCase {
  const char *name;
  double min, max, attenduMin, attenduMax;
};

TEST(PlageAffichable, RepairsRangesAnAxisCannotShow) {
  const PlageCase cases[] = {
      {"sound", -2.5, 2.5, -2.5, 2.5},
      {"equal", 5, 5, 5, 6},
      {"equal_zero", 0, 0, 0, 1},
      {"inverted", 3, 1, 1, 3},
      {"nan_min", kNaN, 1, 1, 2},
      {"nan_both", kNaN, kNaN, 0, 1},
      {"infinite", -kInf, kInf, 0, 1},
      {"inf_max", 2, kInf, 2, 3},
      {"huge", -1e308, 1e308, -1e300, 1e300},
      {"equal_huge", 1e20, 1e20, 1e20, 1e20 + 1e11},
  };
  for (const PlageCase &c : cases) {
    SCOPED_TRACE(c.name);
    const Plage p = PlageAffichable(c.min, c.max);
    EXPECT_DOUBLE_EQ(p.min, c.attenduMin);
    EXPECT_DOUBLE_EQ(p.max, c.attenduMax);
    EXPECT_GT(p.largeur(), 0);
    EXPECT_TRUE(std::isfinite(p.largeur()));
  }
}

TEST(ChoisitGraduation, EveryRangeGivesAFiniteBoundedGraduation) {
  const double valeurs[] = {kNaN, -kInf,  kInf,  -1e308, -1e300, -1e9, -1,    -1e-300,
                            0,    1e-300, 1e-12, 0.37,   1,      1e9,  1e300, 1e308};
  for (double a : valeurs)
    for (double b : valeurs)
      for (bool secondes : {false, true}) {
        const Graduation g = ChoisitGraduation(a, b, secondes, false, true);
        const Plage p = PlageAffichable(a, b);
        ASSERT_TRUE(g.pas > 0 && std::isfinite(g.pas)) << a << " " << b;
        ASSERT_TRUE(std::isfinite(g.premier) && std::isfinite(g.echelle) && g.echelle > 0);
        ASSERT_GE(g.chiffres, 3);
        ASSERT_LE(g.chiffres, 4);
        ASSERT_GE(g.premier, p.min - g.pas);
        ASSERT_LE(NombreGraduations(g, p.max), kMaxGraduations);
      }
}

TEST(NombreGraduations, NeverLoopsOnADegenerateStep) {
  EXPECT_EQ(NombreGraduations({0, 0, 1, 3, false}, 10), 0);
  EXPECT_EQ(NombreGraduations({kNaN, 0, 1, 3, false}, 10), 0);
  EXPECT_EQ(NombreGraduations({1e-12, 0, 1, 3, false}, 10), kMaxGraduations);
  EXPECT_EQ(NombreGraduations({1, 5, 1, 3, false}, 2), 0);
}

TEST(TexteHorloge, ReadsHoursMinutesAndDays) {
  const std::pair<double, const char *> cases[] = {
      {0, "0:00"},          {1800, "0:30"}, {7200, "2:00"},   {43200, "12:00"}, {86400, "1j"},
      {108000, "1j 06:00"}, {172800, "2j"}, {-3600, "-1:00"}, {59.6, "0:01"},   {kNaN, ""},
  };
  for (const auto &[secondes, texte] : cases) EXPECT_EQ(TexteHorloge(secondes), texte) << secondes;
}

}  // namespace
}  // namespace kvx::display
