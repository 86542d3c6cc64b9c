// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kvx::exchange {

// The texts of the file association: a desktop entry that starts the program
// with the file, the type of ".KVX" files, and the user's choice of this
// program as their default. The shell writes them to the user's folders, for
// a program run from its build folder only: an installed one has the
// system's entry and type.

// The executable's path quoted for an Exec line: between double quotes with
// '"', '`', '$' and '\' escaped, '%' doubled, then the backslashes doubled
// again for the desktop file's string rule. Nothing for a path holding a
// control character, which no Exec line can carry.
std::optional<std::string> CiteCheminExec(const std::string &executable);

// The whole desktop entry, kept out of the menus (it serves to open ".KVX"
// files only); nothing when the path cannot be quoted.
std::optional<std::string> TexteEntreeBureau(const std::string &executable);

// The entry earlier versions wrote under the installed entry's name, even
// when installed: recognised to be taken away again.
std::optional<std::string> TexteEntreeBureauAncienne(const std::string &executable);

// The shared-mime-info package that gives "*.kvx" and "*.KVX" their type.
std::string TexteTypeMime();

// `existant` (the user's mimeapps.list, possibly empty) with the default
// program of the ".KVX" type set to this program's desktop entry. Every
// other line stays as it was; the line is added to the defaults section,
// which is created at the end when missing.
std::string AvecProgrammeParDefaut(const std::string &existant);

// The desktop entries a mimeapps.list names as the default programs of the
// ".KVX" type, in their order; empty when it names none.
std::vector<std::string> ProgrammesParDefaut(const std::string &mimeapps);

// True when the user has chosen no default program for ".KVX" files, or has
// only this program's build-folder entry (`defauts` gathered from each of the
// user's mimeapps.list files).
bool AucunChoixUtilisateur(const std::vector<std::string> &defauts);

}  // namespace kvx::exchange
