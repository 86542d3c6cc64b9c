// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The left column of the command panel: one group box a setting of the
// acquisition (mode, trigger, scan, point by point, analog output, keyboard
// entry, optical fork). Only the boxes of the current mode are shown; a click
// on a box opens its settings.
namespace kvx::ui {

class TSpinButtons;

class TPanelMode : public QWidget {
  Q_OBJECT
 public:
  explicit TPanelMode(QWidget *parent = nullptr);
  // The width every box of any mode needs, shown or not, so that switching
  // modes never cuts a caption ("Arrêt auto. après").
  int LargeurNecessaire() const;

  QGroupBox *ClavierGB;
  QLineEdit *ClavierEdit;
  QGroupBox *ModeGB;
  QLabel *ModeLabel;
  QGroupBox *PointGB;
  QCheckBox *PointAutoCB;
  QGroupBox *SynchroGB;
  QLabel *SynchroLabel;
  QCheckBox *MonocoupCB;
  QGroupBox *BalayageGB;
  QLineEdit *DureeEdit;
  TSpinButtons *DureeSpin;
  QLineEdit *NbreEdit;
  TSpinButtons *NbreSpin;
  QLabel *DeltatLabel;
  QLabel *FechLabel;
  QLabel *minmax;
  QGroupBox *SortieAnaGB;
  QLabel *LabelSA;
  QGroupBox *ModeVeltorGB;
  QCheckBox *VeltorAutoCB;
  QSpinBox *VeltorSE;

 private:
  void CreeClavier();
  void CreeModeEtPoint();
  void CreeSynchro();
  void CreeBalayage();
  void CreeSortieEtVeltor();
};

}  // namespace kvx::ui
