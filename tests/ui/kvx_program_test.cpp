// SPDX-License-Identifier: GPL-3.0-or-later
// The kvx program's command line, run as the user runs it.
#include <gtest/gtest.h>

#include <QProcess>

#include "ui_test_app.h"

namespace kvx::ui {
namespace {

struct Resultat {
  int code = -1;
  QString sortie;
  QString erreurs;
};

// Runs kvx with no display at all: answers that need no window must come
// without one.
Resultat Lance(const QStringList &args) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("DISPLAY"));
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(KVX_BIN_DIR "/kvx"), args);
  if (!p.waitForFinished(10000)) p.kill();
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromUtf8(p.readAllStandardOutput()),
          QString::fromUtf8(p.readAllStandardError())};
}

TEST(ProgrammeKvx, HelpAndVersionNeedNoDisplay) {
  test::Application();
  const Resultat aide = Lance({QStringLiteral("--help")});
  EXPECT_EQ(aide.code, 0);
  EXPECT_TRUE(aide.sortie.startsWith(
      QStringLiteral("Usage: kvx [--simulate] [--port PATH]... [/C-] [FILE.KVX]\n")));
  EXPECT_TRUE(aide.erreurs.isEmpty());
  const Resultat version = Lance({QStringLiteral("--version")});
  EXPECT_EQ(version.code, 0);
  EXPECT_TRUE(version.sortie.startsWith(QStringLiteral("kvx ")));
}

TEST(ProgrammeKvx, UsageErrorsGoToStandardErrorWithStatusTwo) {
  test::Application();
  for (const QStringList &args :
       {QStringList{QStringLiteral("--port")},
        QStringList{QStringLiteral("--simulate"), QStringLiteral("--nope")}}) {
    const Resultat r = Lance(args);
    EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.sortie.isEmpty());
    EXPECT_TRUE(r.erreurs.startsWith(QStringLiteral("kvx: "))) << r.erreurs.toStdString();
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral("Usage: kvx")));
  }
}

}  // namespace
}  // namespace kvx::ui
