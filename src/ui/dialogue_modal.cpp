// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogue_modal.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <algorithm>
#include <vector>

namespace kvx::ui {

namespace {

struct Ouvert {
  QPointer<QDialog> dialogue;
  int parDefaut;
  bool termine;
};

// The program has one user-interface thread and one stack of modal windows.
std::vector<Ouvert *> gOuverts;
bool gFermeture = false;

// A modal window that another one opened itself (the file dialog's "replace
// it?") is ended by its safe choice: the escape button, else the default.
void TermineEtranger(QWidget *modal) {
  if (auto *boite = qobject_cast<QMessageBox *>(modal)) {
    QAbstractButton *choix = boite->escapeButton();
    if (choix == nullptr) choix = boite->defaultButton();
    if (choix != nullptr) {
      choix->click();
      return;
    }
  }
  if (auto *dialogue = qobject_cast<QDialog *>(modal)) {
    dialogue->reject();
    return;
  }
  modal->close();
}

}  // namespace

int ExecuteModal(QDialog &dialogue, int parDefaut) {
  if (gFermeture) return parDefaut;
  Ouvert ouvert{&dialogue, parDefaut, false};
  gOuverts.push_back(&ouvert);
  const int resultat = dialogue.exec();
  gOuverts.erase(std::find(gOuverts.begin(), gOuverts.end(), &ouvert));
  return ouvert.termine ? parDefaut : resultat;
}

bool PoseQuestion(QWidget *parent, const QString &titre, const QString &texte, bool parDefaut) {
  QMessageBox boite(QMessageBox::Question, titre, texte, QMessageBox::Yes | QMessageBox::No,
                    parent);
  boite.setDefaultButton(parDefaut ? QMessageBox::Yes : QMessageBox::No);
  const int defaut = parDefaut ? QMessageBox::Yes : QMessageBox::No;
  return ExecuteModal(boite, defaut) == QMessageBox::Yes;
}

void MontreMessage(QWidget *parent, QMessageBox::Icon icone, const QString &titre,
                   const QString &texte) {
  QMessageBox boite(icone, titre, texte, QMessageBox::Ok, parent);
  ExecuteModal(boite, QMessageBox::Ok);
}

void TermineModaux() {
  gFermeture = true;
  // A menu runs its own loop too: it goes first, as the user's click would.
  while (QWidget *menu = QApplication::activePopupWidget()) {
    menu->close();
    if (QApplication::activePopupWidget() == menu) break;
  }
  // The innermost first: an outer window's loop only returns once the
  // windows above it have.
  for (int garde = 0; garde < 32; ++garde) {
    QWidget *modal = QApplication::activeModalWidget();
    if (modal == nullptr) break;
    const auto notre = std::find_if(gOuverts.rbegin(), gOuverts.rend(),
                                    [modal](const Ouvert *o) { return o->dialogue == modal; });
    if (notre != gOuverts.rend()) {
      (*notre)->termine = true;
      (*notre)->dialogue->done((*notre)->parDefaut);
    } else {
      TermineEtranger(modal);
    }
    if (QApplication::activeModalWidget() == modal) break;
  }
  // Ours that are not the active modal window (hidden behind another's).
  for (Ouvert *o : gOuverts) {
    if (o->termine || o->dialogue.isNull()) continue;
    o->termine = true;
    o->dialogue->done(o->parDefaut);
  }
}

bool FermetureEnCours() {
  return gFermeture;
}

int ModauxOuverts() {
  return static_cast<int>(gOuverts.size());
}

void ReprendModaux() {
  gFermeture = false;
}

}  // namespace kvx::ui
