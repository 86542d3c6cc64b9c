// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The engine without a window: the timer and the view of the tools that run
// it on their own (the command-line recorder, the timed tools, the fuzzers).

#include <algorithm>
#include <chrono>
#include <string>

#include "device/acquisition_timer.h"
#include "device/acquisition_view.h"

namespace kvx::device {

// The window's timer on the steady clock; the tool's loop waits until its
// next tick.
class MinuterieReguliere final : public AcquisitionTimer {
 public:
  using Steady = std::chrono::steady_clock;
  void setInterval(int ms) override {
    m_interval = std::chrono::milliseconds(std::max(ms, 1));
    m_next = Steady::now() + m_interval;
  }
  int interval() const override { return static_cast<int>(m_interval.count()); }
  void setEnabled(bool enabled) override {
    if (enabled && !m_enabled) m_next = Steady::now() + m_interval;
    m_enabled = enabled;
  }
  bool isEnabled() const override { return m_enabled; }
  Clock::time_point now() const override { return Steady::now(); }
  bool due() {
    if (!m_enabled || Steady::now() < m_next) return false;
    m_next = Steady::now() + m_interval;
    return true;
  }
  // Milliseconds to the next tick; a disabled timer still lets the loop look
  // at an interrupt now and then.
  int msToNext() const {
    if (!m_enabled) return 50;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_next - Steady::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, 50));
  }

 private:
  std::chrono::milliseconds m_interval{220};
  Steady::time_point m_next{};
  bool m_enabled = false;
};

// A window that shows nothing and answers yes: a tool has no one to ask, and
// refusing the channel a scan needs would record nothing. A tool overrides
// what it follows.
class VueSansFenetre : public AcquisitionView {
 public:
  void setStatus(const std::string &) override {}
  void setStatus2(const std::string &) override {}
  void setButtonEnabled(EngineButton, bool) override {}
  void setEnregistreHint(const std::string &) override {}
  void setMonocoupChecked(bool) override {}
  void setGauge(int, int) override {}
  void showScan(const ScanTexts &) override {}
  void showReference() override {}
  void refreshPanels() override {}
  void refreshReadout(int) override {}
  void clearReadouts() override {}
  void eraseCursors() override {}
  void showCursors() override {}
  void drawPoints(int, int) override {}
  void repaintGraph() override {}
  bool askYesNo(const std::string &) override { return true; }
  void showError(const std::string &) override {}
  void showBoxAbsent() override {}
};

}  // namespace kvx::device
