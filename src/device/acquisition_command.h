// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Composition of the box commands of a timed acquisition: the acquisition
// command with its sub-mode, the start command and the "XRESUL " requests
// that fetch the samples chunk by chunk. Pure functions: the engine calls them
// whenever the duration, the point count, the channels or the trigger change.

#include <string>
#include <vector>

namespace kvx::device {

// How the box samples, which is also how the engine unpacks a line.
enum class SubMode {
  Fast = 0,  // one input at the box's fast step, every r-th sample used
  OneInput = 1,
  TwoInputs = 2,  // sampled alternately, the second half a period later
  FourLow = 3,    // inputs 0 to 3 together
  FourHigh = 4,   // inputs 4 to 7 together
  Eight = 5,      // inputs 0 to 3, then 4 to 7 half a period later
};

struct PeriodCode {
  int mantissa = 2;   // m, 2 to 255
  int exponent = 0;   // e, 0 to 3
  double period = 0;  // the period the box will really use, m x 10^e ticks
};

struct AcquisitionCommand {
  std::string text;  // without the carriage return
  SubMode subMode = SubMode::OneInput;
  int ratio = 1;          // r, fast form only (1 otherwise)
  int points = 0;         // N, after the fast-form fallback or the eight-input halving
  double period = 0;      // dt the box will use (write it back to the time base)
  int blocks = 0;         // b
  PeriodCode code;        // not sent in the fast form
  bool fellBack = false;  // the fast form could not hold the acquisition
  bool halved = false;    // the eight-input form halved N and doubled dt
};

// Sub-mode the box uses for these inputs (in slot order) at period dt.
SubMode ChooseSubMode(const std::vector<int> &inputs, double dt);
// Raw samples per time point: 1, 2, 4 or 8 (the fast form counts 1).
int SamplesPerPoint(SubMode mode);
// Period code for dt with the tick of the sub-mode (the division truncates).
PeriodCode ComputePeriodCode(double dt, SubMode mode);
// The acquisition command for the active analog inputs (input numbers 0 to 7
// in slot order), N points and period dt.
AcquisitionCommand ComposeAcquisition(const std::vector<int> &inputs, int points, double dt);
// "XSEAP 0"/"XSEAP 1" (the box waits for an edge on that input) or "XEAP".
std::string ComposeStartCommand(bool onEdge, int edgeInput);

struct FetchRequest {
  std::string text;    // "XRESUL s,o,u", empty when nothing is left to fetch
  int firstPoint = 0;  // FirstPoint after the step back of the interpolating forms
  int rawStart = 0;    // p
  int count = 0;       // u, raw samples asked
};

// Raw samples of one time point in the box's memory (q): r in the fast form.
int RawPerPoint(const AcquisitionCommand &acquisition);
// The next "XRESUL " request: about one second of data, at least two points,
// at most 255 values and always whole points. The two- and eight-input forms
// step back one point so that the previous point's samples come again.
FetchRequest ComposeFetch(const AcquisitionCommand &acquisition, int firstPoint);
// Time points carried by a line of `values` codes.
int PointsInLine(const AcquisitionCommand &acquisition, int values);

}  // namespace kvx::device
