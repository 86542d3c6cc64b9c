// SPDX-License-Identifier: GPL-3.0-or-later
// Optical-fork runs end to end: the program upload, the counting run polled
// every tick, the fetch of the event lines and what becomes of them, against
// the simulated fork and against scripted boxes that misbehave.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "device/acquisition_engine.h"
#include "device/engine_texts.h"
#include "device/simulated_box.h"
#include "device/veltor_fork.h"
#include "device/veltor_image.h"
#include "device/veltor_texts.h"
#include "display/graphe.h"
#include "engine_rig.h"
#include "model/veltor.h"
#include "veltor_peer.h"

namespace kvx::device {
namespace {

using namespace std::chrono_literals;
using testing::EngineRig;
using testing::VeltorPeer;

constexpr double kTick = 1.08506e-6;

class VeltorRun : public ::testing::Test {
 protected:
  explicit VeltorRun(ForkSpec spec = {}) : box(ManualClock().now()), rig(box) {
    auto owned = std::make_unique<SimulatedFork>(spec, rig.clock.now());
    fork = owned.get();
    box.setAccessory(std::move(owned));
    rig.graphe.Mode = display::kModeVeltor;
  }
  model::Tveltor &Fourche() { return rig.graphe.veltor(); }
  model::Tvoie &Temps() { return rig.graphe.voie(1); }
  bool finished() { return rig.engine.veltorPhase() == VeltorPhase::Idle; }
  void runToEnd() {
    rig.engine.EnregistreBtnClick();
    ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 20000ms));
  }
  // g from the second differences of the positions, at uneven times.
  double gravity() {
    std::vector<double> a;
    for (int i = 1; i + 1 < rig.graphe.nbPoints; ++i) {
      const auto k = static_cast<std::size_t>(i);
      const double *x = Fourche().valeurs.data();
      const double *t = Temps().valeurs.data();
      const double v1 = (x[k] - x[k - 1]) / (t[k] - t[k - 1]);
      const double v2 = (x[k + 1] - x[k]) / (t[k + 1] - t[k]);
      a.push_back(2 * (v2 - v1) / (t[k + 1] - t[k - 1]));
    }
    return std::accumulate(a.begin(), a.end(), 0.0) / static_cast<double>(a.size());
  }

  SimulatedBox box;
  EngineRig rig;
  SimulatedFork *fork = nullptr;
};

TEST_F(VeltorRun, ProgramGoesToTheBoxOnceAndIsAccepted) {
  rig.start();
  EXPECT_TRUE(fork->loaded());
  EXPECT_TRUE(rig.engine.veltorUploaded());
  EXPECT_TRUE(rig.view.errors.empty());
  EXPECT_EQ(rig.graphe.Mode, display::kModeVeltor);
  rig.engine.ApplyConfiguration();
  rig.link.SendCommand("XRESET");  // the box back in its own program keeps the fork's
  rig.engine.ApplyConfiguration();
  EXPECT_EQ(fork->uploads(), 1);
  EXPECT_EQ(rig.timer.interval(), 550);
  EXPECT_EQ(rig.view.gaugeMax, 1024);
}

TEST_F(VeltorRun, RulerFallingFromRestGivesGWithinOnePercent) {
  rig.start();
  runToEnd();
  // 80 stripes: the last event (the ruler leaving) and the first (before
  // the fall settled into the fork) are dropped.
  EXPECT_EQ(rig.graphe.nbPoints, 78);
  EXPECT_EQ(Fourche().nbEvenements, 78);
  EXPECT_TRUE(Fourche().monotone);
  EXPECT_DOUBLE_EQ(Temps().valeurs[0], 0.0);
  const double sign = Fourche().Negatif ? -1 : 1;  // falling: z from 0 down when ticked
  EXPECT_DOUBLE_EQ(Fourche().valeurs[1], sign * 0.0036);
  const double g = sign * gravity();
  EXPECT_NEAR(g, 9.81, 0.0981) << "g = " << g;
  EXPECT_DOUBLE_EQ(Temps().Maxi, Temps().valeurs[77]) << "the time axis ends at the last event";
  EXPECT_EQ(rig.engine.state(), AcqState::Finished);
  EXPECT_EQ(rig.view.status, texts::kAcquisitionTerminee);
  EXPECT_TRUE(rig.view.enabled(EngineButton::Enregistre));
  EXPECT_FALSE(rig.view.enabled(EngineButton::Stop));
  EXPECT_TRUE(rig.view.enabled(EngineButton::RegSave));
  EXPECT_FALSE(rig.link.hasDataAvailable());
}

