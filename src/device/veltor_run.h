// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state of the optical-fork mode that the engine keeps between ticks:
// whether the box has its fork program, the run's phase, the last count the
// box reported and the watch on a box that falls silent.

#include "device/clock.h"
#include "device/veltor_view.h"

namespace kvx::device {

enum class VeltorPhase {
  Idle,      // no run: before the first, after the last event arrived
  Counting,  // the fork counts; the count is polled every tick
  Fetching,  // the box sends its event lines
};

struct VeltorRun {
  // Set once the box accepted the program; a box that went (and may come
  // back switched off and on, its memory empty) gets it again.
  bool uploaded = false;
  VeltorPhase phase = VeltorPhase::Idle;
  // The last count the box reported (as sent: it may exceed what is fetched).
  long long N = 0;
  // How many event lines the fetch waits for.
  int target = 0;
  // Inside an exchange with the box (its waits pump the window's events):
  // a stop asked meanwhile is kept for when it ends.
  bool busy = false;
  bool stopRequested = false;
  // A line too long to be an event line.
  bool overlong = false;
  int silentPolls = 0;
  // The box answered the count with something that is not a number, and no
  // count came after it: a run that ends with no event then says why.
  bool countUnreadable = false;
  bool heardInFetch = false;
  Clock::time_point lastHeard{};
  VeltorView *view = nullptr;
  VeltorView defaultView;
};

}  // namespace kvx::device
