// SPDX-License-Identifier: GPL-3.0-or-later
// Times the graph's drawing through the Qt canvas on a 1280 x 800 picture:
// the full repaint of eight curves of 6400 points (axes, labels and curves,
// as the window's paint does it) and the drawing of one newly arrived
// segment of 255 points, for a few kinds of signals. For comparison it also
// times the eight curves drawn the plain way, a painter polyline through
// every point. Goals: full repaint <= 3 ms, segment <= 0.2 ms.
//
// Then a pan: 100 repaints of a view zoomed to a fifth of the abscissa,
// moved a little each time as a drag does, with five earlier runs overlaid;
// it prints the median and the 99th-percentile frame time of a second pan
// (goal: a frame well within 16 ms, so a drag or a wheel stays above 60
// frames a second).
//
// The machine may be shared: each figure is the fastest of many runs.
// An argument keeps only the signals whose name contains it ("noise"), for
// a profiler.

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "display/couleurs.h"
#include "display/graphe.h"
#include "platform/image_canvas.h"

using namespace kvx;

namespace {

constexpr int kLargeur = 1280, kHauteur = 800, kPoints = 6400, kSegment = 255;
// The eight ordinate slots when time is the abscissa.
constexpr int kSlots[] = {2, 3, 4, 5, 6, 7, 8, 9};

double Mesure(int repetitions, const std::function<void()> &f) {
  f();  // warm up
  double meilleur = 1e9;
  for (int i = 0; i < repetitions; ++i) {
    const auto debut = std::chrono::steady_clock::now();
    f();
    const std::chrono::duration<double, std::milli> d = std::chrono::steady_clock::now() - debut;
    meilleur = std::min(meilleur, d.count());
  }
  return meilleur;
}

struct Signal {
  const char *nom;
  double (*valeur)(int curve, int i, std::mt19937 &rng);
};

const Signal kSignaux[] = {
    {"sine", [](int c, int i, std::mt19937 &) { return 2.4 * std::sin(i * 0.002 * (c + 1) + c); }},
    {"sine + 2 % noise",
     [](int c, int i, std::mt19937 &rng) {
       return 2.4 * std::sin(i * 0.002 * (c + 1) + c) + 0.05 * std::normal_distribution<>()(rng);
     }},
    {"square", [](int c, int i, std::mt19937 &) { return (i / (200 + 50 * c)) % 2 ? 2.0 : -2.0; }},
    {"full-scale noise",
     [](int, int, std::mt19937 &rng) { return std::uniform_real_distribution<>(-2.5, 2.5)(rng); }},
};

void Remplit(display::TgrapheKVX &g, const Signal &s) {
  std::mt19937 rng(7);
  g.Abscisse = 1;
  g.voie(1).Active = true;
  g.voie(1).Maxi = kPoints * 1e-3;
  for (int i = 0; i < kPoints; ++i) g.voie(1).valeurs[i] = i * 1e-3;
  for (int c = 0; c < 8; ++c) {
    model::Tvoie &v = g.voie(kSlots[c]);
    v.Active = true;
    v.Mini = -2.5;
    v.Maxi = 2.5;
    for (int i = 0; i < kPoints; ++i) v.valeurs[i] = s.valeur(c, i, rng);
  }
  g.nbPoints = kPoints;
  g.nbCourbesY = 8;
}

// The same curves, each as one painter polyline through all its points.
void Naif(display::TgrapheKVX &g, display::Canvas &canvas) {
  std::vector<display::Point> p(kPoints);
  const display::TCourbe &x = g.courbe(1);
  for (int slot : kSlots) {
    const display::TCourbe &y = g.courbe(slot);
    for (int i = 0; i < kPoints; ++i)
      p[i] = {x.Ecran(x.voie().valeurs[i]), y.Ecran(y.voie().valeurs[i])};
    canvas.setPen({display::CouleurCourbe(y.voie().Couleur)});
    canvas.polyline(p.data(), p.size());
  }
}

// Five earlier runs of the same channels, for the overlays.
void Superpose(display::TgrapheKVX &g, const Signal &s) {
  for (int run = 0; run < 5; ++run) {
    g.NouvelleAcquisition();
    std::mt19937 rng(100 + run);
    for (int c = 0; c < 8; ++c) {
      model::Tvoie &v = g.voie(kSlots[c]);
      for (int i = 0; i < kPoints; ++i) v.valeurs[i] = s.valeur(c, i + 37 * run, rng) * 0.9;
    }
    g.FinAcquisition();
  }
  g.NouvelleAcquisition();
  g.vue.superposer = true;
}

const char *gFiltre = nullptr;
bool Garde(const Signal &s) {
  return !gFiltre || std::strstr(s.nom, gFiltre);
}

double Centile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  const auto i = static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size()))) - 1;
  return v[std::min(i, v.size() - 1)];
}

