// SPDX-License-Identifier: GPL-3.0-or-later
// The "Seuil" and "Bouge" triggers: the crossing and change rules on code
// sequences, then the whole wait in the engine with its worker thread, a box
// whose watched input answers given codes, and what goes on the wire.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/acquisition_engine.h"
#include "device/engine_texts.h"
#include "device/link_texts.h"
#include "device/simulated_box.h"
#include "device/trigger_wait.h"
#include "engine_rig.h"
#include "model/voie.h"

namespace kvx::device {
namespace {

using namespace std::chrono_literals;
using testing::EngineRig;

// ---- The rules on code sequences ------------------------------------------

struct SequenceCase {
  const char *what;
  bool change;
  int level;  // threshold code, or change width
  bool falling;
  std::vector<int> codes;
  int firesAt;  // index of the code that triggers, -1 for none
};

class TriggerRule : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(TriggerRule, FiresOnTheRightCode) {
  const SequenceCase &c = GetParam();
  ThresholdCrossing crossing(c.level, c.falling);
  ChangeDetector change(c.level);
  int fired = -1;
  for (std::size_t i = 0; i < c.codes.size() && fired < 0; ++i)
    if (c.change ? change.feed(c.codes[i]) : crossing.feed(c.codes[i])) fired = static_cast<int>(i);
  EXPECT_EQ(fired, c.firesAt);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, TriggerRule,
    ::testing::Values(
        SequenceCase{"rising, already above: must go below first",
                     false,
                     127,
                     false,
                     {200, 200, 150, 127, 126, 127},
                     5},
        SequenceCase{"rising, never below", false, 127, false, {200, 127, 255, 128}, -1},
        SequenceCase{"rising, at the level is not below", false, 127, false, {127, 130}, -1},
        SequenceCase{"rising, below then just at the level", false, 127, false, {100, 126, 127}, 2},
        SequenceCase{
            "falling 100, 150, 127: 150 arms, 127 fires", false, 127, true, {100, 150, 127}, 2},
        SequenceCase{"falling, above then at the level", false, 127, true, {128, 127}, 1},
        SequenceCase{"falling, never above", false, 127, true, {100, 127, 0}, -1},
        SequenceCase{
            "change 3: 0, 0, 50, 52, 54 fires on 54", true, 3, false, {0, 0, 50, 52, 54}, 4},
        SequenceCase{
            "change 3: a move of exactly 3 is not enough", true, 3, false, {50, 53, 47, 53}, -1},
        SequenceCase{"change 1: downwards too", true, 1, false, {80, 81, 78}, 2},
        SequenceCase{
            "change: zeros never become the reference", true, 16, false, {0, 0, 0, 0}, -1}),
    [](const ::testing::TestParamInfo<SequenceCase> &info) {
      return "Case" + std::to_string(info.index);
    });

// ---- The wait in the engine -----------------------------------------------

// A simulated box whose analog inputs answer the single-byte requests with
// given codes, one after the other (the last one held), and that can fall
// silent after some requests. Everything else goes to the simulated box. It
// records every byte it hears; counters are read while the worker runs.
class ScriptedInputBox : public WirePeer {
 public:
  explicit ScriptedInputBox(std::vector<int> codes)
      : box(time_point{}), m_codes(std::move(codes)) {}
  void receive(std::uint8_t byte, time_point at) override {
    heard.push_back(static_cast<char>(byte));
    const bool request = !m_inLine && byte >= kReadInputByte && byte < kReadInputByte + kInputCount;
    if (!m_inLine && byte == 'X') m_inLine = true;
    if (byte == kCarriageReturn) m_inLine = false;
    if (!request) {
      box.receive(byte, at);
      return;
    }
    const int n = requests.fetch_add(1);
    if (silentAfter >= 0 && n >= silentAfter) return;
    const std::size_t i = std::min<std::size_t>(static_cast<std::size_t>(n), m_codes.size() - 1);
    m_out.push_back(static_cast<char>(m_codes[i]));
    ++answered;
  }
  void takeOutput(time_point now, std::string &out) override {
    out += m_out;
    m_out.clear();
    box.takeOutput(now, out);
  }

