// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvx::exchange {

// Text files of the program (configuration, sensor library, data file, trace)
// are Windows-1252 on disk, as on the desktops the box's users share files
// with, while every text in memory is UTF-8. These conversions sit at the file
// boundary.

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view bytes);

// Every byte maps to one character; the five bytes Windows-1252 leaves
// undefined map to the control characters of the same number, so they survive
// a round trip.
std::string windows1252ToUtf8(std::string_view bytes);

// Nothing when a character has no Windows-1252 byte (Greek letters, for
// instance) or when the text is not valid UTF-8.
std::optional<std::string> utf8ToWindows1252(std::string_view utf8);

// Bytes read from a file to UTF-8: a UTF-8 byte-order mark is dropped; valid
// UTF-8 is taken as it is, anything else is read as Windows-1252.
std::string decodeFileText(std::string_view bytes);

// UTF-8 to the bytes of a file: Windows-1252 whenever that keeps every
// character and reads back the same through decodeFileText; otherwise UTF-8
// (without byte-order mark), so that no character is lost to a "?".
std::string encodeFileText(std::string_view utf8);

}  // namespace kvx::exchange
