// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

// A titled box of mutually exclusive choices, filled down its columns, that
// can also have no choice at all (a list whose items are built at run time
// may hold nothing the program can select). The settings dialogs use it for
// their modes, channels and references. The buttons are named after the box
// and their index ("ModeRG_2").
namespace kvx::ui {

class TRadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  TRadioGroup(const char *nom, const QString &titre, int colonnes, QWidget *parent = nullptr);

  void FixeItems(const QStringList &items);
  void Vide();
  void Ajoute(const QString &item);
  int count() const { return static_cast<int>(m_boutons.size()); }
  QString item(int indice) const;
  QRadioButton *bouton(int indice) const;
  // -1 when no item is selected.
  int itemIndex() const;
  void FixeItemIndex(int indice);

 signals:
  // The user chose item `indice` (not sent when the program selects one).
  void clicked(int indice);

 private:
  void Place();

  int m_colonnes;
  QGridLayout *m_grille;
  QButtonGroup *m_groupe;
  std::vector<QRadioButton *> m_boutons;
};

}  // namespace kvx::ui
