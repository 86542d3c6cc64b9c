// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "exchange/fichier_capteurs.h"
#include "model/liste_capteurs.h"

namespace kvx::exchange {

// Where the sensor library lives. The program ships one beside itself; when
// the user may write there (a program unpacked in the home folder) it is used
// in place, otherwise (a program installed for every user) each user gets a
// copy of it in the application-data folder on first use, and edits that.

// The program's own path with its extension replaced by ".CPT": "/opt/kvx/kvx"
// uses "/opt/kvx/kvx.CPT", "C:\X\prog.exe" "C:\X\prog.CPT".
std::filesystem::path NomFichierCapteurs(const std::filesystem::path &programme);

struct EmplacementCapteurs {
  std::filesystem::path fichier;  // loaded at start and saved over
  std::filesystem::path source;   // the shipped library, when a copy is due
  bool copier = false;            // copy `source` to `fichier` before loading
};

// `presDuProgramme` is used when it can be saved over: the program's folder is
// writable and the file there, if any, too. Otherwise `dansDonnees` (the same
// file name in the application-data folder), copied from `presDuProgramme`
// when `copieExiste` is false.
EmplacementCapteurs ChoisitEmplacementCapteurs(bool presDuProgrammeInscriptible,
                                               const std::filesystem::path &presDuProgramme,
                                               const std::filesystem::path &dansDonnees,
                                               bool copieExiste);

// Makes the copy when one is due (in one step, so that a copy cut short never
// passes for a library), then loads `fichier` into the list. When the copy
// cannot be made, the shipped library is loaded instead, so the user still
// has its sensors; the copy is tried again at the next start. Never throws.
// `message`: as for ChargeCapteurs.
ResultatCapteurs OuvreCapteurs(const EmplacementCapteurs &emplacement, model::TlisteCapteur &liste,
                               std::string *message = nullptr);

}  // namespace kvx::exchange
