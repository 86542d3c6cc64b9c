// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kvx::exchange {

// A switch of the command line ("/C-"): "/" and a letter, with at most one
// more character. Anything longer that starts with "/" is a path here.
bool EstInterrupteur(const std::string &argument);

// The text a start hands over to the instance already running: the
// arguments that are not switches, joined by single blanks, so that a path
// the caller split at its blanks comes back whole.
std::string TexteTransmis(const std::vector<std::string> &arguments);

// The sender's side of the hand-over: a relative path that holds a "/" is
// made absolute against the folder the start was made in (`dossierCourant`),
// since the running instance works in a folder of its own. A bare name stays
// as it is, for the receiver's rule below.
std::string CheminDepuis(const std::string &texte, const std::string &dossierCourant);

// The receiver's rule: a name without any "/" or "\" is a file of the data
// folder (`dossierDonnees` ends with its separator); any other name is taken
// as it is. Blanks at both ends are dropped; an empty text gives nothing.
std::string ResoutNomTransmis(const std::string &texte, const std::string &dossierDonnees);

}  // namespace kvx::exchange
