// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The mouse and keys of the paint box mapped to the user's view of the
// graph: the wheel zooms around the pointer (the abscissa; with Shift the
// ordinates), a drag with Ctrl zooms to a rectangle, a drag with the middle or
// right button pans, a double-click or Home shows the whole again; a click
// places reading cursor A, Shift+click cursor B, the arrows move the active
// one point by point and Escape removes them. A press on the trigger
// threshold line is left to its drag. The readings show in the panel beside
// the graph.

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QRubberBand;

namespace kvx::display {
class TgrapheKVX;
}

namespace kvx::ui {

class TOscillo;
class TPanelCourbe;

class TVueOscillo : public QObject {
  Q_OBJECT
 public:
  // `surSeuil` tells whether a press at that point catches the threshold.
  TVueOscillo(TPanelCourbe *panel, display::TgrapheKVX &graphe,
              std::function<bool(QPoint)> surSeuil);

  // The panel's texts from the cursors as they are now.
  void MetAJourLectures();

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  enum class Geste { Aucun, Rectangle, Deplacement, Clic };
  bool Molette(QEvent *event);
  bool Appui(QEvent *event);
  bool Bouge(QEvent *event);
  bool Relache(QEvent *event);
  bool Touche(QEvent *event);
  void Redessine();

  TPanelCourbe *m_panel;
  TOscillo *m_oscillo;
  display::TgrapheKVX &m_graphe;
  std::function<bool(QPoint)> m_surSeuil;
  QRubberBand *m_elastique = nullptr;
  Geste m_geste = Geste::Aucun;
  QPoint m_depart, m_dernier;
  bool m_shift = false;
  // The readings last laid out, for a plot this wide: a pan or a zoom
  // repaints without measuring the same table again.
  std::vector<std::vector<std::string>> m_lignes;
  int m_largeurLectures = -1;
  QString m_table;
};

}  // namespace kvx::ui