TEST_F(VeltorRun, RecordedFallKeepsItsAxesWhenSettingsAreAppliedAndFollowsANewStep) {
  rig.start();
  runToEnd();
  const double duree = Temps().Maxi;
  const double haut = Fourche().Maxi;
  ASSERT_GT(haut, 0.2);
  rig.engine.HaltAcquisition();
  Fourche().Taille = 0.0009;  // the dialog's "Demi période"
  rig.engine.ApplyConfiguration();
  EXPECT_EQ(rig.graphe.nbPoints, 78);
  EXPECT_DOUBLE_EQ(Temps().Maxi, duree) << "not the 0 to 1 s of an empty run";
  EXPECT_DOUBLE_EQ(Temps().valeurs[77], duree) << "the times are the events', not a scan's";
  EXPECT_DOUBLE_EQ(Fourche().Maxi, haut / 2);
  EXPECT_DOUBLE_EQ(Fourche().valeurs[10], 10 * 2 * 0.0009);
  // Cleared by the user, the next run starts from the empty axes.
  rig.engine.ResetBtnClick(true);
  EXPECT_EQ(rig.graphe.nbPoints, 0);
  EXPECT_DOUBLE_EQ(Fourche().Maxi, 0.2);
}

TEST_F(VeltorRun, FallAcrossTheWrapOfTheBoxClockKeepsItsTimes) {
  rig.start();
  // The 32-bit clock wraps 0.6 s from now, in the middle of the fall.
  const auto wrapIn = static_cast<std::uint32_t>(0.6 / kTick);
  fork->setClock(rig.clock.now(), static_cast<std::uint32_t>(0u - wrapIn));
  runToEnd();
  ASSERT_EQ(rig.graphe.nbPoints, 78);
  for (int i = 1; i < 78; ++i) ASSERT_GT(Temps().valeurs[i], Temps().valeurs[i - 1]) << i;
  EXPECT_LT(Temps().valeurs[77], 0.25);
  EXPECT_NEAR((Fourche().Negatif ? -1 : 1) * gravity(), 9.81, 0.0981);
}

TEST_F(VeltorRun, StopDuringTheFallFetchesWhatWasCounted) {
  rig.start();
  const int repaints = rig.view.repaints;
  rig.engine.EnregistreBtnClick();
  EXPECT_GT(rig.view.repaints, repaints) << "the last recording's curve goes";
  EXPECT_TRUE(rig.view.enabled(EngineButton::Stop));
  EXPECT_FALSE(rig.view.enabled(EngineButton::Enregistre));
  EXPECT_EQ(rig.view.status, texts::kAttenteVeltor);
  // The run's axes: the automatic stop's 10 s, and 64 steps either way.
  EXPECT_DOUBLE_EQ(Temps().Maxi, 10.0);
  EXPECT_DOUBLE_EQ(rig.graphe.veltor().Maxi, 64 * 0.0018);
  EXPECT_DOUBLE_EQ(rig.graphe.veltor().Mini, -64 * 0.0018);
  EXPECT_EQ(rig.graphe.nbPoints, 0);
  // Half the fall: 0.12 s after the release (0.3 s after the start).
  ASSERT_TRUE(rig.runUntil([&] { return fork->eventsBy(rig.clock.now()) >= 20; }, 2000ms));
  rig.engine.StopBtnClick(true);
  EXPECT_EQ(rig.engine.veltorPhase(), VeltorPhase::Fetching);
  EXPECT_FALSE(rig.view.enabled(EngineButton::Stop));
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 5000ms));
  // What was counted at the stop, less the first and the last.
  EXPECT_GE(rig.graphe.nbPoints, 18);
  EXPECT_LT(rig.graphe.nbPoints, 30);
}

TEST_F(VeltorRun, StopAskedWhileThePollWaitsIsDoneRightAfterIt) {
  rig.start();
  rig.engine.EnregistreBtnClick();
  bool asked = false;
  // The stop dialog's count-down runs in the pump of the poll's wait.
  rig.link.setPump([&] {
    if (!asked && rig.engine.veltorPhase() == VeltorPhase::Counting) {
      asked = true;
      rig.engine.VeltorStopRequested();
      EXPECT_EQ(rig.engine.veltorPhase(), VeltorPhase::Counting) << "not inside the wait";
    }
  });
  ASSERT_TRUE(rig.runUntil([&] { return asked; }, 2000ms));
  rig.link.setPump(nullptr);
  EXPECT_EQ(rig.engine.veltorPhase(), VeltorPhase::Fetching);
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 5000ms));
}

