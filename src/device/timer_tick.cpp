// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/timer_tick.h"

#include <cmath>

namespace kvx::device {

TickAction ActionForTick(int mode, AcqState state, int triggerMode, bool fetchPending) {
  switch (mode) {
    case kModeClavier:
      return TickAction::ReadLive;
    case kModeTemps:
      // While a threshold or change wait is armed the worker alone talks to
      // the box, so a waiting tick reads nothing unless the user starts it.
      if (state == AcqState::Waiting)
        return triggerMode == kTriggerClavier ? TickAction::ReadLive : TickAction::Nothing;
      if (state == AcqState::Acquiring && fetchPending) return TickAction::FetchChunk;
      return TickAction::Nothing;
    case kModePointParPoint:
      return TickAction::ReadLiveThenAutoPoint;
    case kModeSortieAnalog:
      if (state == AcqState::Waiting) return TickAction::ReadLive;
      if (state == AcqState::Acquiring) return TickAction::SweepStep;
      return TickAction::Nothing;
    case kModeVeltor:
      return state == AcqState::Acquiring ? TickAction::PollFork : TickAction::Nothing;
    default:
      return TickAction::Nothing;
  }
}

int TimerInterval(int mode, double dt, int currentInterval) {
  switch (mode) {
    case kModeClavier:
    case kModePointParPoint:
    // Between sweeps the live read-outs are polled as in the point modes; a
    // sweep sets its own step interval when it starts, and a short step left
    // in place would poll the box back to back.
    case kModeSortieAnalog:
      return kIntervalPointModes;
    case kModeTemps:
      // A slow scan is fetched one point a tick; a fast one is fetched by
      // chaining requests, and the tick only keeps the window alive.
      if (dt >= kSlowScanPeriod) return static_cast<int>(std::lround(dt * 1000.0));
      return kIntervalFastScan;
    case kModeVeltor:
      return kIntervalVeltor;
    default:
      return currentInterval;
  }
}

}  // namespace kvx::device
