// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/simulated_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvx::device {
namespace {

using namespace std::chrono_literals;
using K = SignalSpec::Kind;

class SimulatedBoxTest : public testing::Test {
 protected:
  SimulatedBoxTest() : box(t0) {
    // Input i shows the constant code 10 (i + 1), except the output loop-back on 7.
    for (int i = 0; i < 7; ++i) box.setSignal(i, SignalSpec{K::Constant, 0, 10.0 * (i + 1), 1});
  }
  // Sends the bytes at `at` and returns what the box answers.
  std::string send(const std::string &bytes, Clock::duration at) {
    for (char c : bytes) box.receive(static_cast<std::uint8_t>(c), t0 + at);
    std::string out;
    box.takeOutput(t0 + at, out);
    return out;
  }

  Clock::time_point t0 = Clock::time_point{} + 1h;
  SimulatedBox box;
};

TEST_F(SimulatedBoxTest, AnswersIdentificationAndLiveReads) {
  EXPECT_EQ(send("XERR\r", 0ms), std::string(SimulatedBox::kIdentity) + "\r");
  EXPECT_EQ(send("XEA 5\r", 0ms), "60\r");
  EXPECT_EQ(send("\x42", 0ms), std::string(1, '\x1e'));  // byte 66: input 2, code 30
  EXPECT_EQ(send("XSA 77\rXEA 7\r", 0ms), "77\r");
  EXPECT_EQ(send("\x47", 0ms), std::string(1, '\x4d'));
}

TEST_F(SimulatedBoxTest, BinaryInputsFollowTheirSignals) {
  box.setBinary(0, BinarySpec{BinarySpec::Kind::Square, 1});
  box.setBinary(1, BinarySpec{BinarySpec::Kind::High, 1});
  box.setBinary(2, BinarySpec{BinarySpec::Kind::Output, 1});
  EXPECT_EQ(send("\xC0", 250ms), "\x03");
  EXPECT_EQ(send("\xC0", 750ms), "\x02");
  EXPECT_EQ(send("XSA 128\r\xC0", 750ms), "\x06");
}

class SilenceTest : public SimulatedBoxTest, public testing::WithParamInterface<std::string> {};

TEST_P(SilenceTest, StaysSilentOnMalformedCommands) {
  EXPECT_EQ(send(GetParam() + "\r", 0ms), "");
  // ... and is still listening afterwards.
  EXPECT_EQ(send("XEA 0\r", 0ms), "10\r");
}

INSTANTIATE_TEST_SUITE_P(Malformed, SilenceTest,
                         testing::Values("XEA 8", "XEA", "XEA 1,2", "XEA -1", "XEA 1234567",
                                         "XSA 256", "XPEA1 0,4,40", "XPEA1 9,4,40,0",
                                         "XPEA1 0,0,40,0", "XPEA1 0,4,40,4", "XPEA4 2,4,40,0",
                                         "XRESUL 0,32,5", "XRESUL 0,0", "XFOO", "xerr", "XERR ",
                                         "XSEAP 2", "XSEAP", "XUTIL4", ":00000001FF",
                                         std::string(300, 'X')));

TEST_F(SimulatedBoxTest, ARunawayLineIsIgnoredUpToItsEnd) {
  EXPECT_EQ(send("X" + std::string(5000, 'A') + "\r\nXERR\r", 0ms),
            std::string(SimulatedBox::kIdentity) + "\r");
}

TEST_F(SimulatedBoxTest, FetchAnswersOnlySamplesAlreadyTaken) {
  // One input (5, code 60) every 10 ms into 4 blocks.
  send("XPEA1 5,4,40,0\rXEAP\r", 0ms);
  EXPECT_EQ(send("XRESUL 0,0,10\r", 50ms), "\r");  // samples at 0..50 ms: 6
  EXPECT_EQ(box.samplesTaken(t0 + 50ms), 6);
  EXPECT_EQ(send("XRESUL 0,0,10\r", 90ms), "60,60,60,60,60,60,60,60,60,60\r");
  EXPECT_EQ(send("XRESUL 0,1,2\r", 90ms), "60,60\r");
  EXPECT_EQ(box.samplesTaken(t0 + 10s), 128);
  EXPECT_EQ(send("XRESUL 3,31,1\r", 10s), "60\r");
  EXPECT_EQ(send("XRESUL 4,0,1\r", 10s), "\r");  // beyond the 4 blocks
}

TEST_F(SimulatedBoxTest, SignalsRestartedAtTheScanGiveTheSameSamplesWheneverItStarts) {
  auto samplesFrom = [this](Clock::duration start, bool restart) {
    SimulatedBox other(t0);
    other.setSignal(5, SignalSpec{K::Sine, 100, 128, 1});
    if (restart) other.restartSignalsAtNextStart();
    for (char c : std::string("XPEA1 5,1,40,0\rXEAP\r"))
      other.receive(static_cast<std::uint8_t>(c), t0 + start);
    for (char c : std::string("XRESUL 0,0,20\r"))
      other.receive(static_cast<std::uint8_t>(c), t0 + start + 1s);
    std::string out;
    other.takeOutput(t0 + start + 2s, out);
    return out;
  };
  EXPECT_EQ(samplesFrom(333ms, true), samplesFrom(777ms, true));
  EXPECT_NE(samplesFrom(333ms, false), samplesFrom(777ms, false));
  EXPECT_EQ(samplesFrom(0ms, false), samplesFrom(777ms, true));
}

TEST_F(SimulatedBoxTest, TheStopCommandEndsARunningAcquisition) {
  send("XPEA1 0,4,40,0\rXEAP\r", 0ms);
  EXPECT_TRUE(box.acquisitionRunning(t0 + 100ms));
  send("XPEA0 0,1\r", 100ms);
  EXPECT_FALSE(box.acquisitionRunning(t0 + 200ms));
  EXPECT_EQ(send("XRESUL 0,0,1\r", 5s), "\r");
}

TEST_F(SimulatedBoxTest, ResetStopsAndZeroesTheOutput) {
  send("XSA 99\rXPEA1 0,4,40,0\rXEAP\r", 0ms);
  send("XRESET\r", 10ms);
  EXPECT_EQ(box.outputCode(), 0);
  EXPECT_EQ(send("XRESUL 0,0,1\r", 5s), "\r");
}

TEST_F(SimulatedBoxTest, EdgeStartWaitsForARisingEdgeOnEF1) {
  box.setBinary(1, BinarySpec{BinarySpec::Kind::Square, 1});  // rises at every whole second
  send("XPEA1 0,4,40,0\rXSEAP 1\r", 200ms);
  EXPECT_TRUE(box.acquisitionRunning(t0 + 900ms));
  EXPECT_EQ(box.samplesTaken(t0 + 999ms), 0);
  EXPECT_EQ(box.samplesTaken(t0 + 1005ms), 1);
  EXPECT_EQ(box.samplesTaken(t0 + 1095ms), 10);
}

TEST_F(SimulatedBoxTest, EdgeStartWaitsForAFallingEdgeOnEF0) {
  box.setBinary(0, BinarySpec{BinarySpec::Kind::Square, 1});  // falls at every half second
  send("XPEA1 0,4,40,0\rXSEAP 0\r", 600ms);
  EXPECT_EQ(box.samplesTaken(t0 + 1400ms), 0) << "the rise at 1 s does not start it";
  EXPECT_EQ(box.samplesTaken(t0 + 1505ms), 1);
  // Wired to the output: only a fall from high starts it.
  box.setBinary(0, BinarySpec{BinarySpec::Kind::Output, 1});
  send("XSA 0\r", 2000ms);
  send("XPEA1 0,4,40,0\rXSEAP 0\r", 2010ms);
  send("XSA 200\r", 2100ms);
  EXPECT_EQ(box.samplesTaken(t0 + 2200ms), 0);
  send("XSA 10\r", 2300ms);
  EXPECT_EQ(box.samplesTaken(t0 + 2335ms), 4);
}

TEST_F(SimulatedBoxTest, EdgeStartCanBeWiredToTheOutput) {
  box.setBinary(1, BinarySpec{BinarySpec::Kind::Output, 1});
  send("XSA 200\r", 0ms);  // already high: no edge
  send("XPEA1 0,4,40,0\rXSEAP 1\r", 10ms);
  send("XSA 0\r", 20ms);
  EXPECT_EQ(box.samplesTaken(t0 + 100ms), 0);
  send("XSA 130\r", 300ms);
  EXPECT_EQ(box.samplesTaken(t0 + 300ms), 1);
  EXPECT_EQ(box.samplesTaken(t0 + 335ms), 4);
}

struct LayoutCase {
  const char *what;
  std::string command;
  std::vector<int> firstCodes;  // raw places 0, 1, 2, ...
  Clock::duration secondPoint;  // when the raw sample after the first point is taken
  int rawPerPoint;
};

class LayoutTest : public SimulatedBoxTest, public testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTest, PutsEachInputAtItsPlace) {
  const LayoutCase &c = GetParam();
  send(c.command + "\rXEAP\r", 0ms);
  for (std::size_t j = 0; j < c.firstCodes.size(); ++j)
    EXPECT_EQ(box.memoryCode(static_cast<int>(j)), c.firstCodes[j]) << "place " << j;
  EXPECT_EQ(box.samplesTaken(t0 + c.secondPoint - 1us), c.rawPerPoint);
  EXPECT_GT(box.samplesTaken(t0 + c.secondPoint), c.rawPerPoint);
}

