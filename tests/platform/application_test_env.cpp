// SPDX-License-Identifier: GPL-3.0-or-later
// Every platform test runs inside one Qt application whose user folders
// (HOME and the XDG folders) are a fresh temporary folder, so no test ever
// reads or writes the real user's settings, documents or desktop files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

class QtApplicationEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    char pattern[] = "/tmp/kvx-platform-test-XXXXXX";
    const char *home = ::mkdtemp(pattern);
    ASSERT_NE(home, nullptr);
    m_home = home;
    const std::string runtime = m_home + "/run";
    ::mkdir(runtime.c_str(), 0700);
    ::setenv("HOME", home, 1);
    ::setenv("XDG_CONFIG_HOME", (m_home + "/.config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (m_home + "/.local/share").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (m_home + "/.cache").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    ::unsetenv("XDG_DOCUMENTS_DIR");
    if (!QCoreApplication::instance()) {
      static int argc = 1;
      static char name[] = "test_platform";
      static char *argv[] = {name, nullptr};
      m_application = std::make_unique<QApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("KVX"));
    QCoreApplication::setOrganizationName(QString());
  }

  void TearDown() override {
    m_application.reset();
    if (!m_home.empty()) QDir(QString::fromStdString(m_home)).removeRecursively();
  }

 private:
  std::string m_home;
  std::unique_ptr<QApplication> m_application;
};

const auto *const gEnvironment = testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
