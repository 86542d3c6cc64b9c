#pragma once

#include <QString>

namespace kvx::platform {

// Where the desktop keeps what it knows about file types and programs: the
// user's data folder (~/.local/share) and configuration folder (~/.config).
struct DossiersBureau {
  QString donnees;        // holds applications/ and mime/
  QString configuration;  // holds mimeapps.list
};

DossiersBureau DossiersBureauUtilisateur();

// Makes ".KVX" files open with `executable`: the desktop entry, the file
// type, and this program as the type's default. Files are rewritten only
// when their text differs, and then the desktop's caches are updated when
// their tools are installed. False when any step failed; the program goes
// on closing all the same, as a missing association only costs the user a
// double-click.
bool EcritAssociation(const QString &executable,
                      const DossiersBureau &dossiers = DossiersBureauUtilisateur());

}  // namespace kvx::platform
