// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDialog;
class QHBoxLayout;
class QPushButton;

// The row of buttons every settings dialog ends with: "&OK" (the default
// button), "&Abandon" and the help button of the dialog's help page, kept as
// the property "rubriqueAide" for the help window.
namespace kvx::ui {

struct BoutonsDialogue {
  QPushButton *ok = nullptr;
  QPushButton *abandon = nullptr;
  QPushButton *aide = nullptr;
  QHBoxLayout *rangee = nullptr;  // to be added to the dialog's layout
};

BoutonsDialogue CreeBoutonsDialogue(QDialog *dialogue, int rubriqueAide);

}  // namespace kvx::ui
