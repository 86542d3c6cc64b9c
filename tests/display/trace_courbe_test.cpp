// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/trace_courbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>
#include <limits>

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

// Paints pairs of ends into a grid of curve numbers, later curves over
// earlier ones, stepping along each piece.
std::vector<int> Peint(const std::vector<TraitsCourbe> &courbes, int l, int h) {
  std::vector<int> grille(static_cast<std::size_t>(l * h), -1);
  for (std::size_t c = 0; c < courbes.size(); ++c) {
    const std::vector<Point> &b = courbes[c].bouts;
    for (std::size_t i = 0; i + 1 < b.size(); i += 2) {
      const int n = std::max(std::abs(b[i + 1].x - b[i].x), std::abs(b[i + 1].y - b[i].y));
      for (int k = 0; k <= n; ++k) {
        const int x = b[i].x + (n ? (b[i + 1].x - b[i].x) * k / n : 0);
        const int y = b[i].y + (n ? (b[i + 1].y - b[i].y) * k / n : 0);
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
