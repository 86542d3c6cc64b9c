// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Command-line switches of the program ("/C" shows or hides the sensor menu
// item) and the folder texts used at start-up.
#include <string>
#include <string_view>
#include <vector>

namespace kvx::model {

// Looks among the arguments (without the program name) for "/x", x being
// `lettre` compared without case. Absent: `defaut`; "/x" alone: true;
// otherwise true only when its third character is "+" ("/C+", not "/C-").
// Only arguments of two or three characters are switches: on this system a
// longer one starting with "/" is a file path.
bool OptionLigneCommande(const std::vector<std::string> &arguments, char lettre, bool defaut);

// The folder path ending with "/". An empty path stays empty: it names no
// folder, and turning it into "/" would point at the root of the disk.
std::string DossierAvecSeparateur(std::string_view dossier);

}  // namespace kvx::model
