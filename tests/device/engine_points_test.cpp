// SPDX-License-Identifier: GPL-3.0-or-later
// The point modes of the engine: point by point (by hand and automatic),
// values typed at the keyboard, the analog-output sweep, undo, and the
// capacity of the display arrays.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "counting_box.h"
#include "device/acquisition_engine.h"
#include "device/engine_texts.h"
#include "device/simulated_box.h"
#include "engine_rig.h"
#include "model/sortie_analogique.h"
#include "model/voie.h"

namespace kvx::device {
namespace {

using namespace std::chrono_literals;
using testing::CountingBox;
using testing::EngineRig;

using Lines = std::vector<std::string>;

class PointModes : public ::testing::Test {
 protected:
  PointModes() : rig(box) {}
  model::Tvoie &V(int slot) { return rig.graphe.voie(slot); }
  model::TsortieAnalogique &Sortie() { return rig.graphe.sortieAnalogique(); }
  // Waits until a tick has read code `code` of V1 (slot 5) from the box.
  bool readV1(int code) {
    return rig.runUntil([&] { return V(5).valeurLue == V(5).ValeurDeCode(code); }, 2000ms);
  }
  CountingBox box;
  EngineRig rig;
};

// --- Point by point -------------------------------------------------------

// V1 alone against the binary inputs, calibrated so that each box code is
// 0.01 V from the next and code 128 reads 5.00 V, on a 0..10 V display range.
class AutomaticPoint : public PointModes {
 protected:
  void SetUp() override {
    rig.graphe.Mode = kModePointParPoint;
    rig.graphe.Abscisse = 4;
    V(4).Active = true;
    V(6).Active = false;
    rig.engine.setPointAuto(true);
    box.inputCodes[0] = 128;
    rig.start();
    model::Tvoie &v1 = V(5);
    v1.Capteur = true;
    v1.UnVolt = 0.01 / v1.pasCode;
    v1.Offset = 0;
    v1.Offset = 5.0 - v1.ValeurDeCode(128);
    v1.Mini = 0;
    v1.Maxi = 10;
  }
};

TEST_F(AutomaticPoint, FirstTickRecordsThePointAtOnce) {
  ASSERT_TRUE(rig.runUntil([&] { return rig.graphe.nbPoints == 1; }, 2000ms));
  EXPECT_NEAR(V(5).valeurs[0], 5.00, 1e-12);
  EXPECT_DOUBLE_EQ(V(4).valeurs[0], V(4).ValeurDeCode(box.binary));
  EXPECT_EQ(rig.view.segments, (std::vector<std::pair<int, int>>{{0, 0}}));
  EXPECT_EQ(rig.view.status, texts::kDecocherAutomatique);
  rig.engine.PointAutoCBClick(false);
  EXPECT_EQ(rig.view.status, texts::kCliquerPourEnregistrer);
}

// A read the box garbles or leaves unanswered is no value: no point is
// taken from it (a false point at the bottom of the range, before), and the
// read-out keeps the last.
TEST_F(AutomaticPoint, AFailedReadRecordsNoPoint) {
  ASSERT_TRUE(rig.runUntil([&] { return rig.graphe.nbPoints == 1; }, 2000ms));
  for (int *echecs : {&box.garbledReads, &box.mutedReads}) {
    *echecs = 1;
    ASSERT_TRUE(rig.runUntil([&] { return *echecs == 0; }, 2000ms));
    rig.run(300ms);
    EXPECT_EQ(rig.graphe.nbPoints, 1);
    EXPECT_NEAR(V(5).valeurLue, 5.00, 1e-12);
  }
  // By hand, right after a garbled read, the point is refused with the word.
  rig.engine.PointAutoCBClick(false);
  box.garbledReads = 1;
  ASSERT_TRUE(rig.runUntil([&] { return box.garbledReads == 0; }, 2000ms));
  rig.engine.EnregistreBtnClick();
  EXPECT_EQ(rig.graphe.nbPoints, 1);
}

struct MoveCase {
  int code;
  double volts;
  bool recorded;
};
void PrintTo(const MoveCase &c, std::ostream *os) {
  *os << "code " << c.code;
}

class AutomaticPointMove : public AutomaticPoint, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(AutomaticPointMove, RecordsOnlyAMoveOfMoreThanOnePercentOfTheRange) {
  ASSERT_TRUE(rig.runUntil([&] { return rig.graphe.nbPoints == 1; }, 2000ms));
  box.inputCodes[0] = GetParam().code;
  ASSERT_TRUE(readV1(GetParam().code));
  ASSERT_NEAR(V(5).valeurCourante, GetParam().volts, 1e-12);
  // The test ran on the tick that read the value.
  EXPECT_EQ(rig.graphe.nbPoints, GetParam().recorded ? 2 : 1);
  if (GetParam().recorded) {
    EXPECT_NEAR(V(5).valeurs[1], GetParam().volts, 1e-12);
  }
}

INSTANTIATE_TEST_SUITE_P(OnATenVoltRange, AutomaticPointMove,
                         ::testing::Values(MoveCase{137, 5.09, false}, MoveCase{139, 5.11, true},
                                           MoveCase{119, 4.91, false}, MoveCase{117, 4.89, true},
                                           MoveCase{128, 5.00, false}));

struct CapacityCase {
  int recorded;
  int after;
};

class Capacity : public PointModes, public ::testing::WithParamInterface<CapacityCase> {};

TEST_P(Capacity, TheArraysHoldAtMost6401Points) {
  rig.graphe.Mode = kModePointParPoint;
  rig.start();
  ASSERT_TRUE(readV1(128));
  rig.graphe.nbPoints = GetParam().recorded;
  rig.engine.EnregistreBtnClick();
  EXPECT_EQ(rig.graphe.nbPoints, GetParam().after);
  if (GetParam().after > GetParam().recorded) {
    const int at = GetParam().recorded;
    EXPECT_DOUBLE_EQ(V(6).valeurs[static_cast<std::size_t>(at)], V(6).ValeurDeCode(200));
    EXPECT_EQ(rig.view.segments, (std::vector<std::pair<int, int>>{{at, at}}));
  } else {
    EXPECT_TRUE(rig.view.segments.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(AtTheEnd, Capacity,
                         ::testing::Values(CapacityCase{6399, 6400}, CapacityCase{6400, 6401},
                                           CapacityCase{6401, 6401}));

// --- Keyboard entry ---------------------------------------------------------

class Keyboard : public PointModes {
 protected:
  void SetUp() override {
    rig.graphe.Mode = kModeClavier;
    rig.graphe.Abscisse = 3;
    V(3).Nom = "x";
    V(3).FixeMini(0);
    V(3).FixeMaxi(100);
    rig.start();
    ASSERT_TRUE(readV1(128));
  }
  bool type(const std::string &text) { return rig.engine.ClavierEditKeyPress(U'\r', text); }
};

struct TypedCase {
  const char *text;
  bool recorded;
  double value;
  bool unreadable = false;
};
void PrintTo(const TypedCase &c, std::ostream *os) {
  *os << '"' << c.text << '"';
}

class KeyboardValue : public Keyboard, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(KeyboardValue, RecordsANumberInRangeWithTheLiveValues) {
  const TypedCase &c = GetParam();
  EXPECT_EQ(type(c.text), c.recorded);
  if (c.recorded) {
    EXPECT_EQ(rig.graphe.nbPoints, 1);
    EXPECT_DOUBLE_EQ(V(3).valeurs[0], c.value);
    EXPECT_DOUBLE_EQ(V(5).valeurs[0], V(5).ValeurDeCode(128));
    EXPECT_DOUBLE_EQ(V(6).valeurs[0], V(6).ValeurDeCode(200));
    EXPECT_TRUE(rig.view.errors.empty());
    EXPECT_EQ(rig.view.clavierClears, 2);
    EXPECT_TRUE(rig.view.enabled(EngineButton::Undo));
  } else {
    EXPECT_EQ(rig.graphe.nbPoints, 0);
    ASSERT_EQ(rig.view.errors.size(), 1u);
    const std::string &e = rig.view.errors[0];
    if (c.unreadable) {
      // What is wrong with the text first, then the range.
      EXPECT_EQ(e.rfind(texts::kNombreMalEcrit, 0), 0u) << e;
      EXPECT_GT(e.size(), std::string(texts::kNombreMalEcrit).size() + 20) << e;
      EXPECT_EQ(e.substr(e.size() - 9), "0< x <100") << e;
    } else {
      EXPECT_EQ(e, "0< x <100");
    }
    EXPECT_EQ(rig.view.clavierClears, 1);  // the edit keeps the text to mend
    // The refused value is not taken for the channel's.
    EXPECT_DOUBLE_EQ(V(3).valeurLue, 0);
  }
  EXPECT_EQ(rig.view.clavierFocus, 2);
}

INSTANTIATE_TEST_SUITE_P(Texts, KeyboardValue,
                         ::testing::Values(TypedCase{"150", false, 0}, TypedCase{"-1", false, 0},
                                           TypedCase{"abc", false, 0, true},
                                           TypedCase{"2*/3", false, 0, true},
                                           TypedCase{"", false, 0, true},
                                           TypedCase{"100", true, 100}, TypedCase{"0", true, 0},
                                           TypedCase{"2,5", true, 2.5},
                                           TypedCase{"2*PI", true, 6.283185307179586}));

// --- Undo -------------------------------------------------------------------

class Undo : public PointModes, public ::testing::WithParamInterface<int> {
 protected:
  // One point with V1 at `code`, typed or clicked as the mode wants.
  void record(int code) {
    box.inputCodes[0] = code;
    ASSERT_TRUE(readV1(code));
    if (GetParam() == kModeClavier)
      ASSERT_TRUE(rig.engine.ClavierEditKeyPress(U'\r', std::to_string(code)));
    else
      rig.engine.EnregistreBtnClick();
  }
};

TEST_P(Undo, RemovesTheLastPointWhichTheNextOneReplaces) {
  rig.graphe.Mode = static_cast<std::uint8_t>(GetParam());
  rig.graphe.Abscisse = GetParam() == kModeClavier ? 3 : 5;
  V(3).FixeMini(0);
  V(3).FixeMaxi(255);
  rig.start();
  EXPECT_FALSE(rig.view.enabled(EngineButton::Undo));
  EXPECT_EQ(rig.view.status2, "0 pts");
  for (int code : {10, 20, 30}) record(code);
  ASSERT_EQ(rig.graphe.nbPoints, 3);
  EXPECT_EQ(rig.view.status2, "3 pts");
  EXPECT_TRUE(rig.view.enabled(EngineButton::Undo));
  rig.engine.UndoBtnClick();
  EXPECT_EQ(rig.graphe.nbPoints, 2);
  EXPECT_EQ(rig.view.status2, "2 pts");
  record(40);
  ASSERT_EQ(rig.graphe.nbPoints, 3);
  const std::vector<double> v1(V(5).valeurs.begin(), V(5).valeurs.begin() + 3);
  EXPECT_EQ(v1, (std::vector<double>{V(5).ValeurDeCode(10), V(5).ValeurDeCode(20),
                                     V(5).ValeurDeCode(40)}));
  for (int i = 0; i < 4; ++i) rig.engine.UndoBtnClick();
  EXPECT_EQ(rig.graphe.nbPoints, 0);
  EXPECT_FALSE(rig.view.enabled(EngineButton::Undo));
  EXPECT_FALSE(rig.view.enabled(EngineButton::Reset));
}

INSTANTIATE_TEST_SUITE_P(KeyboardAndPointByPoint, Undo,
                         ::testing::Values(kModeClavier, kModePointParPoint));

// --- Stop -------------------------------------------------------------------

// Stop clears the read-outs; the modes that read the inputs on every tick
// fill them again at the next tick, a sweep shows the values it stopped on.
class StopReadouts : public PointModes, public ::testing::WithParamInterface<int> {};

TEST_P(StopReadouts, ReadOutsComeBackAfterStop) {
  rig.graphe.Mode = static_cast<std::uint8_t>(GetParam());
  rig.graphe.Abscisse = GetParam() == kModeClavier ? 3 : GetParam() == kModeSortieAnalog ? 2 : 4;
  Sortie().Debut = 10;
  Sortie().Fin = 200;
  Sortie().Deltat = 100;
  box.inputCodes[0] = 64;
  rig.start();
  if (GetParam() == kModeSortieAnalog) rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(readV1(64));
  box.inputCodes[0] = 99;
  const int clears = rig.view.readoutClears;
  rig.view.readouts.clear();
  rig.engine.StopBtnClick(true);
  ASSERT_EQ(rig.view.readoutClears, clears + 1);
  if (GetParam() == kModeSortieAnalog) {
    // Stopped: no more reads, the last values stay shown.
    EXPECT_EQ(rig.view.readouts, (std::vector<int>{5, 6}));
    rig.run(500ms);
    EXPECT_NE(V(5).valeurLue, V(5).ValeurDeCode(99));
  } else {
    EXPECT_TRUE(rig.timer.isEnabled());
    const int shown = rig.view.cursorShows;
    EXPECT_TRUE(readV1(99));
    EXPECT_GT(rig.view.cursorShows, shown);  // the read-outs with the crosses
  }
}

INSTANTIATE_TEST_SUITE_P(PointModesAndSweep, StopReadouts,
                         ::testing::Values(kModeClavier, kModePointParPoint, kModeSortieAnalog));

// --- Analog-output sweep ----------------------------------------------------

struct SweepCase {
  bool inverse;
  Lines wire;
};
void PrintTo(const SweepCase &c, std::ostream *os) {
  *os << (c.inverse ? "downwards" : "upwards");
}

class Sweep : public PointModes, public ::testing::WithParamInterface<SweepCase> {
 protected:
  void SetUp() override {
    rig.graphe.Mode = kModeSortieAnalog;
    Sortie().Debut = 10;
    Sortie().Fin = 12;
    Sortie().Deltat = 100;
    Sortie().Inverse = GetParam().inverse;
    rig.start();
  }
};

TEST_P(Sweep, StepsTheOutputOnceATickAndRecordsAPointAtEachStep) {
  EXPECT_EQ(rig.graphe.nombre, 3);
  EXPECT_EQ(rig.view.highlighted, std::vector<int>{2});
  rig.engine.EnregistreBtnClick();
  EXPECT_EQ(rig.timer.interval(), 100);
  EXPECT_FALSE(rig.view.enabled(EngineButton::Enregistre));
  EXPECT_FALSE(rig.view.enabled(EngineButton::Reset));
  EXPECT_TRUE(rig.view.enabled(EngineButton::Stop));
  EXPECT_EQ(rig.view.gauge, 0);
  std::vector<int> gauges;
  ASSERT_TRUE(rig.runUntil(
      [&] {
        if (gauges.empty() || gauges.back() != rig.view.gauge) gauges.push_back(rig.view.gauge);
        return rig.engine.state() == AcqState::Finished;
      },
      2000ms));
  EXPECT_EQ(gauges, (std::vector<int>{0, 1, 2, 3})) << "the gauge follows the steps";
  EXPECT_EQ(rig.view.gaugeMax, 3);
  // The first code is set when armed and said again at the start: the box,
  // switched off and on meanwhile, would hold 0.
  const Lines armed{GetParam().wire.front()};
  Lines wire = armed;
  wire.insert(wire.end(), GetParam().wire.begin(), GetParam().wire.end());
  EXPECT_EQ(box.heard(), wire);
  EXPECT_EQ(rig.graphe.nbPoints, 3);
  for (int i = 0; i < 3; ++i) {
    const int code = GetParam().inverse ? 12 - i : 10 + i;
    EXPECT_DOUBLE_EQ(V(2).valeurs[static_cast<std::size_t>(i)], V(2).ValeurDeCode(code)) << i;
    EXPECT_DOUBLE_EQ(V(5).valeurs[static_cast<std::size_t>(i)], V(5).ValeurDeCode(128)) << i;
    // The time of the step, for the data table's first column.
    EXPECT_DOUBLE_EQ(V(1).valeurs[static_cast<std::size_t>(i)], i * 0.1) << i;
  }
  EXPECT_TRUE(rig.view.enabled(EngineButton::RegSave));
  EXPECT_TRUE(rig.view.enabled(EngineButton::Enregistre));
  EXPECT_FALSE(rig.view.enabled(EngineButton::Stop));
  EXPECT_FALSE(rig.view.enabled(EngineButton::Undo));
  // Nothing more once it is over.
  rig.run(500ms);
  EXPECT_EQ(box.heard().size(), wire.size());
}

INSTANTIATE_TEST_SUITE_P(BothWays, Sweep,
                         ::testing::Values(SweepCase{false,
                                                     {"XSA 10", "XEA 0", "XEA 1", "XSA 11", "XEA 0",
                                                      "XEA 1", "XSA 12", "XEA 0", "XEA 1"}},
                                           SweepCase{true,
                                                     {"XSA 12", "XEA 0", "XEA 1", "XSA 11", "XEA 0",
                                                      "XEA 1", "XSA 10", "XEA 0", "XEA 1"}}));

// A step whose read the box garbled is kept in its place on the ramp with a
// missing value; the sweep's own times survive a configuration applied
// again (a dialog cancelled, the box found again); and between sweeps the
// box is polled at the point modes' pace, not the last step's.
TEST_P(Sweep, AGarbledStepIsMissingAndTheSweepKeepsItsTimesAndPace) {
  EXPECT_EQ(rig.timer.interval(), kIntervalPointModes);
  Sortie().Deltat = 20;
  rig.engine.ApplyConfiguration();
  box.garbledReads = 1;
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return rig.engine.state() == AcqState::Finished; }, 2000ms));
  ASSERT_EQ(rig.graphe.nbPoints, 3);
  EXPECT_TRUE(std::isnan(V(5).valeurs[0]));
  EXPECT_DOUBLE_EQ(V(5).valeurs[1], V(5).ValeurDeCode(128));
  EXPECT_DOUBLE_EQ(V(2).valeurs[0], V(2).ValeurDeCode(GetParam().inverse ? 12 : 10));
  EXPECT_EQ(rig.timer.interval(), kIntervalPointModes);
  rig.engine.ApplyConfiguration();
  for (int i = 0; i < 3; ++i)
    EXPECT_DOUBLE_EQ(V(1).valeurs[static_cast<std::size_t>(i)], i * 0.02) << i;
  EXPECT_EQ(rig.timer.interval(), kIntervalPointModes);
}

TEST_P(Sweep, ASecondSweepSetsTheFirstCodeAgain) {
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return rig.engine.state() == AcqState::Finished; }, 2000ms));
  const std::size_t before = box.heard().size();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return box.heard().size() == before + 1; }, 50ms));
  EXPECT_EQ(box.heard().back(), GetParam().wire.front());
  EXPECT_EQ(rig.graphe.nbPoints, 0);
}

