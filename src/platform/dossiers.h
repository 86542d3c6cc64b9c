// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kvx::platform {

// The folders of the program's files. The data folder is where Tabulyse and
// KVX exchange their files: the default folder of the configuration dialogs,
// the home of a bare file name handed over by a second start, and of the
// configuration saved at close.
struct Dossiers {
  QString donnees;      // documents folder + "/Tabulyse/" (trailing separator)
  QString application;  // application-data folder + "/Tabulyse"
};

// The user's folders as the desktop names them (XDG user folders).
Dossiers DossiersUtilisateur();

// The recording history's folder: the application-data folder +
// "/historique" (~/.local/share/KVX/historique on Linux). Not made here: the
// history makes it with its first entry.
QString DossierHistorique();

// Creates both folders when missing; false when either could not be made
// (the program still starts: saving there will then fail quietly).
bool CreeDossiers(const Dossiers &dossiers);

}  // namespace kvx::platform
