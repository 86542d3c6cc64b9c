// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/unpack_line.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace kvx::device {
namespace {

constexpr std::size_t kCapacity = 6401;
const double kUntouched = std::numeric_limits<double>::quiet_NaN();

// A channel whose conversion is recognisable: input c turns code x into
// 1000 c + x, so a value tells which input and which code it came from.
struct Channel {
  explicit Channel(int input) : input(input) { values.fill(kUntouched); }
  int input;
  std::array<double, kCapacity> values;
  UnpackChannel target() {
    const int c = input;
    return UnpackChannel{input, [c](int code) { return 1000.0 * c + code; }, values.data(),
                         values.size()};
  }
};

int Unpack(SubMode subMode, int ratio, int first, int n, const std::vector<std::uint8_t> &codes,
           std::vector<Channel *> channels) {
  std::vector<UnpackChannel> targets;
  for (Channel *c : channels) targets.push_back(c->target());
  return UnpackLine(UnpackRequest{subMode, ratio, first, n}, codes.data(),
                    static_cast<int>(codes.size()), targets.data(), targets.size());
}

std::vector<std::uint8_t> Ramp(int count, int start = 0) {
  std::vector<std::uint8_t> codes;
  for (int i = 0; i < count; ++i) codes.push_back(static_cast<std::uint8_t>(start + i));
  return codes;
}

TEST(UnpackLine, FastFormKeepsOneCodeInR) {
  Channel v1(2);
  // 10 codes at ratio 4: two whole points (places 0 and 4), place 8 is the
  // start of an incomplete third one.
  EXPECT_EQ(Unpack(SubMode::Fast, 4, 30, 128, Ramp(10), {&v1}), 2);
  EXPECT_EQ(v1.values[30], 2000);
  EXPECT_EQ(v1.values[31], 2004);
  EXPECT_TRUE(std::isnan(v1.values[32]));
  EXPECT_TRUE(std::isnan(v1.values[29]));
}

TEST(UnpackLine, FastFormWithNoRatioTakesEveryCode) {
  Channel v1(0);
  EXPECT_EQ(Unpack(SubMode::Fast, 0, 0, 128, Ramp(3), {&v1}), 3);
  EXPECT_EQ(v1.values[2], 2);
}

TEST(UnpackLine, OneInputTakesEveryCode) {
  Channel v1(5);
  EXPECT_EQ(Unpack(SubMode::OneInput, 1, 100, 128, Ramp(5, 10), {&v1}), 5);
  for (int j = 0; j < 5; ++j) EXPECT_EQ(v1.values[100 + j], 5000 + 10 + j);
}

TEST(UnpackLine, NeverWritesAtOrBeyondThePointCount) {
  Channel v1(0);
  // A box that sends more than asked: only the 3 points left are taken.
  EXPECT_EQ(Unpack(SubMode::OneInput, 1, 6397, 6400, Ramp(255), {&v1}), 3);
  EXPECT_EQ(v1.values[6399], 2);
  EXPECT_TRUE(std::isnan(v1.values[6400]));
  EXPECT_EQ(Unpack(SubMode::OneInput, 1, 6400, 6400, Ramp(255), {&v1}), 0);
}

TEST(UnpackLine, TwoInputsInterpolateTheSecondOntoTheFirstsInstants) {
  Channel v1(0), v2(3);
  // Codes alternate v1, v2: 10 20 | 11 30 | 12 40 | 13 50.
  const std::vector<std::uint8_t> codes = {10, 20, 11, 30, 12, 40, 13, 50};
  EXPECT_EQ(Unpack(SubMode::TwoInputs, 1, 0, 128, codes, {&v1, &v2}), 4);
  EXPECT_EQ(v1.values[0], 10);
  EXPECT_EQ(v1.values[1], 11);
  EXPECT_EQ(v1.values[3], 13);
  // Point 0 of the first line: extrapolated back half a period.
  EXPECT_DOUBLE_EQ(v2.values[0], (3 * 3020.0 - 3030.0) / 2);
  EXPECT_DOUBLE_EQ(v2.values[1], (3020.0 + 3030.0) / 2);
  EXPECT_DOUBLE_EQ(v2.values[3], (3040.0 + 3050.0) / 2);
  EXPECT_TRUE(std::isnan(v1.values[4]));
}

TEST(UnpackLine, TwoInputsLeavePointZeroOfALaterLineAlone) {
  Channel v1(0), v2(1);
  v1.values[49] = -1;
  v2.values[49] = -2;
  // Second line of a 100-point scan: asked from point 49 again.
  EXPECT_EQ(Unpack(SubMode::TwoInputs, 1, 49, 100, Ramp(100), {&v1, &v2}), 50);
  EXPECT_EQ(v1.values[49], -1);
  EXPECT_EQ(v2.values[49], -2);
  EXPECT_EQ(v1.values[50], 2);
  EXPECT_DOUBLE_EQ(v2.values[50], (1001.0 + 1003.0) / 2);
  EXPECT_EQ(v1.values[98], 98);
  EXPECT_TRUE(std::isnan(v1.values[99]));
  // Third line: 4 codes from raw sample 196 give point 99 only.
  EXPECT_EQ(Unpack(SubMode::TwoInputs, 1, 98, 100, Ramp(4, 196), {&v1, &v2}), 2);
  EXPECT_EQ(v1.values[99], 198);
  EXPECT_DOUBLE_EQ(v2.values[99], (1197.0 + 1199.0) / 2);
}

TEST(UnpackLine, TwoInputsShortFirstLineStillFillsPointZero) {
  Channel v1(0), v2(1);
  EXPECT_EQ(Unpack(SubMode::TwoInputs, 1, 0, 128, {7, 9, 8}, {&v1, &v2}), 1);
  EXPECT_EQ(v1.values[0], 7);
  EXPECT_EQ(v2.values[0], 1009);
}

TEST(UnpackLine, FourInputsFindTheirCodeByInputNumber) {
  Channel a(0), b(2), c(3);
  // Two points of four codes: inputs 0..3 each time.
  const std::vector<std::uint8_t> codes = {1, 2, 3, 4, 11, 12, 13, 14, 99};
  EXPECT_EQ(Unpack(SubMode::FourLow, 1, 7, 128, codes, {&a, &b, &c}), 2);
  EXPECT_EQ(a.values[7], 1);
  EXPECT_EQ(b.values[7], 2003);
  EXPECT_EQ(c.values[8], 3014);
  EXPECT_TRUE(std::isnan(a.values[9]));
}

TEST(UnpackLine, FourHighInputsCountFromInputFour) {
  Channel e(4), h(7), stray(1);
  const std::vector<std::uint8_t> codes = {1, 2, 3, 4, 11, 12, 13, 14};
  EXPECT_EQ(Unpack(SubMode::FourHigh, 1, 0, 128, codes, {&e, &h, &stray}), 2);
  EXPECT_EQ(e.values[0], 4001);
  EXPECT_EQ(h.values[1], 7014);
  // An input of the other half has no code in this form: left alone.
  EXPECT_TRUE(std::isnan(stray.values[0]));
}

TEST(UnpackLine, EightInputsInterpolateTheLateHalf) {
  Channel low(1), high(6);
  // Three points of eight codes: code = 10 * point + input.
  std::vector<std::uint8_t> codes;
  for (int p = 0; p < 3; ++p)
    for (int c = 0; c < 8; ++c) codes.push_back(static_cast<std::uint8_t>(10 * p + c));
  EXPECT_EQ(Unpack(SubMode::Eight, 1, 0, 128, codes, {&low, &high}), 3);
  EXPECT_EQ(low.values[0], 1001);
  EXPECT_EQ(low.values[2], 1021);
  EXPECT_DOUBLE_EQ(high.values[0], (3 * 6006.0 - 6016.0) / 2);
  EXPECT_DOUBLE_EQ(high.values[1], (6006.0 + 6016.0) / 2);
  EXPECT_DOUBLE_EQ(high.values[2], (6016.0 + 6026.0) / 2);
}

TEST(UnpackLine, EightInputsLaterLineSkipsTheRefetchedPoint) {
  Channel low(0), high(4);
  low.values[10] = -1;
  high.values[10] = -1;
  EXPECT_EQ(Unpack(SubMode::Eight, 1, 10, 128, Ramp(16), {&low, &high}), 2);
  EXPECT_EQ(low.values[10], -1);
  EXPECT_EQ(high.values[10], -1);
  EXPECT_EQ(low.values[11], 8);
  EXPECT_DOUBLE_EQ(high.values[11], (4004.0 + 4012.0) / 2);
}

TEST(UnpackLine, EightInputsShortFirstLineTakesThePlainSample) {
  Channel high(5);
  EXPECT_EQ(Unpack(SubMode::Eight, 1, 0, 128, Ramp(8, 50), {&high}), 1);
  EXPECT_EQ(high.values[0], 5055);
}

TEST(UnpackLine, RejectsWhatCannotBeUnpacked) {
  Channel v1(0), bad(12);
  EXPECT_EQ(Unpack(SubMode::OneInput, 1, 0, 128, {}, {&v1}), 0);
  EXPECT_EQ(Unpack(static_cast<SubMode>(9), 1, 0, 128, Ramp(10), {&v1}), 0);
  EXPECT_EQ(Unpack(SubMode::OneInput, 1, 0, 128, Ramp(10), {}), 0);
  // An input number outside 0..7 must not index outside the line.
  EXPECT_EQ(Unpack(SubMode::Eight, 1, 0, 128, Ramp(16), {&bad}), 2);
  EXPECT_TRUE(std::isnan(bad.values[0]));
  // A channel without an array is skipped, not written through.
  UnpackChannel none{0, nullptr, nullptr, 0};
  const auto codes = Ramp(4);
  EXPECT_EQ(UnpackLine(UnpackRequest{SubMode::OneInput, 1, 0, 128}, codes.data(), 4, &none, 1), 4);
}

}  // namespace
}  // namespace kvx::device
