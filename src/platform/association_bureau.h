// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>
#include <vector>

namespace kvx::platform {

// Where the desktop keeps what it knows about file types and programs: the
// user's data folder (~/.local/share) and configuration folder (~/.config).
struct DossiersBureau {
  QString donnees;        // holds applications/ and mime/
  QString configuration;  // holds mimeapps.list
};

DossiersBureau DossiersBureauUtilisateur();

// True when the program at `executable` was installed with its desktop entry
// (by its package or `cmake --install`): <prefix>/share/applications/kvx.desktop
// for the program <prefix>/bin/kvx.
bool EntreeInstallee(const QString &executable);

// The desktop entries the user chose as default programs of ".KVX" files, in
// each of their mimeapps.list files (the desktop's own first, as the desktop
// reads them).
std::vector<std::string> DefautsUtilisateur(const DossiersBureau &dossiers);

// Makes ".KVX" files open with `executable` when it runs from its build
// folder and the user has no default program for them: the desktop entry,
// the file type, and this program as the type's default. An installed
// program writes nothing into the user's home (the system's entry and type
// serve, and nothing of it stays after the package is removed; it takes away
// the entry and type an earlier version wrote there, when they are exactly
// as written), and a default the user chose is never replaced. Files are rewritten only when
// their text differs, and then the desktop's caches are updated when their
// tools are installed. False when a step failed; the program goes on closing
// all the same, as a missing association only costs the user a double-click.
bool EcritAssociation(const QString &executable,
                      const DossiersBureau &dossiers = DossiersBureauUtilisateur());

}  // namespace kvx::platform
