// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/scan_parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kvx::device {
namespace {

struct PeriodCase {
  const char *name;
  double duration;
  int points;
  int inputs;
  double dt;
  bool mini;
  bool maxi;
};

class ComputePeriodTest : public testing::TestWithParam<PeriodCase> {};

TEST_P(ComputePeriodTest, GivesThePeriodTheBoxCanKeep) {
  const PeriodCase &c = GetParam();
  const Period p = ComputePeriod(c.duration, c.points, c.inputs);
  EXPECT_NEAR(p.dt, c.dt, c.dt * 1e-12) << c.name;
  EXPECT_EQ(p.mini, c.mini) << c.name;
  EXPECT_EQ(p.maxi, c.maxi) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ComputePeriodTest,
    testing::Values(
        // The start-up scan: 1 s over 128 points, two inputs.
        PeriodCase{"defaults", 1.0, 128, 2, 31 * kPeriodStep, false, false},
        // Short one-input scan runs on the fast spacing: 2E-04 is 3.84 steps.
        PeriodCase{"fast 0.2 s / 1000", 0.2, 1000, 1, 4 * kFastStep, false, false},
        PeriodCase{"fast at the limit", 0.2, 6400, 1, kFastStep, false, true},
        // From 0.33 s one input counts its period in 250 us steps from 500 us.
        PeriodCase{"one input at 0.33 s", 0.33, 6400, 1, kShortestOneInput, false, true},
        PeriodCase{"one input slow", 0.5, 100, 1, 0.005, false, false},
        // Several inputs never go below 1 ms; that is their maximum frequency.
        PeriodCase{"two inputs too fast", 0.01, 100, 2, kShortestSeveral, false, true},
        PeriodCase{"two inputs just above", 0.4, 320, 2, 0.00125, false, false},
        // At and above one second a period is whole seconds, truncated.
        PeriodCase{"1.9 s truncates", 190, 100, 1, 1.0, false, false},
        PeriodCase{"15.99 s", 1599, 100, 2, 15.0, false, false},
        PeriodCase{"16 s is the longest", 1600, 100, 2, 16.0, true, false},
        // From 150 s whole minutes, then cut to 16 s.
        PeriodCase{"200 s becomes 16 s", 20000, 100, 1, 16.0, true, false},
        PeriodCase{"no points", 1.0, 0, 1, 1.0, false, false}),
    [](const testing::TestParamInfo<PeriodCase> &info) {
      std::string n;
      for (const char *p = info.param.name; *p; ++p)
        n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      return n;
    });

TEST(ComputePeriod, NanDurationGivesTheShortestPeriodNotNan) {
  const Period p = ComputePeriod(std::numeric_limits<double>::quiet_NaN(), 128, 2);
  EXPECT_DOUBLE_EQ(p.dt, kShortestSeveral);
  EXPECT_TRUE(p.maxi);
}

TEST(Round125, WalksOneTwoFive) {
  struct {
    double in, out;
  } cases[] = {{1, 1},
               {2.15, 2},
               {4.3, 5},
               {10.75, 10},
               {1 / 2.15, 0.5},
               {0.5 / 2.15, 0.2},
               {0.2 / 2.15, 0.1},
               {1000, 1000},
               {0.001, 0.001},
               {6, 10},
               {2.5, 2},
               {3, 5},
               {-4.3, -5},
               {1E-06, 0},
               {0, 0},
               {102400 * 2.15, 200000}};
  for (const auto &c : cases) EXPECT_NEAR(Round125(c.in), c.out, std::fabs(c.out) * 1e-12) << c.in;
}

TEST(Round125, SpinFromOneSecond) {
  double d = 1;
  d = Round125(2.15 * d);
  EXPECT_DOUBLE_EQ(d, 2);
  d = Round125(2.15 * d);
  EXPECT_DOUBLE_EQ(d, 5);
  d = Round125(2.15 * d);
  EXPECT_DOUBLE_EQ(d, 10);
  EXPECT_DOUBLE_EQ(Round125(1 / 2.15), 0.5);
}

TEST(Round125, NanGivesZeroAndInfinityStays) {
  EXPECT_EQ(Round125(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_TRUE(std::isinf(Round125(std::numeric_limits<double>::infinity())));
}

TEST(ClampDuration, KeepsTheUserInsideWhatTheBoxCanDo) {
  EXPECT_DOUBLE_EQ(ClampDuration(1e-9, 1), 0.0001);
  EXPECT_DOUBLE_EQ(ClampDuration(1e-9, 2), 0.004);
  EXPECT_DOUBLE_EQ(ClampDuration(1e-9, 4), 0.008);
  EXPECT_DOUBLE_EQ(ClampDuration(1e9, 3), kLongestDuration);
  EXPECT_DOUBLE_EQ(ClampDuration(3.5, 3), 3.5);
  EXPECT_DOUBLE_EQ(ClampDuration(std::numeric_limits<double>::quiet_NaN(), 2), 0.004);
}

TEST(Nearest, RoundsHalvesToEven) {
  EXPECT_EQ(Nearest(0.5), 0);
  EXPECT_EQ(Nearest(1.5), 2);
  EXPECT_EQ(Nearest(2.5), 2);
  EXPECT_EQ(Nearest(-2.5), -2);
  EXPECT_EQ(Nearest(960.43), 960);
}

}  // namespace
}  // namespace kvx::device
