// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the acquisition mode dialog offers and keeps, without its widgets:
// the channels it lists as possible abscissas for a mode, the one it selects,
// and the abscissa that OK stores. The trigger dialog lists its channels with
// the same labels. The dialog maps these lists onto its radio groups.

#include <array>
#include <string>
#include <vector>

namespace kvx::display {
class TgrapheKVX;
}

namespace kvx::device {

// What a list needs of the channel of one graph slot.
struct ChannelEntry {
  bool active = false;
  std::string symbole;  // the channel's `Nom`
  std::string signif;   // what it measures
};
// Graph slots 1 to 9 (index 0 unused).
using SlotEntries = std::array<ChannelEntry, 10>;
SlotEntries EntriesOf(const display::TgrapheKVX &graphe);

// One item of a channel list and the graph slot it stands for.
struct ListItem {
  std::string texte;
  int slot = 0;
};

struct ChoiceList {
  std::vector<ListItem> items;
  int selection = -1;  // no item selected
  bool enabled = true;
  // The slot of the selected item, 0 when none is.
  int SelectedSlot() const;
};

// Items for the channels that are not tied to a mode.
inline constexpr char kLibelleTemps[] = "Temps";
inline constexpr char kLibelleClavier[] = "Clavier";
inline constexpr char kLibelleSortieAnalogique[] = "sortie ana.";

// Short enough for a radio button: the symbol when it says more than the
// meaning, both when they fit together, else the meaning.
std::string ChannelLabel(const std::string &symbole, const std::string &signif);

// The abscissas offered for mode `mode` while the graph still holds
// `graphMode` and `graphAbscissa`. Only a timed scan and point by point let
// the user choose; the other modes have their own abscissa.
ChoiceList BuildAbscissaList(int mode, int graphMode, int graphAbscissa, const SlotEntries &slots);

// The abscissa OK stores for `mode`, given the slot of the selected item
// (0 for none). With nothing selected the previous abscissa stays: applying
// the configuration then checks it against the mode.
int AbscissaOnOk(int mode, int selectedSlot, int previous);

// Half-size of the markers the dialog offers, in pixels.
inline constexpr int kDimPointMin = 0;
inline constexpr int kDimPointMax = 5;

}  // namespace kvx::device
