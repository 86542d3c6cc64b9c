// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/hints.h"

#include <QWidget>

namespace kvx::ui {

QString PartieLongue(const QString &hint) {
  const qsizetype barre = hint.indexOf(QLatin1Char('|'));
  return barre < 0 ? hint : hint.mid(barre + 1);
}

QString PartieCourte(const QString &hint) {
  const qsizetype barre = hint.indexOf(QLatin1Char('|'));
  return barre < 0 ? hint : hint.left(barre);
}

void FixeHint(QWidget *w, const QString &hint) {
  // A hint with only its long part still shows beside the pointer: the title
  // bar is far from where the user looks.
  const QString court = PartieCourte(hint);
  w->setToolTip(court.isEmpty() ? PartieLongue(hint) : court);
  w->setStatusTip(PartieLongue(hint));
}

}  // namespace kvx::ui
