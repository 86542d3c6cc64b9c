// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated fork as the program meets it on the wire: its loader, its
// counting runs and its result lines.
#include "device/veltor_fork.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "device/simulated_box.h"
#include "device/veltor_image.h"

namespace kvx::device {
namespace {

using namespace std::chrono_literals;

class ForkOnTheWire : public ::testing::Test {
 protected:
  ForkOnTheWire() : box(t0) {
    auto owned = std::make_unique<SimulatedFork>(ForkSpec{}, t0);
    fork = owned.get();
    box.setAccessory(std::move(owned));
  }
  std::string send(const std::string &line, Clock::duration after = 0ms) {
    now += after;
    for (char c : line) box.receive(static_cast<std::uint8_t>(c), now);
    box.receive('\r', now);
    std::string out;
    box.takeOutput(now, out);
    return out;
  }
  std::string upload(std::vector<std::string> lines) {
    std::string out;
    for (const std::string &l : lines) out += send(l);
    return out;
  }
  Clock::time_point t0 = ManualClock().now();
  Clock::time_point now = t0;
  SimulatedBox box;
  SimulatedFork *fork = nullptr;
};

TEST_F(ForkOnTheWire, AnswersUtilOnlyToASoundImage) {
  EXPECT_EQ(send("XUTIL4"), "") << "no program yet";
  auto corrupt = VeltorProgramLines();
  corrupt[9][12] = corrupt[9][12] == '0' ? '1' : '0';  // the checksum no longer adds up
  EXPECT_EQ(upload(corrupt), "");
  EXPECT_FALSE(fork->loaded());
  auto shortImage = VeltorProgramLines();
  shortImage.erase(shortImage.begin() + 2);
  EXPECT_EQ(upload(shortImage), "");
  EXPECT_EQ(upload(VeltorProgramLines()), "UTIL\r");
  EXPECT_TRUE(fork->loaded());
  EXPECT_EQ(send("XRESET"), "");
  EXPECT_EQ(send("XUTIL4"), "0\r") << "the program outlives a reset";
}

TEST_F(ForkOnTheWire, RulerFallGivesItsLinesWithTheClockHalves) {
  upload(VeltorProgramLines());
  send("XUTIL1");
  send("XUTIL2", 100ms);
  EXPECT_EQ(send("XUTIL4", 200ms), "0\r") << "not released yet";
  EXPECT_EQ(send("XUTIL4", 1000ms), "80\r");
  const std::string lines = send("XUTIL3 32");
  std::istringstream in(lines);
  std::string line;
  int i = 0;
  double previous = -1;
  while (std::getline(in, line, '\r')) {
    int p = 0;
    unsigned high = 0, low = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%d %u %u", &p, &high, &low), 3) << line;
    EXPECT_EQ(p, 30000 - 2 * i);
    EXPECT_LT(low, 65536u);
    const double t = (high * 65536.0 + low) * SimulatedFork::kClockPeriod;
    const double expected = 0.1 + 0.3 + std::sqrt(2 * (0.002 + 0.0036 * i) / 9.81);
    EXPECT_NEAR(t, expected, 2e-6) << i;
    EXPECT_GT(t, previous);
    previous = t;
    ++i;
  }
  EXPECT_EQ(i, 80);
  EXPECT_EQ(send("XUTIL3 32"), "") << "the run is over";
}

TEST_F(ForkOnTheWire, WheelCountsForAsLongAsTheRunLasts) {
  ForkSpec spec;
  spec.kind = ForkSpec::Kind::Wheel;
  spec.turnsPerSecond = 2;  // 40 slots a second
  SimulatedFork wheel(spec, t0);
  std::string out;
  for (const std::string &l : VeltorProgramLines()) wheel.programLine(l, t0, out);
  wheel.command("XUTIL1", t0, out);
  wheel.command("XUTIL2", t0, out);
  out.clear();
  wheel.command("XUTIL4", t0 + 1300ms, out);
  EXPECT_EQ(out, "41\r");  // from 0.3 s, one every 25 ms
  EXPECT_EQ(wheel.eventCount(40), 80);
}

struct ForkText {
  const char *text;
  bool ok;
  ForkSpec::Kind kind;
  double speed;
};

class ForkSpecText : public ::testing::TestWithParam<ForkText> {};

TEST_P(ForkSpecText, ParsesOrSaysWhy) {
  const ForkParse parsed = ParseForkSpec(GetParam().text);
  ASSERT_EQ(parsed.spec.has_value(), GetParam().ok) << parsed.error;
  if (!GetParam().ok) {
    EXPECT_FALSE(parsed.error.empty());
    return;
  }
  EXPECT_EQ(parsed.spec->kind, GetParam().kind);
  EXPECT_DOUBLE_EQ(parsed.spec->turnsPerSecond, GetParam().speed);
  EXPECT_EQ(ParseForkSpec(DescribeFork(*parsed.spec)).spec->turnsPerSecond, GetParam().speed);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ForkSpecText,
    ::testing::Values(ForkText{"ruler", true, ForkSpec::Kind::Ruler, 1},
                      ForkText{"wheel", true, ForkSpec::Kind::Wheel, 1},
                      ForkText{"wheel:2.5", true, ForkSpec::Kind::Wheel, 2.5},
                      ForkText{"wheel:", false, {}, 0}, ForkText{"wheel:0", false, {}, 0},
                      ForkText{"wheel:-1", false, {}, 0}, ForkText{"wheel:500", false, {}, 0},
                      ForkText{"wheel:2x", false, {}, 0}, ForkText{"wheels", false, {}, 0},
                      ForkText{"Ruler", false, {}, 0}, ForkText{"", false, {}, 0}));

}  // namespace
}  // namespace kvx::device