// The simulated box with EA0 wired to its own output: each point holds the
// code the output had when it was recorded.
class SweepOnSimulatedBox : public ::testing::TestWithParam<bool> {
 protected:
  SweepOnSimulatedBox() : box(ManualClock().now()), rig(box) {
    SignalSpec wired;
    wired.kind = SignalSpec::Kind::Output;
    box.setSignal(0, wired);
  }
  SimulatedBox box;
  EngineRig rig;
};

TEST_P(SweepOnSimulatedBox, EachPointReadsTheOutputOfItsStep) {
  const bool inverse = GetParam();
  model::TsortieAnalogique &sortie = rig.graphe.sortieAnalogique();
  rig.graphe.Mode = kModeSortieAnalog;
  rig.graphe.voie(6).Active = false;
  sortie.Debut = 100;
  sortie.Fin = 104;
  sortie.Deltat = 50;
  sortie.Inverse = inverse;
  rig.start();
  // Armed: the output goes to the first code of the sweep.
  ASSERT_TRUE(rig.runUntil([&] { return box.outputCode() == (inverse ? 104 : 100); }, 500ms));
  EXPECT_TRUE(rig.engine.FormKeypress(U' '));
  ASSERT_TRUE(rig.runUntil([&] { return rig.engine.state() == AcqState::Finished; }, 2000ms));
  ASSERT_EQ(rig.graphe.nbPoints, 5);
  const model::Tvoie &v1 = rig.graphe.voie(5);
  for (int i = 0; i < 5; ++i) {
    const int code = inverse ? 104 - i : 100 + i;
    EXPECT_DOUBLE_EQ(v1.valeurs[static_cast<std::size_t>(i)], v1.ValeurDeCode(code)) << i;
  }
  EXPECT_EQ(box.outputCode(), inverse ? 100 : 104);
}

INSTANTIATE_TEST_SUITE_P(UpAndDown, SweepOnSimulatedBox, ::testing::Bool());

}  // namespace
}  // namespace kvx::device
