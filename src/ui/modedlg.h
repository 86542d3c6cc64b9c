// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QSpinBox;

namespace kvx::display {
class TgrapheKVX;
}

// "Mode d'acquisition": the acquisition mode, the abscissa of the graph, how
// the points are drawn, the axes and the input reference of the analog
// inputs. The main window opens it from its mode panel and applies the
// configuration afterwards; OK writes into the graph, "Abandon" leaves it.
namespace kvx::ui {

class TRadioGroup;

// The help page of the dialog.
inline constexpr int kAideModeAcq = 3;

class TmodeAcqDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TmodeAcqDlg(display::TgrapheKVX &graphe, QWidget *parent = nullptr);

  // The controls from the graph and the input reference, as the dialog shows
  // itself.
  void FormActivate();
  // FormActivate, then the dialog through the program's modal runner.
  int Execute();
  // OK changed the acquisition mode: the points held belong to the old one.
  bool modeChange() const { return m_modeChange; }
  // Entering keyboard mode asks at once for the keyboard channel's settings.
  void FixeSaisieClavier(std::function<void()> ouvre) { m_saisieClavier = std::move(ouvre); }
  bool superposer() const;

  TRadioGroup *ModeRG;
  TRadioGroup *AbscisseRG;
  QGroupBox *TraceGB;
  QCheckBox *TraceLigneCB;
  QCheckBox *TracePointsCB;
  QSpinBox *DimPointSE;
  // Earlier runs behind the current one; the window's menu item of the same
  // name follows it once the dialog is accepted.
  QCheckBox *SuperposerCB;
  QGroupBox *GroupBox1;
  QCheckBox *AnalyseurLogiqueCB;
  QCheckBox *AxeCB;
  QCheckBox *GrilleCB;
  TRadioGroup *MasseRG;
  QPushButton *OKBtn;
  QPushButton *CancelBtn;
  QPushButton *HelpBtn;

 private:
  void CreeTrace();
  void CreeAxes();
  void ModeRGClick(int mode);
  void AnalyseurLogiqueCBClick();
  void OKBtnClick();
  void ConstruitAbscisses(int mode);

  display::TgrapheKVX &m_graphe;
  bool m_modeChange = false;
  int m_modeActivation = 1;
  std::vector<int> m_slotsAbscisse;  // graph slot of each item of AbscisseRG
  std::function<void()> m_saisieClavier;
};

}  // namespace kvx::ui
