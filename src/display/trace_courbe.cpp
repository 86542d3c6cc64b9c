// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/trace_courbe.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace kvx::display {

namespace {

// Pieces are handed to the canvas in batches of this many.
constexpr std::size_t kLot = 1024;
// Steep pieces between neighbouring columns at least this tall are split to
// be hidden; shorter ones cost little ink and would only add pieces.
constexpr int kHauteurPasse = 8;
// Below this many rows of ink a column on average, hiding is not worth it.
constexpr std::int64_t kEncreACacher = 32;

// Cuts the segment (x0, y0)-(x1, y1) to the rectangle; false when no part of
// it lies inside (Liang-Barsky).
bool Decoupe(double &x0, double &y0, double &x1, double &y1, double gauche, double haut,
             double droite, double bas) {
  const double dx = x1 - x0, dy = y1 - y0;
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - gauche, droite - x0, y0 - haut, bas - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const double ax = x0 + t0 * dx, ay = y0 + t0 * dy;
  x1 = x0 + t1 * dx;
  y1 = y0 + t1 * dy;
  x0 = ax;
  y0 = ay;
  return true;
}

}  // namespace

TraceurCourbe::TraceurCourbe(std::vector<Point> &sortie, const Rect &visible)
    : TraceurCourbe(nullptr, &sortie, visible) {}

TraceurCourbe::TraceurCourbe(Canvas &canvas, const Rect &visible)
    : TraceurCourbe(&canvas, nullptr, visible) {
  m_bouts.reserve(2 * kLot + 4);
}

TraceurCourbe::TraceurCourbe(Canvas *canvas, std::vector<Point> *sortie, const Rect &visible)
    : m_canvas(canvas),
      m_sortie(sortie),
      m_gauche(visible.left),
      m_haut(visible.top),
      m_droite(visible.right - 1),
      m_bas(visible.bottom - 1),
      m_vide(visible.empty()) {}

void TraceurCourbe::ajoute(double x, double y) {
  if (m_vide) return;
  if (std::isnan(x) || std::isnan(y)) {
    coupe();
    return;
  }
  // Far beyond the picture only the direction matters; holding positions
  // within +-kPixelLimite keeps the cut at the edges exact (a value of 1e300
  // would lose every digit of the crossing point).
  const double limite = kPixelLimite;
  x = ArrondiPixel(std::clamp(x, -limite, limite));
  y = ArrondiPixel(std::clamp(y, -limite, limite));
  const bool ici = dedans(x, y);
  if (ici && m_precedent != Precedent::Dehors)
    emet(static_cast<int>(x), static_cast<int>(y));
  else if (m_precedent != Precedent::Aucun)
    entreOuSort(x, y, ici);
  m_px = x;
  m_py = y;
  m_precedent = ici ? Precedent::Dedans : Precedent::Dehors;
}

// A piece from the previous point to (x, y) with at least one end outside:
// only its part inside is drawn, and a line that leaves ends there.
void TraceurCourbe::entreOuSort(double x, double y, bool ici) {
  double x0 = m_px, y0 = m_py, x1 = x, y1 = y;
  const bool etaitDedans = m_precedent == Precedent::Dedans;
  if (Decoupe(x0, y0, x1, y1, m_gauche, m_haut, m_droite, m_bas)) {
    auto arrondi = [](double v, double lo, double hi) {
      return static_cast<int>(std::clamp(ArrondiPixel(v), lo, hi));
    };
    if (!etaitDedans) emet(arrondi(x0, m_gauche, m_droite), arrondi(y0, m_haut, m_bas));
    if (ici)
      emet(static_cast<int>(x), static_cast<int>(y));
    else
      emet(arrondi(x1, m_gauche, m_droite), arrondi(y1, m_haut, m_bas));
  }
  if (!ici) coupe();
}

void TraceurCourbe::emet(int x, int y) {
  if (m_colonne) {
    if (x == m_colX) {
      m_mini = std::min(m_mini, y);
      m_maxi = std::max(m_maxi, y);
      m_dernier = y;
      return;
    }
    finColonne();
    // The piece that leaves the column from its last point; drawn once the
    // next column is known, since it may ink nothing new.
    m_liaison = true;
    m_liaisonX0 = m_colX;
    m_liaisonY0 = m_dernier;
    m_liaisonY1 = y;
  }
  m_colonne = true;
  m_colX = x;
  m_mini = m_maxi = m_dernier = y;
}

void TraceurCourbe::finColonne() {
  if (m_liaison) {
    // Between two neighbouring columns the joining piece inks only rows
    // between its ends, in those two columns: when both columns already ink
    // all of these rows, it adds nothing (a noisy signal, column after column).
    const int bas = std::min(m_liaisonY0, m_liaisonY1), haut = std::max(m_liaisonY0, m_liaisonY1);
    const bool inutile = m_colX == m_liaisonX0 + 1 && bas >= std::max(m_precMini, m_mini) &&
                         haut <= std::min(m_precMaxi, m_maxi);
    if (!inutile) piece(m_liaisonX0, m_liaisonY0, m_colX, m_liaisonY1);
    m_liaison = false;
  }
  // The column's ink, from its lowest to its highest point.
  piece(m_colX, m_mini, m_colX, m_maxi);
  m_precMini = m_mini;
  m_precMaxi = m_maxi;
}

