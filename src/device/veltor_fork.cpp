// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/veltor_fork.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "device/box_facts.h"
#include "device/veltor_image.h"

namespace kvx::device {

namespace {

// The loader listens to no more lines than this before an end-of-file record.
constexpr std::size_t kMaxImageLines = 64;
constexpr double kMaxTurnsPerSecond = 100;
// The box counts positions from this value.
constexpr int kCountOrigin = 30000;

double secondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

Clock::duration toDuration(double seconds) {
  return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace

ForkParse ParseForkSpec(std::string_view text) {
  ForkParse result;
  ForkSpec spec;
  if (text == "ruler") {
    result.spec = spec;
    return result;
  }
  if (text.substr(0, 5) != "wheel" || (text.size() > 5 && text[5] != ':')) {
    result.error =
        "fork must be ruler or wheel[:TURNS_PER_SECOND], got \"" + std::string(text) + "\"";
    return result;
  }
  spec.kind = ForkSpec::Kind::Wheel;
  if (text.size() > 6) {
    const std::string number(text.substr(6));
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || end != number.data() + number.size() || !(value > 0) ||
        value > kMaxTurnsPerSecond) {
      result.error =
          "wheel speed must be a number of turns a second above 0 and at most 100, got \"" +
          number + "\"";
      return result;
    }
    spec.turnsPerSecond = value;
  } else if (text.size() == 6) {
    result.error = "wheel speed missing after \"wheel:\"";
    return result;
  }
  result.spec = spec;
  return result;
}

std::string DescribeFork(const ForkSpec &spec) {
  if (spec.kind == ForkSpec::Kind::Ruler) return "ruler";
  std::string speed = std::to_string(spec.turnsPerSecond);
  while (speed.size() > 1 && speed.back() == '0') speed.pop_back();
  if (!speed.empty() && speed.back() == '.') speed.pop_back();
  return "wheel:" + speed;
}

SimulatedFork::SimulatedFork(ForkSpec spec, time_point powerOn, std::uint32_t clockAtPowerOn)
    : m_spec(spec), m_powerOn(powerOn), m_clockAtPowerOn(clockAtPowerOn) {}

void SimulatedFork::programLine(std::string_view line, time_point, std::string &answer) {
  if (m_image.size() < kMaxImageLines)
    m_image.emplace_back(line);
  else
    m_imageTooLong = true;
  const auto record = ParseHexLine(line);
  if (!record || record->type != kHexEndOfFile) return;
  // The end-of-file record closes the image, sound or not.
  const bool sound = !m_imageTooLong && CheckVeltorImage(m_image);
  m_image.clear();
  m_imageTooLong = false;
  if (!sound) return;  // the loader keeps quiet: nothing usable came
  if (m_fault == Fault::GarbageUpload) {
    answer += "\x07#?ERR\xFF\r";
    return;
  }
  m_loaded = true;
  ++m_uploads;
  answer += "UTIL\r";
}

void SimulatedFork::command(std::string_view line, time_point at, std::string &answer) {
  // Without its program the box knows no "XUTIL" word.
  if (!m_loaded) return;
  if (line == cmd::kForkStart1) {
    m_armed = true;
    m_counting = false;
    m_start = m_stop = at;  // the last run's events are forgotten
  } else if (line == cmd::kForkStart2) {
    if (!m_armed) return;
    m_counting = true;
    m_start = at;
    m_stop = at;
  } else if (line == cmd::kForkCount) {
    if (m_fault == Fault::SilentCount) return;
    answer += std::to_string(eventsBy(at)) + "\r";
  } else if (line == cmd::kForkResults) {
    if (!m_counting) return;
    m_stop = at;
    m_counting = false;
    m_armed = false;
    sendResults(at, answer);
  }
}

void SimulatedFork::reset(time_point) {
  // The box goes back to its own program; the fork program stays in memory.
  m_armed = false;
  m_counting = false;
}

int SimulatedFork::totalEvents() const {
  return m_spec.kind == ForkSpec::Kind::Ruler ? std::clamp(m_spec.stripes, 0, kCapacity)
                                              : kCapacity;
}

double SimulatedFork::eventTime(int i) const {
  if (m_spec.kind == ForkSpec::Kind::Ruler)
    return m_spec.delay +
           std::sqrt(2 * (m_spec.firstEdge + i * m_spec.stripePeriod) / m_spec.gravity);
  return m_spec.delay + i / (m_spec.turnsPerSecond * m_spec.slotCount);
}

int SimulatedFork::eventCount(int i) const {
  return m_spec.kind == ForkSpec::Kind::Ruler ? -2 * i : 2 * i;
}

int SimulatedFork::eventsBy(time_point at) const {
  if (!m_counting && m_stop == m_start) return 0;
  const time_point end = m_counting ? at : std::min(at, m_stop);
  const double tau = secondsBetween(m_start, end) - m_spec.delay;
  if (tau < 0) return 0;
  double events = 0;
  if (m_spec.kind == ForkSpec::Kind::Ruler) {
    const double fallen = m_spec.gravity * tau * tau / 2;
    events = std::floor((fallen - m_spec.firstEdge) / m_spec.stripePeriod) + 1;
  } else {
    events = std::floor(tau * m_spec.turnsPerSecond * m_spec.slotCount) + 1;
  }
  int n = static_cast<int>(std::clamp(events, 0.0, static_cast<double>(totalEvents())));
  // Rounding at an edge must not count an event its own time puts later.
  while (n > 0 && m_start + toDuration(eventTime(n - 1)) > end) --n;
  return n;
}

std::uint32_t SimulatedFork::clockAt(time_point at) const {
  // A 32-bit counter: it wraps, and reads back as well before its origin.
  const auto ticks =
      static_cast<std::int64_t>(std::floor(secondsBetween(m_powerOn, at) / kClockPeriod));
  return static_cast<std::uint32_t>(m_clockAtPowerOn + static_cast<std::uint64_t>(ticks));
}

void SimulatedFork::sendResults(time_point at, std::string &answer) {
  const int n = eventsBy(at);
  for (int i = 0; i < n; ++i) {
    const std::uint32_t stamp = clockAt(m_start + toDuration(eventTime(i)));
    answer += std::to_string(eventCount(i) + kCountOrigin) + " " + std::to_string(stamp >> 16) +
              " " + std::to_string(stamp & 0xFFFF) + "\r";
  }
}

}  // namespace kvx::device
