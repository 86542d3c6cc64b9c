// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>
#include <vector>

namespace kvx::platform {
class ServeurInstance;
class SignauxFermeture;
}  // namespace kvx::platform

namespace kvx::ui {

class TKVXmainForm;
class TSession;

// The text a start hands over (or reads itself, when it is the first): the
// command line's file-name words joined by single blanks, a relative path
// made absolute against the folder the start was made in.
QString TexteDeLigneCommande(const std::vector<std::string> &autres);

// Joins the session to the window and to the outside: configurations read
// while the program runs stop the engine first and are applied after; the
// port in use and the window state go to the settings; the closing hook runs
// the closing sequence, the first activation brings back the window state,
// requests of other starts reach the session, and SIGTERM, SIGINT, SIGHUP
// or the end of the desktop session close the window as its close button
// does, once any open dialog is dismissed. Nothing from outside runs while
// the window waits on the box.
void RelieSession(TKVXmainForm &fenetre, TSession &session, platform::ServeurInstance *serveur,
                  platform::SignauxFermeture *signaux);

// Closes the window through its closing sequence from outside the user's
// hands (a signal, the session ending).
void FermeDepuisDehors(TKVXmainForm &fenetre, TSession &session);

}  // namespace kvx::ui
