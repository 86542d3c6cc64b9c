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
  w->setToolTip(PartieCourte(hint));
  w->setStatusTip(PartieLongue(hint));
}

}  // namespace kvx::ui
