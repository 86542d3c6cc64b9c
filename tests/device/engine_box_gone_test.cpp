// SPDX-License-Identifier: GPL-3.0-or-later
// A box unplugged or switched off in the middle of the work: the points
// already received stay, the not-found panel shows, and the window is never
// held for long.
#include <gtest/gtest.h>

#include "counting_box.h"
#include "device/acquisition_engine.h"
#include "device/link_texts.h"
#include "engine_rig.h"
#include "model/voie.h"

namespace kvx::device {
namespace {

using namespace std::chrono_literals;
using testing::CountingBox;
using testing::EngineRig;

class BoxGone : public ::testing::Test {
 protected:
  BoxGone() : rig(box) { rig.graphe.Abscisse = 1; }
  // A slow one-input scan that fetches two points a tick.
  void startSlowScan() {
    rig.graphe.voie(6).Active = false;
    rig.graphe.voie(1).Maxi = 100;
    rig.start();
    rig.engine.EnregistreBtnClick();
  }
  CountingBox box;
  EngineRig rig;
};

TEST_F(BoxGone, ConfigurationAppliedWithNoBoxIsShownAndArmedOnlyOnceTheBoxIsFound) {
  rig.graphe.ModeSynchro = kTriggerFront;  // would start a scan at once
  rig.engine.ApplyConfiguration();
  EXPECT_GT(rig.view.panelRefreshes, 0);
  EXPECT_FALSE(rig.view.scan.deltat.empty()) << "the scan panel shows the file's values";
  EXPECT_NE(rig.engine.state(), AcqState::Acquiring);
  EXPECT_TRUE(rig.view.statuses.empty()) << "the not-found message stays";
  EXPECT_FALSE(rig.view.enabled(EngineButton::Stop));
  EXPECT_FALSE(rig.timer.isEnabled());
  EXPECT_TRUE(box.lines.empty());
  rig.start();
  EXPECT_EQ(rig.engine.state(), AcqState::Acquiring);
}

TEST_F(BoxGone, UnpluggedDuringAFetchKeepsThePointsAndShowsThePanel) {
  startSlowScan();
  rig.run(2000ms);
  ASSERT_EQ(rig.engine.pointsReceived(), 6);
  rig.ports.unplug(rig.port);
  rig.run(2000ms);
  EXPECT_EQ(rig.linkView.gone, 1);
  EXPECT_TRUE(rig.linkView.absent);
  EXPECT_EQ(rig.view.boxAbsent, 1);
  EXPECT_EQ(rig.engine.state(), AcqState::Finished);
  EXPECT_EQ(rig.graphe.nbPoints, 6);
  EXPECT_DOUBLE_EQ(rig.graphe.voie(5).valeurs[5], rig.graphe.voie(5).ValeurDeCode(5));
  EXPECT_FALSE(rig.timer.isEnabled());
  EXPECT_FALSE(rig.link.hasDataAvailable());
  EXPECT_EQ(rig.view.status, std::string(texts::kNotFoundOnPort) + std::to_string(rig.port) + " (sim:" + std::to_string(rig.port) + ")");
  EXPECT_LE(rig.longestEvent, 300ms);
}

TEST_F(BoxGone, SilentDuringAFetchIsTakenAsGoneWithinTwoSeconds) {
  box.silentAfter = 6;  // identification, reset, command, start, two requests
  startSlowScan();
  ASSERT_TRUE(rig.runUntil([&] { return rig.view.boxAbsent > 0; }, 5000ms));
  EXPECT_EQ(rig.graphe.nbPoints, 4);
  EXPECT_EQ(rig.engine.state(), AcqState::Finished);
  EXPECT_FALSE(rig.link.BoxPresent());
  EXPECT_FALSE(rig.timer.isEnabled());
  EXPECT_LE(rig.longestEvent, 300ms);
  // Nothing more goes to the box, and the buttons still answer.
  const std::size_t heard = box.lines.size();
  rig.engine.EnregistreBtnClick();
  rig.engine.StopBtnClick(true);
  rig.run(2000ms);
  EXPECT_EQ(box.lines.size(), heard);
}

TEST_F(BoxGone, SilentDuringLiveReadsHoldsEachTickForOneTimeOutAtMost) {
  box.silentAfter = 2;  // it answered the identification only
  rig.start();
  ASSERT_TRUE(rig.runUntil([&] { return rig.view.boxAbsent > 0; }, 3000ms));
  EXPECT_LE(rig.longestEvent, 300ms);
  EXPECT_FALSE(rig.link.BoxPresent());
  // Two ticks, one silent read each: the second input was not tried.
  EXPECT_EQ(box.heard(), (std::vector<std::string>{"XEA 0", "XEA 0"}));
}

TEST_F(BoxGone, UnpluggedWhileWaitingShowsThePanelOnTheNextRead) {
  rig.start();
  rig.ports.unplug(rig.port);
  rig.run(500ms);
  EXPECT_EQ(rig.linkView.gone, 1);
  EXPECT_EQ(rig.view.boxAbsent, 1);
  EXPECT_FALSE(rig.timer.isEnabled());
  EXPECT_LE(rig.longestEvent, 300ms);
}

TEST_F(BoxGone, FoundAgainItWorksAsBefore) {
  box.silentAfter = 2;
  rig.start();
  ASSERT_TRUE(rig.runUntil([&] { return rig.view.boxAbsent > 0; }, 3000ms));
  box.silentAfter = 1 << 30;
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return rig.graphe.nbPoints == 128; }, 3000ms));
}

}  // namespace
}  // namespace kvx::device
