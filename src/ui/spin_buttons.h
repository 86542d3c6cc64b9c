// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QToolButton;

// The small up/down arrow pair beside the duration and point-count fields:
// one click doubles or halves the value, which the field alone cannot do.
namespace kvx::ui {

class TSpinButtons : public QWidget {
  Q_OBJECT
 public:
  explicit TSpinButtons(const QString &nom, QWidget *parent = nullptr);
  QToolButton *haut() const { return m_haut; }
  QToolButton *bas() const { return m_bas; }

 signals:
  void monte();
  void descend();

 private:
  QToolButton *m_haut;
  QToolButton *m_bas;
};

}  // namespace kvx::ui
