// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/simulated_signal.h"

#include <gtest/gtest.h>

namespace kvx::device {
namespace {

struct SpecCase {
  const char *text;
  bool ok;
  std::string described;  // DescribeSignal of the result, or a word of the error
};

class SignalSpecTest : public testing::TestWithParam<SpecCase> {};

TEST_P(SignalSpecTest, ParsesTheCommandLineText) {
  auto parsed = ParseSignalSpec(GetParam().text);
  ASSERT_EQ(parsed.spec.has_value(), GetParam().ok) << parsed.error;
  if (parsed.spec)
    EXPECT_EQ(DescribeSignal(*parsed.spec), GetParam().described);
  else
    EXPECT_NE(parsed.error.find(GetParam().described), std::string::npos) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(Texts, SignalSpecTest,
                         testing::Values(SpecCase{"sine", true, "sine:100:128:1"},
                                         SpecCase{"sine:60:128:5", true, "sine:60:128:5"},
                                         SpecCase{"constant::200", true, "constant:100:200:1"},
                                         SpecCase{"ramp:1.5e1::0.25", true, "ramp:15:128:0.25"},
                                         SpecCase{"output", true, "output:100:128:1"},
                                         SpecCase{"sinus", false, "unknown"},
                                         SpecCase{"", false, "unknown"},
                                         SpecCase{"sine:1:2:3:4", false, "too many"},
                                         SpecCase{"sine:1,5", false, "amplitude"},
                                         SpecCase{"sine::nan", false, "offset"},
                                         SpecCase{"sine:::-1", false, "frequency"},
                                         SpecCase{"sine:::1e9", false, "frequency"}));

TEST(BinarySpec, ParsesAndFindsRisingEdges) {
  EXPECT_EQ(DescribeBinary(*ParseBinarySpec("square:2").spec), "square:2");
  EXPECT_EQ(DescribeBinary(*ParseBinarySpec("output").spec), "output");
  EXPECT_FALSE(ParseBinarySpec("high:3").spec);
  EXPECT_FALSE(ParseBinarySpec("square:0").spec);
  EXPECT_FALSE(ParseBinarySpec("pulse").spec);
  BinarySpec square{BinarySpec::Kind::Square, 2};
  EXPECT_TRUE(square.level(0.1, 0));
  EXPECT_FALSE(square.level(0.3, 0));
  EXPECT_DOUBLE_EQ(*square.squareRisingEdge(0.1, 1.0), 0.5);
  EXPECT_DOUBLE_EQ(*square.squareRisingEdge(0.5, 1.0), 1.0);  // strictly after
  EXPECT_FALSE(square.squareRisingEdge(0.1, 0.4));
  EXPECT_DOUBLE_EQ(*square.squareFallingEdge(0.0, 1.0), 0.25);
  EXPECT_DOUBLE_EQ(*square.squareFallingEdge(0.25, 1.0), 0.75);  // strictly after
  EXPECT_FALSE(square.squareFallingEdge(0.3, 0.7));
}

TEST(SignalSpec, CodesStayWithinTheBoxRange) {
  SignalSpec loud{SignalSpec::Kind::Sine, 1e9, 128, 1};
  EXPECT_EQ(loud.code(0, 0.25, 0), 255);
  EXPECT_EQ(loud.code(0, 0.75, 0), 0);
  SignalSpec tri{SignalSpec::Kind::Triangle, 100, 128, 1};
  EXPECT_EQ(tri.code(0, 0.0, 0), 28);
  EXPECT_EQ(tri.code(0, 0.5, 0), 228);
  SignalSpec noise{SignalSpec::Kind::Noise, 100, 128, 1};
  EXPECT_EQ(noise.code(3, 1.234567, 0), noise.code(3, 1.234567, 0));
}

}  // namespace
}  // namespace kvx::device
