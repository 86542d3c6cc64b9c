// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/configuration_rules.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "device/timer_tick.h"

namespace kvx::device {
namespace {

SlotChoice Choice(std::initializer_list<int> active, int abscisse) {
  SlotChoice c;
  for (int slot : active) c.active[slot] = true;
  c.abscisse = abscisse;
  return c;
}

std::vector<int> Active(const SlotChoice &c) {
  std::vector<int> slots;
  for (int s = 1; s <= 9; ++s)
    if (c.active[s]) slots.push_back(s);
  return slots;
}

TEST(ActivateForMode, ModeChannelsFollowTheMode) {
  struct {
    int mode;
    std::vector<int> active;
  } rows[] = {
      {kModeClavier, {3, 5, 6}},      {kModeTemps, {1, 5, 6}},  {kModePointParPoint, {4, 5, 6}},
      {kModeSortieAnalog, {2, 5, 6}}, {kModeVeltor, {5, 6, 9}},
  };
  for (const auto &r : rows) {
    SlotChoice c = Choice({1, 2, 3, 4, 5, 6, 9}, 5);
    ActivateForMode(c, r.mode);
    EXPECT_EQ(Active(c), r.active) << "mode " << r.mode;
  }
}

TEST(ActivateForMode, BinaryInputsAreNotSwitchedOnByPointMode) {
  SlotChoice c = Choice({5}, 5);
  ActivateForMode(c, kModePointParPoint);
  EXPECT_FALSE(c.active[kSlotBinaire]);
}

TEST(FixAbscissa, ByMode) {
  struct {
    int mode, from, to;
  } rows[] = {
      {kModeClavier, 1, 3},       {kModeClavier, 2, 3},       {kModeClavier, 6, 6},
      {kModeTemps, 2, 1},         {kModeTemps, 3, 1},         {kModeTemps, 7, 7},
      {kModePointParPoint, 1, 5}, {kModePointParPoint, 2, 5}, {kModePointParPoint, 3, 5},
      {kModePointParPoint, 4, 4}, {kModeSortieAnalog, 7, 2},  {kModeSortieAnalog, 1, 2},
      {kModeVeltor, 6, 1},        {kModeTemps, 12, 5},        {kModeTemps, 0, 5},
  };
  for (const auto &r : rows) {
    SlotChoice c = Choice({5, 6}, r.from);
    FixAbscissa(c, r.mode);
    EXPECT_EQ(c.abscisse, r.to) << "mode " << r.mode << " from " << r.from;
  }
}

TEST(FixAbscissa, OpticalForkKeepsOnlyTimeAndTheFork) {
  SlotChoice c = Choice({1, 2, 3, 4, 5, 6, 7, 8, 9}, 5);
  FixAbscissa(c, kModeVeltor);
  EXPECT_EQ(Active(c), (std::vector<int>{1, 9}));
}

TEST(EnsureAbscissaActive, YesSwitchesTheAbscissaOn) {
  SlotChoice c = Choice({1, 5}, 7);
  std::vector<int> asked;
  EnsureAbscissaActive(c, [&](int slot) {
    asked.push_back(slot);
    return true;
  });
  EXPECT_EQ(asked, std::vector<int>{7});
  EXPECT_EQ(c.abscisse, 7);
  EXPECT_TRUE(c.active[7]);
}

TEST(EnsureAbscissaActive, NoTakesTheFirstActiveSlot) {
  SlotChoice c = Choice({6, 9}, 7);
  EnsureAbscissaActive(c, [](int) { return false; });
  EXPECT_EQ(c.abscisse, 6);
  EXPECT_FALSE(c.active[7]);
}

TEST(EnsureAbscissaActive, NoWithNothingActiveFallsBackOnTime) {
  SlotChoice c = Choice({}, 7);
  EnsureAbscissaActive(c, [](int) { return false; });
  EXPECT_EQ(c.abscisse, 1);
  EXPECT_EQ(Active(c), std::vector<int>{1});
}

TEST(EnsureAbscissaActive, AnActiveAbscissaAsksNothing) {
  SlotChoice c = Choice({1, 5}, 1);
  bool asked = false;
  EnsureAbscissaActive(c, [&](int) { return asked = true; });
  EXPECT_FALSE(asked);
}

TEST(EnsureOrdinate, OneInputAloneOnTheAxisOfATimedScanGoesAgainstTime) {
  SlotChoice c = Choice({1, 5}, 5);
  EXPECT_EQ(EnsureOrdinate(c, kModeTemps), 1);
  EXPECT_EQ(c.abscisse, 1);
  EXPECT_EQ(Active(c), (std::vector<int>{1, 5}));
}

TEST(EnsureOrdinate, NoCurveAtAllSwitchesOnV1OrV2) {
  SlotChoice c = Choice({1}, 1);
  EXPECT_EQ(EnsureOrdinate(c, kModeTemps), 1);
  EXPECT_TRUE(c.active[5]);

  SlotChoice d = Choice({4, 5}, 5);  // point by point: V1 against itself only
  d.active[4] = false;
  EXPECT_EQ(EnsureOrdinate(d, kModePointParPoint), 1);
  EXPECT_TRUE(d.active[6]);
  EXPECT_EQ(d.abscisse, 5);
}

TEST(EnsureOrdinate, CountsEveryCurveButTheAbscissa) {
  SlotChoice c = Choice({1, 5, 6, 7, 9}, 1);
  EXPECT_EQ(EnsureOrdinate(c, kModeTemps), 4);
  EXPECT_EQ(CountAnalogInputs(c), 3);
}

}  // namespace
}  // namespace kvx::device
