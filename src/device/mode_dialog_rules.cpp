// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/mode_dialog_rules.h"

#include "device/configuration_rules.h"
#include "device/timer_tick.h"
#include "display/graphe.h"
#include "model/texte_utf8.h"

namespace kvx::device {

namespace {
// A symbol and its meaning side by side stay below this many characters.
constexpr std::size_t kLongueurLibelle = 16;
}  // namespace

SlotEntries EntriesOf(const display::TgrapheKVX &graphe) {
  SlotEntries e;
  for (int slot = 1; slot <= 9; ++slot) {
    const model::Tvoie &v = graphe.voie(slot);
    e[static_cast<std::size_t>(slot)] = {v.Active, v.Nom, v.Signif};
  }
  return e;
}

int ChoiceList::SelectedSlot() const {
  if (selection < 0 || selection >= static_cast<int>(items.size())) return 0;
  return items[static_cast<std::size_t>(selection)].slot;
}

std::string ChannelLabel(const std::string &symbole, const std::string &signif) {
  // Counted in characters: "température" is as long on screen as its letters.
  const std::size_t ls = model::NombreCaracteres(symbole);
  const std::size_t lm = model::NombreCaracteres(signif);
  if (ls > lm) return symbole;
  if (ls + lm < kLongueurLibelle) return symbole + "/" + signif;
  return signif;
}

ChoiceList BuildAbscissaList(int mode, int graphMode, int graphAbscissa, const SlotEntries &slots) {
  ChoiceList list;
  list.enabled = mode == kModeTemps || mode == kModePointParPoint;
  const bool memeMode = mode == graphMode;
  for (int slot = 1; slot <= 9; ++slot) {
    const int indice = static_cast<int>(list.items.size());
    bool choisi = false;
    if (slot == kSlotClavier) {
      if (mode != kModeClavier) continue;
      list.items.push_back({kLibelleClavier, slot});
      choisi = true;
    } else if (slot == kSlotTemps) {
      if (mode != kModeTemps) continue;
      list.items.push_back({kLibelleTemps, slot});
      choisi = graphMode != kModeTemps;
    } else if (slot == kSlotSortieAnalog) {
      if (mode != kModeSortieAnalog) continue;
      list.items.push_back({kLibelleSortieAnalogique, slot});
      choisi = true;
    } else {
      const ChannelEntry &e = slots[static_cast<std::size_t>(slot)];
      if (!e.active) continue;
      list.items.push_back({ChannelLabel(e.symbole, e.signif), slot});
      // Entering point by point, the first channel listed is the likely one.
      choisi = mode == kModePointParPoint && !memeMode && list.selection < 0;
    }
    // Reopened in the same mode, the abscissa in use stays selected.
    if (memeMode && slot == graphAbscissa) choisi = true;
    if (choisi) list.selection = indice;
  }
  return list;
}

int AbscissaOnOk(int mode, int selectedSlot, int previous) {
  switch (mode) {
    case kModeClavier:
      return kSlotClavier;
    case kModeSortieAnalog:
      return kSlotSortieAnalog;
    case kModeVeltor:
      return kSlotTemps;
    default:
      return selectedSlot > 0 ? selectedSlot : previous;
  }
}

}  // namespace kvx::device
