#pragma once

#include <string>
#include <vector>

namespace kvx::exchange {

// The command line of the program as the user and the desktop give it: a
// switch such as "/C-" and the name of a configuration file. Since an
// absolute path also starts with "/" here, a switch is "/" followed by a
// letter and nothing that a path would hold: at least 2 characters, no other
// "/" and no ".".
bool EstInterrupteur(const std::string &argument);

// The first switch of the given letter (either case) decides: exactly two
// characters, or a third character "+", means on; any other third character
// means off. Without that switch, `defaut`.
bool InterrupteurActif(const std::vector<std::string> &arguments, char lettre, bool defaut);

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
