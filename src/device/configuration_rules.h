// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which channels take part in an acquisition of each mode, and which one is
// on the horizontal axis. Applying a configuration runs these rules after
// every dialog, so a mode change never leaves a graph without an abscissa or
// without a curve. They work on the slots' active flags alone and are tested
// on their own; the engine applies the result to the channels.

#include <array>
#include <functional>

namespace kvx::device {

// Active flags of the graph slots 1 to 9 (index 0 unused) and the abscissa.
struct SlotChoice {
  std::array<bool, 10> active{};
  int abscisse = 5;
};

// Slots of the graph (the same numbers as the channel model's).
inline constexpr int kSlotTemps = 1;
inline constexpr int kSlotSortieAnalog = 2;
inline constexpr int kSlotClavier = 3;
inline constexpr int kSlotBinaire = 4;
inline constexpr int kSlotV1 = 5;
inline constexpr int kSlotV2 = 6;
inline constexpr int kSlotV4 = 8;
inline constexpr int kSlotVeltor = 9;

// Step 1: the channels that belong to one mode only follow the mode.
void ActivateForMode(SlotChoice &choice, int mode);

// Step 2: the abscissa the mode allows, from the one chosen in the mode
// dialog. In optical-fork mode every slot 1 to 8 but time is switched off.
void FixAbscissa(SlotChoice &choice, int mode);

// Step 3: an abscissa that is off is either switched on (`activate` answers
// the user's Yes) or replaced by the first active slot, or by time.
void EnsureAbscissaActive(SlotChoice &choice, const std::function<bool(int slot)> &activate);

// Step 4: a graph needs at least one curve. Returns the number of ordinate
// curves afterwards (active slots 2 to 9 other than the abscissa).
int EnsureOrdinate(SlotChoice &choice, int mode);

int CountOrdinates(const SlotChoice &choice);
int CountAnalogInputs(const SlotChoice &choice);

}  // namespace kvx::device
