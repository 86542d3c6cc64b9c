// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;

// "Acquisition en cours": a small window that stays on top, without
// blocking, while the optical fork counts. Its button ends the run (the box
// is asked for its events); with "Arrêt auto. après" ticked on the fork
// panel it also counts down the seconds set there, plus two, and ends the
// run at 0.
namespace kvx::ui {

class TVeltorStopDlg : public QDialog {
  Q_OBJECT
 public:
  // `autoCB` and `secondes` are the fork panel's `VeltorAutoCB` and
  // `VeltorSE`; `arret` ends the run.
  TVeltorStopDlg(QCheckBox *autoCB, QSpinBox *secondes, std::function<void()> arret,
                 QWidget *parent = nullptr);

  // Shown, and its count-down started as the panel says.
  void Montre();
  // Closed by the program (the run ended by itself): nothing more to stop.
  void Ferme();
  int restant() const { return m_restant; }

  QLabel *Label2;
  QPushButton *OKBtn;
  QTimer *Timer;

 protected:
  void hideEvent(QHideEvent *event) override;
  // Escape and the window's close button end the run as the button does:
  // a run whose count-down went with its window would never end by itself.
  void reject() override;

 private:
  void FormActivate();
  void TimerTimer();
  void OKBtnClick();

  QCheckBox *m_autoCB;
  QSpinBox *m_secondes;
  std::function<void()> m_arret;
  int m_restant = 0;
};

}  // namespace kvx::ui
