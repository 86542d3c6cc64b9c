// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvx::exchange {

// The texts of the values of a configuration file. Floats are written with the
// program's decimal separator and read with either "." or ",", so a file moved
// between a French and an English desktop keeps its values; nothing here
// depends on the C library's locale.

// Decimal with an optional sign, or hexadecimal after "0x" ("0xFF000005" is a
// system colour, read as the 32-bit pattern). Nothing when the text is not a
// whole number or leaves the 32-bit range.
std::optional<std::int32_t> parseIniInteger(std::string_view text);
std::string formatIniInteger(std::int32_t value);

// Any readable integer; non-zero is true.
std::optional<bool> parseIniBool(std::string_view text);
std::string formatIniBool(bool value);

// Decimal text with "." or "," and an optional exponent. Nothing for texts that
// are not numbers, for "inf"/"nan" and for values beyond a double ("1e999").
std::optional<double> parseIniFloat(std::string_view text);

// Shortest general text of at most 15 significant digits: fixed notation when
// the value has at most 15 integer digits and is at least 0.00001, else a
// mantissa, "E" and the exponent ("1.5E-6", "1E20"). Infinite and NaN values
// are written "INF", "-INF" and "NAN", which read back as the key's default.
std::string formatIniFloat(double value, char decimalSeparator);

// Calendar date and wall-clock time, as the acquisition start is kept.
struct IniDateTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
  bool operator==(const IniDateTime &other) const;
};

// Written "yyyy-mm-dd hh:mm:ss", without the time when it is midnight exactly:
// the same on every desktop. Read in that form and in the day-first form
// "dd/mm/yyyy[ hh:mm[:ss]]" of French desktops. Nothing for an impossible
// date or time.
std::optional<IniDateTime> parseIniDateTime(std::string_view text);
std::string formatIniDateTime(const IniDateTime &value);

}  // namespace kvx::exchange
