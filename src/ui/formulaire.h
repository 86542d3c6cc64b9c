// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>

class QFormLayout;
class QLineEdit;
class QWidget;

// The labelled edits of a settings box, one row each, the label named for
// the user's documentation and its mnemonic giving the edit the focus.
namespace kvx::ui {

struct ChampFormulaire {
  const char *nomLabel;  // object name of the label
  const char *texte;     // its text, UTF-8, with its "&" mnemonic
  QLineEdit *edit;
};

QFormLayout *RangeChamps(QWidget *boite, std::initializer_list<ChampFormulaire> champs);

}  // namespace kvx::ui
