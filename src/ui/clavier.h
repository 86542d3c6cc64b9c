// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace kvx::model {
class TentreeClavier;
}

// "Acquisition au clavier": the quantity the user types during a keyboard
// entry (symbol, unit, meaning) and the range the graph shows it in. OK
// switches the channel on. The main window opens it from its keyboard panel,
// and the mode dialog when the user enters keyboard mode.
namespace kvx::ui {

class TClavierDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TClavierDlg(model::TentreeClavier &clavier, QWidget *parent = nullptr);

  void FormActivate();
  int Execute();

  QGroupBox *GrandeurGB;
  QLineEdit *EditNom;
  QLineEdit *EditUnite;
  QLineEdit *EditSignif;
  QLineEdit *EditMin;
  QLineEdit *EditMax;
  QPushButton *OKBtn;
  QPushButton *CancelBtn;

 private:
  void OKBtnClick();

  model::TentreeClavier &m_clavier;
};

}  // namespace kvx::ui
