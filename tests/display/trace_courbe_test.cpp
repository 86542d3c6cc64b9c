// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/trace_courbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "recording_canvas.h"

namespace kvx::display {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
using Kind = DrawCall::Kind;
using Piece = std::pair<Point, Point>;
using Pieces = std::vector<Piece>;

// The pieces drawn, in order, one entry per drawing call (a batch of lines).
std::vector<Pieces> Calls(const RecordingCanvas &canvas) {
  std::vector<Pieces> out;
  for (const DrawCall &call : canvas.calls()) {
    EXPECT_EQ(call.kind, Kind::Lines);
    Pieces pieces;
    for (std::size_t i = 0; i + 1 < call.points.size(); i += 2)
      pieces.push_back({call.points[i], call.points[i + 1]});
    out.push_back(pieces);
  }
  return out;
}

Pieces All(const RecordingCanvas &canvas) {
  Pieces out;
  for (const Pieces &p : Calls(canvas)) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(TraceurCourbe, DrawsEachColumnFromLowestToHighestThenJoinsTheNext) {
  RecordingCanvas canvas({100, 100});
  {
    TraceurCourbe t(canvas, {0, 0, 100, 100});
    for (double y : {50, 40, 60, 45}) t.ajoute(10, y);  // column 10: 40 .. 60, leaves at 45
    t.ajoute(11.2, 46);                                 // column 11 alone
    for (double y : {47, 48, 49}) t.ajoute(12, y);      // column 12: 47 .. 49
  }
  EXPECT_EQ(Calls(canvas), (std::vector<Pieces>{{{{10, 40}, {10, 60}},
                                                 {{10, 45}, {11, 46}},
                                                 {{11, 46}, {11, 46}},
                                                 {{11, 46}, {12, 47}},
                                                 {{12, 47}, {12, 49}}}}));
}

TEST(TraceurCourbe, LeavesOutJoinsTheColumnsAlreadyInk) {
  RecordingCanvas canvas({100, 100});
  {
    TraceurCourbe t(canvas, {0, 0, 100, 100});
    for (double y : {10, 90, 50}) t.ajoute(20, y);  // column 20: 10 .. 90, leaves at 50
    for (double y : {60, 5, 95}) t.ajoute(21, y);   // column 21: 5 .. 95, entered at 60
    t.ajoute(23, 50);                               // two columns on: the join is needed
  }
  EXPECT_EQ(
      All(canvas),
      (Pieces{
          {{20, 10}, {20, 90}}, {{21, 5}, {21, 95}}, {{21, 95}, {23, 50}}, {{23, 50}, {23, 50}}}));
}

TEST(TraceurCourbe, NaNPointsAreGaps) {
  RecordingCanvas canvas({100, 100});
  const double xs[] = {0, 1, 2, 3, 4, 5, 6};
  const double ys[] = {1, 2, kNaN, 4, 5, kNaN, 7};
  TraceCourbe(canvas, {0, 0, 100, 100}, xs, ys, 0, 6, Projection{10, 0}, Projection{10, 0});
  // Nothing joins (10, 20) to (30, 40); the point alone between two gaps
  // still shows as one pixel.
  EXPECT_EQ(All(canvas), (Pieces{{{0, 10}, {0, 10}},
                                 {{0, 10}, {10, 20}},
                                 {{10, 20}, {10, 20}},
                                 {{30, 40}, {30, 40}},
                                 {{30, 40}, {40, 50}},
                                 {{40, 50}, {40, 50}},
                                 {{60, 70}, {60, 70}}}));
}

TEST(TraceurCourbe, CutsPiecesAtTheEdges) {
  RecordingCanvas canvas({100, 100});
  {
    TraceurCourbe t(canvas, {0, 0, 100, 100});
    t.ajoute(50, 50);
    t.ajoute(50, 250);   // leaves at the bottom row
    t.ajoute(-50, 250);  // wholly outside
    t.ajoute(-50, -50);  // outside, crossing nothing
    t.ajoute(150, 50);   // outside to outside through the picture
    t.ajoute(40, 50);    // comes back in
  }
  EXPECT_EQ(All(canvas), (Pieces{{{50, 50}, {50, 99}},
                                 {{50, 0}, {50, 0}},  // crossing from (-50,-50) to (150,50)
                                 {{50, 0}, {99, 24}},
                                 {{99, 24}, {99, 24}},
                                 {{99, 50}, {99, 50}},  // entering from (150, 50)
                                 {{99, 50}, {40, 50}},
                                 {{40, 50}, {40, 50}}}));
  for (Point p : canvas.allPoints()) EXPECT_TRUE((Rect{0, 0, 100, 100}).contains(p));
}

TEST(TraceurCourbe, HugeValuesNeverLeaveThePicture) {
  RecordingCanvas canvas({640, 480});
  const double xs[] = {0, 1, 2, 3, 4, 5};
  const double ys[] = {0, 1e300, -1e300, 1e-300, 0.5, -std::numeric_limits<double>::infinity()};
  TraceCourbe(canvas, {0, 0, 640, 480}, xs, ys, 0, 5, ProjectionEntre(0, 4, 10, 630, false),
              ProjectionEntre(-1, 1, 470, 10, false));
  ASSERT_FALSE(canvas.calls().empty());
  for (Point p : canvas.allPoints()) EXPECT_TRUE((Rect{0, 0, 640, 480}).contains(p));
}

TEST(TraceurCourbe, AnEmptyPictureGetsNothing) {
  RecordingCanvas canvas({0, 0});
  const double xs[] = {0, 1};
  TraceCourbe(canvas, {0, 0, 0, 0}, xs, xs, 0, 1, Projection{}, Projection{});
  EXPECT_TRUE(canvas.calls().empty());
}

TEST(TraceurCourbe, ADenseRecordingCostsAtMostTwoPiecesAColumn) {
  RecordingCanvas canvas({1280, 800});
  std::vector<double> t(6400), v(6400);
  for (int i = 0; i < 6400; ++i) {
    t[i] = i;
    v[i] = std::sin(i * 0.01) + ((i * 7919) % 13) * 0.02;
  }
  TraceCourbe(canvas, {0, 0, 1280, 800}, t.data(), v.data(), 0, 6399,
              ProjectionEntre(0, 6400, 40, 1240, false),
              ProjectionEntre(-1.5, 1.5, 760, 20, false));
  // 1201 columns: each one vertical piece, and a joining piece only where
  // the two columns do not already ink its rows.
  EXPECT_LE(All(canvas).size(), 2u * 1201u);
  EXPECT_GE(All(canvas).size(), 1201u);
}

}  // namespace
}  // namespace kvx::display