INSTANTIATE_TEST_SUITE_P(
    SubModes, LayoutTest,
    testing::Values(
        // Fast form: 52.06 us apart.
        LayoutCase{"fast", "XPEA0 3,2", {40, 40, 40}, 52060ns, 1},
        LayoutCase{"one", "XPEA1 2,2,40,0", {30, 30}, 10ms, 1},
        // Two inputs: the second half a period (5 ms of the 500 us x 20) later.
        LayoutCase{"two", "XPEA2 1,6,2,20,0", {20, 70, 20, 70}, 5ms, 1},
        LayoutCase{"four low", "XPEA4 0,2,40,0", {10, 20, 30, 40, 10}, 10ms, 4},
        LayoutCase{"four high", "XPEA4 1,2,40,0", {50, 60, 70, 0, 50}, 10ms, 4},
        // Eight inputs: 4 to 7 half a period after 0 to 3.
        LayoutCase{"eight", "XPEA8 2,20,0", {10, 20, 30, 40, 50, 60, 70, 0, 10}, 5ms, 4}),
    [](const auto &info) {
      std::string s = info.param.what;
      for (char &ch : s)
        if (ch == ' ') ch = '_';
      return s;
    });

TEST_F(SimulatedBoxTest, SamplesKeepTheOutputOfTheirTime) {
  send("XSA 10\rXPEA1 7,4,40,0\rXEAP\r", 0ms);
  send("XSA 20\r", 25ms);
  EXPECT_EQ(send("XRESUL 0,0,5\r", 45ms), "10,10,10,20,20\r");
}

