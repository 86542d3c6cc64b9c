// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the user looks at the recorded curves: the zoom window on the abscissa
// and on the ordinates, the two reading cursors, and whether earlier runs are
// overlaid. The graph applies it at every full redraw, so the window, a
// picture export and a print all show the same view; the paint box only maps
// the wheel, the drags, the clicks and the keys to it.
//
// The windows are fractions of the range the settings give each axis (0..1 is
// the full view), so that one ordinate zoom applies alike to every curve
// sharing the plot, whatever its unit; on a logarithmic axis they are
// fractions of its decades.

#include <array>
#include <string>
#include <vector>

#include "display/graduation.h"

namespace kvx::display {

// A window on one axis as a fraction of the settings' range.
struct Fenetre {
  double debut = 0;
  double fin = 1;
  double largeur() const { return fin - debut; }
  bool pleine() const { return debut == 0 && fin == 1; }
  // The displayed range of an axis whose settings give `p`.
  Plage applique(const Plage &p) const {
    return {p.min + debut * p.largeur(), p.min + fin * p.largeur()};
  }
};

// No closer than this part of the full range: a double still tells the
// graduations apart and the user has not lost the curve.
inline constexpr double kLargeurMinimale = 1e-6;
// The window never runs past the full range by more than the range's own
// span on either side: zooming out or panning further only shows blank.
inline constexpr double kDebordMaximal = 1;

// The reading cursors: A placed by a click, B by Shift+click. Each holds the
// index of a recorded point; the arrows move the active one point by point.
enum class CurseurLecture { A = 0, B = 1 };

class VueGraphe {
 public:
  // --- Zoom and pan ----------------------------------------------------
  const Fenetre &fenetreX() const { return m_x; }
  const Fenetre &fenetreY() const { return m_y; }
  bool zoomee() const { return !m_x.pleine() || !m_y.pleine(); }
  // Zooms by `facteur` (below 1 closer, above 1 farther) around the point at
  // `f` (0 left or bottom, 1 right or top) of what is shown: that point
  // stays where it is on the screen.
  void ZoomeX(double f, double facteur) { Zoome(m_x, f, facteur); }
  void ZoomeY(double f, double facteur) { Zoome(m_y, f, facteur); }
  // Shows the part f0..f1 of what is shown on the axis (a rectangle drag).
  void CadreX(double f0, double f1) { Cadre(m_x, f0, f1); }
  void CadreY(double f0, double f1) { Cadre(m_y, f0, f1); }
  // Moves what is shown by `d` of its own width (positive: towards larger
  // values), held at the edges.
  void DeplaceX(double d) { Deplace(m_x, d); }
  void DeplaceY(double d) { Deplace(m_y, d); }
  // The full view the settings give, without cursors: after a new
  // acquisition, a change of settings or a recording brought back.
  void Reinitialise();
  // Back to the full view, the cursors kept (double-click, Home).
  void VueComplete();
  // The zoom of another view, the cursors unchanged.
  void ReprendZoom(const VueGraphe &autre) {
    m_x = autre.m_x;
    m_y = autre.m_y;
  }

  // --- Reading cursors ---------------------------------------------------
  bool curseurPlace(CurseurLecture c) const { return m_curseurs[Indice(c)] >= 0; }
  // The recorded point the cursor stands on, or -1.
  int curseur(CurseurLecture c) const { return m_curseurs[Indice(c)]; }
  void PlaceCurseur(CurseurLecture c, int point);
  CurseurLecture actif() const { return m_actif; }
  // Moves the active cursor by `pas` points, held within 0..nbPoints-1.
  void DeplaceCurseur(int pas, int nbPoints);
  void EnleveCurseurs();
  // Drops cursors that no longer fall on a recorded point.
  void LimiteCurseurs(int nbPoints);

  // --- Overlays ----------------------------------------------------------
  // Earlier runs drawn behind the current one.
  bool superposer = false;
  // The user asked for the overlays in an export too ("exporter avec les
  // superpositions"); a transfer never carries them.
  bool exporterSuperpositions = false;

 private:
  static std::size_t Indice(CurseurLecture c) { return static_cast<std::size_t>(c); }
  static void Zoome(Fenetre &w, double f, double facteur);
  static void Cadre(Fenetre &w, double f0, double f1);
  static void Deplace(Fenetre &w, double d);
  static void Borne(Fenetre &w);

  Fenetre m_x, m_y;
  std::array<int, 2> m_curseurs{-1, -1};
  CurseurLecture m_actif = CurseurLecture::A;
};

}  // namespace kvx::display
