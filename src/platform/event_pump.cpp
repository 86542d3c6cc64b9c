// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace kvx::platform {

namespace {

thread_local int tProfondeur = 0;

}  // namespace

bool DansPompe() {
  return tProfondeur > 0;
}

void PompeEvenements() {
  ++tProfondeur;
  // Deferred deletes are left for the main loop too: an object a handler is
  // still using must not vanish under a wait.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  --tProfondeur;
}

std::function<void()> CrochetPompe() {
  return &PompeEvenements;
}

}  // namespace kvx::platform
