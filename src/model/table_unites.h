// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The units the program knows by name, searched in this order by unit
// parsing and unit display. The first 31 are the named units, the last 9 the
// special ones (litre, angles, degree Celsius, bar, decibel, %, lux).
#include <array>
#include <cstdint>
#include <string_view>

#include "model/unite.h"

namespace kvx::model {

inline constexpr int kNbUnitesNommees = 31;
inline constexpr int kNbUnitesSpeciales = 9;
inline constexpr int kNbUnites = kNbUnitesNommees + kNbUnitesSpeciales;

struct EntreeUnite {
  std::string_view symbole;
  std::array<std::int8_t, kNbBasesSI> exposants;  // m, kg, s, A, K, mol, cd
  std::int32_t puissance;
  std::uint8_t genre;
};

extern const std::array<EntreeUnite, kNbUnites> kEntreesUnites;

// The table as units, built once.
const std::array<Tunite, kNbUnites> &TableUnites();

// Index of the entry whose symbol is exactly `symbole`, or -1.
int ChercheSymbole(std::string_view symbole);

// The program-wide seconds unit used by the duration formatter.
const Tunite &UniteSeconde();

}  // namespace kvx::model
