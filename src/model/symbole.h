// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Texts for the analysis program's symbol font: symbols, units and comments
// sent with the data keep their Greek letters as the byte codes that font
// shows as those letters.
#include <string>
#include <string_view>

namespace kvx::model {

// Each Greek letter of the font's table becomes its one-byte code (for
// example "Ω" becomes byte 157 and "α" byte 128); every other character,
// including "µ" and "°", passes unchanged as its UTF-8 bytes.
std::string TexteSymbole(std::string_view texte);

}  // namespace kvx::model