namespace kvx::display {
namespace {

// Floor of a / b for b > 0.
int Plancher(int a, int b) {
  return a / b - (a % b != 0 && a < 0 ? 1 : 0);
}

// Paints pairs of ends into a grid of curve numbers, later curves over
// earlier ones, as the window's one-pixel lines ink them: the pixel nearest
// the true path in each column (each row for a steep line), ties counted
// from the left (top) end.
std::vector<int> Peint(const std::vector<TraitsCourbe> &courbes, int l, int h) {
  std::vector<int> grille(static_cast<std::size_t>(l * h), -1);
  for (std::size_t c = 0; c < courbes.size(); ++c) {
    const std::vector<Point> &b = courbes[c].bouts;
    for (std::size_t i = 0; i + 1 < b.size(); i += 2) {
      Point p = b[i], q = b[i + 1];
      const bool raide = std::abs(q.y - p.y) > std::abs(q.x - p.x);
      if (raide ? p.y > q.y : p.x > q.x) std::swap(p, q);
      const int n = raide ? q.y - p.y : q.x - p.x;
      for (int k = 0; k <= n; ++k) {
        const int x = raide ? p.x + Plancher(2 * k * (q.x - p.x) + n, 2 * n) : p.x + k;
        const int y = raide ? p.y + k : p.y + (n ? Plancher(2 * k * (q.y - p.y) + n, 2 * n) : 0);
        grille[static_cast<std::size_t>(y * l + x)] = static_cast<int>(c);
      }
    }
  }
  return grille;
}

TEST(CacheTraits, LeavesOutOnlyWhatLaterCurvesInkOver) {
  const Rect visible{0, 0, 60, 40};
  for (unsigned graine = 1; graine <= 20; ++graine) {
    std::srand(graine);
    std::vector<TraitsCourbe> courbes(4);
    std::size_t avant = 0;
    for (TraitsCourbe &c : courbes) {
      TraceurCourbe t(c.bouts, visible);
      // Noise of every amplitude, a NaN gap and points beyond the edges.
      const int amplitude = 5 + std::rand() % 60;
      for (int i = 0; i < 200; ++i) {
        const double y = i == 77 ? NAN : 20 + (std::rand() % (2 * amplitude + 1) - amplitude);
        t.ajoute(i * 0.35 - 3, y);
      }
      t.termine();
      avant += c.bouts.size();
    }
    const std::vector<int> attendu = Peint(courbes, 60, 40);
    CacheTraits(courbes, visible);
    std::size_t apres = 0;
    for (const TraitsCourbe &c : courbes) apres += c.bouts.size();
    EXPECT_EQ(Peint(courbes, 60, 40), attendu) << "seed " << graine;
    EXPECT_LE(apres, avant);
  }
  // Full-scale noise: the last curve hides nearly all of the others.
  std::vector<TraitsCourbe> bruit(3);
  for (TraitsCourbe &c : bruit) {
    TraceurCourbe t(c.bouts, visible);
    for (int i = 0; i < 400; ++i) t.ajoute(i * 0.15, i % 2 ? 0 : 39);
    t.termine();
  }
  CacheTraits(bruit, visible);
  EXPECT_LT(bruit[0].bouts.size(), bruit[2].bouts.size() / 4);
}

}  // namespace
}  // namespace kvx::display

