// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/trigger_dialog_rules.h"

#include <cmath>

#include "device/configuration_rules.h"
#include "device/timer_tick.h"
#include "model/voie.h"

namespace kvx::device {

TriggerChannels BuildTriggerChannelList(const SlotEntries &slots, int voieSynchro) {
  TriggerChannels t;
  t.voie = voieSynchro;
  for (int slot = kSlotV1; slot <= kSlotV4; ++slot) {
    const ChannelEntry &e = slots[static_cast<std::size_t>(slot)];
    if (!e.active) continue;
    if (slot == voieSynchro) t.list.selection = static_cast<int>(t.list.items.size());
    t.list.items.push_back({ChannelLabel(e.symbole, e.signif), slot});
  }
  // A trigger on an input that is switched off would never fire.
  if (t.list.selection < 0 && !t.list.items.empty()) {
    t.list.selection = 0;
    t.voie = t.list.items.front().slot;
  }
  return t;
}

int TriggerChannelOnOk(int mode, int slotSeuil, int slotBouge, int previous) {
  int slot = 0;
  if (mode == kTriggerSeuil) slot = slotSeuil;
  if (mode == kTriggerBouge) slot = slotBouge;
  return slot > 0 ? slot : previous;
}

std::string ThresholdText(model::Tvoie &voie, int code) {
  voie.valeurCourante = voie.ValeurDeCode(code);
  // The read-out is written at its own scale (mV for a ±50 mV input); the
  // unit must say so.
  const double e = voie.echelleLecture;
  const int p = e > 0 && std::isfinite(e) ? static_cast<int>(std::lround(std::log10(e))) : 0;
  return voie.TexteValeurCourante() + " " + voie.TexteUnite(p);
}

}  // namespace kvx::device
