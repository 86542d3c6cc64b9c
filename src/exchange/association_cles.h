// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Names under which the desktop learns that ".KVX" files are configurations
// of this program, so that a double-click opens them in KVX (in the running
// instance when there is one).
namespace kvx::exchange::association {

inline constexpr char kTypeMime[] = "application/x-kvx";
inline constexpr char kDescriptionType[] = "Fichier config. KVX";
inline constexpr char kGlobMinuscule[] = "*.kvx";
inline constexpr char kGlobMajuscule[] = "*.KVX";
// The desktop entry a package installs, and the one a program run from its
// build folder writes into the user's applications/ folder: another name, so
// that it never hides the installed entry.
inline constexpr char kFichierEntreeInstallee[] = "kvx.desktop";
inline constexpr char kFichierEntree[] = "kvx-construction.desktop";
// The type's file in the user's mime/packages/.
inline constexpr char kFichierTypeMime[] = "kvx.xml";
inline constexpr char kNomProgramme[] = "KVX";
inline constexpr char kCommentaire[] = "Acquisition par Nuvex KVX pour Tabulyse";
// The section of the user's mimeapps.list that names default programs.
inline constexpr char kSectionDefauts[] = "Default Applications";

}  // namespace kvx::exchange::association
