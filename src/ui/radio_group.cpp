// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace kvx::ui {

TRadioGroup::TRadioGroup(const char *nom, const QString &titre, int colonnes, QWidget *parent)
    : QGroupBox(titre, parent), m_colonnes(colonnes < 1 ? 1 : colonnes) {
  setObjectName(QString::fromLatin1(nom));
  m_grille = new QGridLayout(this);
  m_grille->setContentsMargins(6, 4, 6, 4);
  m_grille->setHorizontalSpacing(12);
  m_grille->setVerticalSpacing(2);
  m_groupe = new QButtonGroup(this);
  connect(m_groupe, &QButtonGroup::idClicked, this, &TRadioGroup::clicked);
}

void TRadioGroup::FixeItems(const QStringList &items) {
  Vide();
  for (const QString &i : items) Ajoute(i);
}

void TRadioGroup::Vide() {
  for (QRadioButton *b : m_boutons) {
    m_groupe->removeButton(b);
    delete b;
  }
  m_boutons.clear();
}

void TRadioGroup::Ajoute(const QString &item) {
  auto *b = new QRadioButton(item, this);
  b->setObjectName(objectName() + QLatin1Char('_') + QString::number(m_boutons.size()));
  m_groupe->addButton(b, static_cast<int>(m_boutons.size()));
  m_boutons.push_back(b);
  Place();
  // A child added to a box already on screen stays hidden unless told.
  b->show();
}

void TRadioGroup::Place() {
  // Down the columns first, as many rows as the fullest column needs.
  const int n = count();
  const int lignes = (n + m_colonnes - 1) / m_colonnes;
  for (int i = 0; i < n; ++i) {
    m_grille->removeWidget(m_boutons[static_cast<std::size_t>(i)]);
    m_grille->addWidget(m_boutons[static_cast<std::size_t>(i)], i % lignes, i / lignes);
  }
}

QString TRadioGroup::item(int indice) const {
  const QRadioButton *b = bouton(indice);
  return b == nullptr ? QString() : b->text();
}

QRadioButton *TRadioGroup::bouton(int indice) const {
  if (indice < 0 || indice >= count()) return nullptr;
  return m_boutons[static_cast<std::size_t>(indice)];
}

int TRadioGroup::itemIndex() const {
  return m_groupe->checkedId();
}

void TRadioGroup::FixeItemIndex(int indice) {
  if (QRadioButton *b = bouton(indice)) {
    b->setChecked(true);
    return;
  }
  // An exclusive group cannot uncheck its last button by itself.
  if (QAbstractButton *coche = m_groupe->checkedButton()) {
    m_groupe->setExclusive(false);
    coche->setChecked(false);
    m_groupe->setExclusive(true);
  }
}

}  // namespace kvx::ui
