// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Draws a curve as joined lines on the canvas, fast and exact.
//
// Points come in order as pixel positions (NaN for a point that cannot be
// drawn, which breaks the line). A line through consecutive points that fall
// in one pixel column inks that column from the lowest to the highest of
// them; what joins it to the next column is the piece from its last point to
// the next column's first. So each column is drawn as one vertical piece and
// at most one joining piece (none when the two columns already ink its
// rows), whatever the number of points in it: the same pixels as a line
// through every point, and a 6400-point recording on a 1000-pixel-wide graph
// costs a fraction of it.
// Pieces are cut at the edges of the visible rectangle so that nothing is
// drawn outside it, however far outside a value lies.

#include <vector>

#include "display/canvas.h"
#include "display/projection.h"

namespace kvx::display {

class TraceurCourbe {
 public:
  TraceurCourbe(Canvas &canvas, const Rect &visible);
  // Keeps the pieces in `sortie` (pairs of ends) instead of drawing them.
  TraceurCourbe(std::vector<Point> &sortie, const Rect &visible);
  ~TraceurCourbe() { termine(); }
  TraceurCourbe(const TraceurCourbe &) = delete;
  TraceurCourbe &operator=(const TraceurCourbe &) = delete;

  // The next point, in pixels; NaN in either coordinate breaks the line.
  void ajoute(double x, double y);
  // Draws what is pending; the next point begins a new line.
  void termine();

 private:
  enum class Precedent { Aucun, Dedans, Dehors };
  TraceurCourbe(Canvas *canvas, std::vector<Point> *sortie, const Rect &visible);

  void emet(int x, int y);
  void finColonne();
  void piece(int x0, int y0, int x1, int y1);
  void coupe();
  void entreOuSort(double x, double y, bool ici);
  bool dedans(double x, double y) const {
    return x >= m_gauche && x <= m_droite && y >= m_haut && y <= m_bas;
  }

  Canvas *m_canvas;
  std::vector<Point> *m_sortie = nullptr;
  double m_gauche, m_haut, m_droite, m_bas;  // inclusive pixel bounds
  bool m_vide;
  Precedent m_precedent = Precedent::Aucun;
  double m_px = 0, m_py = 0;
  // The pixel column being gathered.
  bool m_colonne = false;
  int m_colX = 0, m_mini = 0, m_maxi = 0, m_dernier = 0;
  // The column before it, and the piece joining the two, not yet drawn.
  int m_precMini = 0, m_precMaxi = 0;
  bool m_liaison = false;
  int m_liaisonX0 = 0, m_liaisonY0 = 0, m_liaisonY1 = 0;
  std::vector<Point> m_bouts;  // pairs of ends of the pieces to draw
};

// The pieces of one curve, gathered to be drawn with the others.
struct TraitsCourbe {
  Rgb couleur;
  std::vector<Point> bouts;  // pairs of ends, as TraceurCourbe gives them
};

// For curves drawn in this order, each over the ones before with a plain
// one-pixel pen: where a later curve inks a stretch of a pixel column, what
// the earlier ones had there is left out. The picture is the same, and noisy
// curves that each ink whole columns cost one curve's ink instead of all of
// theirs. A steep piece between two neighbouring columns (a zoomed noisy
// curve, a point a column) is two stretches, one in each, split on the row
// where the canvas's one-pixel line steps across, so it is hidden as well.
void CacheTraits(std::vector<TraitsCourbe> &courbes, const Rect &visible);

// The row where a one-pixel line from (x, haut) down to (x + pas, bas),
// pas = +-1 and bas - haut >= 2, passes to its second column: rows
// haut..passe-1 lie in column x, rows passe..bas in column x + pas.
inline int LignePasse(int haut, int bas, int pas) {
  const int dy = bas - haut;
  return pas > 0 ? haut + (dy + 1) / 2 : haut + dy / 2 + 1;
}

// The points debut..fin worth projecting for the pixel columns
// gauche..droite: when the abscissa never decreases (a time base) only those
// inside and one on each side can ink the picture, which spares a zoomed
// view the points it does not show; otherwise all of them.
struct PlagePoints {
  int debut;
  int fin;
};
PlagePoints PointsVisibles(const double *xs, int debut, int fin, const Projection &px, int gauche,
                           int droite);

// The joined line of points debut..fin (inclusive) of the curve `ys` against
// the abscissa `xs`.
void TraceCourbe(Canvas &canvas, const Rect &visible, const double *xs, const double *ys, int debut,
                 int fin, const Projection &px, const Projection &py);

}  // namespace kvx::display
