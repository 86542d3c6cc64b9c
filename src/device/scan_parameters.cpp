// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/scan_parameters.h"

#include <algorithm>
#include <cmath>

namespace kvx::device {

double Nearest(double x) {
  // The default rounding mode of the floating-point unit rounds halves to the
  // even neighbour, which is what the period rules are written for.
  return std::nearbyint(x);
}

double ShortestPeriod(int inputs, double duration) {
  if (inputs == 1) return duration < kFastDurationLimit ? kFastStep : kShortestOneInput;
  return kShortestSeveral;
}

double PeriodStep(int inputs, double duration) {
  return inputs == 1 && duration < kFastDurationLimit ? kFastStep : kPeriodStep;
}

Period ComputePeriod(double duration, int points, int inputs) {
  Period result;
  const double shortest = ShortestPeriod(inputs, duration);
  const double step = PeriodStep(inputs, duration);
  double dt = duration / std::max(points, 1);
  if (!(dt >= 0)) dt = 0;  // a NaN duration must not reach the box as a period
  if (dt < 1.0) {
    dt = std::max(dt, shortest);
    dt = Nearest(dt / step) * step;
    // The frequency is at its maximum as soon as the period sits on the
    // shortest one the box keeps, whether that is one step or several.
    if (dt <= std::max(step, shortest)) {
      dt = std::max(step, shortest);
      result.maxi = true;
    }
  } else {
    if (dt < kWholeMinutesFrom)
      dt = std::floor(dt);
    else
      dt = std::ceil(dt / 60.0) * 60.0;
    if (dt >= kLongestPeriod) {
      dt = kLongestPeriod;
      result.mini = true;
    }
  }
  result.dt = dt;
  return result;
}

double LowestDuration(int inputs) {
  if (inputs == 1) return kShortestDurationOneInput;
  return std::max(inputs, 1) * 8 * kPeriodStep;
}

double ClampDuration(double duration, int inputs) {
  if (!(duration == duration)) return LowestDuration(inputs);  // NaN typed in
  return std::min(std::max(duration, LowestDuration(inputs)), kLongestDuration);
}

double Round125(double x) {
  const double magnitude = std::fabs(x);
  if (!(magnitude > 1E-06)) return 0;
  if (std::isinf(magnitude)) return x;
  double p = std::pow(10.0, std::floor(std::log10(magnitude)));
  // log10 can land a hair off an exact power of ten; keep 1 <= x / p < 10.
  if (magnitude / p >= 10.0) p *= 10.0;
  if (magnitude / p < 1.0) p /= 10.0;
  double m = Nearest(magnitude / p);
  if (m >= 6)
    m = 10;
  else if (m >= 3)
    m = 5;
  return std::copysign(m * p, x);
}

}  // namespace kvx::device
