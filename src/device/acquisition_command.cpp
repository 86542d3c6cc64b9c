// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/acquisition_command.h"

#include <algorithm>
#include <cmath>

#include "device/box_facts.h"

namespace kvx::device {

namespace {

constexpr int kMinPoints = 8;
constexpr int kMaxPoints = 6400;

// Nearest integer, halves to the even neighbour, clamped so that absurd
// periods cannot overflow.
long nearest(double x) {
  if (!(x == x)) return 0;
  x = std::clamp(x, -2e9, 2e9);
  return std::lrint(std::nearbyint(x));
}

int clampInput(int input) {
  return std::clamp(input, 0, kInputCount - 1);
}

double tickOf(SubMode mode) {
  return mode == SubMode::TwoInputs || mode == SubMode::Eight ? kTickLong : kTickShort;
}

std::string join(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) {
    if (!out.empty()) out.push_back(',');
    out += std::to_string(v);
  }
  return out;
}

}  // namespace

SubMode ChooseSubMode(const std::vector<int> &inputs, double dt) {
  std::size_t n = inputs.size();
  if (n == 1) return dt < kFastFormLimit ? SubMode::Fast : SubMode::OneInput;
  if (n == 2) return SubMode::TwoInputs;
  if (n == 3 || n == 4) {
    bool low = std::all_of(inputs.begin(), inputs.end(), [](int c) { return c >= 0 && c <= 3; });
    bool high = std::all_of(inputs.begin(), inputs.end(), [](int c) { return c >= 4 && c <= 7; });
    if (low) return SubMode::FourLow;
    if (high) return SubMode::FourHigh;
  }
  return SubMode::Eight;
}

int SamplesPerPoint(SubMode mode) {
  switch (mode) {
    case SubMode::Fast:
    case SubMode::OneInput:
      return 1;
    case SubMode::TwoInputs:
      return 2;
    case SubMode::FourLow:
    case SubMode::FourHigh:
      return 4;
    case SubMode::Eight:
      return 8;
  }
  return 1;
}

PeriodCode ComputePeriodCode(double dt, SubMode mode) {
  double tick = tickOf(mode);
  long t = std::clamp<long>(nearest(dt / tick), kPeriodMantissaMin, kPeriodTicksMax);
  PeriodCode code;
  while (t > kPeriodMantissaMax) {
    t /= 10;  // truncates: 494 ticks become 49 x 10
    ++code.exponent;
  }
  code.mantissa = static_cast<int>(t);
  code.period = code.mantissa * std::pow(10.0, code.exponent) * tick;
  return code;
}

AcquisitionCommand ComposeAcquisition(const std::vector<int> &inputs, int points, double dt) {
  AcquisitionCommand a;
  a.points = points;
  a.period = dt;
  a.subMode = ChooseSubMode(inputs, dt);
  int c1 = inputs.empty() ? 0 : clampInput(inputs[0]);
  if (a.subMode == SubMode::Fast) {
    // At least 1: a ratio of 0 would stop the unpacking from moving on.
    a.ratio = static_cast<int>(std::clamp<long>(nearest(dt / kFastStep), 1, 255));
    if (static_cast<long>(points) * a.ratio <= kMaxRawSamples) {
      a.blocks = (points * a.ratio + 1) / kBlockSize + 1;
      a.text = std::string(cmd::kFast) + join({c1, a.blocks});
      return a;
    }
    // Too long for the fast form's memory: sample one input every 500 us.
    double duration = points * dt;
    a.fellBack = true;
    a.ratio = 1;
    a.period = kFastFormLimit;
    a.points = static_cast<int>(
        std::clamp<long>(nearest(duration / kFastFormLimit), kMinPoints, kMaxPoints));
    a.subMode = SubMode::OneInput;
  }
  int k = SamplesPerPoint(a.subMode);
  if (a.subMode == SubMode::Eight && 8L * a.points > kMaxRawSamples) {
    // Same duration with half the points.
    a.points /= 2;
    a.period *= 2;
    a.halved = true;
  }
  a.code = ComputePeriodCode(a.period, a.subMode);
  a.period = a.code.period;
  a.blocks = ((a.points + 1) * k) / kBlockSize + 1;
  int m = a.code.mantissa, e = a.code.exponent, b = a.blocks;
  switch (a.subMode) {
    case SubMode::OneInput:
      a.text = std::string(cmd::kOneInput) + join({c1, b, m, e});
      break;
    case SubMode::TwoInputs: {
      int c2 = clampInput(inputs[1]);
      a.text = std::string(cmd::kTwoInputs) + join({c1, c2, b, m, e});
      break;
    }
    case SubMode::FourLow:
      a.text = std::string(cmd::kFourLow) + join({b, m, e});
      break;
    case SubMode::FourHigh:
      a.text = std::string(cmd::kFourHigh) + join({b, m, e});
      break;
    case SubMode::Eight:
    case SubMode::Fast:
      a.text = std::string(cmd::kEight) + join({b, m, e});
      break;
  }
  return a;
}

std::string ComposeStartCommand(bool onEdge, int edgeInput) {
  if (!onEdge) return std::string(cmd::kStartNow);
  return std::string(cmd::kStartOnEdge) + (edgeInput == 1 ? '1' : '0');
}

int RawPerPoint(const AcquisitionCommand &acquisition) {
  if (acquisition.subMode == SubMode::Fast) return std::max(1, acquisition.ratio);
  return SamplesPerPoint(acquisition.subMode);
}

FetchRequest ComposeFetch(const AcquisitionCommand &acquisition, int firstPoint) {
  FetchRequest f;
  const int q = RawPerPoint(acquisition);
  f.firstPoint = std::max(0, firstPoint);
  bool interpolating =
      acquisition.subMode == SubMode::TwoInputs || acquisition.subMode == SubMode::Eight;
  if (interpolating && f.firstPoint > 0) --f.firstPoint;
  f.rawStart = q * f.firstPoint;
  long perSecond = acquisition.period > 0 ? nearest(1.0 / acquisition.period) : 0;
  long w = std::max<long>(perSecond, 2L * q) * q;
  if (w > kMaxValuesPerLine) w = (kMaxValuesPerLine / q) * q;
  long left = static_cast<long>(acquisition.points) * q - f.rawStart;
  f.count = static_cast<int>(std::max<long>(0, std::min(w, left)));
  if (f.count > 0) {
    f.text = std::string(cmd::kFetch) +
             join({f.rawStart / kBlockSize, f.rawStart % kBlockSize, f.count});
  }
  return f;
}

int PointsInLine(const AcquisitionCommand &acquisition, int values) {
  return std::max(0, values) / RawPerPoint(acquisition);
}

}  // namespace kvx::device
