// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kvx::ui {

class TKVXmainForm;
class TSession;

// The file dialogs of the two configuration commands. They start in the
// configuration folder, show ".KVX" files, and add the extension when the
// user types none; the open dialog takes only an existing file, the save
// dialog asks before replacing one. Tests replace them.
struct DialoguesConfiguration {
  std::function<QString(QWidget *parent, const QString &dossier)> ouvrir;
  std::function<QString(QWidget *parent, const QString &dossier)> sauver;
  // Tells the user that a save failed, and why.
  std::function<void(QWidget *parent, const QString &message)> echec;

  static DialoguesConfiguration Standard();
};

// The Qt filter of the dialogs: both spellings of the extension, since here
// "a.kvx" and "a.KVX" are different files.
inline constexpr char kFiltreConfiguration[] = "Configuration KVX (*.KVX *.kvx)";

// Enables "&Ouvrir configuration" and "&Sauver configuration" and gives them
// their actions: opening stops the live display, reads the chosen file and
// applies the configuration in every case (also when the dialog was
// cancelled); saving keeps the timer off while its dialog is open and
// restores it after. The folder of the chosen file becomes the folder of
// the next dialogs.
void RelieMenusConfiguration(TKVXmainForm &fenetre, TSession &session,
                             DialoguesConfiguration dialogues = DialoguesConfiguration::Standard());

}  // namespace kvx::ui
