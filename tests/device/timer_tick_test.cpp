// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/timer_tick.h"

#include <gtest/gtest.h>

namespace kvx::device {
namespace {

using A = TickAction;
using S = AcqState;

TEST(ActionForTick, FollowsTheTableByModeAndState) {
  struct {
    int mode;
    S state;
    int trigger;
    bool pending;
    A action;
  } rows[] = {
      {kModeClavier, S::Waiting, kTriggerSeuil, false, A::ReadLive},
      {kModeClavier, S::Acquiring, kTriggerSeuil, false, A::ReadLive},
      {kModeClavier, S::Finished, kTriggerSeuil, false, A::ReadLive},
      {kModeTemps, S::Waiting, kTriggerClavier, false, A::ReadLive},
      {kModeTemps, S::Waiting, kTriggerSeuil, false, A::Nothing},
      {kModeTemps, S::Waiting, kTriggerBouge, false, A::Nothing},
      {kModeTemps, S::Waiting, kTriggerFront, true, A::Nothing},
      {kModeTemps, S::Acquiring, kTriggerClavier, true, A::FetchChunk},
      {kModeTemps, S::Acquiring, kTriggerClavier, false, A::Nothing},
      {kModeTemps, S::Finished, kTriggerClavier, true, A::Nothing},
      {kModePointParPoint, S::Waiting, kTriggerClavier, false, A::ReadLiveThenAutoPoint},
      {kModePointParPoint, S::Acquiring, kTriggerClavier, false, A::ReadLiveThenAutoPoint},
      {kModePointParPoint, S::Finished, kTriggerClavier, false, A::ReadLiveThenAutoPoint},
      {kModeSortieAnalog, S::Waiting, kTriggerClavier, false, A::ReadLive},
      {kModeSortieAnalog, S::Acquiring, kTriggerClavier, false, A::SweepStep},
      {kModeSortieAnalog, S::Finished, kTriggerClavier, false, A::Nothing},
      {kModeVeltor, S::Waiting, kTriggerClavier, false, A::Nothing},
      {kModeVeltor, S::Acquiring, kTriggerClavier, false, A::PollFork},
      {kModeVeltor, S::Finished, kTriggerClavier, false, A::Nothing},
      {7, S::Acquiring, kTriggerClavier, true, A::Nothing},
      {-1, S::Waiting, kTriggerClavier, true, A::Nothing},
  };
  for (const auto &r : rows)
    EXPECT_EQ(ActionForTick(r.mode, r.state, r.trigger, r.pending), r.action)
        << "mode " << r.mode << " state " << static_cast<int>(r.state);
}

TEST(TimerInterval, FollowsTheModeAndTheSamplingPeriod) {
  EXPECT_EQ(TimerInterval(kModeClavier, 0.001, 999), 110);
  EXPECT_EQ(TimerInterval(kModePointParPoint, 5, 999), 110);
  EXPECT_EQ(TimerInterval(kModeTemps, 0.00775, 999), 220);
  EXPECT_EQ(TimerInterval(kModeTemps, 0.2499, 999), 220);
  EXPECT_EQ(TimerInterval(kModeTemps, 0.25, 999), 250);
  EXPECT_EQ(TimerInterval(kModeTemps, 1.0004, 999), 1000);
  EXPECT_EQ(TimerInterval(kModeTemps, 16, 999), 16000);
  EXPECT_EQ(TimerInterval(kModeVeltor, 1, 999), 550);
  // Between sweeps the read-outs are polled at the point modes' pace; the
  // sweep sets its own step interval when it starts.
  EXPECT_EQ(TimerInterval(kModeSortieAnalog, 1, 999), 110);
}

}  // namespace
}  // namespace kvx::device
