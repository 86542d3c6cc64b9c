// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/projection.h"

#include <algorithm>

namespace kvx::display {

std::int32_t Projection::Ecran(double valeur) const {
  const double p = position(valeur);
  if (std::isnan(p)) return kHorsEcran;
  const double limite = kPixelLimite;
  return static_cast<std::int32_t>(ArrondiPixel(std::clamp(p, -limite, limite)));
}

Projection ProjectionEntre(double min, double max, int debut, int fin, bool logarithmique) {
  Projection p;
  p.logarithmique = logarithmique;
  const double largeur = max - min;
  p.a = largeur > 0 && std::isfinite(largeur) ? (fin - debut) / largeur : 0;
  p.b = debut - min * p.a;
  if (!std::isfinite(p.b)) p.b = debut;
  return p;
}

}  // namespace kvx::display
