// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/simulated_box.h"

#include <algorithm>
#include <cmath>

#include "device/box_command_line.h"

namespace kvx::device {

namespace {

// The box keeps this many output changes to date its samples; older ones go.
constexpr std::size_t kOutputHistory = 4096;
// Answers waiting to go out beyond this are lost (only a runaway peer gets there).
constexpr std::size_t kMaxPending = 1 << 20;

Clock::duration toDuration(double seconds) {
  return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

double periodOf(int mantissa, int exponent, double tick) {
  return mantissa * std::pow(10.0, exponent) * tick;
}

}  // namespace

SimulatedBox::SimulatedBox(time_point powerOn) : m_powerOn(powerOn) {
  using K = SignalSpec::Kind;
  m_signals = {SignalSpec{K::Sine, 100, 128, 1},       SignalSpec{K::Square, 80, 128, 2},
               SignalSpec{K::Triangle, 100, 128, 0.5}, SignalSpec{K::Ramp, 120, 128, 1},
               SignalSpec{K::Noise, 20, 128, 1},       SignalSpec{K::Constant, 0, 200, 1},
               SignalSpec{K::Sine, 50, 128, 10},       SignalSpec{K::Output, 0, 0, 1}};
  m_binaries[0] = BinarySpec{BinarySpec::Kind::Square, 1};
  m_binaries[1] = BinarySpec{BinarySpec::Kind::Square, 0.5};
  m_binaries[2] = BinarySpec{BinarySpec::Kind::Output, 1};
  m_outputHistory.push_back({powerOn, 0});
}

SimulatedBox::~SimulatedBox() = default;

void SimulatedBox::setSignal(int input, const SignalSpec &spec) {
  if (input >= 0 && input < kInputCount) m_signals[static_cast<std::size_t>(input)] = spec;
}

void SimulatedBox::setBinary(int input, const BinarySpec &spec) {
  if (input >= 0 && input < kInputCount) m_binaries[static_cast<std::size_t>(input)] = spec;
}

const SignalSpec &SimulatedBox::signal(int input) const {
  return m_signals[static_cast<std::size_t>(std::clamp(input, 0, kInputCount - 1))];
}

const BinarySpec &SimulatedBox::binary(int input) const {
  return m_binaries[static_cast<std::size_t>(std::clamp(input, 0, kInputCount - 1))];
}

void SimulatedBox::setAccessory(std::unique_ptr<BoxAccessory> accessory) {
  m_accessory = std::move(accessory);
}

void SimulatedBox::receive(std::uint8_t byte, time_point at) {
  if (m_inLine) {
    if (byte == kCarriageReturn) {
      if (!m_overlong) handleLine(m_line, at);
      m_line.clear();
      m_inLine = m_overlong = false;
    } else if (m_line.size() >= kMaxCommandLength) {
      m_overlong = true;
    } else {
      m_line.push_back(static_cast<char>(byte));
    }
    return;
  }
  // Word commands begin with "X", program lines with ":"; anything else is a
  // single-byte request or ignored.
  if (byte == 'X' || byte == ':') {
    m_inLine = true;
    m_line.assign(1, static_cast<char>(byte));
    return;
  }
  handleSingleByte(byte, at);
}

void SimulatedBox::takeOutput(time_point, std::string &out) {
  out += m_pending;
  m_pending.clear();
}

void SimulatedBox::answer(std::string_view text) {
  if (m_pending.size() + text.size() <= kMaxPending) m_pending += text;
}

void SimulatedBox::handleSingleByte(std::uint8_t byte, time_point at) {
  if (byte >= kReadInputByte && byte < kReadInputByte + kInputCount) {
    char code = static_cast<char>(inputCode(byte - kReadInputByte, at));
    answer(std::string_view(&code, 1));
  } else if (byte == kReadBinaryByte) {
    char state = static_cast<char>(binaryState(at));
    answer(std::string_view(&state, 1));
  }
}

void SimulatedBox::handleLine(std::string_view line, time_point at) {
  if (line[0] == ':') {
    if (m_accessory) m_accessory->programLine(line, at, m_pending);
    return;
  }
  if (line == cmd::kIdentify) {
    answer(kIdentity);
    answer("\r");
  } else if (line == cmd::kReset) {
    m_acquisition = Acquisition{};
    setOutput(0, at);
    if (m_accessory) m_accessory->reset(at);
  } else if (line == cmd::kStartNow) {
    if (m_acquisition.phase != Phase::Idle) {
      m_acquisition.phase = Phase::Running;
      m_acquisition.start = at;
      if (m_restartAtStart) m_powerOn = at;
      m_restartAtStart = false;
    }
  } else if (line.size() == cmd::kStartOnEdge.size() + 1 &&
             line.substr(0, cmd::kStartOnEdge.size()) == cmd::kStartOnEdge &&
             (line.back() == '0' || line.back() == '1')) {
    if (m_acquisition.phase != Phase::Idle) {
      m_acquisition.phase = Phase::WaitingEdge;
      m_acquisition.edgeInput = line.back() - '0';
      m_acquisition.armedAt = at;
    }
  } else if (handleAcquisitionCommand(line, at)) {
  } else if (line.substr(0, cmd::kFetch.size()) == cmd::kFetch) {
    handleFetch(line, at);
  } else if (auto input = ParseCommandArguments(line, cmd::kReadInput, 1)) {
    if ((*input)[0] < kInputCount) {
      answer(std::to_string(inputCode((*input)[0], at)));
      answer("\r");
    }
  } else if (auto code = ParseCommandArguments(line, cmd::kSetOutput, 1)) {
    if ((*code)[0] <= 255) setOutput((*code)[0], at);
  } else if (line.substr(0, 5) == "XUTIL") {
    if (m_accessory) m_accessory->command(line, at, m_pending);
  }
}

bool SimulatedBox::handleAcquisitionCommand(std::string_view line, time_point at) {
  if (line.substr(0, 4) != "XPEA") return false;
  Acquisition a;
  int blocks = 0, m = 0, e = 0;
  bool ok = false;
  if (auto v = ParseCommandArguments(line, cmd::kFast, 2)) {
    a.mode = SubMode::Fast;
    a.first = (*v)[0];
    blocks = (*v)[1];
    m = 2;  // no period code: the fast step
    ok = true;
  } else if (auto v = ParseCommandArguments(line, cmd::kOneInput, 4)) {
    a.mode = SubMode::OneInput;
    a.first = (*v)[0];
    blocks = (*v)[1], m = (*v)[2], e = (*v)[3];
    ok = true;
  } else if (auto v = ParseCommandArguments(line, cmd::kTwoInputs, 5)) {
    a.mode = SubMode::TwoInputs;
    a.first = (*v)[0], a.second = (*v)[1];
    blocks = (*v)[2], m = (*v)[3], e = (*v)[4];
    ok = a.second < kInputCount;
  } else if (auto v = ParseCommandArguments(line, "XPEA4 ", 4)) {
    a.mode = (*v)[0] == 0 ? SubMode::FourLow : SubMode::FourHigh;
    ok = (*v)[0] <= 1;
    blocks = (*v)[1], m = (*v)[2], e = (*v)[3];
  } else if (auto v = ParseCommandArguments(line, cmd::kEight, 3)) {
    a.mode = SubMode::Eight;
    blocks = (*v)[0], m = (*v)[1], e = (*v)[2];
    ok = true;
  }
  ok = ok && a.first < kInputCount && blocks >= 1 && blocks <= 255 && m >= 1 && m <= 255 && e <= 3;
  if (!ok) return true;  // an acquisition word with bad arguments: ignored
  bool longTick = a.mode == SubMode::TwoInputs || a.mode == SubMode::Eight;
  a.period =
      a.mode == SubMode::Fast ? kFastStep : periodOf(m, e, longTick ? kTickLong : kTickShort);
  a.capacity = std::min(blocks * kBlockSize, kMemorySamples);
  // A new acquisition command ends the one running (that is how "XPEA0 0,1"
  // stops the box) and waits for its start command.
  a.phase = Phase::Armed;
  a.armedAt = at;
  m_acquisition = a;
  return true;
}

void SimulatedBox::handleFetch(std::string_view line, time_point at) {
  auto v = ParseCommandArguments(line, cmd::kFetch, 3);
  if (!v || (*v)[1] >= kBlockSize) return;
  long p = static_cast<long>((*v)[0]) * kBlockSize + (*v)[1];
  long u = (*v)[2];
  // Only samples already taken are sent, exactly as many as asked; before
  // that the answer is an empty line and the program asks again.
  if (u > 0 && p + u <= samplesTaken(at)) {
    std::string values;
    values.reserve(static_cast<std::size_t>(u) * 4);
    for (long j = p; j < p + u; ++j) {
      if (j > p) values.push_back(',');
      values += std::to_string(memoryCode(static_cast<int>(j)));
    }
    answer(values);
  }
  answer("\r");
}

void SimulatedBox::setOutput(int code, time_point at) {
  m_output = code;
  if (m_outputHistory.size() >= kOutputHistory) m_outputHistory.pop_front();
  m_outputHistory.push_back({at, code});
}

int SimulatedBox::outputAt(time_point at) const {
  for (auto it = m_outputHistory.rbegin(); it != m_outputHistory.rend(); ++it)
    if (it->first <= at) return it->second;
  return m_outputHistory.empty() ? m_output : m_outputHistory.front().second;
}

double SimulatedBox::seconds(time_point at) const {
  return std::chrono::duration<double>(at - m_powerOn).count();
}

std::uint8_t SimulatedBox::inputCode(int input, time_point at) const {
  if (input < 0 || input >= kInputCount) return 0;
  return m_signals[static_cast<std::size_t>(input)].code(input, seconds(at), outputAt(at));
}

std::uint8_t SimulatedBox::binaryState(time_point at) const {
  int state = 0;
  for (int i = 0; i < kInputCount; ++i)
    if (m_binaries[static_cast<std::size_t>(i)].level(seconds(at), outputAt(at))) state |= 1 << i;
  return static_cast<std::uint8_t>(state);
}

// Edge input EF0 starts on a falling edge and EF1 on a rising one, as the
// marks beside them in the trigger dialog show.
std::optional<Clock::time_point> SimulatedBox::startEdge(int input, time_point from,
                                                         time_point to) const {
  const BinarySpec &spec = m_binaries[static_cast<std::size_t>(input)];
  const bool montant = input != 0;
  if (spec.kind == BinarySpec::Kind::Square) {
    auto edge = montant ? spec.squareRisingEdge(seconds(from), seconds(to))
                        : spec.squareFallingEdge(seconds(from), seconds(to));
    if (!edge) return std::nullopt;
    return std::min(to, m_powerOn + toDuration(*edge));
  }
  if (spec.kind != BinarySpec::Kind::Output) return std::nullopt;
  bool haut = outputAt(from) >= 128;
  for (const auto &[when, code] : m_outputHistory) {
    if (when <= from) continue;
    if (when > to) break;
    const bool ensuite = code >= 128;
    if (ensuite != haut && ensuite == montant) return when;
    haut = ensuite;
  }
  return std::nullopt;
}

void SimulatedBox::resolveEdge(time_point now) {
  if (m_acquisition.phase != Phase::WaitingEdge) return;
  auto edge = startEdge(m_acquisition.edgeInput, m_acquisition.armedAt, now);
  if (!edge) return;
  m_acquisition.phase = Phase::Running;
  m_acquisition.start = *edge;
}

Clock::time_point SimulatedBox::sampleTime(int j) const {
  const Acquisition &a = m_acquisition;
  double offset = 0;
  switch (a.mode) {
    case SubMode::Fast:
    case SubMode::OneInput:
      offset = j * a.period;
      break;
    // The second input is sampled half a period after the first.
    case SubMode::TwoInputs:
      offset = (j / 2) * a.period + (j % 2) * a.period / 2;
      break;
    case SubMode::FourLow:
    case SubMode::FourHigh:
      offset = (j / 4) * a.period;
      break;
    // Inputs 4 to 7 half a period after inputs 0 to 3.
    case SubMode::Eight:
      offset = (j / 8) * a.period + (j % 8 >= 4 ? a.period / 2 : 0);
      break;
  }
  return a.start + toDuration(offset);
}

int SimulatedBox::sampleInput(int j) const {
  const Acquisition &a = m_acquisition;
  switch (a.mode) {
    case SubMode::Fast:
    case SubMode::OneInput:
      return a.first;
    case SubMode::TwoInputs:
      return j % 2 == 0 ? a.first : a.second;
    case SubMode::FourLow:
      return j % 4;
    case SubMode::FourHigh:
      return 4 + j % 4;
    case SubMode::Eight:
      return j % 8;
  }
  return 0;
}

int SimulatedBox::samplesTaken(time_point at) {
  resolveEdge(at);
  if (m_acquisition.phase != Phase::Running || at < m_acquisition.start) return 0;
  int lo = 0, hi = m_acquisition.capacity;
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (sampleTime(mid) <= at)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

std::uint8_t SimulatedBox::memoryCode(int j) const {
  if (j < 0 || j >= m_acquisition.capacity) return 0;
  return inputCode(sampleInput(j), sampleTime(j));
}

bool SimulatedBox::acquisitionRunning(time_point at) {
  if (m_acquisition.phase == Phase::WaitingEdge) {
    resolveEdge(at);
    if (m_acquisition.phase == Phase::WaitingEdge) return true;
  }
  return m_acquisition.phase == Phase::Running && samplesTaken(at) < m_acquisition.capacity;
}

std::string SimulatedBox::applySignal(const std::string &arg) {
  const auto eq = arg.find('=');
  if (eq == std::string::npos) return "--signal needs N=SPEC, got \"" + arg + "\"";
  const std::string which = arg.substr(0, eq), spec = arg.substr(eq + 1);
  const bool binary = !which.empty() && (which[0] == 'b' || which[0] == 'B');
  const std::string digits = binary ? which.substr(1) : which;
  if (digits.size() != 1 || digits[0] < '0' || digits[0] > '7')
    return "input number must be 0 to 7 (or b0 to b7), got \"" + which + "\"";
  const int input = digits[0] - '0';
  if (binary) {
    auto parsed = ParseBinarySpec(spec);
    if (!parsed.spec) return parsed.error;
    setBinary(input, *parsed.spec);
  } else {
    auto parsed = ParseSignalSpec(spec);
    if (!parsed.spec) return parsed.error;
    setSignal(input, *parsed.spec);
  }
  return {};
}

}  // namespace kvx::device
