// SPDX-License-Identifier: GPL-3.0-or-later
// What the engine tells the window for the recording history: every
// recording when it ends, and every clear before it happens, with the points
// still on the graph; the repetitions of a scan share the number of their run.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "device/acquisition_engine.h"
#include "device/simulated_box.h"
#include "engine_rig.h"
#include "model/sortie_analogique.h"

namespace kvx::device {
namespace {

using namespace std::chrono_literals;
using testing::EngineRig;

// True when `attendus` come in this order among `vus` (others may come between).
::testing::AssertionResult DansLOrdre(const std::vector<std::string> &vus,
                                      const std::vector<std::string> &attendus) {
  std::size_t i = 0;
  for (const auto &v : vus)
    if (i < attendus.size() && v == attendus[i]) ++i;
  if (i == attendus.size()) return ::testing::AssertionSuccess();
  std::string texte;
  for (const auto &v : vus) texte += "[" + v + "] ";
  return ::testing::AssertionFailure() << "missing [" << attendus[i] << "] in " << texte;
}

// The engine on the simulated box, noting the points at each moment.
struct Banc {
  Banc() : box(ManualClock().now()), rig(box) {
    rig.view.points = [this] { return rig.graphe.nbPoints; };
  }
  bool fini() {
    return rig.runUntil([&] { return rig.engine.state() != AcqState::Acquiring; }, 60000ms);
  }

  SimulatedBox box;
  EngineRig rig;
};

TEST(EngineHistorique, EachRecordingEndsAndEachClearIsToldWhileThePointsAreThere) {
  struct Cas {
    const char *nom;
    int mode;
    std::function<void(Banc &)> action;
    std::vector<std::string> attendus;
  };
  const Cas cas[] = {
      {"a scan, then a new duration",
       kModeTemps,
       [](Banc &t) {
         t.rig.engine.EnregistreBtnClick();
         ASSERT_TRUE(t.fini());
         t.rig.engine.DureeEditEnter("2 s");
       },
       {"efface 0", "fin 128", "efface 128"}},
      {"a scan, then another",
       kModeTemps,
       [](Banc &t) {
         t.rig.engine.EnregistreBtnClick();
         ASSERT_TRUE(t.fini());
         t.rig.engine.EnregistreBtnClick();  // live: drawn over the last one
       },
       {"efface 0", "fin 128", "efface 128"}},
      {"points by hand, then RàZ",
       kModePointParPoint,
       [](Banc &t) {
         for (int i = 0; i < 3; ++i) t.rig.engine.EnregistreBtnClick();
         t.rig.engine.ResetBtnClick(true);
       },
       {"efface 3"}},
      {"points by hand, then a dialog drops them",
       kModePointParPoint,
       [](Banc &t) {
         for (int i = 0; i < 2; ++i) t.rig.engine.EnregistreBtnClick();
         t.rig.engine.HaltAcquisition();
         t.rig.graphe.nbPoints = 0;
         t.rig.engine.ApplyConfiguration();
       },
       {"reglages 2", "applique 0"}},
      {"a sweep, then another",
       kModeSortieAnalog,
       [](Banc &t) {
         t.rig.engine.EnregistreBtnClick();
         ASSERT_TRUE(t.fini());
         t.rig.engine.EnregistreBtnClick();
       },
       {"efface 0", "fin 3", "efface 3"}},
  };
  for (const Cas &c : cas) {
    SCOPED_TRACE(c.nom);
    Banc t;
    t.rig.graphe.Mode = static_cast<std::uint8_t>(c.mode);
    t.rig.graphe.Abscisse = c.mode == kModePointParPoint ? 5 : 1;
    auto &sortie = static_cast<model::TsortieAnalogique &>(t.rig.graphe.voie(2));
    sortie.Debut = 10;
    sortie.Fin = 12;
    t.rig.start();
    t.rig.view.moments.clear();
    c.action(t);
    if (HasFatalFailure()) return;
    EXPECT_TRUE(DansLOrdre(t.rig.view.moments, c.attendus));
  }
}

TEST(EngineHistorique, TheRepetitionsOfAFreeRunningScanShareTheirRun) {
  Banc banc;
  EngineRig &rig = banc.rig;
  rig.graphe.ModeSynchro = kTriggerRelaxe;
  rig.graphe.Abscisse = 1;
  std::vector<unsigned> runs;
  rig.view.points = [&] {
    runs.push_back(rig.engine.runNumber());
    return rig.graphe.nbPoints;
  };
  rig.start();  // starts at once, and again after each scan
  runs.clear();
  rig.view.moments.clear();
  ASSERT_TRUE(rig.runUntil(
      [&] { return std::count(rig.view.moments.begin(), rig.view.moments.end(), "fin 128") >= 3; },
      60000ms));
  ASSERT_FALSE(runs.empty());
  EXPECT_EQ(std::count(runs.begin(), runs.end(), runs.front()), static_cast<long>(runs.size()));
  EXPECT_FALSE(rig.engine.monocoup());
  const unsigned avant = rig.engine.runNumber();
  rig.engine.PrepareAcquisition();  // armed anew: a new run
  EXPECT_NE(rig.engine.runNumber(), avant);
}

}  // namespace
}  // namespace kvx::device
