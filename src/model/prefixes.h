// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The SI prefix letters shared by number reading and unit display, with
// their powers of ten. Number reading knows only the multiples of three;
// unit display knows "a" to "E".
#include <array>
#include <optional>
#include <string_view>

namespace kvx::model {

struct Prefixe {
  std::string_view lettre;  // UTF-8 ("µ" is two bytes)
  int puissance;
};

inline constexpr std::array<Prefixe, 19> kPrefixes{{
    {"y", -24}, {"z", -21}, {"a", -18}, {"f", -15}, {"p", -12}, {"n", -9}, {"µ", -6},
    {"m", -3},  {"c", -2},  {"d", -1},  {"h", 2},   {"k", 3},   {"M", 6},  {"G", 9},
    {"T", 12},  {"P", 15},  {"E", 18},  {"Z", 21},  {"Y", 24},
}};

// Power of the prefix letter c for number reading (multiples of three only).
std::optional<int> PuissancePrefixeNombre(char32_t c);

// Power of the prefix letter c as a unit prefix ("E", "G", "M", "P", "T",
// "a", "c", "d", "f", "h", "k", "m", "n", "p", "µ").
std::optional<int> PuissancePrefixeUnite(char32_t c);

// The letter that unit display writes for power p (one of the powers from
// -18 to 18 that have a letter), or nothing.
std::optional<std::string_view> LettrePrefixeAffichage(int p);

}  // namespace kvx::model
