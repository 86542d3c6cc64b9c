// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the analog-input dialog shows and accepts: the texts of the eight box
// inputs with their range and socket, the characters a symbol may hold, and
// the two-point calibration of the interactive calibration.
#include <cstdint>
#include <string>

namespace kvx::model {

inline constexpr int kNbEntreesBoitier = 8;

// "EA2 ±2,5 V prise D": the input, its range under the reference ("Ref Alt"
// when `refAlt`) and the ×6 module, and the socket it is on. Inputs 2 and 3
// are on socket D, or F for a sensor plugged into socket F (`alim`). A
// number outside 0..7 gives an empty text.
std::string TexteEntreeAnalogique(int entree, bool refAlt, bool gain6, bool alim);

// Whether a typed character may go into a channel's symbol: the analysis
// program reads the symbol as a name, so only letters, digits, "#$%'" and a
// few letters of its symbol font are kept.
bool CaractereSymboleAdmis(char32_t c);

// Two points closer than this (one code and a quarter of the widest input)
// give a slope that the converter's steps alone make meaningless.
inline constexpr double kEcartEtalonnageMin = 0.078125;

enum class ResultatEtalonnage {
  Calcule,     // offset and slope set
  NonDefinis,  // a value is missing or both values are equal
  Imprecis     // the two voltages are too close
};

// The line through (x1, y1) and (x2, y2), volts to values: the slope and the
// value at 0 V. Nothing is set unless the result is `Calcule`, so a channel
// never receives a slope that is not a number or zero.
ResultatEtalonnage EtalonneDeuxPoints(double x1, double y1, double x2, double y2, double &offset,
                                      double &pente);

}  // namespace kvx::model
