// SPDX-License-Identifier: GPL-3.0-or-later
// Whole acquisitions from the simulated box: the values on the graph are the
// box's samples converted by each channel, in every form of the command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/acquisition_engine.h"
#include "device/engine_texts.h"
#include "device/simulated_box.h"
#include "engine_rig.h"
#include "model/voie.h"

namespace kvx::device {
namespace {

using namespace std::chrono_literals;
using testing::EngineRig;

SignalSpec Wave(SignalSpec::Kind kind, double frequency) {
  SignalSpec s;
  s.kind = kind;
  s.amplitude = 100;
  s.offset = 128;
  s.frequency = frequency;
  return s;
}

class EngineSimulatedBox : public ::testing::Test {
 protected:
  EngineSimulatedBox() : box(ManualClock().now()), rig(box) {
    box.setSignal(0, Wave(SignalSpec::Kind::Sine, 3));
    box.setSignal(1, Wave(SignalSpec::Kind::Triangle, 2));
    box.setSignal(2, Wave(SignalSpec::Kind::Square, 4));
    box.setSignal(4, Wave(SignalSpec::Kind::Ramp, 1));
    box.setSignal(5, Wave(SignalSpec::Kind::Sine, 1));
    box.setSignal(6, Wave(SignalSpec::Kind::Triangle, 5));
    rig.graphe.Abscisse = 1;
  }
  model::Tvoie &V(int slot) { return rig.graphe.voie(slot); }
  // Only these box inputs, in slots 5 onwards.
  void inputs(const std::vector<int> &numbers) {
    for (int slot = 5; slot <= 8; ++slot) V(slot).Active = false;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      V(5 + static_cast<int>(i)).Active = true;
      V(5 + static_cast<int>(i)).ChoisitEntree(numbers[i]);
    }
  }
  void acquire() {
    rig.engine.EnregistreBtnClick();
    ASSERT_TRUE(rig.runUntil([&] { return rig.engine.state() != AcqState::Acquiring; }, 60000ms));
    ASSERT_EQ(rig.graphe.nbPoints, rig.graphe.nombre);
  }
  double code(int slot, int raw) { return V(slot).ValeurDeCode(box.memoryCode(raw)); }
  double mean(int slot, int a, int b) { return (code(slot, a) + code(slot, b)) / 2; }

  SimulatedBox box;
  EngineRig rig;
};

TEST_F(EngineSimulatedBox, DefaultsGiveTheSignalsInVolts) {
  rig.start();
  acquire();
  for (int i = 0; i < 128; ++i) {
    ASSERT_DOUBLE_EQ(V(5).valeurs[i], code(5, 2 * i)) << i;
    if (i > 0) {
      ASSERT_DOUBLE_EQ(V(6).valeurs[i], mean(6, 2 * i - 1, 2 * i + 1)) << i;
    }
  }
  EXPECT_DOUBLE_EQ(V(6).valeurs[0], (3 * code(6, 1) - code(6, 3)) / 2);
  // A sine of 100 codes around mid-scale, on a +-2.5 V range.
  double lo = 1e9, hi = -1e9;
  for (int i = 0; i < 128; ++i) {
    lo = std::min(lo, V(5).valeurs[i]);
    hi = std::max(hi, V(5).valeurs[i]);
  }
  EXPECT_NEAR(hi, V(5).ValeurDeCode(228), 0.05);
  EXPECT_NEAR(lo, V(5).ValeurDeCode(28), 0.05);
}

TEST_F(EngineSimulatedBox, FastFormKeepsEveryRthSample) {
  inputs({2});
  rig.start();
  rig.engine.NbreEditEnter("1000");
  rig.engine.DureeEditEnter("0.2");
  ASSERT_EQ(rig.engine.subMode(), SubMode::Fast);
  acquire();
  for (int i = 0; i < rig.graphe.nombre; ++i)
    ASSERT_DOUBLE_EQ(V(5).valeurs[i], code(5, 4 * i)) << i;
}

TEST_F(EngineSimulatedBox, OneInputTakesEverySample) {
  inputs({6});
  rig.start();
  ASSERT_EQ(rig.engine.subMode(), SubMode::OneInput);
  acquire();
  for (int i = 0; i < 128; ++i) ASSERT_DOUBLE_EQ(V(5).valeurs[i], code(5, i)) << i;
}

TEST_F(EngineSimulatedBox, FourInputsOfEachHalfFindTheirPlace) {
  for (const auto &set : {std::vector<int>{0, 1, 2}, std::vector<int>{4, 5, 6, 7}}) {
    inputs(set);
    rig.start();
    ASSERT_EQ(rig.engine.subMode(), set[0] < 4 ? SubMode::FourLow : SubMode::FourHigh);
    acquire();
    for (std::size_t c = 0; c < set.size(); ++c)
      for (int i = 0; i < 128; ++i)
        ASSERT_DOUBLE_EQ(V(5 + static_cast<int>(c)).valeurs[i],
                         code(5 + static_cast<int>(c), 4 * i + set[c] % 4))
            << "input " << set[c] << " point " << i;
  }
}

TEST_F(EngineSimulatedBox, EightInputsInterpolateTheLateHalf) {
  inputs({0, 5, 2});
  rig.start();
  ASSERT_EQ(rig.engine.subMode(), SubMode::Eight);
  acquire();
  for (int i = 1; i < 128; ++i) {
    ASSERT_DOUBLE_EQ(V(5).valeurs[i], code(5, 8 * i)) << i;
    ASSERT_DOUBLE_EQ(V(6).valeurs[i], mean(6, 8 * i - 3, 8 * i + 5)) << i;
    ASSERT_DOUBLE_EQ(V(7).valeurs[i], code(7, 8 * i + 2)) << i;
  }
  EXPECT_DOUBLE_EQ(V(6).valeurs[0], (3 * code(6, 5) - code(6, 13)) / 2);
}

TEST_F(EngineSimulatedBox, EdgeTriggerWaitsForTheEdgeThenRepeats) {
  BinarySpec square;
  square.kind = BinarySpec::Kind::Square;
  square.frequency = 1;
  box.setBinary(0, square);
  rig.graphe.ModeSynchro = kTriggerFront;
  rig.start();  // "Front" arms at once; the box waits for the edge
  EXPECT_EQ(rig.engine.startCommand(), "XSEAP 0");
  EXPECT_EQ(rig.view.status, texts::kAttenteFront);
  ASSERT_TRUE(rig.runUntil([&] { return rig.graphe.nbPoints == 128; }, 5000ms));
  EXPECT_FALSE(rig.engine.live());
  EXPECT_EQ(rig.engine.state(), AcqState::Acquiring);  // the next one is on its way
}

}  // namespace
}  // namespace kvx::device
