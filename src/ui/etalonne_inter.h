// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>

class QFrame;
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
class Tvoie;
}

// "Etalonnage interactif": the user puts the sensor in a known state, types
// the value and freezes the input's reading; a second state, or the origin
// for a sensor known to be proportional, gives the line from volts to values.
// On OK the channel holds the new offset and slope.
namespace kvx::ui {

class TEtalonneInterDlg : public QDialog {
  Q_OBJECT
 public:
  // `lien` may be null (no box): the bars then stay where they are.
  TEtalonneInterDlg(model::Tvoie &voie, device::BoxLink *lien, QWidget *parent = nullptr);
  ~TEtalonneInterDlg() override;

  void FormActivate();
  int Execute();

  QLabel *LabelInteractif;
  QLineEdit *EditInteractif1;
  QLineEdit *EditInteractif2;
  QProgressBar *GaugeInter1;
  QProgressBar *GaugeInter2;
  // The voltage each bar stands for, as a number beside it.
  QLabel *TensionInter1;
  QLabel *TensionInter2;
  // What to do now, in one line: the first point, then the second.
  QLabel *ConsigneLabel;
  QLabel *Label4;
  QFrame *Bevel3;
  QPushButton *Point1;
  QPushButton *Point2;
  QPushButton *Point2Manuel;
  QPushButton *CancelBtn;
  QPushButton *HelpBtn;
  QTimer *Timer;

 protected:
  void done(int r) override;
  void resizeEvent(QResizeEvent *event) override;

 private:
  void TimerTimer();
  void Point1Click();
  void Calcule(bool manuel);
  void ArreteLecture();
  void PlaceZero();
  void AfficheTensions();

  model::Tvoie &m_voie;
  device::BoxLink *m_lien;
  std::unique_ptr<device::LectureEntree> m_lecture;
  bool m_phase2 = false;
};

}  // namespace kvx::ui
