// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The colours channels keep (as configuration files store them: 0x00BBGGRR,
// or a system colour with the top byte 0xFF and the colour's index below) as
// the red, green and blue the screen shows. Used by the graph for its curves
// and by the window for the read-outs in each channel's colour.

#include <cstdint>

#include "display/canvas.h"

namespace kvx::display {

// A few system colours the program names, with the top byte 0xFF.
inline constexpr std::int32_t kCouleurSysteme = static_cast<std::int32_t>(0xFF000000u);
inline constexpr std::int32_t kCouleurTitreActif = kCouleurSysteme | 2;  // active caption
inline constexpr std::int32_t kCouleurFenetre = kCouleurSysteme | 5;     // window background
inline constexpr std::int32_t kCouleurTexteFenetre = kCouleurSysteme | 8;
inline constexpr std::int32_t kCouleurFaceBouton = kCouleurSysteme | 15;

// The colour shown for a stored colour. System colours take the classic
// desktop values (the program has no desktop theme to ask); an unknown
// system colour shows black.
Rgb CouleurRgb(std::int32_t couleur);

// The colour a curve is drawn in: its own, unless that would vanish on the
// white graph (white or the window colour), then the active caption colour.
Rgb CouleurCourbe(std::int32_t couleur);

}  // namespace kvx::display
