// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

namespace kvx::model {
class TlisteCapteur;
}

namespace kvx::ui {

class TKVXmainForm;

// How the library's file was found at start.
struct EtatBibliotheque {
  // Told once when the window first shows, in French: why the file could not
  // be read, or how its count and its sensors disagree. Empty: nothing to tell.
  QString avertissement;
  // A file that exists but could not be read: the list shown is the default
  // one, and a save over that file asks first (default: no).
  QString fichierIllisible;
};

// The analog inputs' dialog on a click on V1..V4, and the sensor library on
// "&Capteurs". `sauve` writes the library to its file (it throws when it
// cannot). The library outlives the window.
void RelieCapteurs(TKVXmainForm &fenetre, model::TlisteCapteur &capteurs,
                   std::function<void()> sauve, const EtatBibliotheque &etat = {});

}  // namespace kvx::ui
