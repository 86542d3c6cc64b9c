// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace kvx::exchange {
class SettingsStore;
}

// Where the program's own files are: the user's guide, the starting sensor
// library, and where the maker's fork program may be installed. A program
// run from its build folder finds them beside itself; an installed one under
// its prefix, in share/kvx (the program in /usr/bin reads /usr/share/kvx).
// The first folder that holds the file wins, so a build folder never reads an
// older installed copy.
namespace kvx::platform {

// The sub-folder of the prefix's share folder that holds the program's files.
inline constexpr char kDossierPartage[] = "kvx";
// The guide's folder, below either of the folders above.
inline constexpr char kDossierAide[] = "aide";
inline constexpr char kPageSommaire[] = "index.html";

// The folders searched for the program at `programme`, in order: its own
// folder, then <its folder>/../share/kvx.
QStringList DossiersFichiers(const QString &programme);

// The full path of `nom` (a file name, or a relative path such as
// "aide/index.html") in the first of those folders that has it; empty when
// none has.
QString TrouveFichier(const QString &programme, const QString &nom);

// The guide's folder: the one holding its table of contents. Empty when the
// guide is nowhere.
QString DossierAide(const QString &programme);

// What the sensor library's search takes as the program's path, so that it
// finds the starting library ("kvx.CPT" for the program "kvx") where the
// program's files are: the program itself in a build folder,
// <prefix>/share/kvx/kvx once installed (that folder is read-only, so each
// user then gets a copy to edit).
QString ProgrammePourCapteurs(const QString &programme);

// Where the maker's fork program may be, in the order tried: the settings
// value "Veltor"/"Image" when set, the user's data folder
// (~/.local/share/KVX/veltor.hex), then <prefix>/share/kvx/veltor.hex. The
// package ships none of them: the file comes with the fork.
std::vector<std::string> EmplacementsImageVeltor(const exchange::SettingsStore &reglages,
                                                 const QString &programme);

}  // namespace kvx::platform
