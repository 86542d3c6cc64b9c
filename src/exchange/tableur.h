// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The recorded table for a spreadsheet, a script or a lab report: the same
// columns and rows as the ASCII data file, but as a spreadsheet reads them
// under any desktop language.
//  - OpenDocument spreadsheet (.ods): every value stored as a number, so the
//    teacher's spreadsheet shows numbers whatever its import settings; a first
//    line with the comment and the date, then the header row "symbol (unit)"
//    with the real Greek letters, then one row a point.
//  - CSV in UTF-8 in the user's number format: "," decimals and ";" between
//    fields on a French desktop, "." and "," on an English one; texts quoted
//    as RFC 4180 says.
//  - The same table tab-separated, for the clipboard.
// Values are written with every digit the recording holds, so a script reads
// back exactly the recorded numbers.

#include <filesystem>
#include <string>
#include <string_view>

#include "exchange/transfert.h"

namespace kvx::exchange {

// What the export adds to the table: the user's decimal separator ("." or
// ",") and the date of the recording, shown in the first line of the
// spreadsheet ("10/12/2026 14:05") and kept in its properties
// ("2026-12-10T14:05:00").
struct OptionsTableur {
  char separateurDecimal = '.';
  std::string dateTexte;
  std::string dateIso;
};

// "symbol (unit)", or the symbol alone when there is no unit.
std::string EnteteTableur(const ColonneTable &colonne);

// The header row and one row a point, CR LF after each.
std::string TexteCsv(const DonneesTransfert &donnees, char separateurDecimal);

// Tab-separated, in the user's number format, LF after each row: what a
// paste into a spreadsheet puts into columns. TABs and line ends inside a
// text become blanks.
std::string TexteTsv(const DonneesTransfert &donnees, char separateurDecimal);

// The same table as an HTML table, UTF-8, for the clipboard: spreadsheets
// paste it as cells, and take each value from its "sdval" attribute (always
// with ".") rather than from the text shown, in the user's number format.
std::string TexteHtml(const DonneesTransfert &donnees, char separateurDecimal);

// The .ods file's bytes (a zip container). Throws FileError when the
// container cannot be made.
std::string DocumentOds(const DonneesTransfert &donnees, const OptionsTableur &options);

// The kinds of files the export writes, chosen by the file name's extension
// (any case): ".csv" gives CSV, ".ods" or anything else the spreadsheet.
enum class FormatTableur { Ods, Csv };
FormatTableur FormatDuFichier(const std::filesystem::path &fichier);
// True for ".ods" and ".csv" (any case): a name the export writes.
bool EstFichierTableur(const std::filesystem::path &fichier);

// Writes the export in one step, as SauveDonnees does: a failure leaves no
// file and an old one as it was, and is reported in `message`.
ResultatSauvegarde ExporteTableur(const std::filesystem::path &fichier,
                                  const DonneesTransfert &donnees, const OptionsTableur &options);

// The decimal separator of a locale name as the environment gives it
// ("fr_FR.UTF-8", "de_CH", "en_GB", "C"): "," for the languages that write
// one, "." for the others and for the C locale. For the tools without a
// window, which have no toolkit to ask.
char SeparateurDeLaLangue(std::string_view locale);

// The options of a tool without a window: the separator of the locale the
// environment names (LC_ALL, then LC_NUMERIC, then LANG) and the local time.
OptionsTableur OptionsEnvironnement();

}  // namespace kvx::exchange
