// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/requete_dde.h"

#include <array>
#include <utility>

namespace kvx::exchange {

namespace {

constexpr std::array<std::pair<std::string_view, CommandeDDE>, 6> kCommandes{{
    {"CONFIG|LOAD", CommandeDDE::ConfigLoad},
    {"FILE|LOAD", CommandeDDE::FileLoad},
    {"CONFIG|SAVE", CommandeDDE::ConfigSave},
    {"FILE|SAVE", CommandeDDE::FileSave},
    {"FOCUS", CommandeDDE::Focus},
    {"GETDATA", CommandeDDE::GetData},
}};

// ASCII only: a command is plain ASCII, and a byte of a multi-byte character
// must never fold into a letter of one.
char Majuscule(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EgalSansCasse(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Majuscule(a[i]) != Majuscule(b[i])) return false;
  return true;
}

// The text without one final line end (CR LF, LF or CR), as a text of one
// line ended by a line break is still one line.
std::string_view SansFinDeLigne(std::string_view texte) {
  if (!texte.empty() && texte.back() == '\n') texte.remove_suffix(1);
  if (!texte.empty() && texte.back() == '\r') texte.remove_suffix(1);
  return texte;
}

}  // namespace

CommandeDDE CommandeDeRequete(std::string_view texte) {
  texte = SansFinDeLigne(texte);
  // An empty text holds no line; a line break inside it makes two lines.
  if (texte.empty() || texte.find_first_of("\r\n") != std::string_view::npos)
    return CommandeDDE::Aucune;
  const std::string_view commande = texte.substr(0, texte.find('('));
  for (const auto &[nom, valeur] : kCommandes)
    if (EgalSansCasse(commande, nom)) return valeur;
  return CommandeDDE::Aucune;
}

EffetRequete EffetDeCommande(CommandeDDE commande) {
  EffetRequete effet;
  switch (commande) {
    case CommandeDDE::GetData:
      effet.nouvellePage = true;
      effet.focus = true;
      break;
    case CommandeDDE::ConfigLoad:
    case CommandeDDE::FileLoad:
    case CommandeDDE::Focus:
      effet.focus = true;
      break;
    case CommandeDDE::ConfigSave:
    case CommandeDDE::FileSave:
    case CommandeDDE::Aucune:
      break;
  }
  return effet;
}

}  // namespace kvx::exchange
