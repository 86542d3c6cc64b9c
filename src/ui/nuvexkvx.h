// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>

#include "model/voie.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace kvx::device {
class BoxLink;
class LectureEntree;
}  // namespace kvx::device
namespace kvx::model {
class TlisteCapteur;
}

// "DUv Nuvex KVX": one analog input of the box as the user sets it up: which
// input and range, the quantity it measures, a calibration or a sensor of the
// library, its colour and marker. While open, a bar shows the input's raw
// code and the value it converts to, so the user sees the sensor respond.
// The main window opens it from the panels V1..V4 and reads `change()`.
namespace kvx::ui {

class TRadioGroup;

class TNuvexKvxDlg : public QDialog {
  Q_OBJECT
 public:
  TNuvexKvxDlg(model::TlisteCapteur &capteurs, QWidget *parent = nullptr);
  ~TNuvexKvxDlg() override;

  // The channel to edit and the link its live bar reads through (null: no
  // bar). Set before each opening.
  void FixeVoie(model::Tvoie &voie, device::BoxLink *lien);
  void FormActivate();
  int Execute();
  // The channel's input, reference, calibration or activity changed: the
  // data held were taken otherwise.
  bool change() const { return m_change; }

  QGroupBox *GrandeurGB;
  QLineEdit *EditNom;
  QLineEdit *EditUnite;
  QLineEdit *EditSignif;
  QLineEdit *EditValeur;
  QGroupBox *GroupBox1;
  QComboBox *EntreeCB;
  QCheckBox *Gain6CB;
  QLabel *ModuleRaccordLabel;
  QCheckBox *EtalonCB;
  QGroupBox *EtalonnageGB;
  QLabel *Label0V;
  QLineEdit *val0Edit;
  QLabel *PenteLabel;
  QLineEdit *PenteEdit;
  QPushButton *EtalonneInterBtn;
  QLabel *AvecPotarLabel;
  QLabel *AideLabel;
  QLabel *LabelAide;
  QPushButton *CapteursBtn;
  QGroupBox *AffichageGB;
  QComboBox *CouleurCombo;
  QComboBox *PointCombo;
  TRadioGroup *MasseRG;
  QProgressBar *Gauge1;
  QFrame *BevelZero;
  QPushButton *OKBtn;
  QPushButton *DesactiveBtn;
  QPushButton *HelpBtn;
  QTimer *Timer;

 protected:
  void keyPressEvent(QKeyEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  void done(int r) override;

 private:
  QWidget *CreeGrandeur();
  QWidget *CreeEntree();
  QWidget *CreeEtalonnage();
  QWidget *CreeAffichage();
  void RemplitEntrees();
  void AppliqueEtalonnage();
  void MontreEtalonnage();
  void EtalonCBClick();
  void EntreeCBChange(int index);
  void Gain6CBClick();
  void MasseRGClick(int index);
  // Reads both calibration edits into the channel; false (and the message)
  // when one is not a number.
  bool LitEtalonnage();
  void EtalonnageEdite();
  // Enter in a calibration edit: both numbers read, shown again as the
  // channel now holds them, the live value converted with them; the dialog
  // stays open.
  void EtalonnageValide();
  void NomOuUniteChange();
  void TimerTimer();
  void DemarreLecture();
  void ArreteLecture();
  void OKBtnClick();
  void DesactiveBtnClick();
  void CapteursBtnClick();
  void EtalonneInterBtnClick();
  void ChoisitCouleur(std::int32_t couleur);

  model::TlisteCapteur &m_capteurs;
  model::Tvoie *m_voie = nullptr;
  model::Tvoie *m_voiePrecedente = nullptr;
  device::BoxLink *m_lien = nullptr;
  std::unique_ptr<device::LectureEntree> m_lecture;
  QString m_textesLus;  // the calibration texts last read
  bool m_change = false;
  bool m_activeAuDebut = false;
  std::int32_t m_entreeAuDebut = 0;
  bool m_gain6AuDebut = false;
  // What the channel shows in volts and as a calibrated quantity, kept while
  // the other is shown, so that switching the calibration off and on again
  // loses neither.
  model::Tvoie m_ombreBrute{0};
  model::Tvoie m_ombreCapteur{0};
};

}  // namespace kvx::ui
