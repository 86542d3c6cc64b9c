// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/trigger_dialog_rules.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/timer_tick.h"
#include "model/masse.h"
#include "model/separateur_decimal.h"
#include "model/voie.h"

namespace kvx::device {
namespace {

TEST(BuildTriggerChannelList, ActiveInputsAndTheTriggerChannel) {
  struct {
    std::vector<int> actives;
    int voie;
    std::vector<int> slots;
    int selection, apres;
  } rows[] = {
      {{5, 6, 7, 8}, 7, {5, 6, 7, 8}, 2, 7},
      // The graph's channel is off: the first listed input takes its place.
      {{6, 8}, 5, {6, 8}, 0, 6},
      // Only V1..V4 can start a scan; with none the channel stays.
      {{4, 6, 9}, 6, {6}, 0, 6},
      {{}, 7, {}, -1, 7},
  };
  for (const auto &r : rows) {
    SlotEntries s;
    for (int slot : r.actives) s[slot].active = true;
    const TriggerChannels t = BuildTriggerChannelList(s, r.voie);
    std::vector<int> slots;
    for (const ListItem &i : t.list.items) slots.push_back(i.slot);
    EXPECT_EQ(slots, r.slots) << "voie " << r.voie;
    EXPECT_EQ(t.list.selection, r.selection) << "voie " << r.voie;
    EXPECT_EQ(t.voie, r.apres) << "voie " << r.voie;
  }
}

TEST(TriggerChannelOnOk, OnlyThresholdAndChangeChooseTheChannel) {
  struct {
    int mode, seuil, bouge, previous, voie;
  } rows[] = {
      {kTriggerSeuil, 6, 7, 5, 6},  {kTriggerBouge, 6, 7, 5, 7},   {kTriggerFront, 6, 7, 5, 5},
      {kTriggerRelaxe, 6, 7, 8, 8}, {kTriggerClavier, 6, 7, 5, 5}, {kTriggerSeuil, 0, 7, 8, 8},
  };
  for (const auto &r : rows)
    EXPECT_EQ(TriggerChannelOnOk(r.mode, r.seuil, r.bouge, r.previous), r.voie)
        << "mode " << r.mode;
}

TEST(ThresholdText, ValueOfTheCodeInTheChannelUnitAtItsScale) {
  const bool masse = model::Masse();
  model::FixeMasse(true);
  const std::string sep(1, model::SeparateurDecimal());
  struct {
    int entree, code;
    std::string texte;
    double valeur;
  } rows[] = {
      {0, 255, " 2" + sep + "500 V", 2.5},
      {0, 0, "-2" + sep + "500 V", -2.5},
      // A ±50 mV input reads in millivolts.
      {4, 255, " 50" + sep + "00 mV", 0.05},
  };
  for (const auto &r : rows) {
    model::Tvoie v(5);
    v.ChoisitEntree(r.entree);
    EXPECT_EQ(ThresholdText(v, r.code), r.texte) << "EA" << r.entree << " code " << r.code;
    EXPECT_DOUBLE_EQ(v.valeurCourante, r.valeur);
  }
  model::FixeMasse(masse);
}

}  // namespace
}  // namespace kvx::device