  SimulatedBox box;
  std::string heard;
  std::atomic<int> requests{0};
  std::atomic<int> answered{0};
  int silentAfter = -1;

 private:
  std::vector<int> m_codes;
  std::string m_out;
  bool m_inLine = false;
};

const std::string kFound = "XERR\rXRESET\r";

class TriggerWaitEngine : public ::testing::Test {
 protected:
  void arm(std::vector<int> codes, int trigger, int level, bool falling = false) {
    box = std::make_unique<ScriptedInputBox>(std::move(codes));
    rig = std::make_unique<EngineRig>(*box);
    rig->graphe.Abscisse = 1;
    rig->graphe.ModeSynchro = static_cast<std::uint8_t>(trigger);
    rig->graphe.VoieSynchro = 5;
    rig->graphe.voie(5).ChoisitEntree(2);  // request byte 66, "B"
    if (trigger == kTriggerSeuil) rig->graphe.Seuil = level;
    if (trigger == kTriggerBouge) rig->graphe.Bouge = level;
    rig->graphe.PenteSynchro = falling ? 1 : 0;
    rig->start();
  }
  // The window's side: take the worker's news as it comes, until `done`
  // holds or five seconds of real time have passed.
  bool serveUntil(const std::function<bool()> &done) {
    const auto limit = std::chrono::steady_clock::now() + 5s;
    for (;;) {
      rig->engine.TriggerWaitEvents();
      if (done()) return true;
      if (std::chrono::steady_clock::now() >= limit) return false;
      rig->view.waitPosted(1ms);
    }
  }
  // What the box heard after it was found and reset, once the bytes written
  // have crossed the line (50 ms of the window's loop).
  std::string heardSinceFound() {
    rig->run(50ms);
    EXPECT_EQ(box->heard.substr(0, kFound.size()), kFound);
    return box->heard.substr(kFound.size());
  }

