// Times the graph's drawing through the Qt canvas on a 1280 x 800 picture:
// eight curves of 6400 points joined point to point (the plain way) and
// reduced per pixel column, and the drawing of one newly arrived segment.
// Prints the figures; the goals are 3 ms for the full repaint and 0.2 ms for
// a segment.

#include <QGuiApplication>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "display/trace_courbe.h"
#include "platform/image_canvas.h"

using namespace kvx;

namespace {

double kBruit = 0.05;
constexpr int kLargeur = 1280, kHauteur = 800, kCourbes = 8, kPoints = 6400;

// Time of one call in milliseconds.
double Mesure(int repetitions, const std::function<void()> &f) {
  std::vector<double> temps;
  f();  // warm up
  for (int i = 0; i < repetitions; ++i) {
    const auto debut = std::chrono::steady_clock::now();
    f();
    temps.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - debut)
            .count());
  }
  std::sort(temps.begin(), temps.end());
  return temps.front();  // the fastest run: the machine is shared
}

struct Donnees {
  std::vector<double> t;
  std::vector<std::vector<double>> v;
};

Donnees Signaux() {
  Donnees d;
  d.t.resize(kPoints);
  d.v.assign(kCourbes, std::vector<double>(kPoints));
  for (int i = 0; i < kPoints; ++i) {
    d.t[i] = i * 1e-3;
    for (int c = 0; c < kCourbes; ++c)
      d.v[c][i] = 2.4 * std::sin(i * 0.002 * (c + 1) + c) + kBruit * std::sin(i * 1.3 + c * 0.7);
  }
  return d;
}

void Naif(display::Canvas &canvas, const Donnees &d, const display::Projection &px,
          const display::Projection &py) {
  std::vector<display::Point> p(kPoints);
  for (int c = 0; c < kCourbes; ++c) {
    for (int i = 0; i < kPoints; ++i) p[i] = {px.Ecran(d.t[i]), py.Ecran(d.v[c][i])};
    canvas.polyline(p.data(), p.size());
  }
}

}  // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc > 1) kBruit = std::atof(argv[1]);
  const Donnees d = Signaux();
  const auto px = display::ProjectionEntre(0, kPoints * 1e-3, 60, 1220, false);
  const auto py = display::ProjectionEntre(-2.5, 2.5, 770, 20, false);
  platform::ImageCanvas image({kLargeur, kHauteur});
  display::Canvas &canvas = image.canvas();
  const display::Rect visible{0, 0, kLargeur, kHauteur};

  const double naif = Mesure(30, [&] { Naif(canvas, d, px, py); });
  const double reduit = Mesure(30, [&] {
    for (int c = 0; c < kCourbes; ++c)
      display::TraceCourbe(canvas, visible, d.t.data(), d.v[c].data(), 0, kPoints - 1, px, py);
  });
  const double segment = Mesure(200, [&] {
    for (int c = 0; c < kCourbes; ++c)
      display::TraceCourbe(canvas, visible, d.t.data(), d.v[c].data(), 3199, 3199 + 255, px, py);
  });
  std::printf("8 curves x 6400 points, plain line:      %7.3f ms\n", naif);
  std::printf("8 curves x 6400 points, column-reduced:  %7.3f ms\n", reduit);
  std::printf("one 255-point segment on 8 curves:       %7.3f ms\n", segment);
  return 0;
}
