// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/event_pump.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <QWidget>

#include "ui/minuterie.h"
#include "ui_test_app.h"

namespace kvx {
namespace {

// A widget that counts its paints.
class Compteur : public QWidget {
 public:
  int peintures = 0;

 protected:
  void paintEvent(QPaintEvent *) override { ++peintures; }
};

TEST(PompeEvenements, RunsTimersAndPaintsWhileTheCallerWaits) {
  ui::test::Application();
  Compteur w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  platform::PompeEvenements();
  const int avant = w.peintures;
  bool tic = false;
  QTimer::singleShot(0, [&] { tic = true; });
  w.update();
  const std::function<void()> pompe = platform::CrochetPompe();
  pompe();
  EXPECT_TRUE(tic);
  EXPECT_GT(w.peintures, avant);
}

TEST(Minuterie, DrivesTheWindowTimer) {
  ui::test::Application();
  QTimer timer;
  ui::TMinuterie m(timer);
  m.setInterval(220);
  EXPECT_EQ(m.interval(), 220);
  EXPECT_EQ(timer.interval(), 220);
  EXPECT_FALSE(m.isEnabled());
  m.setEnabled(true);
  EXPECT_TRUE(timer.isActive());
  EXPECT_TRUE(m.isEnabled());
  m.setEnabled(false);
  EXPECT_FALSE(timer.isActive());
  // An interval of zero would spin: the shortest is one millisecond.
  m.setInterval(0);
  EXPECT_EQ(m.interval(), 1);
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_GE(m.now(), t0);
}

}  // namespace
}  // namespace kvx
