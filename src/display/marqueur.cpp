// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/marqueur.h"

#include <algorithm>

namespace kvx::display {

void DessineMarqueur(Canvas &canvas, std::uint8_t motif, Point c, int dim) {
  const int s = std::clamp(dim, 0, kDimPointMax);
  switch (motif) {
    case 1:  // "Croix diag."
      canvas.line({c.x - s, c.y - s}, {c.x + s, c.y + s});
      canvas.line({c.x + s, c.y - s}, {c.x - s, c.y + s});
      break;
    case 2:  // "Cercle"
      canvas.ellipse({c.x - s, c.y - s, c.x + s + 1, c.y + s + 1});
      break;
    case 3:  // "Carré", centred on the point like the circle
      canvas.rectangle({c.x - s, c.y - s, c.x + s + 1, c.y + s + 1});
      break;
    case 4: {  // "Losange"
      const Point losange[5] = {
          {c.x - s, c.y}, {c.x, c.y - s}, {c.x + s, c.y}, {c.x, c.y + s}, {c.x - s, c.y}};
      canvas.polyline(losange, 5);
      break;
    }
    default:  // 0 "Croix", and any style a damaged file may hold
      canvas.line({c.x - s, c.y}, {c.x + s, c.y});
      canvas.line({c.x, c.y - s}, {c.x, c.y + s});
      break;
  }
}

}  // namespace kvx::display
