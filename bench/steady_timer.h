// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <chrono>

#include "device/acquisition_timer.h"

// The acquisition timer of the timed tools: the engine's ticks on the steady
// clock, with the time left to the next one for the tool's own wait.
namespace kvx::bench {

using Steady = std::chrono::steady_clock;

class SteadyTimer final : public device::AcquisitionTimer {
 public:
  void setInterval(int ms) override {
    m_interval = std::chrono::milliseconds(ms);
    m_next = Steady::now() + m_interval;
  }
  int interval() const override { return static_cast<int>(m_interval.count()); }
  void setEnabled(bool enabled) override {
    if (enabled && !m_enabled) m_next = Steady::now() + m_interval;
    m_enabled = enabled;
  }
  bool isEnabled() const override { return m_enabled; }
  device::Clock::time_point now() const override { return Steady::now(); }
  bool due() {
    if (!m_enabled || Steady::now() < m_next) return false;
    m_next = Steady::now() + m_interval;
    return true;
  }
  int msToNext() const {
    if (!m_enabled) return 50;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_next - Steady::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
  }

 private:
  std::chrono::milliseconds m_interval{220};
  Steady::time_point m_next{};
  bool m_enabled = false;
};

}  // namespace kvx::bench
