// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The signals wired to the simulated box: what each of its eight analog
// inputs sees (a waveform in box codes 0 to 255) and what each binary input
// sees. Parsed from the short texts of `kvx-sim --signal`:
//
//   analog input N:  KIND[:AMPLITUDE[:OFFSET[:FREQUENCY]]]
//     KIND is sine, square, triangle, ramp, noise, constant or output (the
//     box's own analog output wired back); amplitude and offset are in codes
//     (defaults 100 and 128), the frequency in hertz (default 1). Empty
//     fields keep their default: "constant::200".
//   binary input N:  low, high, square[:FREQUENCY] or output (high while the
//     analog output code is 128 or more).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvx::device {

struct SignalSpec {
  enum class Kind { Sine, Square, Triangle, Ramp, Noise, Constant, Output };
  Kind kind = Kind::Constant;
  double amplitude = 100;
  double offset = 128;
  double frequency = 1;

  // The code of input `input` at `seconds` since the box was switched on;
  // `output` is the analog output's code at that time.
  std::uint8_t code(int input, double seconds, int output) const;
};

struct BinarySpec {
  enum class Kind { Low, High, Square, Output };
  Kind kind = Kind::Low;
  double frequency = 1;

  bool level(double seconds, int output) const;
  // The first rising edge strictly after `from` and not after `to`, for a
  // square wave (the other kinds change only with the output).
  std::optional<double> squareRisingEdge(double from, double to) const;
  // The same for a falling edge, half a period after each rising one.
  std::optional<double> squareFallingEdge(double from, double to) const;
};

// Parse errors name the field at fault.
struct SignalParse {
  std::optional<SignalSpec> spec;
  std::string error;
};
struct BinaryParse {
  std::optional<BinarySpec> spec;
  std::string error;
};

SignalParse ParseSignalSpec(std::string_view text);
BinaryParse ParseBinarySpec(std::string_view text);
std::string DescribeSignal(const SignalSpec &spec);
std::string DescribeBinary(const BinarySpec &spec);

}  // namespace kvx::device
