// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/filtre_saisie.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "model/entree_analogique.h"
#include "model/nombres.h"

namespace kvx::ui {

TFiltreSaisie::TFiltreSaisie(QLineEdit *edit, std::function<char32_t(char32_t)> filtre)
    : QObject(edit), m_filtre(std::move(filtre)) {
  edit->installEventFilter(this);
}

bool TFiltreSaisie::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto *cle = static_cast<QKeyEvent *>(event);
  const QString t = cle->text();
  if (t.isEmpty() || (cle->modifiers() & Qt::ControlModifier)) return false;
  const char32_t c = t.toUcs4().value(0);
  // Backspace, Tab and Enter type control codes: they edit and confirm.
  if (c < 32 || t.size() > 2) return false;
  const char32_t r = m_filtre(c);
  if (r == 0) return true;
  if (r == c) return false;
  static_cast<QLineEdit *>(watched)->insert(QString::fromUcs4(&r, 1));
  return true;
}

void FiltreNombre(QLineEdit *edit) {
  new TFiltreSaisie(edit, model::FiltreTouche);
}

void FiltreSymbole(QLineEdit *edit) {
  new TFiltreSaisie(edit, [](char32_t c) { return model::CaractereSymboleAdmis(c) ? c : 0; });
}

}  // namespace kvx::ui
