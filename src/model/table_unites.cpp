// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/table_unites.h"

namespace kvx::model {

// Exponents of m, kg, s, A, K, mol, cd. "lm" keeps exponents of its own that
// no other unit shares. "C.m" and "N.m" hold their SI exponents (A.s.m and
// the exponents of the joule): other values would make a value in C.m or N.m
// be shown with the symbol of another quantity ("1 km" for 1000 C.m); the
// unit texts keep "N.m" apart from "J" all the same.
// "W/(m.K))" is spelled with two closing parentheses, as configuration files
// already hold it.
const std::array<EntreeUnite, kNbUnites> kEntreesUnites{{
    {"m", {1, 0, 0, 0, 0, 0, 0}, 0, kGenreAucun},
    {"A", {0, 0, 0, 1, 0, 0, 0}, 0, kGenreAucun},
    {"g", {0, 1, 0, 0, 0, 0, 0}, -3, kGenreAucun},
    {"K", {0, 0, 0, 0, 1, 0, 0}, 0, kGenreAucun},
    {"mol", {0, 0, 0, 0, 0, 1, 0}, 0, kGenreAucun},
    {"cd", {0, 0, 0, 0, 0, 0, 1}, 0, kGenreAucun},
    {"H", {2, 1, -2, -2, 0, 0, 0}, 0, kGenreAucun},
    {"mol/l", {-3, 0, 0, 0, 0, 1, 0}, 3, kGenreAucun},
    {"F", {-2, -1, 4, 2, 0, 0, 0}, 0, kGenreAucun},
    {"N", {1, 1, -2, 0, 0, 0, 0}, 0, kGenreAucun},
    {"Ω", {2, 1, -3, -2, 0, 0, 0}, 0, kGenreAucun},
    {"S", {-2, -1, 3, 2, 0, 0, 0}, 0, kGenreAucun},
    {"T", {0, 1, -2, -1, 0, 0, 0}, 0, kGenreAucun},
    {"V", {2, 1, -3, -1, 0, 0, 0}, 0, kGenreAucun},
    {"Hz", {0, 0, -1, 0, 0, 0, 0}, 0, kGenreAucun},
    {"s", {0, 0, 1, 0, 0, 0, 0}, 0, kGenreAucun},
    {"Pa", {-1, 1, -2, 0, 0, 0, 0}, 0, kGenreAucun},
    {"J", {2, 1, -2, 0, 0, 0, 0}, 0, kGenreAucun},
    {"W", {2, 1, -3, 0, 0, 0, 0}, 0, kGenreAucun},
    {"C", {0, 0, 1, 1, 0, 0, 0}, 0, kGenreAucun},
    {"Wb", {2, 1, -2, -1, 0, 0, 0}, 0, kGenreAucun},
    {"lm", {0, -2, 0, 0, 0, 0, 1}, 0, kGenreAucun},
    {"N/m", {0, 1, -2, 0, 0, 0, 0}, 0, kGenreAucun},
    {"J/K", {2, 1, -2, 0, -1, 0, 0}, 0, kGenreAucun},
    {"J/(kg.K)", {2, 0, -2, 0, -1, 0, 0}, 0, kGenreAucun},
    {"V/m", {1, 1, -3, -1, 0, 0, 0}, 0, kGenreAucun},
    {"S/m", {-3, -1, 3, 2, 0, 0, 0}, 0, kGenreAucun},
    {"W/(m.K))", {1, 1, -3, 0, -1, 0, 0}, 0, kGenreAucun},
    {"C.m", {1, 0, 1, 1, 0, 0, 0}, 0, kGenreAucun},
    {"Ωm", {3, 1, -3, -2, 0, 0, 0}, 0, kGenreAucun},
    {"N.m", {2, 1, -2, 0, 0, 0, 0}, 0, kGenreAucun},
    // Special units.
    {"L", {3, 0, 0, 0, 0, 0, 0}, -3, kGenreAucun},
    {"rad", {0, 0, 0, 0, 0, 0, 0}, 0, kGenreRadian},
    {"°C", {0, 0, 0, 0, 1, 0, 0}, 0, kGenreAucun},
    {"bar", {-1, 1, -2, 0, 0, 0, 0}, 5, kGenreAucun},
    {"dB", {0, 0, 0, 0, 0, 0, 0}, 0, kGenreDecibel},
    {"°", {0, 0, 0, 0, 0, 0, 0}, 0, kGenreDegre},
    {"%", {0, 0, 0, 0, 0, 0, 0}, 0, kGenreAucun},
    {"lux", {0, 0, 0, 0, 0, 0, 0}, 0, kGenreAucun},
    {"%", {0, 0, 0, 0, 0, 0, 0}, 0, kGenreAucun},
}};

const std::array<Tunite, kNbUnites> &TableUnites() {
  static const std::array<Tunite, kNbUnites> table = [] {
    std::array<Tunite, kNbUnites> t;
    for (int i = 0; i < kNbUnites; ++i) {
      const EntreeUnite &e = kEntreesUnites[i];
      t[i].Unite = std::string(e.symbole);
      t[i].avecUnite = true;
      t[i].exposants = e.exposants;
      t[i].puissance = e.puissance;
      t[i].genre = e.genre;
    }
    return t;
  }();
  return table;
}

int ChercheSymbole(std::string_view symbole) {
  for (int i = 0; i < kNbUnites; ++i)
    if (kEntreesUnites[i].symbole == symbole) return i;
  return -1;
}

const Tunite &UniteSeconde() {
  return TableUnites()[ChercheSymbole("s")];
}

}  // namespace kvx::model
