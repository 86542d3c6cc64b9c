// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/acquisition_timer.h"

class QTimer;

// The acquisition timer of the main window as the engine sees it: the
// window's QTimer, whose ticks the window hands to the engine.
namespace kvx::ui {

class TMinuterie final : public device::AcquisitionTimer {
 public:
  explicit TMinuterie(QTimer &timer);

  void setInterval(int milliseconds) override;
  int interval() const override;
  void setEnabled(bool enabled) override;
  bool isEnabled() const override;
  Clock::time_point now() const override { return Clock::now(); }

 private:
  QTimer &m_timer;
};

}  // namespace kvx::ui
