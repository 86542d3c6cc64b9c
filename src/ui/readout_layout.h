// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

// Sizes of the read-out boxes of the voltmeter column. The window computes
// them on every resize and layout change, so that the values stay as large as
// the column allows; kept apart from the widgets so the arithmetic can be
// checked without a screen.
namespace kvx::ui {

// Slots 4 (binary inputs) to 9 (optical fork) have a read-out box.
inline constexpr int kPremiereBoite = 4;
inline constexpr int kDerniereBoite = 9;
inline constexpr int kNbBoites = kDerniereBoite - kPremiereBoite + 1;

// A font size either in points (the normal layout) or in pixels (the
// full-screen voltmeter, where the value fills the box).
struct TaillePolice {
  int valeur = 0;
  bool enPixels = false;
  bool operator==(const TaillePolice &o) const {
    return valeur == o.valeur && enPixels == o.enPixels;
  }
};

struct EntreeBoite {
  bool visible = false;   // the channel of the slot is shown
  int longueurTitre = 0;  // characters of the box caption
};

struct SortieBoite {
  bool blanche = false;           // white box with channel-coloured texts, else button face
  int hauteur = 0;                // box height in pixels
  TaillePolice titre;             // box caption font ("Calibri")
  TaillePolice valeur;            // read-out font (monospaced)
  bool valeurCourierNew = false;  // "Courier New" rather than "Courier"
  int hautLabel = 0;              // top of the read-out label inside the box
  bool changeLabel = false;       // label font and top are set (hidden boxes keep theirs)
};

using EntreesBoites = std::array<EntreeBoite, kNbBoites>;  // index = slot - 4
using SortiesBoites = std::array<SortieBoite, kNbBoites>;

// Font size step of the normal layout for a window of this height: 10, 12,
// 14, then growing with a tall window.
int TailleNormale(int hauteurFenetre);

// Normal layout: two sizes of box, the larger for the shown channels.
SortiesBoites DispositionNormale(const EntreesBoites &boites, int hauteurFenetre);

// Full-screen voltmeter: the shown analog and optical-fork channels share the
// column height; the value font grows with the room, capped at a quarter of
// the column width so that eight characters still fit. `modeAcq` is the
// acquisition mode (4 = optical fork, where slot 5 is not forced visible).
SortiesBoites DispositionVoltmetre(const EntreesBoites &boites, int largeurPanneau,
                                   int hauteurPanneau, int modeAcq);

}  // namespace kvx::ui
