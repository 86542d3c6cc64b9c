#include "platform/event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace kvx::platform {

void PompeEvenements() {
  // Deferred deletes are left for the main loop too: an object a handler is
  // still using must not vanish under a wait.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

std::function<void()> CrochetPompe() {
  return &PompeEvenements;
}

}  // namespace kvx::platform
