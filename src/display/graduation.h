// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the graduations of an axis fall and how their labels read: a step of
// 1, 2 or 5 times a power of ten (or a clock step for long times in seconds),
// the first graduation, the engineering scale by which the labels are divided
// and their number of significant digits.

#include <string>

namespace kvx::display {

// A range the axis can be drawn with: finite, lower bound below the upper
// bound by a width that a double can still divide into graduations.
struct Plage {
  double min = 0;
  double max = 1;
  double largeur() const { return max - min; }
};

// Repairs what a channel can hold but an axis cannot show: NaN or infinite
// bounds, bounds the wrong way round, equal bounds, bounds so large their
// difference overflows, a width lost in the rounding of the bounds.
Plage PlageAffichable(double min, double max);

struct Graduation {
  double pas = 1;            // step between graduations
  double premier = 0;        // value of the first graduation at or above min
  double echelle = 1;        // labels show value / echelle; 10^(3q)
  int chiffres = 3;          // significant digits of the labels
  bool formatTemps = false;  // labels are clock times
};

// The graduation of an axis from min to max (decade numbers on a logarithmic
// axis). `secondes`: the curve's unit is exactly "s" (long times then read as
// clock times). `dense`: there is room for up to ten intervals instead of
// five. The range is first made drawable with PlageAffichable.
Graduation ChoisitGraduation(double min, double max, bool secondes, bool logarithmique, bool dense);

// The number of graduations v = premier + i * pas with v < max: the axes
// loop over these, never more than kMaxGraduations.
int NombreGraduations(const Graduation &g, double max);
constexpr int kMaxGraduations = 200;

// A clock-time label for a graduation in seconds: "0:00", "1:30", "12:00"
// (hours:minutes) below a day, "2j", "1j 06:00" beyond. Negative times get a
// leading "-".
std::string TexteHorloge(double secondes);

}  // namespace kvx::display
