// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the two reading cursors read off the recorded curves: the abscissa of
// each cursor, the value of every visible curve at its nearest recorded
// point, the differences between B and A and the slope between them, as the
// texts of the small panel beside the graph (each in its curve's unit, with
// the prefixes of the window's read-outs).

#include <array>
#include <string>
#include <vector>

#include "display/vue_graphe.h"

namespace kvx::display {

class TgrapheKVX;

// The recorded point whose abscissa lies nearest the pixel column `px` on
// the graph as last drawn, or -1 when no point has a drawable abscissa.
int PointLePlusProche(const TgrapheKVX &g, double px);

// The point nearest point `i` along the abscissa at which curve `slot` has a
// value (a NaN gap takes the point beside it), or -1.
int PointDeLaCourbe(const TgrapheKVX &g, int slot, int i);

struct LectureCourbe {
  int slot = 0;
  std::string nom;
  std::array<int, 2> point{-1, -1};  // the recorded point read at A and at B
  std::array<double, 2> valeur{};    // its value (NaN when none)
  double delta = 0;                  // value at B - value at A
  double pente = 0;                  // delta / (abscissa at B - abscissa at A)
};

struct LectureCurseurs {
  std::array<bool, 2> place{false, false};
  std::array<double, 2> abscisse{};
  double deltaX = 0;
  std::vector<LectureCourbe> courbes;
};

LectureCurseurs LitCurseurs(const TgrapheKVX &g);

// The panel's table, row by row: a heading ("", "A", "B", and "Δ", "Δ/Δt"
// when both are placed), the abscissa's row, then a row a curve (its name,
// its value at each cursor, its change and its slope). One row a quantity
// keeps eight curves within a screen. Empty when no cursor is placed.
std::vector<std::vector<std::string>> TableauLectures(const TgrapheKVX &g,
                                                      const LectureCurseurs &l);

}  // namespace kvx::display
