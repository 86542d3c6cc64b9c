// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/champs_lus.h"

#include <QLineEdit>
#include <QWidget>
#include <cmath>

#include "model/erreurs.h"
#include "model/expression.h"
#include "model/unite.h"
#include "ui/dialogue_modal.h"

namespace kvx::ui {

namespace {

void Refuse(QWidget *dialogue, QLineEdit *champ, const QString &texte) {
  MontreMessage(dialogue, QMessageBox::Warning, dialogue->windowTitle(), texte);
  champ->setFocus();
  champ->selectAll();
}

}  // namespace

bool LitExpressions(QWidget *dialogue, std::initializer_list<QLineEdit *> champs, double *valeurs,
                    const QString &format) {
  for (QLineEdit *champ : champs) {
    QString raison;
    try {
      *valeurs = model::Evalue(champ->text().toStdString());
      if (std::isnan(*valeurs)) raison = QStringLiteral("Aucune valeur");
    } catch (const model::EGetFloatError &e) {
      raison = QString::fromUtf8(e.what());
    }
    if (!raison.isEmpty()) {
      Refuse(dialogue, champ, format.arg(raison));
      return false;
    }
    ++valeurs;
  }
  return true;
}

bool UniteLisible(QWidget *dialogue, QLineEdit *champ) {
  try {
    model::Tunite essai;
    essai.FixeUnite(champ->text().toStdString());
  } catch (const model::EUniteError &e) {
    Refuse(dialogue, champ, QString::fromUtf8(e.what()));
    return false;
  }
  return true;
}

}  // namespace kvx::ui
