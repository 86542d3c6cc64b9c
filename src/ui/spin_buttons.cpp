// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/spin_buttons.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace kvx::ui {

namespace {

QToolButton *Fleche(Qt::ArrowType sens, const QString &nom, QWidget *parent) {
  auto *b = new QToolButton(parent);
  b->setObjectName(nom);
  b->setArrowType(sens);
  b->setFixedSize(16, 11);
  b->setFocusPolicy(Qt::NoFocus);
  b->setAutoRaise(false);
  return b;
}

}  // namespace

TSpinButtons::TSpinButtons(const QString &nom, QWidget *parent)
    : QWidget(parent),
      m_haut(Fleche(Qt::UpArrow, nom + QStringLiteral("Up"), this)),
      m_bas(Fleche(Qt::DownArrow, nom + QStringLiteral("Down"), this)) {
  setObjectName(nom);
  auto *l = new QVBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  l->setSpacing(0);
  l->addWidget(m_haut);
  l->addWidget(m_bas);
  connect(m_haut, &QToolButton::clicked, this, &TSpinButtons::monte);
  connect(m_bas, &QToolButton::clicked, this, &TSpinButtons::descend);
}

}  // namespace kvx::ui
