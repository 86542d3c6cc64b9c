// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/configuration_rules.h"

#include "device/timer_tick.h"

namespace kvx::device {

void ActivateForMode(SlotChoice &choice, int mode) {
  choice.active[kSlotTemps] = mode == kModeTemps;
  choice.active[kSlotSortieAnalog] = mode == kModeSortieAnalog;
  choice.active[kSlotClavier] = mode == kModeClavier;
  choice.active[kSlotVeltor] = mode == kModeVeltor;
  // The binary inputs are read only point by point; elsewhere they stay off.
  if (mode != kModePointParPoint) choice.active[kSlotBinaire] = false;
}

void FixAbscissa(SlotChoice &choice, int mode) {
  int &x = choice.abscisse;
  if (x > 9 || x < 1) x = kSlotV1;
  switch (mode) {
    case kModeClavier:
      if (x == kSlotTemps || x == kSlotSortieAnalog) x = kSlotClavier;
      break;
    case kModeTemps:
      if (x == kSlotSortieAnalog || x == kSlotClavier) x = kSlotTemps;
      break;
    case kModePointParPoint:
      if (x == kSlotTemps || x == kSlotSortieAnalog || x == kSlotClavier) x = kSlotV1;
      break;
    case kModeSortieAnalog:
      x = kSlotSortieAnalog;
      break;
    case kModeVeltor:
      x = kSlotTemps;
      for (int slot = 1; slot <= kSlotV4; ++slot) choice.active[slot] = false;
      choice.active[kSlotTemps] = true;
      break;
    default:
      break;
  }
}

void EnsureAbscissaActive(SlotChoice &choice, const std::function<bool(int slot)> &activate) {
  if (choice.active[choice.abscisse]) return;
  if (activate && activate(choice.abscisse)) {
    choice.active[choice.abscisse] = true;
    return;
  }
  for (int slot = 1; slot <= 9; ++slot) {
    if (choice.active[slot]) {
      choice.abscisse = slot;
      return;
    }
  }
  choice.active[kSlotTemps] = true;
  choice.abscisse = kSlotTemps;
}

int CountOrdinates(const SlotChoice &choice) {
  int count = 0;
  for (int slot = 2; slot <= 9; ++slot)
    if (choice.active[slot] && slot != choice.abscisse) ++count;
  return count;
}

int CountAnalogInputs(const SlotChoice &choice) {
  int count = 0;
  for (int slot = kSlotV1; slot <= kSlotV4; ++slot)
    if (choice.active[slot]) ++count;
  return count;
}

int EnsureOrdinate(SlotChoice &choice, int mode) {
  // One analog input alone on the horizontal axis of a timed scan is meant
  // to be plotted against time.
  if (mode == kModeTemps && CountOrdinates(choice) == 0 && CountAnalogInputs(choice) == 1)
    choice.abscisse = kSlotTemps;
  if (CountOrdinates(choice) == 0)
    choice.active[choice.abscisse == kSlotV1 ? kSlotV2 : kSlotV1] = true;
  return CountOrdinates(choice);
}

}  // namespace kvx::device
