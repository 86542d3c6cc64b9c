// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/command_line.h"

namespace kvx::ui {

namespace {

bool LitPort(const std::vector<std::string> &args, std::size_t &i, OptionsLigneCommande &o) {
  const std::string &a = args[i];
  std::string chemin;
  if (a == "--port") {
    if (i + 1 < args.size()) chemin = args[++i];
  } else {
    chemin = a.substr(std::string("--port=").size());
  }
  if (chemin.empty()) {
    o.erreur = "--port needs a device path";
    return false;
  }
  o.ports.push_back(chemin);
  return true;
}

}  // namespace

OptionsLigneCommande LitLigneCommande(const std::vector<std::string> &args) {
  OptionsLigneCommande o;
  bool finOptions = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string &a = args[i];
    if (finOptions || a.size() < 2 || a[0] != '-') {
      if (!a.empty()) o.autres.push_back(a);
    } else if (a == "--") {
      finOptions = true;
    } else if (a == "--help" || a == "-h") {
      o.aide = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--simulate") {
      o.simule = true;
    } else if (a == "--port" || a.rfind("--port=", 0) == 0) {
      if (!LitPort(args, i, o)) return o;
    } else {
      o.erreur = "unknown option " + a;
      return o;
    }
  }
  return o;
}

}  // namespace kvx::ui
