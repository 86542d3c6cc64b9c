// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the trigger dialog offers and keeps, without its widgets: the analog
// inputs it lists as the channel to watch, the limits of the threshold and of
// the change width, the text of the threshold in the watched channel's
// quantity, and the trigger channel that OK stores.

#include <string>

#include "device/mode_dialog_rules.h"

namespace kvx::model {
class Tvoie;
}

namespace kvx::device {

// The threshold is a converter code kept clear of both ends of the scale, so
// that a crossing can still be seen; RàZ puts it back mid-scale.
inline constexpr int kSeuilMin = 2;
inline constexpr int kSeuilMax = 253;
inline constexpr int kSeuilMilieu = 128;
// How many converter steps an input must move to start a "Bouge" trigger.
inline constexpr int kBougeMin = 1;
inline constexpr int kBougeMax = 16;
// The large step of both scroll bars, in codes.
inline constexpr int kPasScrollSynchro = 32;

// The active analog inputs V1..V4 and the one selected.
struct TriggerChannels {
  ChoiceList list;
  // The trigger channel after activation: the graph's one when it is listed,
  // else the first listed input (unchanged when no input is active).
  int voie = 0;
};

TriggerChannels BuildTriggerChannelList(const SlotEntries &slots, int voieSynchro);

// The trigger channel OK stores: a threshold and a change watch the input
// selected on their own page (0: none); the other modes keep the previous.
int TriggerChannelOnOk(int mode, int slotSeuil, int slotBouge, int previous);

// The threshold `code` in the quantity of `voie`, as its read-out shows it:
// the value, a blank and the unit at the read-out's scale. The value becomes
// the channel's current value, so that the live cross sits on the threshold.
std::string ThresholdText(model::Tvoie &voie, int code);

}  // namespace kvx::device
