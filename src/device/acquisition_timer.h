// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The acquisition timer of the main window and the clock the engine reads.
// The window gives a QTimer behind it; tests give a manual timer whose ticks
// and time they step themselves.

#include <chrono>

namespace kvx::device {

class AcquisitionTimer {
 public:
  using Clock = std::chrono::steady_clock;
  virtual ~AcquisitionTimer() = default;

  // Interval between ticks, in milliseconds; each tick calls the engine's
  // `TimerTimer`.
  virtual void setInterval(int milliseconds) = 0;
  virtual int interval() const = 0;
  // Switching on starts the count from now (an enabled timer is left as it
  // is); switching off drops any tick not yet delivered.
  virtual void setEnabled(bool enabled) = 0;
  virtual bool isEnabled() const = 0;

  virtual Clock::time_point now() const = 0;
};

}  // namespace kvx::device