TEST_F(SimulatedBoxTest, SignalsAreSampledAtTheirTimes) {
  box.setSignal(0, SignalSpec{K::Ramp, 100, 128, 1});   // -1 .. 1 once a second
  box.setSignal(1, SignalSpec{K::Square, 50, 100, 2});  // 150 then 50 each 250 ms
  // Power-on at t0: the ramp is at 28 at 0 s, 128 at 0.5 s.
  EXPECT_EQ(box.inputCode(0, t0), 28);
  EXPECT_EQ(box.inputCode(0, t0 + 500ms), 128);
  EXPECT_EQ(box.inputCode(0, t0 + 750ms), 178);
  EXPECT_EQ(box.inputCode(1, t0 + 100ms), 150);
  EXPECT_EQ(box.inputCode(1, t0 + 300ms), 50);
  send("XPEA1 0,2,200,1\rXEAP\r", 0ms);  // every 0.5 s
  EXPECT_EQ(send("XRESUL 0,0,3\r", 1s), "28,128,28\r");
}

TEST_F(SimulatedBoxTest, TheMemoryHoldsTheLongestAcquisition) {
  send("XPEA1 0,201,2,0\rXEAP\r", 0ms);
  EXPECT_EQ(send("XRESUL 200,31,1\r", 10s), "10\r");
  EXPECT_EQ(send("XRESUL 201,0,1\r", 10s), "\r");
}

}  // namespace
}  // namespace kvx::device
