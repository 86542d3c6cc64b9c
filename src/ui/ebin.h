// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace kvx::model {
class TentreeBinaire;
}

// "Entrées binaires": how many of the box's binary inputs EB0..EB7 are read
// as one word, and whether that word is recorded. The count applies at once;
// both buttons close the dialog. The main window opens it from the binary
// inputs' box of its voltmeter column and applies the configuration after.
namespace kvx::ui {

inline constexpr int kNbreBinMin = 1;
inline constexpr int kNbreBinMax = 8;

class TEntreeBinDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TEntreeBinDlg(model::TentreeBinaire &entree, QWidget *parent = nullptr);

  void FormActivate();
  int Execute();

  QLabel *Label1;
  QSpinBox *NbreBinSE;
  QPlainTextEdit *Memo;
  QPushButton *OKBtn;
  QPushButton *DesactiveBtn;

 protected:
  // Escape is "&Désactiver", as the user reads on the button.
  void keyPressEvent(QKeyEvent *event) override;

 private:
  void NbreBinSEChange(int n);
  void EcritMemo(int n);

  model::TentreeBinaire &m_entree;
};

}  // namespace kvx::ui
