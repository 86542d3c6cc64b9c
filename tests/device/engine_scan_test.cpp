// SPDX-License-Identifier: GPL-3.0-or-later
// The scan panel and applying a configuration, through the engine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counting_box.h"
#include "device/acquisition_engine.h"
#include "device/engine_texts.h"
#include "engine_rig.h"
#include "model/separateur_decimal.h"
#include "model/voie.h"

namespace kvx::device {
namespace {

using namespace std::chrono_literals;
using testing::CountingBox;
using testing::EngineRig;

class EngineScan : public ::testing::Test {
 protected:
  EngineScan() : rig(box) { rig.graphe.Abscisse = 1; }
  model::Tvoie &V(int slot) { return rig.graphe.voie(slot); }
  void oneInput() { V(6).Active = false; }
  std::string dec(std::string text) {
    for (char &c : text)
      if (c == '.') c = model::SeparateurDecimal();
    return text;
  }
  CountingBox box;
  EngineRig rig;
};

TEST_F(EngineScan, ShortOneInputScanRunsOnTheFastForm) {
  oneInput();
  rig.start();
  rig.engine.NbreEditEnter("1000");
  rig.engine.DureeEditEnter("0.2");
  // 2E-04 s is 3.84 fast steps: 4 steps, so 960 points fill the 0.2 s.
  EXPECT_EQ(rig.graphe.nombre, 960);
  EXPECT_EQ(rig.engine.subMode(), SubMode::Fast);
  EXPECT_EQ(rig.engine.ratio(), 4);
  EXPECT_EQ(rig.engine.acquisitionCommand(), "XPEA0 0,121");
  EXPECT_DOUBLE_EQ(rig.engine.dt(), 4 * kFastStep);
  EXPECT_DOUBLE_EQ(V(1).Maxi, 960 * 4 * kFastStep);
}

TEST_F(EngineScan, PointCountIsLimitedByTheInputsSampled) {
  rig.start();
  rig.engine.DureeEditEnter("10");
  rig.engine.NbreEditEnter("6400");
  EXPECT_EQ(rig.graphe.nombre, 3200);  // two inputs
  EXPECT_EQ(rig.view.scan.nombre, "3200");
  rig.engine.NbreEditEnter("3");
  EXPECT_EQ(rig.graphe.nombre, 8);
  rig.engine.NombreDownClick();
  EXPECT_EQ(rig.graphe.nombre, 8);
  rig.engine.NombreUpClick();
  EXPECT_EQ(rig.graphe.nombre, 16);
}

// What the user typed, what the box's grid made of it and why, in the status
// line; nothing when the scan is as typed.
TEST_F(EngineScan, AScanTheGridChangesSaysHowAndWhy) {
  const struct {
    bool oneInput;
    const char *duree;  // typed first, then the count when there is one
    const char *nombre;
    const char *status;  // "" when the scan is as typed
  } cases[] = {
      {false, "1.024", nullptr, ""},
      {false, "1", nullptr,
       "Durée demandée 1 s : 1.032 s et 129 points, car le boîtier compte la période "
       "d'échantillonnage par pas de 500 µs"},
      {false, "30", nullptr,
       "Durée demandée 30 s : 29.44 s et 128 points, car le boîtier compte la période "
       "d'échantillonnage par pas de 5 ms"},
      {false, "1", "6400",
       "Nombre demandé 6400 : 3200 points sur 3.2 s, car le boîtier garde au plus 3200 points "
       "pour ces entrées et la période d'échantillonnage ne descend pas sous 1 ms"},
      {false, "1", "3000",
       "Nombre demandé 3000 : 3000 points sur 3 s, car la période d'échantillonnage ne descend "
       "pas sous 1 ms"},
      {false, "1", "3", "Nombre demandé 3 : 8 points sur 1 s, car il faut au moins 8 points"},
      {true, "0.00001", nullptr,
       "Durée demandée 10 µs : 416.5 µs et 8 points, car la durée la plus courte est 100 µs et la "
       "période d'échantillonnage ne descend pas sous 52.06 µs"},
      {false, "2000", nullptr,
       "Durée demandée 0:33:20 : 0:33:15 et 133 points, car la période d'échantillonnage est un "
       "nombre entier de secondes"},
      {true, "150", nullptr, ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.duree);
    EngineRig r(box);
    r.graphe.Abscisse = 1;
    r.graphe.voie(6).Active = !c.oneInput;
    r.start();
    r.view.status.clear();
    r.engine.DureeEditEnter(dec(c.duree));
    if (c.nombre != nullptr) {
      r.view.status.clear();
      r.engine.NbreEditEnter(c.nombre);
    }
    if (*c.status == 0)
      EXPECT_EQ(r.view.status.find(" demandé"), std::string::npos) << r.view.status;
    else
      EXPECT_EQ(r.view.status, dec(c.status));
  }
}

TEST_F(EngineScan, TextThatIsNoNumberOrNoDurationChangesNothing) {
  rig.start();
  const int n = rig.graphe.nombre;
  const double d = V(1).Maxi;
  rig.engine.NbreEditEnter("");
  rig.engine.NbreEditExit("%'");
  rig.engine.DureeEditEnter("abc");
  rig.engine.DureeEditExit("");
  EXPECT_EQ(rig.graphe.nombre, n);
  EXPECT_DOUBLE_EQ(V(1).Maxi, d);
}

TEST_F(EngineScan, LongestPeriodShowsMini) {
  oneInput();
  rig.start();
  rig.engine.NbreEditEnter("100");
  rig.engine.DureeEditEnter("20000");
  // 200 s a point becomes 4 minutes, then the 16 s the box can count.
  EXPECT_DOUBLE_EQ(rig.engine.dt(), 16);
  EXPECT_TRUE(rig.engine.limitMini());
  EXPECT_EQ(rig.view.scan.minmax, "Mini");
  EXPECT_EQ(rig.engine.acquisitionCommand(), "XPEA1 0,40,64,3");
  EXPECT_EQ(rig.view.scan.deltat, "δt=16 s");
  EXPECT_EQ(rig.view.scan.fech, dec("Fech=62.5 mHz"));
}

TEST_F(EngineScan, ShortestPeriodShowsMaxiForSeveralInputsToo) {
  rig.start();
  rig.engine.DureeEditEnter("0.01");
  EXPECT_DOUBLE_EQ(rig.engine.dt(), 0.001);
  EXPECT_TRUE(rig.engine.limitMaxi());
  EXPECT_EQ(rig.view.scan.minmax, "Maxi");
  rig.engine.DureeEditEnter("1");
  EXPECT_EQ(rig.view.scan.minmax, "");
}

TEST_F(EngineScan, ShortestDurationStillGivesEightPointsTheBoxCanTake) {
  oneInput();
  rig.start();
  rig.engine.DureeEditEnter("1µs");
  // Eight fast steps is the shortest one input can be scanned in.
  EXPECT_EQ(rig.graphe.nombre, 8);
  EXPECT_EQ(rig.engine.ratio(), 1);
  EXPECT_DOUBLE_EQ(rig.engine.dt(), kFastStep);
  EXPECT_DOUBLE_EQ(V(1).Maxi, 8 * kFastStep);
}

TEST_F(EngineScan, DurationSpinWalksOneTwoFive) {
  oneInput();
  rig.start();
  rig.engine.NbreEditEnter("100");
  rig.engine.DureeEditEnter("1");
  rig.engine.DureeSpinUpClick();
  EXPECT_DOUBLE_EQ(V(1).Maxi, 2);
  rig.engine.DureeSpinUpClick();
  EXPECT_DOUBLE_EQ(V(1).Maxi, 5);
  rig.engine.DureeSpinDownClick();
  rig.engine.DureeSpinDownClick();
  rig.engine.DureeSpinDownClick();
  EXPECT_DOUBLE_EQ(V(1).Maxi, 0.5);
  EXPECT_EQ(rig.view.scan.duree, dec("500 ms"));
}

TEST_F(EngineScan, ChangingTheScanForgetsTheResult) {
  rig.start();
  rig.engine.EnregistreBtnClick();
  ASSERT_TRUE(rig.runUntil([&] { return rig.graphe.nbPoints == 128; }, 3000ms));
  rig.engine.NombreUpClick();
  EXPECT_EQ(rig.graphe.nbPoints, 0);
  EXPECT_FALSE(rig.view.enabled(EngineButton::RegSave));
}

TEST_F(EngineScan, DurationChangedDuringAFetchDrainsFirst) {
  oneInput();
  V(1).Maxi = 100;
  rig.start();
  rig.engine.EnregistreBtnClick();
  rig.run(1000ms);
  rig.engine.DureeEditEnter("50");
  EXPECT_EQ(rig.engine.state(), AcqState::Waiting);
  EXPECT_FALSE(rig.link.hasDataAvailable());
}

TEST_F(EngineScan, LongScanWithoutSingleShotIsMadeSingleShot) {
  rig.graphe.ModeSynchro = kTriggerFront;
  V(1).Maxi = 30;
  rig.start();
  EXPECT_EQ(rig.view.errors, std::vector<std::string>{texts::kMonocoupObligatoire});
  EXPECT_TRUE(rig.engine.monocoup());
  EXPECT_TRUE(rig.view.monocoupChecked);
  rig.engine.ApplyConfiguration();
  EXPECT_EQ(rig.view.errors.size(), 1u);  // once: now it is single-shot
}

TEST_F(EngineScan, FreeRunningClearsSingleShotAndTheKeyTriggerSetsIt) {
  rig.graphe.ModeSynchro = kTriggerRelaxe;
  rig.engine.MonocoupCBClick(true);
  rig.start();
  EXPECT_FALSE(rig.engine.monocoup());
  rig.engine.StopBtnClick(false);
  rig.graphe.ModeSynchro = kTriggerClavier;
  rig.engine.ApplyConfiguration();
  EXPECT_TRUE(rig.engine.monocoup());
  EXPECT_TRUE(rig.view.errors.empty());
}

TEST_F(EngineScan, AnInactiveAbscissaIsOfferedFirst) {
  rig.graphe.Abscisse = 7;
  rig.view.answer = true;
  rig.start();
  EXPECT_EQ(rig.view.questions, std::vector<std::string>{"Activer la voie : V3"});
  // V3 is on now; setting N moved it forward to the first free analog slot.
  EXPECT_TRUE(V(7).Active);
  EXPECT_EQ(rig.graphe.voie(rig.graphe.Abscisse).Nom, "V3");
  EXPECT_EQ(rig.graphe.nbCourbesY, 2);
}

TEST_F(EngineScan, NoToTheQuestionTakesTheFirstActiveSlot) {
  rig.graphe.Abscisse = 7;
  rig.view.answer = false;
  rig.start();
  EXPECT_EQ(rig.graphe.Abscisse, 1);
  EXPECT_EQ(rig.graphe.nbCourbesY, 2);
}

TEST_F(EngineScan, AnInputOnTheAxisFollowsItsChannelWhenInputsMoveForward) {
  V(5).Active = false;
  V(7).Active = true;
  rig.graphe.Abscisse = 7;
  rig.start();
  // V2 and V3 move to slots 5 and 6; V3 stays the abscissa.
  EXPECT_EQ(rig.graphe.voie(5).Nom, "V2");
  EXPECT_EQ(rig.graphe.Abscisse, 6);
  EXPECT_EQ(rig.graphe.voie(6).Nom, "V3");
  EXPECT_EQ(rig.engine.acquisitionCommand().rfind("XPEA2 1,2,", 0), 0u);
}

TEST_F(EngineScan, TimerFollowsTheModeAndThePeriod) {
  rig.start();
  EXPECT_EQ(rig.timer.interval(), 220);
  rig.graphe.Mode = kModePointParPoint;
  rig.engine.ApplyConfiguration();
  EXPECT_EQ(rig.timer.interval(), 110);
  rig.graphe.Mode = kModeVeltor;
  rig.engine.ApplyConfiguration();
  EXPECT_EQ(rig.timer.interval(), 550);
  EXPECT_EQ(rig.view.gaugeMax, 1024);
}

}  // namespace
}  // namespace kvx::device