TEST_F(VeltorRun, UnpluggedDuringTheFetchKeepsTheEventsReceived) {
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return Fourche().nbEvenements >= 30; }, 5000ms));
  rig.ports.unplug(rig.port);
  rig.run(3000ms);
  EXPECT_EQ(rig.view.boxAbsent, 1);
  EXPECT_EQ(rig.engine.state(), AcqState::Finished);
  EXPECT_EQ(rig.engine.veltorPhase(), VeltorPhase::Idle);
  EXPECT_GE(rig.graphe.nbPoints, 28);
  EXPECT_LT(rig.graphe.nbPoints, 78);
  EXPECT_FALSE(rig.link.hasDataAvailable());
  EXPECT_FALSE(rig.engine.veltorUploaded()) << "a box plugged back may have lost its program";
  EXPECT_LE(rig.longestEvent, 300ms);
}

TEST_F(VeltorRun, BoxThatStopsAnsweringTheCountIsTakenAsGone) {
  rig.start();
  fork->setFault(SimulatedFork::Fault::SilentCount);
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return rig.view.boxAbsent > 0; }, 5000ms));
  EXPECT_EQ(rig.engine.state(), AcqState::Finished);
  EXPECT_FALSE(rig.timer.isEnabled());
  EXPECT_LE(rig.longestEvent, 300ms);
}

class VeltorWheel : public VeltorRun {
 protected:
  static ForkSpec Wheel() {
    ForkSpec spec;
    spec.kind = ForkSpec::Kind::Wheel;
    spec.turnsPerSecond = 1;  // 20 slots: an event every 50 ms
    return spec;
  }
  VeltorWheel() : VeltorRun(Wheel()) {}
};

TEST_F(VeltorWheel, MoreEventsThanNombreMaxiAreFetchedWithoutWaitingForTheStop) {
  Fourche().nbremax = 30;
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 20000ms));
  // Polled counts went past 30; the fetch took what the box had then.
  EXPECT_GT(rig.view.gaugeMax, 30);
  EXPECT_LT(rig.view.gaugeMax, 80);
  EXPECT_GE(rig.graphe.nbPoints, rig.view.gaugeMax - 2);
  for (int i = 1; i < rig.graphe.nbPoints; ++i)
    ASSERT_NEAR(Temps().valeurs[i] - Temps().valeurs[i - 1], 0.05, 2e-6) << i;
  EXPECT_DOUBLE_EQ(Fourche().valeurs[2], 2 * 2 * 0.0018 * (Fourche().Negatif ? -1 : 1));
}

// The simulated box behind a line that changes one digit of the program on
// its way: its loader finds the checksum wrong.
class NoisyLine final : public WirePeer {
 public:
  explicit NoisyLine(WirePeer &box) : m_box(box) {}
  void receive(std::uint8_t byte, time_point at) override {
    m_line.push_back(static_cast<char>(byte));
    if (byte == '\r') m_line.clear();
    // The fifth data record, ":10203000...": its 12th character.
    if (m_line.size() == 12 && m_line.rfind(":10203000", 0) == 0) byte = byte == '1' ? '2' : '1';
    m_box.receive(byte, at);
  }
  void takeOutput(time_point now, std::string &out) override { m_box.takeOutput(now, out); }

 private:
  WirePeer &m_box;
  std::string m_line;
};

TEST(VeltorCorrupted, ImageCorruptedOnTheLineIsRefusedWithTheMessage) {
  SimulatedBox box(ManualClock().now());
  auto owned = std::make_unique<SimulatedFork>(ForkSpec{}, ManualClock().now());
  SimulatedFork *fork = owned.get();
  box.setAccessory(std::move(owned));
  NoisyLine line(box);
  EngineRig rig(line);
  rig.graphe.Mode = display::kModeVeltor;
  rig.start();
  EXPECT_FALSE(fork->loaded());
  EXPECT_EQ(rig.view.errors, std::vector<std::string>{texts::kImpossibleVeltor});
  EXPECT_EQ(rig.graphe.Mode, display::kModePointParPoint);
  // The next try, through a clean line, is taken.
  EngineRig clean(box);
  clean.graphe.Mode = display::kModeVeltor;
  clean.start();
  EXPECT_TRUE(fork->loaded());
  EXPECT_TRUE(clean.view.errors.empty());
}

