// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace kvx::model {
class Tveltor;
}

// "Fourche optique": how the optical fork's counts become positions (a
// displacement or an angle, the size of one counted step, the symbol, the
// sign of a fall) and how many events a run fetches at most. The main window
// opens it from the fork's boxes and applies the configuration after; OK
// writes into the channel, "Abandon" leaves it.
namespace kvx::ui {

class TRadioGroup;

inline constexpr int kAideVeltor = 3;
inline constexpr int kNbreMaxVeltorMin = 30;
inline constexpr int kNbreMaxVeltorMax = 1000;
inline constexpr int kNbreMaxVeltorPas = 10;
inline constexpr int kLongueurNomVeltor = 8;

class TVeltorCfg : public QDialog {
  Q_OBJECT
 public:
  explicit TVeltorCfg(model::Tveltor &fourche, QWidget *parent = nullptr);

  // The controls from the channel, as the dialog shows itself.
  void FormActivate();
  // FormActivate, then the dialog through the program's modal runner.
  int Execute();

  QLineEdit *NomVeltorEdit;
  TRadioGroup *ModeRG;
  TRadioGroup *UniteRG;
  QLineEdit *TailleTraitEdit;
  QLabel *UniteTailleLabel;  // the unit of the half period, as the type and unit say
  QCheckBox *NegatifCB;
  QSpinBox *NbreMaxSE;
  QPushButton *OKBtn;
  QPushButton *CancelBtn;
  QPushButton *HelpBtn;

 private:
  void ModeRGClick(int indice);
  void AfficheUniteTaille();
  void NomVeltorEditChange(const QString &texte);
  void OKBtnClick();

  model::Tveltor &m_fourche;
};

}  // namespace kvx::ui
