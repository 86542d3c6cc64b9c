// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/acquisition_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "counting_box.h"
#include "device/engine_texts.h"
#include "device/link_texts.h"
#include "device/scripted_peer.h"
#include "engine_rig.h"
#include "model/voie.h"

namespace kvx::device {
namespace {

using namespace std::chrono_literals;
using testing::CountingBox;
using testing::EngineRig;

bool Saw(const std::vector<std::string> &texts, const std::string &text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() : rig(box) { rig.graphe.Abscisse = 1; }
  model::Tvoie &V(int slot) { return rig.graphe.voie(slot); }
  bool finished() { return Saw(rig.view.statuses, texts::kAcquisitionTerminee); }
  CountingBox box;
  EngineRig rig;
};

TEST_F(EngineTest, StartUpDefaultsSendTheTwoInputCommandsAndFetchInTwoLines) {
  rig.start();
  EXPECT_EQ(rig.engine.acquisitionCommand(), "XPEA2 0,1,9,16,0");
  EXPECT_EQ(rig.engine.startCommand(), "XEAP");
  EXPECT_EQ(rig.engine.state(), AcqState::Waiting);
  EXPECT_DOUBLE_EQ(rig.engine.dt(), 0.008);
  EXPECT_DOUBLE_EQ(V(1).Maxi, 128 * 0.008);
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 3000ms));
  // 125 points in the first line; the second asks point 124 again.
  EXPECT_EQ(box.heard(), (std::vector<std::string>{"XPEA2 0,1,9,16,0", "XEAP", "XRESUL 0,0,250",
                                                   "XRESUL 7,24,8"}));
  EXPECT_EQ(rig.graphe.nbPoints, 128);
  EXPECT_EQ(rig.engine.state(), AcqState::Waiting);  // "Clavier": the next space starts again
  EXPECT_EQ(rig.view.gauge, 128);
}

TEST_F(EngineTest, DisplayArraysHoldTheConvertedCodesOfEachInput) {
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 3000ms));
  // Raw sample p holds code p: V1 is sampled at even places, V2 at odd ones
  // and interpolated back onto V1's instants, which gives code 2i again.
  for (int i = 0; i < 128; ++i) {
    ASSERT_DOUBLE_EQ(V(5).valeurs[i], V(5).ValeurDeCode(2 * i)) << i;
    ASSERT_NEAR(V(6).valeurs[i], V(6).ValeurDeCode(2 * i), 1e-12) << i;
  }
  EXPECT_DOUBLE_EQ(V(5).valeurCourante, V(5).ValeurDeCode(254));
  EXPECT_NEAR(V(1).valeurs[127], 127 * 0.008, 1e-12);
}

TEST_F(EngineTest, LiveFirstAcquisitionDrawsEachLineAsItArrives) {
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 3000ms));
  EXPECT_EQ(rig.view.segments, (std::vector<std::pair<int, int>>{{0, 124}}));
  EXPECT_TRUE(Saw(rig.view.statuses, texts::kAttenteValeurs));
}

TEST_F(EngineTest, LiveReadsAskEveryActiveInputOnEachTickWhileWaiting) {
  box.inputCodes[0] = 255;
  box.inputCodes[1] = 0;
  rig.start();
  rig.run(500ms);  // two ticks of 220 ms
  const auto heard = box.heard();
  EXPECT_EQ(heard, (std::vector<std::string>{"XEA 0", "XEA 1", "XEA 0", "XEA 1"}));
  EXPECT_DOUBLE_EQ(V(5).valeurCourante, V(5).ValeurDeCode(255));
  EXPECT_DOUBLE_EQ(V(6).valeurCourante, V(6).ValeurDeCode(0));
  EXPECT_EQ(rig.view.cursorShows, 2);
}

TEST_F(EngineTest, FreeRunningRepeatsAndSingleShotStops) {
  rig.graphe.ModeSynchro = kTriggerRelaxe;
  rig.start();  // "Relaxé" starts at once
  ASSERT_TRUE(rig.runUntil([&] { return box.heard().size() >= 6; }, 3000ms));
  EXPECT_EQ(box.heard()[4], "XPEA2 0,1,9,16,0");
  EXPECT_FALSE(rig.engine.live());  // the repeat keeps the last result on the graph
  EXPECT_EQ(rig.engine.state(), AcqState::Acquiring);
  rig.engine.MonocoupCBClick(true);
  const auto before = box.heard();
  const auto acquisitions = std::count(before.begin(), before.end(), "XPEA2 0,1,9,16,0");
  rig.run(3000ms);
  const auto heard = box.heard();
  EXPECT_EQ(std::count(heard.begin(), heard.end(), "XPEA2 0,1,9,16,0"), acquisitions);
  EXPECT_EQ(rig.engine.state(), AcqState::Finished);
  EXPECT_TRUE(rig.view.enabled(EngineButton::Reset));
}

TEST_F(EngineTest, EmptyAnswersAreAskedAgainOnTheNextTick) {
  box.emptyAnswers = 2;
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 3000ms));
  EXPECT_EQ(box.heard(),
            (std::vector<std::string>{"XPEA2 0,1,9,16,0", "XEAP", "XRESUL 0,0,250",
                                      "XRESUL 0,0,250", "XRESUL 0,0,250", "XRESUL 7,24,8"}));
}

// A slow scan: one input, 100 s over 128 points: the period code 31 x 10^2
// ticks gives 0.775 s, the timer follows it and each tick fetches the next
// two points.
class SlowScan : public EngineTest {
 protected:
  void SetUp() override {
    V(6).Active = false;
    V(1).Maxi = 100;
    rig.start();
  }
};

