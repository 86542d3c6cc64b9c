// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the analog output dialog keeps, without its widgets: the start and end
// levels of the sweep always at least a few codes apart and inside the
// output's 8-bit scale, the time step between two levels within what the
// timer can pace and a user can wait for, and the texts that show them.

#include <string>

namespace kvx::model {
class TsortieAnalogique;
}

namespace kvx::device {

// A sweep of fewer codes than this shows no curve worth the name.
inline constexpr int kEcartSortieMin = 8;
inline constexpr int kCodeSortieMax = 255;
// The large step of both level bars, in codes.
inline constexpr int kPasScrollSortie = 10;
// The time step of the sweep, in milliseconds: one level every 0.1 s at the
// fastest, every 10 s at the slowest, moved 0.1 s a click.
inline constexpr int kDeltatMin = 100;
inline constexpr int kDeltatMax = 10000;
inline constexpr int kDeltatPas = 100;

struct OutputLevels {
  int debut = 0;
  int fin = kCodeSortieMax;
  bool operator==(const OutputLevels &o) const { return debut == o.debut && fin == o.fin; }
};

// The user moved the start bar: a start too close to the end is pulled back
// below it; when the end leaves no room below, the end moves up instead.
OutputLevels StartMoved(OutputLevels levels);
// The user moved the end bar: an end too close to the start is pushed above
// it; when the start leaves no room above, the start moves down instead.
OutputLevels EndMoved(OutputLevels levels);

// One click of the time step's buttons; a step already outside the limits
// (a hand-edited file) only ever moves back towards them.
int DeltatDown(int deltat);
int DeltatUp(int deltat);

// The step in seconds with 2 decimals and " s" ("0,50 s" on a French desktop).
std::string DeltatText(int deltat);
// The voltage of an output code with its unit prefix ("2.55 V").
std::string OutputLevelText(const model::TsortieAnalogique &sortie, int code);

}  // namespace kvx::device
