// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/acquisition_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvx::device {
namespace {

struct CommandCase {
  const char *what;
  std::vector<int> inputs;
  int points;
  double dt;
  std::string text;
  SubMode mode;
  int pointsAfter;
  double periodAfter;
};

class AcquisitionCommandTest : public testing::TestWithParam<CommandCase> {};

TEST_P(AcquisitionCommandTest, ComposesTheExactCommand) {
  const CommandCase &c = GetParam();
  AcquisitionCommand a = ComposeAcquisition(c.inputs, c.points, c.dt);
  EXPECT_EQ(a.text, c.text);
  EXPECT_EQ(a.subMode, c.mode);
  EXPECT_EQ(a.points, c.pointsAfter);
  EXPECT_NEAR(a.period, c.periodAfter, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, AcquisitionCommandTest,
    testing::Values(
        // Six fast steps on input 2: r = 6, b = (600 + 1) div 32 + 1.
        CommandCase{"fast", {2}, 100, 0.00031236, "XPEA0 2,19", SubMode::Fast, 100, 0.00031236},
        CommandCase{
            "one input 10 ms", {0}, 100, 0.01, "XPEA1 0,4,40,0", SubMode::OneInput, 100, 0.01},
        // 493.6 ticks round to 494, then 49 x 10 (the division truncates).
        CommandCase{"truncating division",
                    {3},
                    100,
                    0.1234,
                    "XPEA1 3,4,49,1",
                    SubMode::OneInput,
                    100,
                    0.1225},
        CommandCase{"longest period", {0}, 8, 16.0, "XPEA1 0,1,64,3", SubMode::OneInput, 8, 16.0},
        CommandCase{
            "two inputs", {1, 6}, 100, 0.2, "XPEA2 1,6,7,40,1", SubMode::TwoInputs, 100, 0.2},
        CommandCase{
            "four low", {0, 3, 1}, 100, 0.01, "XPEA4 0,13,40,0", SubMode::FourLow, 100, 0.01},
        CommandCase{
            "four high", {4, 7, 5, 6}, 100, 0.01, "XPEA4 1,13,40,0", SubMode::FourHigh, 100, 0.01},
        CommandCase{
            "both halves", {1, 5, 2}, 100, 0.01, "XPEA8 26,20,0", SubMode::Eight, 100, 0.01},
        CommandCase{
            "five inputs", {0, 1, 2, 3, 4}, 100, 0.01, "XPEA8 26,20,0", SubMode::Eight, 100, 0.01},
        // 8 x 800 > 6368: half the points at twice the period.
        CommandCase{"eight halved",
                    {0, 1, 2, 3, 4, 5, 6, 7},
                    800,
                    0.001,
                    "XPEA8 101,4,0",
                    SubMode::Eight,
                    400,
                    0.002},
        CommandCase{"eight at the limit",
                    {0, 1, 2, 3, 4, 5, 6, 7},
                    796,
                    0.001,
                    "XPEA8 200,2,0",
                    SubMode::Eight,
                    796,
                    0.001},
        // 6400 x 2 raw samples do not fit: 500 us, N = nearest(0.666368 / 0.0005).
        CommandCase{"fast falls back",
                    {5},
                    6400,
                    2 * 5.206E-05,
                    "XPEA1 5,42,2,0",
                    SubMode::OneInput,
                    1333,
                    0.0005},
        // The shortest code is 2 ticks, the longest 65535 cut to 65 x 10^3.
        CommandCase{"raised to two ticks",
                    {0, 1},
                    100,
                    0.0005,
                    "XPEA2 0,1,7,2,0",
                    SubMode::TwoInputs,
                    100,
                    0.001},
        CommandCase{
            "lowered to 65535 ticks", {0}, 8, 100.0, "XPEA1 0,1,65,3", SubMode::OneInput, 8, 16.25},
        // Halves go to the even neighbour: 2.5 ticks give 2, 3.5 give 4.
        CommandCase{"half down to even",
                    {0},
                    100,
                    0.000625,
                    "XPEA1 0,4,2,0",
                    SubMode::OneInput,
                    100,
                    0.0005},
        CommandCase{
            "half up to even", {0}, 100, 0.000875, "XPEA1 0,4,4,0", SubMode::OneInput, 100, 0.001}),
    [](const testing::TestParamInfo<CommandCase> &info) {
      std::string name = info.param.what;
      for (char &c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(AcquisitionCommand, FastRatioIsNeverZero) {
  // A ratio of 0 would leave every line with no point and the fetch stuck.
  AcquisitionCommand a = ComposeAcquisition({0}, 100, 1e-6);
  EXPECT_EQ(a.subMode, SubMode::Fast);
  EXPECT_EQ(a.ratio, 1);
  EXPECT_EQ(a.text, "XPEA0 0,4");
  EXPECT_EQ(PointsInLine(a, 250), 250);
}

TEST(AcquisitionCommand, InputNumbersOutsideTheBoxAreKeptInRange) {
  EXPECT_EQ(ComposeAcquisition({-3, 12}, 100, 0.01).text, "XPEA2 0,7,7,20,0");
}

TEST(AcquisitionCommand, StartCommands) {
  EXPECT_EQ(ComposeStartCommand(true, 0), "XSEAP 0");
  EXPECT_EQ(ComposeStartCommand(true, 1), "XSEAP 1");
  EXPECT_EQ(ComposeStartCommand(false, 1), "XEAP");
}

struct FetchCase {
  const char *what;
  std::vector<int> inputs;
  int points;
  double dt;
  int firstPoint;
  std::string text;
  int firstPointAfter;
};

class FetchRequestTest : public testing::TestWithParam<FetchCase> {};

TEST_P(FetchRequestTest, AsksTheExactChunk) {
  const FetchCase &c = GetParam();
  AcquisitionCommand a = ComposeAcquisition(c.inputs, c.points, c.dt);
  FetchRequest f = ComposeFetch(a, c.firstPoint);
  EXPECT_EQ(f.text, c.text);
  EXPECT_EQ(f.firstPoint, c.firstPointAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, FetchRequestTest,
    testing::Values(
        FetchCase{"five points left", {0}, 100, 0.01, 95, "XRESUL 2,31,5", 95},
        FetchCase{"two inputs first", {0, 1}, 100, 0.02, 0, "XRESUL 0,0,100", 0},
        // The second chunk starts again at point 49, raw sample 98.
        FetchCase{"two inputs second", {0, 1}, 100, 0.02, 50, "XRESUL 3,2,100", 49},
        FetchCase{"two inputs last", {0, 1}, 100, 0.02, 99, "XRESUL 6,4,4", 98},
        FetchCase{"two inputs after 100", {0, 1}, 1000, 0.02, 100, "XRESUL 6,6,100", 99},
        FetchCase{"fast whole points", {2}, 100, 0.00031236, 0, "XRESUL 0,0,252", 0},
        FetchCase{"fast second", {2}, 100, 0.00031236, 42, "XRESUL 7,28,252", 42},
        FetchCase{"eight first", {0, 1, 2, 3, 4, 5, 6, 7}, 800, 0.001, 0, "XRESUL 0,0,248", 0},
        FetchCase{
            "eight steps back", {0, 1, 2, 3, 4, 5, 6, 7}, 800, 0.001, 31, "XRESUL 7,16,248", 30},
        FetchCase{"four inputs", {0, 1, 2}, 100, 0.01, 10, "XRESUL 1,8,252", 10},
        // A slow acquisition still asks two points at a time.
        FetchCase{"slow", {0}, 100, 16.0, 10, "XRESUL 0,10,2", 10},
        FetchCase{"nothing left", {0}, 100, 0.01, 100, "", 100}),
    [](const testing::TestParamInfo<FetchCase> &info) {
      std::string name = info.param.what;
      for (char &c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(FetchRequest, PointsInALineBySubMode) {
  EXPECT_EQ(PointsInLine(ComposeAcquisition({2}, 100, 0.00031236), 252), 42);
  EXPECT_EQ(PointsInLine(ComposeAcquisition({2}, 100, 0.01), 100), 100);
  EXPECT_EQ(PointsInLine(ComposeAcquisition({2, 3}, 100, 0.01), 101), 50);
  EXPECT_EQ(PointsInLine(ComposeAcquisition({2, 3, 1}, 100, 0.01), 250), 62);
  EXPECT_EQ(PointsInLine(ComposeAcquisition({2, 3, 4}, 100, 0.01), 248), 31);
}

}  // namespace
}  // namespace kvx::device
