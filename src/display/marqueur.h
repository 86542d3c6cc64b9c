// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The five point markers a curve can carry, by the channel's marker style:
// 0 "Croix", 1 "Croix diag.", 2 "Cercle", 3 "Carré", 4 "Losange". The pen and
// brush in force draw them (filled shapes take the brush).

#include <cstdint>

#include "display/canvas.h"

namespace kvx::display {

constexpr int kNombreMotifs = 5;
// A marker half-size beyond this is a damaged setting, not a choice: the
// dialog offers 0 to 5.
constexpr int kDimPointMax = 32;

// Draws the marker of style `motif` (an unknown style draws "Croix") centred
// on `centre`, with half-size `dim` pixels (held to 0 .. kDimPointMax).
void DessineMarqueur(Canvas &canvas, std::uint8_t motif, Point centre, int dim);

}  // namespace kvx::display
