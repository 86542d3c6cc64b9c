// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
class QScrollBar;
class QStackedWidget;

namespace kvx::device {
class AcquisitionEngine;
}
namespace kvx::display {
class TgrapheKVX;
}

// "Synchronisation": what starts a timed scan (an edge on one of the box's
// edge inputs, nothing, the space bar or the button, an input crossing a
// threshold, an input that moves) and its settings. The main window opens it
// from its trigger panel and applies the configuration afterwards, whatever
// the answer. OK writes into the graph and the engine's edge input.
namespace kvx::ui {

class TRadioGroup;

inline constexpr int kAideSynchro = 5;

class TSynchroDlg : public QDialog {
  Q_OBJECT
 public:
  TSynchroDlg(display::TgrapheKVX &graphe, device::AcquisitionEngine &moteur,
              QWidget *parent = nullptr);

  // The controls from the graph, as the dialog shows itself. A trigger
  // channel that is switched off is replaced by the first active input.
  void FormActivate();
  int Execute();
  // The input whose threshold LabelSeuil shows.
  int voieAffichee() const { return m_voieAffichee; }

  TRadioGroup *SynchroRG;
  QStackedWidget *Notebook;
  QWidget *FrontTS;
  QWidget *RelaxeTS;
  QWidget *ClavierTS;
  QWidget *SeuilTS;
  QWidget *BougeTS;
  TRadioGroup *EFRG;
  TRadioGroup *SensSeuilRG;
  QScrollBar *SeuilScroll;
  QLabel *LabelSeuil;
  QPushButton *RazSeuilBtn;
  TRadioGroup *AbscisseRG;
  QScrollBar *BougeScroll;
  QLabel *LabelBouge;
  TRadioGroup *BougeRG;
  QPushButton *OKBtn;
  QPushButton *CancelBtn;
  QPushButton *HelpBtn;

 private:
  void CreePages();
  QWidget *CreeSeuil();
  QWidget *CreeBouge();
  void SynchroRGClick(int mode);
  void VoieClick(int indice);
  void SeuilScrollChange();
  void BougeScrollChange();
  void OKBtnClick();
  int SlotDe(const TRadioGroup *liste) const;

  display::TgrapheKVX &m_graphe;
  device::AcquisitionEngine &m_moteur;
  std::vector<int> m_slots;  // graph slot of each item of both channel lists
  int m_voieAffichee = 5;
};

}  // namespace kvx::ui