// ---- Scripted boxes ---------------------------------------------------------

class VeltorScripted : public ::testing::Test {
 protected:
  VeltorScripted() : rig(peer) { rig.graphe.Mode = display::kModeVeltor; }
  model::Tveltor &Fourche() { return rig.graphe.veltor(); }
  model::Tvoie &Temps() { return rig.graphe.voie(1); }
  bool finished() { return rig.engine.veltorPhase() == VeltorPhase::Idle; }
  void counts(std::vector<std::string> values) {
    peer.counts.clear();
    for (const std::string &v : values) peer.counts.push_back(v + "\r");
  }
  VeltorPeer peer;
  EngineRig rig;
};

TEST_F(VeltorScripted, RefusedUploadSaysSoAndFallsBackToPointByPoint) {
  for (const char *answer : {"", "ERR\r", "\x07#?~\xFF\r", "OK\rNO\r"}) {
    SCOPED_TRACE(answer);
    peer.uploadAnswer = answer;
    rig.graphe.Mode = display::kModeVeltor;
    rig.view.errors.clear();
    rig.start();
    ASSERT_EQ(rig.view.errors, std::vector<std::string>{texts::kImpossibleVeltor});
    EXPECT_EQ(rig.graphe.Mode, display::kModePointParPoint);
    EXPECT_FALSE(rig.engine.veltorUploaded());
    EXPECT_EQ(rig.timer.interval(), 110) << "applied again for point by point";
    EXPECT_LE(rig.longestEvent, 3000ms);
  }
}

TEST_F(VeltorScripted, UnpluggedDuringTheUploadLeavesTheNotFoundPanelShown) {
  peer.onLine = [this](const std::string &line) {
    if (line == ":00000001FF") rig.ports.unplug(rig.port);
  };
  rig.start();
  EXPECT_FALSE(rig.link.BoxPresent());
  EXPECT_FALSE(rig.engine.veltorUploaded());
  // Shown when the line went, and again once the upload's label has given
  // the window its panels back: the not-found panel is what stays.
  EXPECT_GE(rig.view.boxAbsent, 2);
  EXPECT_TRUE(rig.view.errors.empty()) << "no \"Impossible d'utiliser Veltor\" for a box gone";
}

TEST_F(VeltorScripted, NoBoxMeansNoUploadAndTheModeIsKept) {
  rig.engine.ApplyConfiguration();
  EXPECT_TRUE(rig.view.errors.empty());
  EXPECT_EQ(rig.graphe.Mode, display::kModeVeltor);
  EXPECT_TRUE(peer.lines.empty());
}

TEST_F(VeltorScripted, FetchStartsOnTheTickThatReportsTheSameCountTwice) {
  counts({"0", "4", "9", "9"});
  std::string results;
  for (int i = 0; i < 9; ++i)
    results += std::to_string(30000 + i) + " 0 " + std::to_string(i * 1000) + "\r";
  peer.results = results;
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 10000ms));
  EXPECT_EQ(peer.countLines("XUTIL4"), 4);
  EXPECT_EQ(peer.countLines("XUTIL3 32"), 1);
  EXPECT_EQ(rig.graphe.nbPoints, 9);
  EXPECT_EQ(rig.view.gaugeMax, 9);
  EXPECT_NEAR(Temps().valeurs[8], 8000 * kTick, 1e-12);
  EXPECT_DOUBLE_EQ(Temps().Maxi, Temps().valeurs[8]);
}

TEST_F(VeltorScripted, AboveNombreMaxiTheFetchStartsOnTheNextTick) {
  Fourche().nbremax = 30;
  counts({"12", "25", "41", "45", "50"});
  std::string results;
  // Back and forth: no trimming.
  for (int i = 0; i < 45; ++i)
    results += std::to_string(30000 + i % 2) + " 0 " + std::to_string(i * 7) + "\r";
  peer.results = results;
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 10000ms));
  EXPECT_EQ(peer.countLines("XUTIL4"), 4);
  EXPECT_EQ(rig.view.gaugeMax, 45);
  EXPECT_EQ(Fourche().nbEvenements, 45);
}

