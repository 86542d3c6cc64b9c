// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ligne_commande.h"

namespace kvx::model {

namespace {

char Minuscule(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool OptionLigneCommande(const std::vector<std::string> &arguments, char lettre, bool defaut) {
  for (const std::string &a : arguments) {
    // A longer argument is a path ("/Cours/tp.kvx"), not a switch.
    if (a.size() < 2 || a.size() > 3 || a[0] != '/' || Minuscule(a[1]) != Minuscule(lettre))
      continue;
    return a.size() == 2 || a[2] == '+';
  }
  return defaut;
}

std::string DossierAvecSeparateur(std::string_view dossier) {
  std::string s(dossier);
  if (!s.empty() && s.back() != '/') s += '/';
  return s;
}

}  // namespace kvx::model
