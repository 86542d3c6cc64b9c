// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/clock.h"

#include <thread>

namespace kvx::device {

Clock::time_point SteadyClock::now() const {
  return std::chrono::steady_clock::now();
}

void SteadyClock::sleepFor(duration d) {
  if (d > duration::zero()) std::this_thread::sleep_for(d);
}

SteadyClock &SteadyClock::instance() {
  static SteadyClock clock;
  return clock;
}

ManualClock::ManualClock(time_point start) : m_ticks(start.time_since_epoch().count()) {}

Clock::time_point ManualClock::now() const {
  return time_point(duration(m_ticks.load()));
}

void ManualClock::advance(duration d) {
  if (d > duration::zero()) m_ticks.fetch_add(d.count());
}

void ManualClock::advanceTo(time_point t) {
  auto target = t.time_since_epoch().count();
  auto current = m_ticks.load();
  while (current < target && !m_ticks.compare_exchange_weak(current, target)) {
  }
}

}  // namespace kvx::device
