// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>

class QDialog;
class QWidget;

// Every modal window of the program goes through here, so that a close
// request (a signal, the session ending, "Quitter") can end them all: a
// question left open on the screen must never keep the box running and the
// user's configuration unsaved. Once the close has begun, a window that the
// program would still open is answered by its default without being shown.
namespace kvx::ui {

// Shows `dialogue` modally and returns its result; `parDefaut` when the
// close ended it or the close had already begun.
int ExecuteModal(QDialog &dialogue, int parDefaut);

// A question with "Oui" and "Non"; the default button is the default answer.
bool PoseQuestion(QWidget *parent, const QString &titre, const QString &texte,
                  bool parDefaut = true);
// A message with its one "OK" button.
void MontreMessage(QWidget *parent, QMessageBox::Icon icone, const QString &titre,
                   const QString &texte);

// The close has begun: every modal window open now ends with its default,
// those of Qt's own making (a file dialog's question) included.
void TermineModaux();
bool FermetureEnCours();
// Modal windows of ours still on the call stack (dismissed ones return as
// soon as the event loop gets back to them).
int ModauxOuverts();

// A new run in the same process (tests): windows are shown again.
void ReprendModaux();

}  // namespace kvx::ui
