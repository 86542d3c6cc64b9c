// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/lecture_entree.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "device/box_reads.h"
#include "device/simulated_box.h"
#include "engine_rig.h"

namespace kvx::device {
namespace {

using namespace std::chrono_literals;
using testing::EngineRig;

// The window's side waits on real time for what the worker does on the box's
// clock, which the worker's own sleeps move on.
bool Attend(const std::function<bool()> &fait) {
  const auto limite = std::chrono::steady_clock::now() + 5s;
  while (!fait()) {
    if (std::chrono::steady_clock::now() >= limite) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

SignalSpec Constante(double code) {
  SignalSpec s;
  s.kind = SignalSpec::Kind::Constant;
  s.offset = code;
  return s;
}

class LectureEntreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box.setSignal(0, Constante(40));
    box.setSignal(5, Constante(200));
    rig.start();
    ASSERT_TRUE(rig.link.BoxPresent());
  }
  SimulatedBox box{ManualClock().now()};
  EngineRig rig{box};
};

TEST_F(LectureEntreeTest, FollowsTheChosenInputAndGivesTheLinkBack) {
  {
    LectureEntree lecture(rig.link, 0, 220ms);
    EXPECT_TRUE(rig.link.lent());
    ASSERT_TRUE(Attend([&] { return lecture.DernierCode() >= 0; }));
    EXPECT_NEAR(lecture.DernierCode(), 40, 1);
    lecture.FixeEntree(5);
    ASSERT_TRUE(Attend([&] { return lecture.DernierCode() >= 0; }));
    EXPECT_NEAR(lecture.DernierCode(), 200, 1);
  }
  EXPECT_FALSE(rig.link.lent());
}

TEST_F(LectureEntreeTest, AsksOnceAPeriodAndNoMore) {
  const auto debut = rig.clock.now();
  LectureEntree lecture(rig.link, 0, 220ms);
  ASSERT_TRUE(Attend([&] { return lecture.Requetes() >= 10; }));
  lecture.Arrete();
  // One byte a period, the first at once: the link is not flooded.
  const auto periodes = (rig.clock.now() - debut) / 220ms;
  EXPECT_GE(lecture.Requetes(), static_cast<unsigned>(periodes));
  EXPECT_LE(lecture.Requetes(), static_cast<unsigned>(periodes) + 1);
}

TEST_F(LectureEntreeTest, TheWindowUsingTheLinkEndsTheReadingFirst) {
  LectureEntree lecture(rig.link, 0, 220ms);
  ASSERT_TRUE(Attend([&] { return lecture.Requetes() > 0; }));
  // The window speaks to the box itself: the worker is gone before a byte
  // of the window's goes out.
  EXPECT_NEAR(ReadByte(rig.link, 64 + 5), 200, 1);
  EXPECT_FALSE(rig.link.lent());
  // Its thread has ended: nothing more can go out from it.
  const unsigned apres = lecture.Requetes();
  lecture.Arrete();
  EXPECT_EQ(lecture.Requetes(), apres);
}

TEST(LectureEntreeSansBoitier, AsksNothingAndLendsNothing) {
  SimulatedBox box{ManualClock().now()};
  EngineRig rig(box);  // never started: no box found
  LectureEntree lecture(rig.link, 0, 220ms);
  EXPECT_FALSE(rig.link.lent());
  EXPECT_EQ(lecture.DernierCode(), -1);
  EXPECT_EQ(lecture.Requetes(), 0u);
}

}  // namespace
}  // namespace kvx::device
