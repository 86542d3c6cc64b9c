// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/mode_dialog_rules.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/timer_tick.h"

namespace kvx::device {
namespace {

TEST(ChannelLabel, SymbolMeaningOrBothByLength) {
  struct {
    const char *symbole, *signif, *libelle;
  } rows[] = {
      {"T", "température", "T/température"},
      {"Tension1", "U", "Tension1"},
      {"Vitesse", "vitesse du chariot", "vitesse du chariot"},
      {"V1", "", "V1"},
      // Fifteen characters together fit, sixteen do not; counted in
      // characters, not bytes.
      {"abcdefg", "abcdefgh", "abcdefg/abcdefgh"},
      {"abcdefgh", "abcdefgh", "abcdefgh"},
      {"éééééééé", "ééééééé", "éééééééé"},
  };
  for (const auto &r : rows)
    EXPECT_EQ(ChannelLabel(r.symbole, r.signif), r.libelle) << r.symbole << " " << r.signif;
}

TEST(BuildAbscissaList, ItemsSelectionAndStateByMode) {
  struct {
    int mode, graphMode, graphAbscissa;
    std::vector<std::string> items;
    int selection;
    bool enabled;
  } rows[] = {
      // Keyboard, sweep and fork have their own abscissa, shown disabled.
      {kModeClavier, kModeTemps, 1, {"Clavier", "V1", "T/température"}, 0, false},
      {kModeSortieAnalog, kModeTemps, 1, {"sortie ana.", "V1", "T/température"}, 0, false},
      {kModeVeltor, kModeTemps, 1, {"V1", "T/température"}, -1, false},
      {kModeClavier, kModeClavier, 7, {"Clavier", "V1", "T/température"}, 2, false},
      // Time is proposed when entering a timed scan; reopened, the abscissa
      // in use stays selected.
      {kModeTemps, kModePointParPoint, 5, {"Temps", "V1", "T/température"}, 0, true},
      {kModeTemps, kModeTemps, 1, {"Temps", "V1", "T/température"}, 0, true},
      {kModeTemps, kModeTemps, 7, {"Temps", "V1", "T/température"}, 2, true},
      // Entering point by point: the first active channel.
      {kModePointParPoint, kModeTemps, 1, {"V1", "T/température"}, 0, true},
      {kModePointParPoint, kModePointParPoint, 7, {"V1", "T/température"}, 1, true},
      // An abscissa no longer listed leaves nothing selected.
      {kModePointParPoint, kModePointParPoint, 6, {"V1", "T/température"}, -1, true},
  };
  SlotEntries s;
  s[5] = {true, "V1", ""};
  s[6] = {false, "V2", ""};
  s[7] = {true, "T", "température"};
  for (const auto &r : rows) {
    const ChoiceList l = BuildAbscissaList(r.mode, r.graphMode, r.graphAbscissa, s);
    std::vector<std::string> items;
    for (const ListItem &i : l.items) items.push_back(i.texte);
    EXPECT_EQ(items, r.items) << "mode " << r.mode << " from " << r.graphMode;
    EXPECT_EQ(l.selection, r.selection) << "mode " << r.mode << " from " << r.graphMode;
    EXPECT_EQ(l.enabled, r.enabled) << "mode " << r.mode;
  }
}

TEST(AbscissaOnOk, ModeOwnAbscissaOrTheSelectedOne) {
  struct {
    int mode, selected, previous, abscisse;
  } rows[] = {
      {kModeClavier, 6, 5, 3}, {kModeSortieAnalog, 5, 1, 2},  {kModeVeltor, 0, 6, 1},
      {kModeTemps, 7, 1, 7},   {kModePointParPoint, 6, 1, 6}, {kModePointParPoint, 0, 7, 7},
  };
  for (const auto &r : rows)
    EXPECT_EQ(AbscissaOnOk(r.mode, r.selected, r.previous), r.abscisse)
        << "mode " << r.mode << " selected " << r.selected;
}

}  // namespace
}  // namespace kvx::device
