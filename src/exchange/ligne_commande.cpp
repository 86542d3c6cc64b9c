// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/ligne_commande.h"

#include <cctype>

namespace kvx::exchange {

bool EstInterrupteur(const std::string &argument) {
  return argument.size() >= 2 && argument.size() <= 3 && argument[0] == '/' &&
         std::isalpha(static_cast<unsigned char>(argument[1]));
}

std::string TexteTransmis(const std::vector<std::string> &arguments) {
  std::string texte;
  bool first = true;
  for (const auto &argument : arguments) {
    if (EstInterrupteur(argument)) continue;
    if (!first) texte += ' ';
    texte += argument;
    first = false;
  }
  return texte;
}

std::string CheminDepuis(const std::string &texte, const std::string &dossierCourant) {
  if (texte.empty() || texte.front() == '/' || texte.find('/') == std::string::npos) return texte;
  if (dossierCourant.empty()) return texte;
  const bool separator = dossierCourant.back() == '/';
  return dossierCourant + (separator ? "" : "/") + texte;
}

std::string ResoutNomTransmis(const std::string &texte, const std::string &dossierDonnees) {
  const auto begin = texte.find_first_not_of(" \t");
  if (begin == std::string::npos) return std::string();
  const auto end = texte.find_last_not_of(" \t");
  std::string nom = texte.substr(begin, end - begin + 1);
  if (nom.find_first_of("/\\") != std::string::npos) return nom;
  return dossierDonnees + nom;
}

}  // namespace kvx::exchange