TEST_F(VeltorScripted, ResultLinesAreReadFieldByField) {
  counts({"6", "6"});
  peer.results =
      "30005 1 200\r"
      "29990 1 1122\r"
      "abc 1 1200\r"   // no position: 0
      "30002 x 300\r"  // no time: stamp 0, far before the first event
      "\x01"
      "30001 \t1 1300\r"   // control bytes are not part of the line
      "30003 1 1400 9\r";  // a fourth field is not read
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 10000ms));
  ASSERT_EQ(Fourche().nbEvenements, 6);
  const std::int32_t expected[] = {5, -10, 0, 2, 1, 3};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Fourche().comptes[i], expected[i]) << i;
  EXPECT_EQ(Fourche().origineTemps, 65736u);
  EXPECT_DOUBLE_EQ(Temps().valeurs[0], 0.0);
  EXPECT_NEAR(Temps().valeurs[1], 1.0004e-3, 1e-7);
  EXPECT_NEAR(Temps().valeurs[2], 1000 * kTick, 1e-12);
  EXPECT_NEAR(Temps().valeurs[3], -65736 * kTick, 1e-12);
  EXPECT_NEAR(Temps().valeurs[4], 1100 * kTick, 1e-12);
  EXPECT_NEAR(Temps().valeurs[5], 1200 * kTick, 1e-12);
  // An oscillation within ±10 steps: the range is ±11 steps.
  EXPECT_FALSE(Fourche().monotone);
  EXPECT_DOUBLE_EQ(Fourche().Maxi, 11 * Fourche().Taille);
}

TEST_F(VeltorScripted, AHundredKilobyteLineIsOneEventWithoutNumbers) {
  counts({"2", "2"});
  peer.results = "30004 0 10\r" + std::string(100 * 1024, '7') + "\r";
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 200000ms));
  ASSERT_EQ(Fourche().nbEvenements, 2);
  EXPECT_EQ(Fourche().comptes[1], 0);
  EXPECT_LE(Fourche().ligneRecue.size(), 64u);
  EXPECT_DOUBLE_EQ(Temps().Maxi, 0.25) << "fewer than three events";
}

TEST_F(VeltorScripted, AMillionEventsAnnouncedAreBoundedAndFewerLinesEndTheFetch) {
  counts({"1000000", "1000000"});
  std::string results;
  for (int i = 0; i < 100; ++i)
    results += std::to_string(30000 + i % 2) + " 0 " + std::to_string(i * 50) + "\r";
  peer.results = results;
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 20000ms));
  EXPECT_EQ(rig.view.gaugeMax, 6400);
  EXPECT_EQ(rig.graphe.nbPoints, 100) << "the lines that came are kept";
  EXPECT_EQ(rig.engine.state(), AcqState::Finished);
  EXPECT_EQ(rig.view.boxAbsent, 0);
  EXPECT_LE(rig.longestEvent, 300ms);
}

TEST_F(VeltorScripted, NoEventAtAllEndsWithAnEmptyRecordingAtTheStop) {
  counts({"0"});
  rig.start();
  rig.engine.EnregistreBtnClick();
  rig.run(3000ms);
  EXPECT_EQ(rig.engine.veltorPhase(), VeltorPhase::Counting);
  EXPECT_EQ(rig.view.status, std::string(texts::kAttenteVeltor) + texts::kAttenteVeltorRien);
  rig.engine.VeltorStopRequested();
  EXPECT_TRUE(finished());
  EXPECT_EQ(rig.graphe.nbPoints, 0);
  EXPECT_DOUBLE_EQ(Temps().Maxi, 0.25);
  EXPECT_EQ(rig.view.status, texts::kAucunPassageVeltor);
}

TEST_F(VeltorScripted, TheStatusCountsTheCrossingsWhileTheRunCounts) {
  counts({"0", "4", "9"});
  rig.start();
  rig.engine.EnregistreBtnClick();
  EXPECT_EQ(rig.view.status, texts::kAttenteVeltor);
  std::vector<std::string> seen;
  ASSERT_TRUE(rig.runUntil(
      [&] {
        if (seen.empty() || seen.back() != rig.view.status) seen.push_back(rig.view.status);
        return peer.countLines("XUTIL4") >= 3;
      },
      5000ms));
  rig.run(10ms);
  seen.push_back(rig.view.status);
  const std::string attente = texts::kAttenteVeltor;
  EXPECT_NE(std::find(seen.begin(), seen.end(), attente + texts::kAttenteVeltorRien), seen.end());
  EXPECT_NE(std::find(seen.begin(), seen.end(), attente + texts::kAttenteVeltorPassages + "4"),
            seen.end());
  EXPECT_NE(std::find(seen.begin(), seen.end(), attente + texts::kAttenteVeltorPassages + "9"),
            seen.end());
}

