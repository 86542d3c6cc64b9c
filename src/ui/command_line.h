// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// The long options of `kvx`, read before any window exists so that --help
// and usage errors need no display. Slash switches ("/C-") and the name of a
// configuration file are left in `autres`, in their order, for the rules
// that the settings apply to them.
namespace kvx::ui {

struct OptionsLigneCommande {
  bool aide = false;
  bool version = false;
  bool simule = false;              // serve the built-in simulated box on a pty
  std::vector<std::string> ports;   // --port PATH, in the order given
  std::vector<std::string> autres;  // switches and file-name words
  std::string erreur;               // usage error, empty when the line is sound
};

// `args` excludes the program name. "--" ends the options: what follows is
// a file name even when it starts with "-".
OptionsLigneCommande LitLigneCommande(const std::vector<std::string> &args);

}  // namespace kvx::ui