void TraceurCourbe::piece(int x0, int y0, int x1, int y1) {
  if (m_sortie) {
    m_sortie->push_back({x0, y0});
    m_sortie->push_back({x1, y1});
    return;
  }
  m_bouts.push_back({x0, y0});
  m_bouts.push_back({x1, y1});
  if (m_bouts.size() >= 2 * kLot) {
    m_canvas->lines(m_bouts.data(), m_bouts.size() / 2);
    m_bouts.clear();
  }
}

void TraceurCourbe::coupe() {
  if (m_colonne) finColonne();
  m_colonne = false;
  m_liaison = false;
  m_precedent = Precedent::Aucun;
}

void TraceurCourbe::termine() {
  coupe();
  if (!m_bouts.empty()) m_canvas->lines(m_bouts.data(), m_bouts.size() / 2);
  m_bouts.clear();
}

void CacheTraits(std::vector<TraitsCourbe> &courbes, const Rect &visible) {
  if (visible.empty()) return;
  // Smooth curves ink a few rows a column: little to hide, and sorting out
  // what is hidden would cost more than writing it.
  std::int64_t encre = 0;
  for (const TraitsCourbe &c : courbes)
    for (std::size_t i = 0; i + 1 < c.bouts.size(); i += 2)
      encre += std::abs(c.bouts[i + 1].y - c.bouts[i].y);
  if (encre < kEncreACacher * std::int64_t(visible.width())) return;
  // Rows [haut, bas] of each column already inked by the later curves (one
  // stretch a column; haut > bas when none).
  const auto largeur = static_cast<std::size_t>(visible.width());
  std::vector<int> haut(largeur, 1), bas(largeur, 0);
  std::vector<Point> gardes;
  auto dedans = [&](int px) { return px >= visible.left && px < visible.right; };
  struct Tranche {
    int x, y0, y1;
  };
  for (auto c = courbes.rbegin(); c != courbes.rend(); ++c) {
    gardes.clear();
    const std::vector<Point> &b = c->bouts;
    for (std::size_t i = 0; i + 1 < b.size(); i += 2) {
      Point p = b[i], q = b[i + 1];
      if (p.y > q.y) std::swap(p, q);
      // The piece as stretches of columns, one or two.
      Tranche tranches[2];
      int nb = 0;
      const int pas = q.x - p.x;
      if (pas == 0 && dedans(p.x)) {
        tranches[nb++] = {p.x, p.y, q.y};
      } else if ((pas == 1 || pas == -1) && q.y - p.y >= kHauteurPasse && dedans(p.x) &&
                 dedans(q.x)) {
        const int passe = LignePasse(p.y, q.y, pas);
        tranches[nb++] = {p.x, p.y, passe - 1};
        tranches[nb++] = {q.x, passe, q.y};
      } else {
        gardes.push_back(p);
        gardes.push_back(q);
        continue;
      }
      for (int t = 0; t < nb; ++t) {
        const int x = tranches[t].x, y0 = tranches[t].y0, y1 = tranches[t].y1;
        int &h = haut[static_cast<std::size_t>(x - visible.left)];
        int &l = bas[static_cast<std::size_t>(x - visible.left)];
        if (h > l) {  // nothing later in this column
          gardes.push_back({x, y0});
          gardes.push_back({x, y1});
          h = y0;
          l = y1;
          continue;
        }
        // What lies above and below the stretch already inked.
        if (y0 < h) {
          gardes.push_back({x, y0});
          gardes.push_back({x, std::min(y1, h - 1)});
        }
        if (y1 > l) {
          gardes.push_back({x, std::max(y0, l + 1)});
          gardes.push_back({x, y1});
        }
        if (y1 >= h - 1 && y0 <= l + 1) {
          h = std::min(h, y0);
          l = std::max(l, y1);
        } else if (y1 - y0 > l - h) {
          h = y0;
          l = y1;
        }
      }
    }
    c->bouts.swap(gardes);
  }
}

PlagePoints PointsVisibles(const double *xs, int debut, int fin, const Projection &px, int gauche,
                           int droite) {
  const PlagePoints tous{debut, fin};
  if (fin - debut < 2 || !(px.a > 0)) return tous;
  for (int i = debut; i < fin; ++i)
    if (!(xs[i] <= xs[i + 1])) return tous;  // decreasing somewhere, or a NaN
  // Finite at both ends, finite between them: the positions then never
  // decrease either.
  auto position = [&](int i) { return px.position(xs[i]); };
  if (!std::isfinite(position(debut)) || !std::isfinite(position(fin))) return tous;
  int bas = debut, haut = fin + 1;  // first point at or right of the left column
  while (bas < haut) {
    const int m = bas + (haut - bas) / 2;
    if (position(m) < gauche - 0.5)
      bas = m + 1;
    else
      haut = m;
  }
  const int premier = std::max(debut, bas - 1);
  bas = debut - 1;
  haut = fin;  // last point at or left of the right column
  while (bas < haut) {
    const int m = haut - (haut - bas) / 2;
    if (position(m) > droite + 0.5)
      haut = m - 1;
    else
      bas = m;
  }
  const int dernier = std::min(fin, bas + 1);
  return premier <= dernier ? PlagePoints{premier, dernier} : PlagePoints{debut, debut};
}

void TraceCourbe(Canvas &canvas, const Rect &visible, const double *xs, const double *ys, int debut,
                 int fin, const Projection &px, const Projection &py) {
  TraceurCourbe traceur(canvas, visible);
  for (int i = debut; i <= fin; ++i) traceur.ajoute(px.position(xs[i]), py.position(ys[i]));
}

}  // namespace kvx::display