TEST_F(VeltorScripted, NoiseInPlaceOfACountIsNoNews) {
  counts({"3", "#!", "", "3"});
  peer.results = "30000 0 0\r30001 0 100\r30002 0 300\r";
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 10000ms));
  EXPECT_EQ(rig.graphe.nbPoints, 3);
  EXPECT_EQ(peer.countLines("XUTIL4"), 4);
}

// Counts that are all noise end the run with no event, and the user is told
// the answers could not be read rather than that nothing passed.
TEST_F(VeltorScripted, CountsThatCannotBeReadEndWithTheReasonShown) {
  counts({"#!", "x7"});
  rig.start();
  rig.engine.EnregistreBtnClick();
  rig.run(1500ms);
  rig.engine.VeltorStopRequested();
  EXPECT_TRUE(finished());
  EXPECT_EQ(rig.graphe.nbPoints, 0);
  EXPECT_EQ(rig.view.status, texts::kCompteVeltorIllisible);
}

// ---- Which image goes to which box -----------------------------------------

// The maker's image of the tests: the shipped layout with other bytes, so the
// wire tells which image went.
std::vector<std::string> MakerImage() {
  std::vector<std::string> lines = VeltorProgramLines();
  std::string &l = lines[1];
  l[9] = l[9] == 'A' ? 'B' : 'A';
  unsigned sum = 0;
  for (std::size_t i = 1; i + 2 < l.size(); i += 2) sum += std::stoul(l.substr(i, 2), nullptr, 16);
  char checksum[3];
  std::snprintf(checksum, sizeof checksum, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
  l.replace(l.size() - 2, 2, checksum);
  return lines;
}

std::vector<std::string> HexSent(const VeltorPeer &peer) {
  std::vector<std::string> hex;
  for (const std::string &l : peer.lines)
    if (!l.empty() && l[0] == ':') hex.push_back(l);
  return hex;
}

TEST(VeltorImageRule, OwnBoxGetsTheBuiltInImageAnyOtherTheMakersOrNone) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("kvx-maker-" + std::to_string(::getpid()) + ".hex");
  ASSERT_TRUE(CheckVeltorImage(MakerImage()));
  const struct {
    const char *name;
    bool own;
    const char *fileText;  // null: no file installed
    bool uploaded;
    const char *errorStart;
  } cases[] = {
      {"own simulated box", true, nullptr, true, ""},
      {"real box, no file", false, nullptr, false, texts::kProgrammeVeltorAbsent},
      {"real box, maker's file", false, "", true, ""},
      {"real box, damaged file", false, ":00\n", false, texts::kProgrammeVeltorRefuse},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    VeltorPeer peer;
    EngineRig rig(peer);
    std::filesystem::remove(file);
    if (c.fileText != nullptr) {
      std::ofstream out(file);
      if (*c.fileText != 0)
        out << c.fileText;
      else
        for (const std::string &l : MakerImage()) out << l << "\r\n";
    }
    rig.engine.setVeltorImageSource({c.own ? rig.port : rig.port + 1, {file.string()}});
    rig.graphe.Mode = display::kModeVeltor;
    rig.start();
    EXPECT_EQ(rig.engine.veltorUploaded(), c.uploaded);
    if (c.uploaded) {
      EXPECT_TRUE(rig.view.errors.empty());
      EXPECT_EQ(HexSent(peer), c.own ? VeltorProgramLines() : MakerImage());
      EXPECT_EQ(rig.graphe.Mode, display::kModeVeltor);
    } else {
      ASSERT_EQ(rig.view.errors.size(), 1u);
      EXPECT_EQ(rig.view.errors[0].rfind(c.errorStart, 0), 0u) << rig.view.errors[0];
      EXPECT_NE(rig.view.errors[0].find(file.string()), std::string::npos);
      EXPECT_TRUE(HexSent(peer).empty()) << "nothing of ours reaches a real box";
      EXPECT_EQ(rig.graphe.Mode, display::kModePointParPoint);
      EXPECT_EQ(rig.timer.interval(), 110);
    }
  }
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace kvx::device
