// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QString>
#include <ostream>

#include "ui/dialogue_modal.h"

// Widget tests need one application object for the whole test binary; it is
// made at the first test that asks for it (offscreen, set by the harness).
namespace kvx::ui::test {

inline QApplication &Application() {
  static int argc = 1;
  static char nom[] = "test_ui";
  static char *argv[] = {nom, nullptr};
  static QApplication *app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

// Base of fixtures whose members are widgets: the application comes first.
// A test before may have closed its window, which ends every later dialog.
struct AvecApplication {
  AvecApplication() {
    Application();
    ReprendModaux();
  }
};

}  // namespace kvx::ui::test

// Readable failures: gtest prints QStrings as text, not as bytes.
inline void PrintTo(const QString &s, std::ostream *os) {
  *os << '"' << s.toStdString() << '"';
}
