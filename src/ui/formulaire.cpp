// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/formulaire.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "ui/nomme.h"

namespace kvx::ui {

QFormLayout *RangeChamps(QWidget *boite, std::initializer_list<ChampFormulaire> champs) {
  auto *f = new QFormLayout(boite);
  for (const ChampFormulaire &c : champs) {
    auto *label = Nomme(new QLabel(QString::fromUtf8(c.texte), boite), c.nomLabel);
    label->setBuddy(c.edit);
    f->addRow(label, c.edit);
  }
  return f;
}

}  // namespace kvx::ui
