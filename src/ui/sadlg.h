// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace kvx::device {
class BoxLink;
}
namespace kvx::model {
class TsortieAnalogique;
}

// "Sortie analogique": the start and end levels of the analog-output sweep,
// the symbol of the output and the time between two levels. The box's output
// follows the start level while it is set, so the user can measure it; the
// time step applies at once. The main window opens it from its analog-output
// panel and applies the configuration afterwards, whatever the answer.
namespace kvx::ui {

class TSpinButtons;

inline constexpr int kAideSortieAna = 8;

class TSortieAnaDlg : public QDialog {
  Q_OBJECT
 public:
  TSortieAnaDlg(model::TsortieAnalogique &sortie, device::BoxLink &lien, QWidget *parent = nullptr);

  // The controls from the channel; the box's output goes to the start level.
  void FormActivate();
  int Execute();

  QGroupBox *DebutGB;
  QScrollBar *DebutSAScroll;
  QLineEdit *EditDebutSA;
  QGroupBox *FinGB;
  QScrollBar *FinSAScroll;
  QLineEdit *EditFinSA;
  QGroupBox *GroupBox1;
  QLineEdit *EditNomSA;
  QGroupBox *GroupBox2;
  QLineEdit *DeltatEdit;
  TSpinButtons *DeltatSBtn;
  QCheckBox *InverseCB;
  QCheckBox *EtalonCB;
  QPushButton *OKBtn;
  QPushButton *CancelBtn;
  QPushButton *HelpBtn;

 private:
  void CreeNiveaux();
  void CreeNomEtDeltat();
  void DebutSAScrollChange();
  void FinSAScrollChange();
  void PlaceBarres(int debut, int fin);
  void EnvoieDebut();
  void AfficheDeltat();
  void OKBtnClick();

  model::TsortieAnalogique &m_sortie;
  device::BoxLink &m_lien;
};

}  // namespace kvx::ui
