// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The sampling-period rules of a timed scan: which periods the box can keep
// for a given number of inputs, how a wished duration and point count become
// a period the box can actually count, and the 1-2-5 steps of the duration
// spin. The engine calls these when the user edits the scan panel; they know
// nothing of the window or of the port, so they are tested on their own.

#include "device/box_facts.h"

namespace kvx::device {

// Facts of the box's sampling clock, in seconds (the fast spacing kFastStep
// is with the other box facts).
inline constexpr double kPeriodStep = kTickShort;            // the counted period's step
inline constexpr double kShortestOneInput = kFastFormLimit;  // counted period, one input
inline constexpr double kShortestSeveral = 0.001;            // two inputs and more
inline constexpr double kFastDurationLimit = 0.33;           // below it one input runs fast
inline constexpr double kLongestPeriod = 16.0;               // the slowest period the box counts
inline constexpr double kLongestDuration = 102400.0;         // longest scan the user may ask
inline constexpr double kShortestDurationOneInput = 0.0001;
// Below one second the period is a step multiple; above it the user thinks in
// whole seconds, and from this length on in whole minutes.
inline constexpr double kWholeMinutesFrom = 150.0;

// The period chosen for a scan, with the two limit flags shown beside the
// sampling frequency ("Mini": the period was cut to its longest value;
// "Maxi": the period was raised to the shortest the box can keep).
struct Period {
  double dt = 0;
  bool mini = false;
  bool maxi = false;
};

// Shortest period and period step for `inputs` active analog inputs and a
// scan of `duration` seconds.
double ShortestPeriod(int inputs, double duration);
double PeriodStep(int inputs, double duration);

// The period for a duration spread over `points` points (ComputePeriod).
// `points` below 1 is taken as 1.
Period ComputePeriod(double duration, int points, int inputs);

// The shortest duration the user may ask for with `inputs` active inputs.
double LowestDuration(int inputs);

// `duration` brought inside the range the scan panel accepts.
double ClampDuration(double duration, int inputs);

// The 1-2-5 rounding used by the duration spin.
double Round125(double x);

// Round half to even, as the box's firmware and the period rules expect.
double Nearest(double x);

}  // namespace kvx::device
