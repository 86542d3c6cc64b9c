// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/boutons_dialogue.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>

#include "ui/aide.h"

namespace kvx::ui {

BoutonsDialogue CreeBoutonsDialogue(QDialog *dialogue, int rubriqueAide) {
  BoutonsDialogue b;
  b.ok = new QPushButton(QStringLiteral("&OK"), dialogue);
  b.ok->setObjectName(QStringLiteral("OKBtn"));
  b.ok->setDefault(true);
  b.abandon = new QPushButton(QStringLiteral("&Abandon"), dialogue);
  b.abandon->setObjectName(QStringLiteral("CancelBtn"));
  b.aide = new QPushButton(dialogue->style()->standardIcon(QStyle::SP_DialogHelpButton),
                           QStringLiteral("&Aide"), dialogue);
  b.aide->setObjectName(QStringLiteral("HelpBtn"));
  b.aide->setProperty("rubriqueAide", rubriqueAide);
  QObject::connect(b.aide, &QPushButton::clicked, dialogue,
                   [rubriqueAide] { MontreAide(rubriqueAide); });
  for (QPushButton *p : {b.abandon, b.aide}) p->setAutoDefault(false);
  b.rangee = new QHBoxLayout;
  b.rangee->addStretch(1);
  b.rangee->addWidget(b.ok);
  b.rangee->addWidget(b.abandon);
  b.rangee->addWidget(b.aide);
  return b;
}

}  // namespace kvx::ui
