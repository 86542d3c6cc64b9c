// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/greek_keys.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace kvx::ui {

namespace {

// Columns A..Z: what Ctrl + the letter types without and with Shift. Ctrl+M
// types the micro sign, not the Greek mu: it is the one that numbers, units
// and durations read as the prefix, and the one a configuration file holds.
constexpr char16_t kMinuscules[26] = {0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,
                                      0x03B7, 0x03B9, 0x03C8, u'k',   0x03BB, 0x00B5, 0x03BD,
                                      u'o',   0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, u'u',
                                      u'v',   0x03C9, 0x03BE, u'y',   0x03B6};
constexpr char16_t kMajuscules[26] = {
    u'A', u'B', u'C',   0x0394, u'E', 0x03A6, 0x0393, u'H', 0x0399, 0x03A8, u'K',   0x039B, u'M',
    u'N', u'O', 0x03A0, 0x0398, u'R', 0x03A3, u'T',   u'U', u'V',   0x03A9, 0x039E, u'Y',   u'Z'};

bool EstSaisie(QObject *o) {
  return qobject_cast<QLineEdit *>(o) || qobject_cast<QTextEdit *>(o) ||
         qobject_cast<QPlainTextEdit *>(o) || qobject_cast<QAbstractSpinBox *>(o);
}

// Ctrl+C and Ctrl+X keep their clipboard meaning when there is text to take;
// Ctrl+Z then does nothing rather than typing a zeta over a selection.
bool TraiteSelection(QObject *cible, int touche) {
  auto *ligne = qobject_cast<QLineEdit *>(cible);
  if (ligne == nullptr) {
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(cible))
      ligne = spin->findChild<QLineEdit *>();
  }
  if (ligne != nullptr) {
    if (!ligne->hasSelectedText()) return false;
    if (touche == Qt::Key_C) ligne->copy();
    if (touche == Qt::Key_X) ligne->cut();
    return true;
  }
  if (auto *texte = qobject_cast<QTextEdit *>(cible)) {
    if (!texte->textCursor().hasSelection()) return false;
    if (touche == Qt::Key_C) texte->copy();
    if (touche == Qt::Key_X) texte->cut();
    return true;
  }
  if (auto *brut = qobject_cast<QPlainTextEdit *>(cible)) {
    if (!brut->textCursor().hasSelection()) return false;
    if (touche == Qt::Key_C) brut->copy();
    if (touche == Qt::Key_X) brut->cut();
    return true;
  }
  return false;
}

// An edit box's own menu names the shortcuts of the toolkit beside its items;
// Ctrl+A, Ctrl+Z, Ctrl+Y type Greek letters here, so the menu names only the
// three that keep their meaning: copy, cut and paste.
void RetireRaccourciTrompeur(QAction *action) {
  const QString texte = action->text();
  const qsizetype tab = texte.indexOf(QLatin1Char('\t'));
  if (tab < 0) return;
  const QKeySequence raccourci(texte.mid(tab + 1), QKeySequence::NativeText);
  for (QKeySequence::StandardKey garde :
       {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste})
    if (QKeySequence::keyBindings(garde).contains(raccourci)) return;
  if (raccourci.isEmpty() ||
      !(raccourci[0].keyboardModifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
    return;
  action->setText(texte.left(tab));
}

}  // namespace

char16_t LettreGrecque(char lettre, bool majuscule) {
  int i = -1;
  if (lettre >= 'A' && lettre <= 'Z') i = lettre - 'A';
  if (lettre >= 'a' && lettre <= 'z') i = lettre - 'a';
  if (i < 0) return 0;
  return majuscule ? kMajuscules[i] : kMinuscules[i];
}

TGreekKeyFilter::TGreekKeyFilter(QObject *parent) : QObject(parent) {}

bool TGreekKeyFilter::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::ActionAdded) {
    // The edit boxes build their menu on the right click, as children of the
    // edit (of its line, for a spin box).
    auto *menu = qobject_cast<QMenu *>(watched);
    if (menu != nullptr && EstSaisie(menu->parent()))
      RetireRaccourciTrompeur(static_cast<QActionEvent *>(event)->action());
    return false;
  }
  if (event->type() != QEvent::KeyPress || !EstSaisie(watched)) return false;
  auto *cle = static_cast<QKeyEvent *>(event);
  const Qt::KeyboardModifiers mods = cle->modifiers();
  const int touche = cle->key();
  if (!(mods & Qt::ControlModifier) || (mods & (Qt::AltModifier | Qt::MetaModifier)) ||
      touche < Qt::Key_A || touche > Qt::Key_Z)
    return false;
  // Caps Lock has no portable query; Shift alone selects the capitals.
  const bool majuscule = mods & Qt::ShiftModifier;
  if (!majuscule) {
    if (touche == Qt::Key_V) return false;  // paste stays paste
    if ((touche == Qt::Key_C || touche == Qt::Key_X || touche == Qt::Key_Z) &&
        TraiteSelection(watched, touche))
      return true;
  }
  const char16_t c = LettreGrecque(static_cast<char>('A' + (touche - Qt::Key_A)), majuscule);
  QKeyEvent frappe(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(c)));
  QCoreApplication::sendEvent(watched, &frappe);
  return true;
}

}  // namespace kvx::ui
