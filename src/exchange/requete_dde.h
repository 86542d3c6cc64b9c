// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// Requests that other programs send to the running KVX: the desktop when the
// user opens a ".KVX" file while KVX runs, and the analysis program when it
// asks for the data. A request is a text; only a text of exactly one line is
// a command, and only the part of that line before its first "(" counts (a
// file name in parentheses is not used). Every request is acknowledged,
// known or not, and none can do more than bring the window to the front and
// make the next transfer a new page.
namespace kvx::exchange {

enum class CommandeDDE { Aucune, ConfigLoad, FileLoad, ConfigSave, FileSave, Focus, GetData };

// What the window does for a command.
struct EffetRequete {
  bool nouvellePage = false;  // the next transfer adds a page ("GETDATA")
  bool focus = false;         // the window comes to the front
  bool operator==(const EffetRequete &o) const {
    return nouvellePage == o.nouvellePage && focus == o.focus;
  }
};

// The command of a request text, compared without regard to letter case;
// Aucune for a text of more or fewer than one line, or an unknown command.
// A single line break at the end does not make a second line.
CommandeDDE CommandeDeRequete(std::string_view texte);

EffetRequete EffetDeCommande(CommandeDDE commande);

}  // namespace kvx::exchange