  std::unique_ptr<ScriptedInputBox> box;
  std::unique_ptr<EngineRig> rig;
};

TEST_F(TriggerWaitEngine, RisingThresholdWithTheInputAlreadyAbove) {
  arm({200, 200, 200, 200, 100, 127}, kTriggerSeuil, 127);
  EXPECT_EQ(rig->view.status, texts::kAttenteDuPassageSeuil);
  EXPECT_TRUE(rig->engine.triggerWaitArmed());
  ASSERT_TRUE(serveUntil([&] { return rig->engine.state() == AcqState::Acquiring; }));
  EXPECT_FALSE(rig->engine.triggerWaitArmed());
  // Six requests answered, the sixth (127) fires: then the acquisition and
  // its start command, nothing of the window's in between.
  const std::string expected = std::string(6, 'B') + rig->engine.acquisitionCommand() + "\rXEAP\r";
  EXPECT_EQ(heardSinceFound().substr(0, expected.size()), expected);
  EXPECT_EQ(box->answered.load(), 6);
  // The read-out showed the codes read before the crossing, then the start.
  model::Tvoie &v5 = rig->graphe.voie(5);
  EXPECT_DOUBLE_EQ(v5.valeurLue, v5.ValeurDeCode(100));
  EXPECT_DOUBLE_EQ(v5.valeurCourante, v5.ValeurDeCode(100));
  auto start = std::find(rig->view.log.begin(), rig->view.log.end(), texts::kAcquisitionEnCours);
  ASSERT_NE(start, rig->view.log.end());
  ASSERT_NE(start, rig->view.log.begin());
  EXPECT_EQ(*(start - 1), "readout 5");
}

TEST_F(TriggerWaitEngine, RisingThresholdNeverFiresWhileTheInputStaysAbove) {
  arm({200}, kTriggerSeuil, 127);
  ASSERT_TRUE(serveUntil([&] { return box->answered.load() >= 30; }));
  EXPECT_EQ(rig->engine.state(), AcqState::Waiting);
  rig->engine.StopBtnClick(true);
  EXPECT_EQ(heardSinceFound(),
            std::string(static_cast<std::size_t>(box->requests.load()), 'B') + "XPEA0 0,1\r");
}

TEST_F(TriggerWaitEngine, FallingThresholdFiresAtTheLevel) {
  arm({100, 150, 127}, kTriggerSeuil, 127, true);
  ASSERT_TRUE(serveUntil([&] { return rig->engine.state() == AcqState::Acquiring; }));
  EXPECT_EQ(heardSinceFound().substr(0, 3 + rig->engine.acquisitionCommand().size() + 1),
            "BBB" + rig->engine.acquisitionCommand() + "\r");
}

TEST_F(TriggerWaitEngine, ChangeWidthThreeFiresOnFiftyFour) {
  arm({0, 0, 50, 52, 54}, kTriggerBouge, 3);
  EXPECT_EQ(rig->view.status, texts::kAttenteModification);
  ASSERT_TRUE(serveUntil([&] { return rig->engine.state() == AcqState::Acquiring; }));
  EXPECT_EQ(heardSinceFound().substr(0, 5 + rig->engine.acquisitionCommand().size() + 6),
            "BBBBB" + rig->engine.acquisitionCommand() + "\rXEAP\r");
  // The change wait refreshes no read-out.
  EXPECT_EQ(std::count(rig->view.readouts.begin(), rig->view.readouts.end(), 5), 0);
}

TEST_F(TriggerWaitEngine, StopEndsTheWorkerWithinOnePassBeforeTheStopCommand) {
  arm({90}, kTriggerSeuil, 127);
  ASSERT_TRUE(serveUntil([&] { return box->answered.load() >= 5; }));
  const auto before = rig->clock.now();
  rig->engine.StopBtnClick(true);
  // Box time passes here only through the worker finishing its pass.
  EXPECT_LE(rig->clock.now() - before, kTriggerWaitSlices * kTriggerWaitSlice + 2 * kByteTime);
  EXPECT_FALSE(rig->engine.triggerWaitArmed());
  EXPECT_EQ(rig->engine.state(), AcqState::Finished);
  EXPECT_TRUE(rig->engine.monocoup());
  // Every request answered and taken; the stop command after the last one.
  EXPECT_EQ(box->answered.load(), box->requests.load());
  EXPECT_EQ(heardSinceFound(),
            std::string(static_cast<std::size_t>(box->requests.load()), 'B') + "XPEA0 0,1\r");
  // The window's timer and input go back to normal.
  rig->run(500ms);
  EXPECT_EQ(box->requests.load(), box->answered.load());
}

TEST_F(TriggerWaitEngine, TheWindowSendingWhileArmedEndsTheWorkerFirst) {
  arm({90}, kTriggerSeuil, 127);
  ASSERT_TRUE(serveUntil([&] { return box->answered.load() >= 3; }));
  // What the window does at shutdown, without asking the engine.
  rig->link.SendCommand(cmd::kStop);
  EXPECT_FALSE(rig->engine.triggerWaitArmed());
  EXPECT_FALSE(rig->link.lent());
  EXPECT_EQ(heardSinceFound(),
            std::string(static_cast<std::size_t>(box->requests.load()), 'B') + "XPEA0 0,1\r");
}

TEST_F(TriggerWaitEngine, ApplyingTheConfigurationRearmsWithTheNewThreshold) {
  arm({90}, kTriggerSeuil, 127);
  ASSERT_TRUE(serveUntil([&] { return box->answered.load() >= 3; }));
  rig->graphe.Seuil = 80;  // the line dragged below the signal
  rig->engine.ApplyConfiguration();
  EXPECT_TRUE(rig->engine.triggerWaitArmed());
  // 90 is above 80: a rising wait at 80 must first see a code below it.
  const int before = box->requests.load();
  ASSERT_TRUE(serveUntil([&] { return box->requests.load() >= before + 20; }));
  EXPECT_EQ(rig->engine.state(), AcqState::Waiting);
  rig->engine.StopBtnClick(false);
  EXPECT_EQ(heardSinceFound(),
            std::string(static_cast<std::size_t>(box->requests.load()), 'B') + "XPEA0 0,1\r");
}

TEST_F(TriggerWaitEngine, ABoxUnpluggedWhileArmedEndsTheWaitAndIsShown) {
  arm({90}, kTriggerSeuil, 127);
  ASSERT_TRUE(serveUntil([&] { return box->answered.load() >= 3; }));
  rig->ports.unplug(rig->port);
  ASSERT_TRUE(serveUntil([&] { return !rig->engine.triggerWaitArmed(); }));
  EXPECT_EQ(rig->link.state(), LinkState::Gone);
  EXPECT_EQ(rig->linkView.gone, 1);
  EXPECT_EQ(rig->view.boxAbsent, 1);
  EXPECT_EQ(rig->engine.state(), AcqState::Finished);
  EXPECT_EQ(rig->view.status, std::string(texts::kNotFoundOnPort) + rig->link.PortText(rig->port));
  // Nothing more goes out, and the window's ticks find nothing to do.
  const std::size_t heard = box->heard.size();
  rig->engine.StopBtnClick(true);
  rig->run(300ms);
  EXPECT_EQ(box->heard.size(), heard);
}

TEST_F(TriggerWaitEngine, ABoxFallenSilentWhileArmedIsTakenAsGone) {
  arm({90}, kTriggerBouge, 3);
  // Armed again with a box that stops answering after ten requests.
  rig->engine.StopBtnClick(false);
  box->silentAfter = box->requests.load() + 10;
  rig->engine.ApplyConfiguration();
  ASSERT_TRUE(serveUntil([&] { return !rig->engine.triggerWaitArmed(); }));
  EXPECT_EQ(rig->link.state(), LinkState::Gone);
  EXPECT_EQ(rig->view.boxAbsent, 1);
  EXPECT_EQ(rig->engine.state(), AcqState::Finished);
  // It was asked again on every pass for the 330 ms of silence, no longer.
  const int unanswered = box->requests.load() - box->answered.load();
  EXPECT_GE(unanswered, 30);
  EXPECT_LE(unanswered, 35);
}

TEST_F(TriggerWaitEngine, WithoutABoxNothingIsWatched) {
  box = std::make_unique<ScriptedInputBox>(std::vector<int>{90});
  rig = std::make_unique<EngineRig>(*box);
  rig->graphe.ModeSynchro = kTriggerSeuil;
  rig->engine.ApplyConfiguration();  // no box found
  rig->engine.PrepareAcquisition();
  EXPECT_FALSE(rig->engine.triggerWaitArmed());
  EXPECT_EQ(rig->view.status, texts::kAttenteDuPassageSeuil);
  EXPECT_TRUE(box->heard.empty());
}

// ---- On the simulated box's own signals -------------------------------------

TEST(TriggerWaitSimulatedBox, FiresOnASineCrossingAndOnASquareMoving) {
  for (int trigger : {kTriggerSeuil, kTriggerBouge}) {
    SimulatedBox box(ManualClock().now());
    SignalSpec s;
    s.kind = trigger == kTriggerSeuil ? SignalSpec::Kind::Sine : SignalSpec::Kind::Square;
    s.amplitude = 100;
    s.offset = 128;
    s.frequency = 5;
    box.setSignal(3, s);
    EngineRig rig(box);
    rig.graphe.Abscisse = 1;
    rig.graphe.ModeSynchro = static_cast<std::uint8_t>(trigger);
    rig.graphe.voie(5).ChoisitEntree(3);
    rig.graphe.Seuil = 127;
    rig.graphe.Bouge = 16;
    const auto armed = rig.clock.now();
    rig.start();
    const auto limit = std::chrono::steady_clock::now() + 5s;
    while (rig.engine.state() != AcqState::Acquiring && std::chrono::steady_clock::now() < limit) {
      rig.engine.TriggerWaitEvents();
      rig.view.waitPosted(1ms);
    }
    ASSERT_EQ(rig.engine.state(), AcqState::Acquiring) << trigger;
    // Within one period of the 5 Hz signal, and on the signal's own edge.
    EXPECT_LE(rig.clock.now() - armed, 300ms) << trigger;
    if (trigger == kTriggerSeuil) {
      EXPECT_GE(box.inputCode(3, rig.clock.now()), 120);
    }
    rig.engine.StopBtnClick(true);
  }
}

}  // namespace
}  // namespace kvx::device
