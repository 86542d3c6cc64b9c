// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// From a value of a curve to a pixel of the screen along one axis:
// pixel = round(a x value + b), or round(a x log10(value) + b) on a
// logarithmic axis. Values that cannot be drawn (NaN, infinite, not above
// zero on a logarithmic axis) give no pixel.

#include <cmath>
#include <cstdint>

namespace kvx::display {

// What `Ecran` answers for a value that cannot be drawn.
constexpr std::int32_t kHorsEcran = -1;
// Positions far outside any screen are held at +-kPixelLimite so that a
// pixel always fits an int32.
constexpr std::int32_t kPixelLimite = 1 << 24;

// The nearest whole number, ties to even (as the screen rounding of the
// program has always been), without a library call: this runs for every
// point of every curve.
inline double ArrondiPixel(double x) {
  constexpr double kDeuxPuissance52 = 4503599627370496.0;
  constexpr double kDecalage = 6755399441055744.0;  // 2^52 + 2^51
  return std::fabs(x) < kDeuxPuissance52 ? (x + kDecalage) - kDecalage : x;
}

struct Projection {
  double a = 1;
  double b = 0;
  bool logarithmique = false;

  // The exact pixel position, NaN when the value cannot be drawn; not
  // rounded, not limited to the screen.
  double position(double valeur) const {
    if (logarithmique) {
      if (!(valeur > 0)) return NAN;
      valeur = std::log10(valeur);
    }
    const double p = a * valeur + b;  // NaN or infinite for NaN, infinite or overflowing values
    return std::isfinite(p) ? p : NAN;
  }

  // The whole pixel nearest to the position, or kHorsEcran.
  std::int32_t Ecran(double valeur) const;
};

// The projection that puts `min` at pixel `debut` and `max` at pixel `fin`
// (fin below debut for a vertical axis, whose pixels grow downwards). A range
// without width maps everything to `debut`.
Projection ProjectionEntre(double min, double max, int debut, int fin, bool logarithmique);

}  // namespace kvx::display
