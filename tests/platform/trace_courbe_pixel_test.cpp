// SPDX-License-Identifier: GPL-3.0-or-later
// The reduced curve must ink exactly the pixels a line through every point
// inks: compared here on real pictures drawn by the Qt canvas.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "display/trace_courbe.h"
#include "gui_app.h"
#include "platform/image_canvas.h"

namespace kvx::platform {
namespace {

using display::Point;

// Every valid point joined to the next, a gap after each NaN: the plain
// way, each piece drawn as a line of its own.
void Naive(display::Canvas &canvas, const std::vector<double> &xs, const std::vector<double> &ys,
           const display::Projection &px, const display::Projection &py) {
  bool previous = false;
  Point last;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    const int x = px.Ecran(xs[i]), y = py.Ecran(ys[i]);
    if (x == display::kHorsEcran || y == display::kHorsEcran) {
      previous = false;
      continue;
    }
    const Point ends[2] = {previous ? last : Point{x, y}, {x, y}};
    canvas.lines(ends, 1);
    last = {x, y};
    previous = true;
  }
}

// The pixels where two pictures differ, for a readable failure.
std::string Differences(const QImage &a, const QImage &b) {
  std::string out;
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y) && n++ < 8)
        out += "(" + std::to_string(x) + ", " + std::to_string(y) +
               (a.pixel(x, y) == 0xffffffff ? " only in the second) " : " only in the first) ");
  return std::to_string(n) + " pixels differ: " + out;
}

struct Signal {
  const char *name;
  int points;
  double (*f)(int i, std::mt19937 &rng);
};

class TraceCourbePixels : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { testing::EnsureGuiApp(); }
};

// With the painter's own lines and with the direct lines alike.
INSTANTIATE_TEST_SUITE_P(Lines, TraceCourbePixels, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "direct" : "painter"; });

TEST_P(TraceCourbePixels, SameAsALineThroughEveryPoint) {
  const Signal cases[] = {
      {"sine", 6400, [](int i, std::mt19937 &) { return std::sin(i * 0.003); }},
      {"noise", 6400,
       [](int, std::mt19937 &rng) { return std::uniform_real_distribution<>(-1, 1)(rng); }},
      {"square", 6400, [](int i, std::mt19937 &) { return (i / 300) % 2 ? 0.9 : -0.9; }},
      {"sparse", 50, [](int i, std::mt19937 &) { return std::cos(i * 0.4); }},
      {"gaps", 3000,
       [](int i, std::mt19937 &rng) {
         return i % 97 < 3 ? NAN : std::sin(i * 0.01) + 0.1 * std::normal_distribution<>()(rng);
       }},
  };
  for (const Signal &s : cases) {
    SCOPED_TRACE(s.name);
    std::mt19937 rng(42);
    std::vector<double> xs(s.points), ys(s.points);
    for (int i = 0; i < s.points; ++i) {
      xs[i] = i;
      ys[i] = s.f(i, rng);
    }
    const auto px = display::ProjectionEntre(0, s.points, 30, 620, false);
    const auto py = display::ProjectionEntre(-1.2, 1.2, 380, 20, false);
    ImageCanvas naive({640, 400}, {255, 255, 255}, GetParam());
    ImageCanvas reduced({640, 400}, {255, 255, 255}, GetParam());
    naive.canvas().setPen({{200, 0, 0}});
    reduced.canvas().setPen({{200, 0, 0}});
    Naive(naive.canvas(), xs, ys, px, py);
    display::TraceCourbe(reduced.canvas(), {0, 0, 640, 400}, xs.data(), ys.data(), 0, s.points - 1,
                         px, py);
    EXPECT_TRUE(naive.image() == reduced.image()) << Differences(naive.image(), reduced.image());
  }
}

TEST_P(TraceCourbePixels, XYCurveGoingBackAndForth) {
  std::vector<double> xs(4000), ys(4000);
  for (int i = 0; i < 4000; ++i) {
    xs[i] = std::sin(i * 0.0131);
    ys[i] = std::sin(i * 0.0077 + 0.5);
  }
  const auto px = display::ProjectionEntre(-1, 1, 20, 380, false);
  const auto py = display::ProjectionEntre(-1, 1, 380, 20, false);
  ImageCanvas naive({400, 400}, {255, 255, 255}, GetParam());
  ImageCanvas reduced({400, 400}, {255, 255, 255}, GetParam());
  Naive(naive.canvas(), xs, ys, px, py);
  display::TraceCourbe(reduced.canvas(), {0, 0, 400, 400}, xs.data(), ys.data(), 0, 3999, px, py);
  EXPECT_TRUE(naive.image() == reduced.image()) << Differences(naive.image(), reduced.image());
}

// Curves over curves, as the window draws them once the hidden stretches are
// left out: a noisy recording zoomed to a point a column has its steep
// pieces split between two columns, which must fall on the pixels the
// window's one-pixel line inks.
TEST(CacheTraitsPixels, NoisyCurvesZoomedToAPointAColumnLookTheSame) {
  testing::EnsureGuiApp();
  for (const double pointsParColonne : {0.5, 1.0, 3.0}) {
    SCOPED_TRACE(pointsParColonne);
    const int n = static_cast<int>(600 * pointsParColonne);
    std::mt19937 rng(7);
    std::vector<double> xs(n);
    for (int i = 0; i < n; ++i) xs[i] = i;
    const auto px = display::ProjectionEntre(0, n, 20, 620, false);
    const auto py = display::ProjectionEntre(-1, 1, 380, 20, false);
    const display::Rect visible{0, 0, 640, 400};
    ImageCanvas naive({640, 400}, {255, 255, 255}, true);
    ImageCanvas reduced({640, 400}, {255, 255, 255}, true);
    std::vector<display::TraitsCourbe> courbes(4);
    for (std::size_t c = 0; c < courbes.size(); ++c) {
      std::vector<double> ys(n);
      for (double &y : ys) y = std::uniform_real_distribution<>(-1.1, 1.1)(rng);
      courbes[c].couleur = {static_cast<std::uint8_t>(60 * c), 0, 200};
      naive.canvas().setPen({courbes[c].couleur});
      Naive(naive.canvas(), xs, ys, px, py);
      display::TraceurCourbe traceur(courbes[c].bouts, visible);
      for (int i = 0; i < n; ++i) traceur.ajoute(px.position(xs[i]), py.position(ys[i]));
    }
    display::CacheTraits(courbes, visible);
    for (const display::TraitsCourbe &c : courbes) {
      reduced.canvas().setPen({c.couleur});
      reduced.canvas().lines(c.bouts.data(), c.bouts.size() / 2);
    }
    EXPECT_TRUE(naive.image() == reduced.image()) << Differences(naive.image(), reduced.image());
  }
}

}  // namespace
}  // namespace kvx::platform
