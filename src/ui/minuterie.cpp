// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/minuterie.h"

#include <QTimer>
#include <algorithm>

namespace kvx::ui {

TMinuterie::TMinuterie(QTimer &timer) : m_timer(timer) {
  // Slow scans pace their fetches on the tick; a coarse timer may be 5 % late.
  m_timer.setTimerType(Qt::PreciseTimer);
}

void TMinuterie::setInterval(int milliseconds) {
  // A zero interval would tick as fast as the loop turns and starve the window.
  m_timer.setInterval(std::max(milliseconds, 1));
}

int TMinuterie::interval() const {
  return m_timer.interval();
}

void TMinuterie::setEnabled(bool enabled) {
  if (enabled)
    m_timer.start();  // restarts the count from now
  else
    m_timer.stop();
}

bool TMinuterie::isEnabled() const {
  return m_timer.isActive();
}

}  // namespace kvx::ui
