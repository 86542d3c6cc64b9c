// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// UTF-8 helpers for the unit and number texts. Symbols such as "µ", "°", "Ω"
// and the superscripts are several bytes long; the parsers step through them
// as whole code points so that a sequence is never cut in two.
#include <cstddef>
#include <string>
#include <string_view>

namespace kvx::model {

// A byte that does not start a valid sequence is returned as this value plus
// the byte, so it never equals a real character and still moves on by one.
inline constexpr char32_t kOctetInvalide = 0x110000;

// Decodes the code point starting at text[pos]; sets `longueur` to its size
// in bytes (at least 1 when pos is inside the text, 0 at the end, where the
// result is 0).
char32_t LitCodePoint(std::string_view text, std::size_t pos, std::size_t &longueur);

// Appends the UTF-8 form of c (an invalid byte marker gives back its byte).
void AjouteCodePoint(std::string &text, char32_t c);

// Number of code points of a text (an invalid byte counts as one).
std::size_t NombreCaracteres(std::string_view text);

}  // namespace kvx::model