namespace kvx::display {
namespace {

// The pieces of points debut..fin, gathered.
std::vector<Point> Bouts(const std::vector<double> &xs, const std::vector<double> &ys, int debut,
                         int fin, const Projection &px, const Projection &py, const Rect &r) {
  std::vector<Point> bouts;
  TraceurCourbe t(bouts, r);
  for (int i = debut; i <= fin; ++i) t.ajoute(px.position(xs[i]), py.position(ys[i]));
  t.termine();
  return bouts;
}

TEST(PointsVisibles, AZoomedTimeBaseProjectsOnlyWhatItShowsAndDrawsTheSame) {
  std::vector<double> t(6400), v(6400);
  for (int i = 0; i < 6400; ++i) {
    t[i] = i * 1e-3;
    v[i] = i % 7 == 3 ? NAN : std::sin(i * 0.05);
  }
  const Rect r{40, 0, 1240, 800};
  const Projection py = ProjectionEntre(-1, 1, 790, 10, false);
  // A fifth of the recording on screen, then the view slid past either end.
  for (const auto &[debut, fin] : {std::pair{1.28, 2.56}, {-7.0, -1.0}, {7.0, 9.0}, {0.0, 6.4}}) {
    const Projection px = ProjectionEntre(debut, fin, 40, 1239, false);
    const PlagePoints p = PointsVisibles(t.data(), 0, 6399, px, r.left, r.right - 1);
    EXPECT_EQ(Bouts(t, v, p.debut, p.fin, px, py, r), Bouts(t, v, 0, 6399, px, py, r)) << debut;
    if (debut == 1.28) {
      EXPECT_LE(p.fin - p.debut, 1282);
    }
    if (fin < 0 || debut > 6.4) {
      EXPECT_EQ(p.fin, p.debut);
    }
  }
  // An abscissa that goes back, a NaN in it or a reversed axis: every point.
  const Projection px = ProjectionEntre(1.28, 2.56, 40, 1239, false);
  std::vector<double> retour = t;
  retour[5000] = 0;
  EXPECT_EQ(PointsVisibles(retour.data(), 0, 6399, px, 40, 1239).debut, 0);
  retour[5000] = NAN;
  EXPECT_EQ(PointsVisibles(retour.data(), 0, 6399, px, 40, 1239).fin, 6399);
  const Projection inverse = ProjectionEntre(2.56, 1.28, 40, 1239, false);
  EXPECT_EQ(PointsVisibles(t.data(), 0, 6399, inverse, 40, 1239).debut, 0);
  // A logarithmic time axis starting at 0 cannot place its first point.
  const Projection log = ProjectionEntre(1, 2, 40, 1239, true);
  EXPECT_EQ(PointsVisibles(t.data(), 0, 6399, log, 40, 1239).fin, 6399);
}

}  // namespace
}  // namespace kvx::display
