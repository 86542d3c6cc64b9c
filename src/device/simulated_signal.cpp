// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/simulated_signal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace kvx::device {

namespace {

constexpr double kPi = 3.14159265358979323846;

double fraction(double x) {
  return x - std::floor(x);
}

// Deterministic noise: the same input at the same microsecond gives the same
// code, so a test can compare an acquisition with what it expects.
double noiseAt(int input, double seconds) {
  auto micro = static_cast<std::uint64_t>(static_cast<std::int64_t>(std::floor(seconds * 1e6)));
  std::uint64_t z = micro * 0x9E3779B97F4A7C15ULL + static_cast<std::uint64_t>(input + 1);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) / static_cast<double>(1ULL << 53) * 2.0 - 1.0;
}

std::vector<std::string_view> splitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t colon = text.find(':', start);
    fields.push_back(text.substr(start, colon == std::string_view::npos ? colon : colon - start));
    if (colon == std::string_view::npos) return fields;
    start = colon + 1;
  }
}

// A finite decimal number; from_chars does not depend on the C locale.
bool parseNumber(std::string_view text, double &value) {
  if (text.empty()) return true;  // keep the default
  double v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
}

struct NamedKind {
  const char *name;
  SignalSpec::Kind kind;
};
constexpr NamedKind kKinds[] = {
    {"sine", SignalSpec::Kind::Sine},         {"square", SignalSpec::Kind::Square},
    {"triangle", SignalSpec::Kind::Triangle}, {"ramp", SignalSpec::Kind::Ramp},
    {"noise", SignalSpec::Kind::Noise},       {"constant", SignalSpec::Kind::Constant},
    {"output", SignalSpec::Kind::Output},
};

// Shortest text that reads back the same, with "." whatever the locale.
std::string numberText(double value) {
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

}  // namespace

std::uint8_t SignalSpec::code(int input, double seconds, int output) const {
  double phase = fraction(frequency * seconds);
  double shape = 0;
  switch (kind) {
    case Kind::Sine:
      shape = std::sin(2 * kPi * phase);
      break;
    case Kind::Square:
      shape = phase < 0.5 ? 1 : -1;
      break;
    case Kind::Triangle:
      shape = 1 - 4 * std::fabs(phase - 0.5);
      break;
    case Kind::Ramp:
      shape = 2 * phase - 1;
      break;
    case Kind::Noise:
      shape = noiseAt(input, seconds);
      break;
    case Kind::Constant:
      shape = 0;
      break;
    case Kind::Output:
      return static_cast<std::uint8_t>(std::clamp(output, 0, 255));
  }
  double value = offset + amplitude * shape;
  if (!std::isfinite(value)) value = 0;
  return static_cast<std::uint8_t>(std::clamp(std::lround(std::clamp(value, -1e6, 1e6)), 0L, 255L));
}

bool BinarySpec::level(double seconds, int output) const {
  switch (kind) {
    case Kind::Low:
      return false;
    case Kind::High:
      return true;
    case Kind::Square:
      return fraction(frequency * seconds) < 0.5;
    case Kind::Output:
      return output >= 128;
  }
  return false;
}

std::optional<double> BinarySpec::squareRisingEdge(double from, double to) const {
  if (kind != Kind::Square || !(frequency > 0)) return std::nullopt;
  double edge = (std::floor(frequency * from) + 1) / frequency;
  if (edge <= from) edge += 1 / frequency;
  if (edge > to) return std::nullopt;
  return edge;
}

std::optional<double> BinarySpec::squareFallingEdge(double from, double to) const {
  if (kind != Kind::Square || !(frequency > 0)) return std::nullopt;
  const double demi = 0.5 / frequency;
  const auto edge = squareRisingEdge(from - demi, to - demi);
  if (!edge) return std::nullopt;
  return *edge + demi;
}

SignalParse ParseSignalSpec(std::string_view text) {
  SignalParse result;
  auto fields = splitFields(text);
  if (fields.size() > 4) {
    result.error = "too many fields in \"" + std::string(text) + "\"";
    return result;
  }
  SignalSpec spec;
  auto found = std::find_if(std::begin(kKinds), std::end(kKinds),
                            [&](const NamedKind &k) { return fields[0] == k.name; });
  if (found == std::end(kKinds)) {
    result.error = "unknown signal kind \"" + std::string(fields[0]) + "\"";
    return result;
  }
  spec.kind = found->kind;
  const char *names[] = {"", "amplitude", "offset", "frequency"};
  double *targets[] = {nullptr, &spec.amplitude, &spec.offset, &spec.frequency};
  for (std::size_t i = 1; i < fields.size(); ++i) {
    if (!parseNumber(fields[i], *targets[i])) {
      result.error = std::string("bad ") + names[i] + " \"" + std::string(fields[i]) + "\"";
      return result;
    }
  }
  if (spec.frequency < 0 || spec.frequency > 1e5) {
    result.error = "frequency out of 0 to 100000 Hz";
    return result;
  }
  result.spec = spec;
  return result;
}

BinaryParse ParseBinarySpec(std::string_view text) {
  BinaryParse result;
  auto fields = splitFields(text);
  BinarySpec spec;
  if (fields[0] == "low")
    spec.kind = BinarySpec::Kind::Low;
  else if (fields[0] == "high")
    spec.kind = BinarySpec::Kind::High;
  else if (fields[0] == "square")
    spec.kind = BinarySpec::Kind::Square;
  else if (fields[0] == "output")
    spec.kind = BinarySpec::Kind::Output;
  else {
    result.error = "unknown binary input kind \"" + std::string(fields[0]) + "\"";
    return result;
  }
  bool takesFrequency = spec.kind == BinarySpec::Kind::Square;
  if (fields.size() > (takesFrequency ? 2u : 1u)) {
    result.error = "too many fields in \"" + std::string(text) + "\"";
    return result;
  }
  if (fields.size() == 2 && !parseNumber(fields[1], spec.frequency)) {
    result.error = "bad frequency \"" + std::string(fields[1]) + "\"";
    return result;
  }
  if (spec.frequency <= 0 || spec.frequency > 1e4) {
    result.error = "frequency out of 0 to 10000 Hz";
    return result;
  }
  result.spec = spec;
  return result;
}

std::string DescribeSignal(const SignalSpec &spec) {
  const char *name = "constant";
  for (const auto &k : kKinds)
    if (k.kind == spec.kind) name = k.name;
  return std::string(name) + ":" + numberText(spec.amplitude) + ":" + numberText(spec.offset) +
         ":" + numberText(spec.frequency);
}

std::string DescribeBinary(const BinarySpec &spec) {
  switch (spec.kind) {
    case BinarySpec::Kind::Low:
      return "low";
    case BinarySpec::Kind::High:
      return "high";
    case BinarySpec::Kind::Output:
      return "output";
    case BinarySpec::Kind::Square:
      return "square:" + numberText(spec.frequency);
  }
  return "low";
}

}  // namespace kvx::device