TEST_F(SlowScan, FetchesOneLineATick) {
  EXPECT_EQ(rig.engine.acquisitionCommand(), "XPEA1 0,5,31,2");
  EXPECT_EQ(rig.timer.interval(), 775);
  rig.engine.EnregistreBtnClick();
  rig.run(2000ms);
  EXPECT_EQ(box.heard(), (std::vector<std::string>{"XPEA1 0,5,31,2", "XEAP", "XRESUL 0,0,2",
                                                   "XRESUL 0,2,2", "XRESUL 0,4,2"}));
  EXPECT_EQ(rig.engine.pointsReceived(), 6);
  EXPECT_EQ(rig.graphe.nbPoints, 6);
}

TEST_F(SlowScan, StopInTheMiddleDrainsTheBoxAndFinishes) {
  rig.engine.EnregistreBtnClick();
  rig.run(2000ms);
  rig.engine.StopBtnClick(true);
  EXPECT_EQ(box.heard().back(), "XPEA0 0,1");
  EXPECT_EQ(rig.engine.state(), AcqState::Finished);
  EXPECT_FALSE(rig.engine.fetchPending());
  EXPECT_TRUE(rig.engine.monocoup());
  EXPECT_TRUE(rig.view.monocoupChecked);
  EXPECT_TRUE(rig.view.enabled(EngineButton::Reset));
  EXPECT_FALSE(rig.view.enabled(EngineButton::Stop));
  // The points fetched so far stay; nothing more is asked afterwards.
  EXPECT_EQ(rig.graphe.nbPoints, 6);
  const std::size_t heard = box.heard().size();
  rig.run(3000ms);
  EXPECT_EQ(box.heard().size(), heard);
  EXPECT_EQ(rig.view.status, texts::kAcquisitionTerminee);
}

TEST_F(SlowScan, StopWhileAnAnswerIsOnTheWireDropsIt) {
  rig.engine.EnregistreBtnClick();
  rig.run(2 * 775ms + 2ms);  // the third request has just gone out
  rig.engine.StopBtnClick(true);
  rig.run(100ms);
  EXPECT_EQ(rig.engine.pointsReceived(), 4);
  EXPECT_EQ(rig.engine.state(), AcqState::Finished);
}

TEST_F(EngineTest, ResetByTheUserForgetsTheResultAndRearms) {
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 3000ms));
  rig.engine.ResetBtnClick(true);
  EXPECT_TRUE(rig.view.questions.empty());  // timed mode asks nothing
  EXPECT_EQ(rig.graphe.nbPoints, 0);
  EXPECT_FALSE(rig.view.enabled(EngineButton::RegSave));
  EXPECT_EQ(rig.engine.state(), AcqState::Waiting);
}

TEST_F(EngineTest, ResetByTheProgramKeepsTheResult) {
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return finished(); }, 3000ms));
  rig.engine.ResetBtnClick(false);
  EXPECT_EQ(rig.graphe.nbPoints, 128);
}

TEST_F(EngineTest, ResetInAPointModeAsksFirstAndNoKeepsEverything) {
  rig.graphe.Mode = kModePointParPoint;
  rig.start();
  rig.graphe.nbPoints = 12;
  rig.view.answer = false;
  rig.engine.ResetBtnClick(true);
  EXPECT_EQ(rig.view.questions, std::vector<std::string>{texts::kSuppressionAcquisition});
  EXPECT_EQ(rig.graphe.nbPoints, 12);
  rig.view.answer = true;
  rig.engine.ResetBtnClick(true);
  EXPECT_EQ(rig.graphe.nbPoints, 0);
}

TEST_F(EngineTest, UndoTakesBackOnePointAndNothingBelowZero) {
  rig.graphe.Mode = kModePointParPoint;
  rig.start();
  rig.graphe.nbPoints = 2;
  V(5).valeurs[1] = 42;
  rig.engine.UndoBtnClick();
  EXPECT_EQ(rig.graphe.nbPoints, 1);
  EXPECT_EQ(V(5).valeurs[1], 42);  // only the count changes
  EXPECT_TRUE(rig.view.enabled(EngineButton::Undo));
  rig.engine.UndoBtnClick();
  rig.engine.UndoBtnClick();
  EXPECT_EQ(rig.graphe.nbPoints, 0);
  EXPECT_FALSE(rig.view.enabled(EngineButton::Undo));
}

TEST_F(EngineTest, SpaceStartsOnlyWithTheKeyTrigger) {
  rig.start();
  EXPECT_TRUE(rig.engine.FormKeypress(U' '));
  EXPECT_EQ(rig.engine.state(), AcqState::Acquiring);
  // While acquiring the button is off: the key goes to the focused control.
  EXPECT_FALSE(rig.engine.FormKeypress(U' '));
  EXPECT_FALSE(rig.engine.FormKeypress(U'a'));
}

TEST_F(EngineTest, SpaceInKeyboardModeGoesToTheEdit) {
  rig.graphe.Mode = kModeClavier;
  rig.start();
  EXPECT_FALSE(rig.engine.FormKeypress(U' '));
}

TEST_F(EngineTest, WithoutABoxNothingIsSentAndStopStillFinishes) {
  rig.engine.ApplyConfiguration();  // the box was never found
  EXPECT_FALSE(rig.timer.isEnabled());
  rig.engine.EnregistreBtnClick();
  rig.run(1000ms);
  EXPECT_TRUE(box.heard().empty());
  EXPECT_EQ(rig.engine.state(), AcqState::Acquiring);
  rig.engine.StopBtnClick(true);
  EXPECT_EQ(rig.engine.state(), AcqState::Finished);
}

}  // namespace
}  // namespace kvx::device
