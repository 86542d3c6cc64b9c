// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QWidget>
#include <vector>

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
  // The readings of the two cursors, in a top corner of the plot while one
  // is placed.
  QLabel *LecturesCurseurs;

  // Shows these readings (an empty text hides them) in a top corner of the
  // plotting zone `zone`: over the graph rather than beside it, so that the
  // graph keeps its width and the second click lands where it was aimed.
  // The right corner, unless one of the cursor lines at `curseurs` (pixel
  // columns) would pass under the readings there and not in the left one.
  void AfficheLectures(const QString &texte, const QRect &zone = {},
                       const std::vector<int> &curseurs = {});

  // Sets the advice, the panel growing downwards to hold it all.
  void FixeConseil(const QString &conseil);

 protected:
  void resizeEvent(QResizeEvent *event) override;

 private:
  void CreeNuvexAbsent();
  void Dispose();

  QRect m_zone;
  std::vector<int> m_curseurs;
};

}  // namespace kvx::ui
