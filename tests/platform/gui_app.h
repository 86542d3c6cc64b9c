// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Fonts and painters need a QGuiApplication. Tests of the platform folder
// share one, made on first use (the offscreen platform is set by ctest).

#include <QCoreApplication>
#include <QGuiApplication>

namespace kvx::platform::testing {

inline void EnsureGuiApp() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "test_platform";
  static char *argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

}  // namespace kvx::platform::testing
