// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Numbers as the user types and reads them: edit fields, read-outs, range
// texts and the "." format of the data sent to the analysis program.
//
// Every conversion here is the program's own and follows the decimal
// separator of separateur_decimal.h; none of them asks the C library's locale,
// so a process locale set by a toolkit or a test cannot change the texts.
//
// Reading never throws: a text that is not a number gives NaN (or the default
// given). Decided for texts the user may type by mistake:
//  - "nan", "inf", "infinity" and hexadecimal forms are not numbers (NaN);
//  - a number too large for a double (1E400) is not a number either (NaN),
//    so that an overflow never enters a calibration as an infinite value;
//  - a number too small for a double (1E-400) reads as 0 (with its sign),
//    which is the nearest value the program can hold.
#include <string>
#include <string_view>

namespace kvx::model {

// Removes every byte below 33 (blanks, tabs, line ends, NUL and other
// control characters). Multi-byte characters are untouched.
std::string SupprimeBlancs(std::string_view text);

// Reads a number typed with either decimal separator and an optional final
// prefix letter ("2,5m" is 0.0025, "4k" is 4000); NaN when it is none.
double LitNombre(std::string_view text);
double LitNombreDefaut(std::string_view text, double defaut);

// As LitNombre, also taking "E3" as 1E3 and ".5" as 0.5; tells whether the
// text was a valid number.
bool EssaieNombre(std::string_view text, double &x);

// A number for an edit field: general format with `precision` significant
// digits (the usual call uses 4). NaN and infinite values give a single
// blank, the text of an empty field: reading it back gives NaN again.
std::string TexteEdition(double x, int precision = 4);

// A number for the analysis program: 7 significant digits, always "." as
// decimal separator, exponent written E07 / E-06. A value that is not finite
// gives an empty text (an empty cell rather than a text no reader knows).
std::string TextePoint(double x);

// Appends TextePoint(x) to `sortie`, byte for byte the same, without a text
// of its own: a full table is 50 000 numbers, built while the user waits.
void AjouteTextePoint(std::string &sortie, double x);

// x with exactly `decimales` digits after the separator, rounded to at most
// `chiffresMax` significant digits (the remaining places written as zeros):
// 0.0123456 with 2 and 3 gives 0.01, 12.345 gives 12.30. An integer part
// longer than `chiffresMax` digits is written in exponent form (1.23E4).
// NaN gives an empty text and an infinite value "???".
std::string TexteFixe(double x, int decimales, int chiffresMax);

// x in general format with `precision` significant digits and the program's
// separator; the exponent of the scientific form has at least
// `chiffresExposant` digits. No "+" sign, no trailing zeros.
std::string TexteGeneral(double x, int precision, char separateur, int chiffresExposant = 1);

// The text cut or padded with blanks to exactly n characters (n <= 0 gives
// an empty text); a multi-byte character is never cut in two.
std::string CompleteA(std::string_view text, int n);

// 4 upper-case hexadecimal digits and 16 binary digits of the low 16 bits.
std::string TexteHexa4(long long n);
std::string TexteBinaire16(long long n);

// Key filter of the numeric edit fields: "," and "." become the program's
// decimal separator; backspace, tab, carriage return, "(", ")", "+", "-",
// the digits and the letters E G M T e f k m n µ pass unchanged; every other
// key gives 0 (discarded).
char32_t FiltreTouche(char32_t touche);

}  // namespace kvx::model
