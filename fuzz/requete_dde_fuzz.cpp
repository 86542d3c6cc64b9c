// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds any bytes to the reading of requests from other programs, as the
// request server does: cut into lines, then each line read as a command.
// Letter case never changes the command, nor anything after a "(" of a
// command; a text of more than one line is never a command.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exchange/demande_instance.h"
#include "exchange/requete_dde.h"

namespace {

std::string Inverse(std::string_view texte) {
  std::string s(texte);
  for (char &c : s) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

void Verifie(std::string_view texte) {
  using kvx::exchange::CommandeDDE;
  using kvx::exchange::CommandeDeRequete;
  const CommandeDDE commande = CommandeDeRequete(texte);
  if (CommandeDeRequete(Inverse(texte)) != commande) std::abort();
  if (commande != CommandeDDE::Aucune) {
    const std::string suite =
        std::string(texte.substr(0, texte.find('('))) + "(" + std::string(texte);
    if (texte.find_first_of("\r\n") == std::string_view::npos &&
        CommandeDeRequete(suite) != commande)
      std::abort();
  }
  if (CommandeDeRequete(std::string(texte) + "\nFOCUS") != CommandeDDE::Aucune) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string_view octets(reinterpret_cast<const char *>(data), size);
  Verifie(octets);
  kvx::exchange::LecteurDemandes lecteur;
  for (const auto &requete : lecteur.ajoute(octets))
    if (requete) Verifie(*requete);
  return 0;
}
