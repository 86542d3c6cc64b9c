// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

// The graph area: the paint box filling a white panel, and over its top-left
// corner the red panel that tells the user the box was not found and offers
// to search again.
namespace kvx::ui {

class TOscillo;

class TPanelCourbe : public QWidget {
  Q_OBJECT
 public:
  explicit TPanelCourbe(QWidget *parent = nullptr);

  TOscillo *Oscillo;
  QFrame *NuvexAbsent;
  QPushButton *ComBtn;
  QPushButton *EscapeBtn;
  QLabel *Label7;  // the advice: switch the box off and on, or the refused port's remedy
  QLabel *Label8;  // optical-fork program upload under way
  // The readings of the two cursors, beside the graph while one is placed.
  QLabel *LecturesCurseurs;

  // Shows these readings (an empty text hides the panel).
  void AfficheLectures(const QString &texte);

  // Sets the advice, the panel growing downwards to hold it all.
  void FixeConseil(const QString &conseil);

 protected:
  void resizeEvent(QResizeEvent *event) override;

 private:
  void CreeNuvexAbsent();
  void Dispose();
};

}  // namespace kvx::ui
