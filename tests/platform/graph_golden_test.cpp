// SPDX-License-Identifier: GPL-3.0-or-later
// Whole graphs drawn off screen, compared with reference pictures kept in
// tests/data/golden/. The comparison allows a few pixels of difference (text
// smoothing varies between font library versions) but not a curve, a tick or
// a label out of place. KVX_UPDATE_GOLDEN=1 rewrites the references; look at
// them before committing.

#include <gtest/gtest.h>

#include <QDir>
#include <QFontDatabase>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "display/graphe.h"
#include "gui_app.h"
#include "platform/graph_picture.h"

namespace kvx::platform {
namespace {

// The font every reference was drawn with; Debian's font setup always has it.
constexpr char kPolice[] = "DejaVu Sans";
// A pixel differs when a channel moves by more than this...
constexpr int kEcartCanal = 64;
// ...and a picture matches while at most this share of its pixels differ.
constexpr double kPartDifferente = 0.002;

struct Scene {
  const char *name;
  display::Size size;
  std::function<void(display::TgrapheKVX &)> prepare;
};

void Temps(display::TgrapheKVX &g, int n, double duree) {
  g.Abscisse = 1;
  g.voie(1).Active = true;
  g.voie(1).Maxi = duree;
  for (int i = 0; i < n; ++i) g.voie(1).valeurs[i] = i * duree / n;
  g.nbPoints = n;
}

int Ordonnees(const display::TgrapheKVX &g) {
  return g.compteOrdonnees();
}

const Scene kScenes[] = {
    {"two_inputs",
     {640, 400},
     [](display::TgrapheKVX &g) {
       Temps(g, 1280, 0.2);
       for (int i = 0; i < 1280; ++i) {
         const double t = g.voie(1).valeurs[i];
         g.voie(5).valeurs[i] = 2.2 * std::sin(2 * M_PI * 12 * t);
         g.voie(6).valeurs[i] = std::fmod(t * 20, 1.0) < 0.5 ? 1.5 : -1.5;
       }
       g.voie(6).valeurs[700] = NAN;  // a lost sample: a gap
       g.ModeSynchro = display::kSynchroSeuil;
       g.VoieSynchro = 5;
       g.Seuil = 190;
     }},
    {"analyser_grid_markers",
     {640, 480},
     [](display::TgrapheKVX &g) {
       Temps(g, 40, 2);
       g.Mode = display::kModePointParPoint;
       g.AnalLog = true;
       g.Grille = true;
       g.Points = true;
       g.voie(7).Active = true;
       g.voie(6).ChoisitEntree(6);  // +-500 mV
       for (int slot = 5; slot <= 7; ++slot)
         g.voie(slot).Motif = static_cast<std::uint8_t>(slot - 4);
       for (int i = 0; i < 40; ++i) {
         g.voie(5).valeurs[i] = 2 * std::cos(i * 0.3);
         g.voie(6).valeurs[i] = 0.00055 * i * i - 0.4;
         g.voie(7).valeurs[i] = (i % 10) * 0.5 - 2.4;
       }
     }},
    {"analyser_against_v1",
     {640, 480},
     [](display::TgrapheKVX &g) {
       // V2 and V3 against V1, the time base active behind them as in a scan.
       Temps(g, 400, 1);
       g.Abscisse = 5;
       g.AnalLog = true;
       g.voie(7).Active = true;
       for (int i = 0; i < 400; ++i) {
         const double a = i * 2 * M_PI / 400;
         g.voie(5).valeurs[i] = 2.4 * std::cos(a);
         g.voie(6).valeurs[i] = 2.4 * std::sin(2 * a);
         g.voie(7).valeurs[i] = 2.4 * std::sin(3 * a);
       }
     }},
    {"markers_few_points",
     {560, 360},
     [](display::TgrapheKVX &g) {
       Temps(g, 12, 12);
       g.Mode = display::kModePointParPoint;
       g.Ligne = false;
       g.Points = true;
       g.DimPoint = 3;
       for (int slot = 6; slot <= 8; ++slot) g.voie(slot).Active = true;
       g.voie(9).Active = true;
       g.voie(9).Mini = -2.5;
       g.voie(9).Maxi = 2.5;
       for (int slot = 5; slot <= 9; ++slot) {
         g.voie(slot).Motif = static_cast<std::uint8_t>(slot - 5);
         for (int i = 0; i < 12; ++i)
           g.voie(slot).valeurs[i] = (slot - 7) * 0.9 + 0.3 * std::sin(i);
       }
     }},
    {"clock_hours",
     {800, 300},
     [](display::TgrapheKVX &g) {
       Temps(g, 600, 7200);
       g.voie(6).Active = false;
       g.voie(5).ChoisitEntree(7);  // +-1 V
       for (int i = 0; i < 600; ++i)
         g.voie(5).valeurs[i] = 0.8 * std::exp(-i / 200.0) * std::cos(i / 15.0);
     }},
    {"degenerate",
     {400, 260},
     [](display::TgrapheKVX &g) {
       Temps(g, 200, 1);
       g.voie(3).Active = true;
       g.voie(3).Mini = 4;
       g.voie(3).Maxi = 4;  // an empty range
       for (int i = 0; i < 200; ++i) {
         g.voie(5).valeurs[i] = i % 50 < 5 ? NAN : (i % 2 ? 1e300 : -1e300);
         g.voie(6).valeurs[i] = i < 100 ? 0.5 : INFINITY;
         g.voie(3).valeurs[i] = 4 + std::sin(i * 0.1) * 0.3;
       }
     }},
    {"zoomed_cursors_overlays",
     {640, 400},
     [](display::TgrapheKVX &g) {
       // A square wave of 20 ms seen on one rising edge, with both reading
       // cursors and three earlier runs slightly shifted behind it.
       g.voie(6).Active = false;
       for (int run = 3; run >= 0; --run) {
         g.NouvelleAcquisition();
         Temps(g, 1000, 0.1);
         for (int i = 0; i < 1000; ++i) {
           const double t = g.voie(1).valeurs[i] + run * 0.0004;
           const double phase = std::fmod(t, 0.02) / 0.02;
           g.voie(5).valeurs[i] = phase < 0.5 ? 2.0 - 0.05 * run : -2.0 + 0.05 * run;
         }
         g.FinAcquisition();
       }
       g.vue.superposer = true;
       g.vue.CadreX(0.17, 0.23);
       g.vue.CadreY(0.05, 0.95);
       g.vue.PlaceCurseur(display::CurseurLecture::A, 185);
       g.vue.PlaceCurseur(display::CurseurLecture::B, 205);
     }},
};

class GraphGolden : public ::testing::TestWithParam<Scene> {
 protected:
  void SetUp() override {
    testing::EnsureGuiApp();
    if (!QFontDatabase::families().contains(kPolice))
      GTEST_SKIP() << kPolice << " is not installed: the references were drawn with it";
  }
};

TEST_P(GraphGolden, MatchesTheReferencePicture) {
  const Scene &scene = GetParam();
  display::TgrapheKVX g;
  g.NomPolice = kPolice;
  scene.prepare(g);
  g.nbCourbesY = Ordonnees(g);
  const QImage image = DessineGraphe(g, scene.size);
  const QString path = QString(KVX_TEST_DATA) + "/golden/graph_" + scene.name + ".png";
  if (std::getenv("KVX_UPDATE_GOLDEN")) {
    QDir().mkpath(QString(KVX_TEST_DATA) + "/golden");
    ASSERT_TRUE(image.save(path, "PNG"));
    GTEST_SKIP() << "reference written: " << path.toStdString();
  }
  const QImage reference = QImage(path).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(reference.isNull()) << "no reference " << path.toStdString();
  ASSERT_EQ(reference.size(), image.size());
  int differents = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb a = image.pixel(x, y), b = reference.pixel(x, y);
      const int ecart = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b))});
      differents += ecart > kEcartCanal;
    }
  const int permis = static_cast<int>(kPartDifferente * image.width() * image.height());
  if (differents > permis) {
    const QString actual = QString(KVX_BIN_DIR) + "/graph_" + scene.name + ".actual.png";
    image.save(actual, "PNG");
    ADD_FAILURE() << differents << " pixels differ (at most " << permis
                  << "); picture drawn: " << actual.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Scenes, GraphGolden, ::testing::ValuesIn(kScenes),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(GraphPicture, ExportWritesAPngOfTheAskedSize) {
  testing::EnsureGuiApp();
  display::TgrapheKVX g;
  const QString path = QString(KVX_BIN_DIR) + "/graph_export_test.png";
  ASSERT_TRUE(ExporteGraphePng(g, {321, 123}, path));
  const QImage back(path);
  EXPECT_EQ(back.size(), QSize(321, 123));
  EXPECT_EQ(g.cadre, (display::Rect{0, 0, 321, 123}));
  QFile::remove(path);
  EXPECT_FALSE(ExporteGraphePng(g, {0, 0}, path));
  EXPECT_FALSE(ExporteGraphePng(g, {10, 10}, QString(KVX_BIN_DIR) + "/no/such/dir/x.png"));
}

}  // namespace
}  // namespace kvx::platform
