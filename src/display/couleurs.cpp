// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/couleurs.h"

#include <array>

namespace kvx::display {

namespace {

// Classic desktop values of the system colours 0..30.
constexpr std::array<Rgb, 31> kSysteme{{
    {200, 200, 200},  // 0 scroll bar
    {0, 128, 128},    // 1 background
    {0, 84, 166},     // 2 active caption
    {128, 128, 128},  // 3 inactive caption
    {212, 208, 200},  // 4 menu
    {255, 255, 255},  // 5 window
    {0, 0, 0},        // 6 window frame
    {0, 0, 0},        // 7 menu text
    {0, 0, 0},        // 8 window text
    {255, 255, 255},  // 9 caption text
    {212, 208, 200},  // 10 active border
    {212, 208, 200},  // 11 inactive border
    {128, 128, 128},  // 12 application workspace
    {10, 36, 106},    // 13 highlight
    {255, 255, 255},  // 14 highlight text
    {212, 208, 200},  // 15 button face
    {128, 128, 128},  // 16 button shadow
    {128, 128, 128},  // 17 grey text
    {0, 0, 0},        // 18 button text
    {212, 208, 200},  // 19 inactive caption text
    {255, 255, 255},  // 20 button highlight
    {64, 64, 64},     // 21 3D dark shadow
    {212, 208, 200},  // 22 3D light
    {0, 0, 0},        // 23 info text
    {255, 255, 225},  // 24 info background
    {181, 181, 181},  // 25
    {0, 0, 128},      // 26 hot light
    {166, 202, 240},  // 27 gradient active caption
    {192, 192, 192},  // 28 gradient inactive caption
    {49, 106, 197},   // 29 menu highlight
    {236, 233, 216},  // 30 menu bar
}};

constexpr Rgb kBlanc{255, 255, 255};

}  // namespace

Rgb CouleurRgb(std::int32_t couleur) {
  const auto c = static_cast<std::uint32_t>(couleur);
  if ((c & 0xFF000000u) == 0xFF000000u) {
    const std::uint32_t index = c & 0x00FFFFFFu;
    return index < kSysteme.size() ? kSysteme[index] : Rgb{};
  }
  return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
          static_cast<std::uint8_t>((c >> 16) & 0xFF)};
}

Rgb CouleurCourbe(std::int32_t couleur) {
  const Rgb rgb = CouleurRgb(couleur);
  return rgb == kBlanc ? CouleurRgb(kCouleurTitreActif) : rgb;
}

}  // namespace kvx::display