void Deplacement() {
  std::printf("\npan of a view zoomed x5, 100 repaints with 5 overlays (ms per frame)\n");
  std::printf("%-18s %12s %12s\n", "signal", "median", "99th pct");
  for (const Signal &s : kSignaux) {
    if (!Garde(s)) continue;
    display::TgrapheKVX g;
    Remplit(g, s);
    Superpose(g, s);
    Remplit(g, s);
    platform::ImageCanvas picture({kLargeur, kHauteur});
    display::Canvas &canvas = picture.canvas();
    g.cadre = {0, 0, kLargeur, kHauteur};
    std::vector<double> images;
    // The first pan also pays once for the glyphs of labels not seen yet.
    for (int passe = 0; passe < 2; ++passe) {
      g.vue.VueComplete();
      g.vue.CadreX(0.1, 0.3);
      images.clear();
      for (int i = 0; i < 100; ++i) {
        const auto debut = std::chrono::steady_clock::now();
        g.vue.DeplaceX(0.02);
        canvas.fillRect(g.cadre, {255, 255, 255});
        g.Dessine(canvas);
        picture.image();
        const std::chrono::duration<double, std::milli> d =
            std::chrono::steady_clock::now() - debut;
        images.push_back(d.count());
      }
    }
    std::printf("%-18s %12.3f %12.3f\n", s.nom, Centile(images, 0.5), Centile(images, 0.99));
  }
}

}  // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc > 1) gFiltre = argv[1];
  std::printf("graph on %d x %d, 8 curves x %d points (fastest run, ms)\n", kLargeur, kHauteur,
              kPoints);
  std::printf("%-18s %12s %12s %14s %14s\n", "signal", "plain line", "full repaint",
              "segment 8x255", "segment 1x255");
  for (const Signal &s : kSignaux) {
    if (!Garde(s)) continue;
    display::TgrapheKVX g;
    Remplit(g, s);
    platform::ImageCanvas picture({kLargeur, kHauteur});
    platform::ImageCanvas plain({kLargeur, kHauteur}, {255, 255, 255}, false);
    display::Canvas &canvas = picture.canvas();
    g.cadre = {0, 0, kLargeur, kHauteur};
    g.Dessine(canvas);  // scales for the plain line and the segments
    const double naif = Mesure(20, [&] { Naif(g, plain.canvas()); });
    // Each figure includes writing the kept lines into the picture.
    const double complet = Mesure(40, [&] {
      canvas.fillRect(g.cadre, {255, 255, 255});
      g.Dessine(canvas);
      picture.image();
    });
    const double segment8 = Mesure(400, [&] {
      g.DessinePoints(canvas, 3200, 3200 + kSegment - 1);
      picture.image();
    });
    for (int slot : kSlots) g.voie(slot).Active = slot == 5;
    const double segment1 = Mesure(400, [&] {
      g.DessinePoints(canvas, 3200, 3200 + kSegment - 1);
      picture.image();
    });
    std::printf("%-18s %12.3f %12.3f %14.3f %14.3f\n", s.nom, naif, complet, segment8, segment1);
  }
  Deplacement();
  return 0;
}
