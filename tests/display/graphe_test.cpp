// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/graphe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "display/couleurs.h"
#include "model/separateur_decimal.h"
#include "recording_canvas.h"

namespace kvx::display {
namespace {

using Kind = DrawCall::Kind;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr Rgb kRouge{255, 0, 0};
constexpr Rgb kMarine{0, 0, 128};
constexpr Rgb kNoir{0, 0, 0};

// A window-sized graph: time on the horizontal axis, the given analog slots
// active, everything else hidden.
void Prepare(TgrapheKVX &g, std::initializer_list<int> actives, Rect cadre = {0, 0, 640, 480}) {
  g.cadre = cadre;
  g.Abscisse = 1;
  for (int slot = 1; slot <= kNbCourbes; ++slot) g.voie(slot).Active = false;
  g.voie(1).Active = true;
  for (int slot : actives) g.voie(slot).Active = true;
  g.nbCourbesY = static_cast<int>(actives.size());
}

// Texts drawn in a colour, in drawing order.
std::vector<std::string> TextsIn(const RecordingCanvas &c, Rgb colour) {
  std::vector<std::string> out;
  for (const DrawCall &call : c.callsOf(Kind::Text))
    if (call.font.colour == colour) out.push_back(call.text);
  return out;
}

TEST(TgrapheKVX, StartsWithTheSlotsAndSettingsAUserFirstSees) {
  TgrapheKVX g;
  const char *noms[] = {"t", "Vsa", "X", "EB", "V1", "V2", "V3", "V4", "x"};
  for (int slot = 1; slot <= kNbCourbes; ++slot) {
    EXPECT_EQ(g.voie(slot).Nom, noms[slot - 1]) << slot;
    EXPECT_EQ(g.voie(slot).Active, slot == 5 || slot == 6) << slot;
  }
  EXPECT_EQ(&g.voie(1), &g.temps());
  EXPECT_EQ(&g.voie(9), &g.veltor());
  EXPECT_EQ(g.voie(5).NumeroNuvex, 0);
  EXPECT_EQ(g.voie(8).NumeroNuvex, 3);
  EXPECT_EQ(g.voie(8).Unite, "V");
  EXPECT_EQ(g.abscisse(), 5);
  EXPECT_TRUE(g.Ligne);
  EXPECT_FALSE(g.Points || g.Grille || g.AnalLog);
  EXPECT_TRUE(g.AxeY);
  EXPECT_EQ(g.Mode, kModeTemps);
  EXPECT_EQ(g.Bouge, 2);
  EXPECT_EQ(g.Seuil, 127);
  EXPECT_EQ(g.Fech.Nom, "Fech");
  EXPECT_EQ(g.Fech.Unite, "Hz");
  EXPECT_EQ(g.UniteVolt.Unite, "V");
  EXPECT_EQ(std::string(kNomsModes[2]), "Point par point");
  EXPECT_EQ(std::string(kNomsSynchro[1]), "Relaxé");
  EXPECT_THROW(g.courbe(0), std::out_of_range);
  EXPECT_THROW(g.courbe(10), std::out_of_range);
}

struct Cadre : CadreVoie {
  void FixeNumero(int slot) override { numero = slot; }
  int numero = 0;
};

TEST(FixeNombre, MovesActiveInputsForwardAndLimitsTheCount) {
  struct Case {
    const char *name;
    std::vector<int> actives;  // slots active before
    std::vector<int> entrees;  // their box inputs (by slot order 5..8)
    std::uint8_t mode;
    int n;
    std::vector<std::string> noms;  // symbols of slots 5.. that end up active
    int nbEA, k, nombre;
  };
  const Case cases[] = {
      {"two_move_forward", {6, 8}, {0, 1, 2, 3}, kModeTemps, 6400, {"V2", "V4"}, 2, 2, 3200},
      {"none_activates_V1", {}, {0, 1, 2, 3}, kModeTemps, 4, {"V1"}, 1, 1, 8},
      {"one", {7}, {0, 1, 2, 3}, kModeTemps, 6400, {"V3"}, 1, 1, 6400},
      {"three_same_half",
       {5, 6, 7},
       {0, 1, 2, 3},
       kModeTemps,
       6400,
       {"V1", "V2", "V3"},
       3,
       4,
       1600},
      {"three_both_halves",
       {5, 6, 8},
       {0, 1, 2, 5},
       kModeTemps,
       6400,
       {"V1", "V2", "V4"},
       3,
       8,
       800},
      {"four_high_half",
       {5, 6, 7, 8},
       {4, 5, 6, 7},
       kModeTemps,
       100,
       {"V1", "V2", "V3", "V4"},
       4,
       4,
       100},
      {"fork_keeps_n", {5, 6}, {0, 1, 2, 3}, kModeVeltor, 5000, {"V1", "V2"}, 1, 1, 5000},
      {"fork_bounded", {5}, {0, 1, 2, 3}, kModeVeltor, 99999, {"V1"}, 1, 1, 6400},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TgrapheKVX g;
    g.Mode = c.mode;
    for (int slot = 5; slot <= 8; ++slot) {
      g.voie(slot).Active = std::count(c.actives.begin(), c.actives.end(), slot) > 0;
      g.voie(slot).ChoisitEntree(c.entrees[slot - 5]);
    }
    g.FixeNombre(c.n);
    EXPECT_EQ(g.nbEA, c.nbEA);
    if (c.mode != kModeVeltor) {
      EXPECT_EQ(g.k, c.k);
    }
    EXPECT_EQ(g.nombre, c.nombre);
    for (std::size_t i = 0; i < c.noms.size(); ++i) {
      EXPECT_TRUE(g.voie(5 + int(i)).Active);
      if (c.mode != kModeVeltor) {
        EXPECT_EQ(g.voie(5 + int(i)).Nom, c.noms[i]);
      }
    }
  }
}

TEST(FixeNombre, EachBoxFollowsItsChannelAndNamesItsNewSlot) {
  TgrapheKVX g;
  Cadre cadres[5];
  for (int slot = 5; slot <= 9; ++slot) g.courbe(slot).cadreVoie = &cadres[slot - 5];
  g.voie(5).Active = false;
  g.voie(6).Active = false;
  g.voie(8).Active = true;
  g.FixeNombre(128);
  // V4 moved to slot 5 with its box, which now names slot 5.
  EXPECT_EQ(g.voie(5).Nom, "V4");
  EXPECT_EQ(g.voie(5).NumeroNuvex, 3);
  EXPECT_EQ(g.courbe(5).cadreVoie, &cadres[3]);
  EXPECT_EQ(cadres[3].numero, 5);
  EXPECT_EQ(cadres[0].numero, 8);  // V1's box went to slot 8
  EXPECT_EQ(cadres[4].numero, 9);
}

TEST(CalculeEchelles, FontSizeFollowsTheHeight) {
  for (auto [hauteur, police] : {std::pair{419, 13}, {420, 16}, {509, 16}, {510, 20}, {0, 13}}) {
    TgrapheKVX g;
    Prepare(g, {5}, {0, 0, 640, hauteur});
    RecordingCanvas canvas({640, hauteur});
    g.CalculeEchelles(canvas);
    EXPECT_EQ(g.hauteurPolice, police) << hauteur;
    EXPECT_EQ(canvas.font().height, police);
    EXPECT_EQ(g.largeurCar, 2 * police / 3);
    EXPECT_EQ(g.marge, g.largeurCar / 2);
  }
}

TEST(CalculeEchelles, ZoneLeavesRoomForLabelsAndASecondAxis) {
  TgrapheKVX g;
  Prepare(g, {5, 6});
  RecordingCanvas canvas;
  g.CalculeEchelles(canvas);
  EXPECT_TRUE(g.placeX && g.placeY && g.denseX && g.denseY);
  EXPECT_EQ(g.zone, (Rect{45, 5, 600, 459}));
  // V1 -2.5..2.5 V from the bottom of the zone to its top.
  EXPECT_EQ(g.courbe(5).Ecran(-2.5), 459);
  EXPECT_EQ(g.courbe(5).Ecran(2.5), 5);
  EXPECT_EQ(g.courbe(1).Ecran(0), 45);
  EXPECT_EQ(g.courbe(1).Ecran(1), 600);
  // One curve: no right axis, the zone reaches further right.
  g.voie(6).Active = false;
  g.CalculeEchelles(canvas);
  EXPECT_EQ(g.zone.right, 640);
  // Too small for labels: no room on either axis.
  Prepare(g, {5}, {0, 0, 150, 80});
  g.CalculeEchelles(canvas);
  EXPECT_FALSE(g.placeX || g.placeY || g.denseX || g.denseY);
}

TEST(CalculeEchelles, LogicAnalyserSplitsTheHeightIntoEqualBands) {
  TgrapheKVX g;
  Prepare(g, {5, 6, 8});
  g.AnalLog = true;
  RecordingCanvas canvas;
  g.CalculeEchelles(canvas);
  const std::pair<int, int> bands[] = {{10, 156}, {161, 307}, {312, 458}};
  const int slots[] = {5, 6, 8};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(g.courbe(slots[i]).haut, bands[i].first);
    EXPECT_EQ(g.courbe(slots[i]).bas, bands[i].second);
    EXPECT_EQ(g.courbe(slots[i]).Ecran(2.5), bands[i].first);
  }
  // A stale curve count (0 from a file) still gives one band per curve shown.
  g.nbCourbesY = 0;
  g.CalculeEchelles(canvas);
  EXPECT_EQ(g.courbe(8).bas, 458);
}

TEST(CalculeEchelles, LogicAnalyserGivesNoBandToTheTimeBaseWhenAnInputIsTheAbscissa) {
  // V2 and V3 against V1, the time base still active as in every timed scan.
  TgrapheKVX g;
  Prepare(g, {5, 6, 7});
  g.Abscisse = 5;
  g.AnalLog = true;
  RecordingCanvas canvas;
  g.CalculeEchelles(canvas);
  const int haut6 = g.courbe(6).haut, bas7 = g.courbe(7).bas;
  EXPECT_GT(haut6, g.zone.top);
  EXPECT_LT(haut6, g.zone.top + 20) << "V2 has the first band";
  EXPECT_GT(g.courbe(7).haut, g.courbe(6).bas);
  EXPECT_LE(bas7, g.zone.bottom) << "the last band ends inside the plot";
  EXPECT_GT(bas7, g.zone.bottom - 20);
}

TEST(Dessine, LabelsTitlesAndColoursOfTheAxes) {
  TgrapheKVX g;
  Prepare(g, {5, 6});
  g.voie(6).ChoisitEntree(4);  // V2 on EA4: +-50 mV
  RecordingCanvas canvas;
  g.Dessine(canvas);
  // Time 0..1 s in steps of 0.2; 0 sits on the left edge and gets no label.
  EXPECT_EQ(TextsIn(canvas, kNoir), (std::vector<std::string>{"0.2", "0.4", "0.6", "0.8", "t(s)"}));
  EXPECT_EQ(TextsIn(canvas, kRouge),
            (std::vector<std::string>{"-2", "-1", "0", "1", "2", "V1(V)"}));
  EXPECT_EQ(TextsIn(canvas, kMarine),
            (std::vector<std::string>{"-40", "-20", "0", "20", "40", "V2(mV)"}));
  const DrawCall *un = canvas.findText("1");
  ASSERT_NE(un, nullptr);
  EXPECT_EQ(un->halign, TextHAlign::Right);
  EXPECT_EQ(un->points[0], (Point{40, g.courbe(5).Ecran(1) - 5}));
  const DrawCall *titre = canvas.findText("V2(mV)");
  EXPECT_EQ(titre->halign, TextHAlign::Left);
  // Right of the axis, moved left to end inside the picture: 640 - 5 - 6 x 8.
  EXPECT_EQ(titre->points[0], (Point{587, 5}));
  const DrawCall *abscisse = canvas.findText("0.4");
  EXPECT_EQ(abscisse->halign, TextHAlign::Center);
  EXPECT_EQ(abscisse->points[0], (Point{g.courbe(1).Ecran(0.4), 464}));
  // The horizontal axis with its arrow head across the whole picture.
  bool axe = false;
  for (const DrawCall &l : canvas.callsOf(Kind::Line))
    axe = axe || (l.points == std::vector<Point>{{0, 459}, {640, 459}} && l.pen.colour == kNoir);
  EXPECT_TRUE(axe);
}

TEST(Dessine, ScalesAndClockTimesOnTheAxes) {
  struct Case {
    const char *name;
    double maxi;
    std::vector<std::string> textes;
  };
  const Case cases[] = {
      {"thousandths", 0.37, {"50", "100", "150", "200", "250", "300", "350", "t(ms)"}},
      {"two_hours", 7200, {"0:30", "1:00", "1:30", "t"}},
      {"ten_minutes", 600, {"100", "200", "300", "400", "500", "t(s)"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TgrapheKVX g;
    Prepare(g, {5});
    g.voie(1).Maxi = c.maxi;
    RecordingCanvas canvas;
    g.Dessine(canvas);
    EXPECT_EQ(TextsIn(canvas, kNoir), c.textes);
  }
}

TEST(Dessine, LabelsFollowTheDecimalSeparator) {
  model::FixeSeparateurDecimal(',');
  TgrapheKVX g;
  Prepare(g, {5});
  RecordingCanvas canvas;
  g.Dessine(canvas);
  model::FixeSeparateurDecimal('.');
  EXPECT_NE(canvas.findText("0,4"), nullptr);
  EXPECT_EQ(canvas.findText("0.4"), nullptr);
}

TEST(Dessine, CurvesInTheirColourWithGapsAtNaN) {
  TgrapheKVX g;
  Prepare(g, {5});
  for (int i = 0; i < 10; ++i) {
    g.voie(1).valeurs[i] = i / 9.0;
    g.voie(5).valeurs[i] = i == 4 ? kNaN : 1.0;
  }
  g.nbPoints = 10;
  RecordingCanvas canvas;
  g.Dessine(canvas);
  const auto pieces = canvas.callsOf(Kind::Lines);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].pen, (Pen{kRouge}));
  EXPECT_EQ(pieces[0].clip, g.cadre);
  const int y = g.courbe(5).Ecran(1.0);
  const int x3 = g.courbe(1).Ecran(3 / 9.0), x5 = g.courbe(1).Ecran(5 / 9.0);
  for (std::size_t i = 0; i + 1 < pieces[0].points.size(); i += 2) {
    EXPECT_EQ(pieces[0].points[i].y, y);
    // Nothing joins point 3 to point 5 across the NaN.
    EXPECT_FALSE(pieces[0].points[i].x == x3 && pieces[0].points[i + 1].x == x5);
  }
}

TEST(Dessine, MarkersUseAThickPenOnlyForFewManualPoints) {
  struct Case {
    std::uint8_t mode;
    int points;
    int largeur;
  };
  for (const Case c : {Case{kModePointParPoint, 31, 3}, Case{kModePointParPoint, 40, 1},
                       Case{kModeClavier, 5, 3}, Case{kModeTemps, 31, 1}}) {
    TgrapheKVX g;
    Prepare(g, {5});
    g.Mode = c.mode;
    g.Ligne = false;
    g.Points = true;
    g.voie(5).Motif = 2;
    for (int i = 0; i < c.points; ++i) {
      g.voie(1).valeurs[i] = i / double(c.points);
      g.voie(5).valeurs[i] = std::sin(i * 0.3);
    }
    g.nbPoints = c.points;
    RecordingCanvas canvas;
    g.Dessine(canvas);
    const auto cercles = canvas.callsOf(Kind::Ellipse);
    ASSERT_EQ(cercles.size(), std::size_t(c.points));
    EXPECT_EQ(cercles[0].pen.width, c.largeur);
    EXPECT_EQ(cercles[0].brush, (Brush{kRouge, BrushStyle::Solid}));
    const Point centre{g.courbe(1).Ecran(0), g.courbe(5).Ecran(0)};
    EXPECT_EQ(cercles[0].points,
              (std::vector<Point>{{centre.x - 2, centre.y - 2}, {centre.x + 3, centre.y + 3}}));
    EXPECT_TRUE(canvas.callsOf(Kind::Lines).empty());
  }
}

TEST(DessinePoints, NewSegmentJoinsTheLastPointDrawn) {
  TgrapheKVX g;
  Prepare(g, {5});
  for (int i = 0; i < 100; ++i) {
    g.voie(1).valeurs[i] = i / 100.0;
    g.voie(5).valeurs[i] = (i % 7) * 0.3 - 1;
  }
  g.nbPoints = 100;
  RecordingCanvas canvas;
  g.Dessine(canvas);
  canvas.clear();
  g.DessinePoints(canvas, 50, 60);
  const auto pieces = canvas.callsOf(Kind::Lines);
  ASSERT_EQ(pieces.size(), 1u);
  const Point depart{g.courbe(1).Ecran(0.49), g.courbe(5).Ecran(g.voie(5).valeurs[49])};
  const Point fin{g.courbe(1).Ecran(0.60), g.courbe(5).Ecran(g.voie(5).valeurs[60])};
  EXPECT_EQ(pieces[0].points.front(), depart);
  EXPECT_EQ(pieces[0].points.back(), fin);
  // Only the new points: nothing before 49 or after 60.
  for (Point p : pieces[0].points) {
    EXPECT_GE(p.x, depart.x);
    EXPECT_LE(p.x, fin.x);
  }
  // Out-of-range requests draw nothing rather than read past the arrays.
  canvas.clear();
  g.DessinePoints(canvas, 7000, 9000);
  g.DessinePoints(canvas, 10, 5);
  EXPECT_TRUE(canvas.callsOf(Kind::Lines).empty());
}

TEST(DessineSeuil, DashedNotXorLineOnTheTriggerBandInTimedScans) {
  TgrapheKVX g;
  Prepare(g, {5, 6});
  g.ModeSynchro = kSynchroSeuil;
  g.VoieSynchro = 6;
  g.Seuil = 255;
  RecordingCanvas canvas;
  g.Dessine(canvas);
  EXPECT_EQ(g.ySeuil, g.courbe(6).haut);
  canvas.clear();
  g.Seuil = 51;
  g.DessineSeuil(canvas);
  EXPECT_EQ(g.ySeuil, 459 + static_cast<int>(std::lround((5 - 459) * 51 / 255.0)));
  ASSERT_EQ(canvas.callsOf(Kind::Line).size(), 1u);
  const DrawCall line = canvas.callsOf(Kind::Line)[0];
  EXPECT_EQ(line.pen, (Pen{kMarine, 1, PenStyle::Dash, PenMode::NotXor}));
  EXPECT_EQ(line.points, (std::vector<Point>{{45, g.ySeuil}, {600, g.ySeuil}}));
  EXPECT_EQ(canvas.texts(), (std::vector<std::string>{"\u2197"}));
  EXPECT_EQ(canvas.pen().mode, PenMode::Copy);
  // Not in other modes, nor on the abscissa.
  for (auto change :
       {+[](TgrapheKVX &h) { h.Mode = kModePointParPoint; },
        +[](TgrapheKVX &h) { h.ModeSynchro = kSynchroFront; },
        +[](TgrapheKVX &h) { h.VoieSynchro = 1; }, +[](TgrapheKVX &h) { h.VoieSynchro = 42; }}) {
    TgrapheKVX h;
    Prepare(h, {5, 6});
    h.ModeSynchro = kSynchroSeuil;
    h.VoieSynchro = 6;
    change(h);
    RecordingCanvas c;
    h.Dessine(c);
    for (const DrawCall &call : c.calls()) EXPECT_NE(call.pen.mode, PenMode::NotXor);
  }
}

TEST(DessineCroix, ThreePixelNotXorCrossAtTheCurrentValues) {
  TgrapheKVX g;
  Prepare(g, {5});
  RecordingCanvas canvas;
  g.Dessine(canvas);
  g.voie(1).valeurCourante = 0.5;
  g.voie(5).valeurCourante = 0;
  canvas.clear();
  g.DessineCroix(canvas, 5);
  const Point c{g.courbe(1).Ecran(0.5), g.courbe(5).Ecran(0)};
  const auto lines = canvas.callsOf(Kind::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points, (std::vector<Point>{{c.x - 10, c.y}, {c.x + 10, c.y}}));
  EXPECT_EQ(lines[1].points, (std::vector<Point>{{c.x, c.y - 10}, {c.x, c.y + 10}}));
  EXPECT_EQ(lines[0].pen, (Pen{kRouge, 3, PenStyle::Solid, PenMode::NotXor}));
  // A value that cannot be drawn gives no cross, and no marker either.
  canvas.clear();
  g.voie(5).valeurCourante = kNaN;
  g.DessineCroix(canvas, 5);
  g.DessinePointCourant(canvas, 5);
  EXPECT_TRUE(canvas.calls().empty());
  g.voie(5).valeurCourante = 1;
  g.DessinePointCourant(canvas, 5);
  EXPECT_EQ(canvas.callsOf(Kind::Line).size(), 2u);  // the "Croix" marker
}

TEST(Dessine, LogarithmicAbscissaLabelsIntermediateValuesOnlyOverFewDecades) {
  for (auto [decades, intermediaires] : {std::pair{2.0, true}, {5.0, false}}) {
    TgrapheKVX g;
    Prepare(g, {5}, {0, 0, 1200, 480});
    g.courbe(1).logarithmique = true;
    g.voie(1).Mini = 0;
    g.voie(1).Maxi = decades;
    RecordingCanvas canvas;
    g.Dessine(canvas);
    const auto textes = TextsIn(canvas, kNoir);
    EXPECT_NE(std::find(textes.begin(), textes.end(), "10"), textes.end());
    EXPECT_EQ(std::find(textes.begin(), textes.end(), "5") != textes.end(), intermediaires);
    EXPECT_EQ(std::find(textes.begin(), textes.end(), "t(s)"), textes.end());  // no title
  }
}

// Whatever a channel or a file holds, the graph draws inside its picture and
// never divides by zero into NaN pixels.
TEST(Dessine, StaysInsideThePictureWhateverTheValues) {
  const double nasty[] = {kNaN, std::numeric_limits<double>::infinity(), -1e308, 1e308, 0, 1e-300};
  struct Setup {
    const char *name;
    void (*apply)(TgrapheKVX &);
  };
  const Setup setups[] = {
      {"equal_range", [](TgrapheKVX &g) { g.voie(5).Mini = g.voie(5).Maxi = 1; }},
      {"inverted_range", [](TgrapheKVX &g) { g.voie(1).Mini = 5, g.voie(1).Maxi = -5; }},
      {"nan_range", [](TgrapheKVX &g) { g.voie(3).Mini = kNaN, g.voie(3).Maxi = kNaN; }},
      {"huge_range", [](TgrapheKVX &g) { g.voie(1).Mini = -1e308, g.voie(1).Maxi = 1e308; }},
      {"no_points", [](TgrapheKVX &g) { g.nbPoints = 0; }},
      {"one_point", [](TgrapheKVX &g) { g.nbPoints = 1; }},
      {"too_many_points", [](TgrapheKVX &g) { g.nbPoints = 1 << 30; }},
      {"negative_points", [](TgrapheKVX &g) { g.nbPoints = -5; }},
      {"bad_abscissa", [](TgrapheKVX &g) { g.Abscisse = 200; }},
      {"zero_abscissa", [](TgrapheKVX &g) { g.Abscisse = 0; }},
      {"analyser_no_count", [](TgrapheKVX &g) { g.AnalLog = true, g.nbCourbesY = 0; }},
      {"analyser_tiny",
       [](TgrapheKVX &g) {
         g.AnalLog = true, g.cadre = {0, 0, 30, 12};
       }},
      {"zero_size",
       [](TgrapheKVX &g) {
         g.cadre = {0, 0, 0, 0};
       }},
      {"negative_size",
       [](TgrapheKVX &g) {
         g.cadre = {0, 0, -10, -10};
       }},
      {"bad_marker",
       [](TgrapheKVX &g) { g.Points = true, g.voie(5).Motif = 99, g.DimPoint = 1 << 20; }},
      {"grid_log", [](TgrapheKVX &g) { g.Grille = true, g.courbe(5).logarithmique = true; }},
      {"log_nan_decades",
       [](TgrapheKVX &g) { g.courbe(1).logarithmique = true, g.voie(1).Maxi = 1e300; }},
      {"nothing_visible",
       [](TgrapheKVX &g) {
         for (int s = 1; s <= kNbCourbes; ++s) g.voie(s).Active = false;
       }},
  };
  for (const Setup &s : setups) {
    SCOPED_TRACE(s.name);
    TgrapheKVX g;
    Prepare(g, {3, 5, 6, 9});
    g.Points = true;
    for (int i = 0; i < model::kNbValeurs; ++i)
      for (int slot = 1; slot <= kNbCourbes; ++slot)
        g.voie(slot).valeurs[i] = i < 50 ? nasty[(i + slot) % 6] : std::sin(i * 0.01);
    g.nbPoints = 300;
    s.apply(g);
    const Size taille{std::max(0, g.cadre.width()), std::max(0, g.cadre.height())};
    RecordingCanvas canvas(taille);
    g.Dessine(canvas);
    g.DessinePoints(canvas, 0, 6400);
    for (int slot = 1; slot <= kNbCourbes; ++slot) {
      g.DessineCroix(canvas, slot);
      g.DessinePointCourant(canvas, slot);
    }
    g.DessineSeuil(canvas);
    for (const DrawCall &call : canvas.calls()) {
      EXPECT_FALSE(call.clip.empty() && call.kind == Kind::Lines && !call.points.empty());
      if (call.kind != Kind::Lines) continue;
      // The curves themselves are cut to the picture.
      for (Point p : call.points) EXPECT_TRUE(g.cadre.contains(p)) << p.x << "," << p.y;
    }
    for (const DrawCall &call : canvas.calls())
      for (Point p : call.points) {
        EXPECT_LT(std::abs(p.x), kPixelLimite + 100);
        EXPECT_LT(std::abs(p.y), kPixelLimite + 100);
      }
  }
}

TEST(Couleurs, StoredColoursAndSystemColours) {
  EXPECT_EQ(CouleurRgb(model::kCouleurRouge), kRouge);
  EXPECT_EQ(CouleurRgb(model::kCouleurMarine), kMarine);
  EXPECT_EQ(CouleurRgb(model::kCouleurBleu), (Rgb{0, 0, 255}));
  EXPECT_EQ(CouleurRgb(0x123456), (Rgb{0x56, 0x34, 0x12}));
  EXPECT_EQ(CouleurRgb(kCouleurFenetre), (Rgb{255, 255, 255}));
  EXPECT_EQ(CouleurRgb(static_cast<std::int32_t>(0xFF00FFFFu)), kNoir);
  // A curve never vanishes on the white graph.
  EXPECT_EQ(CouleurCourbe(kCouleurFenetre), CouleurRgb(kCouleurTitreActif));
  EXPECT_EQ(CouleurCourbe(0xFFFFFF), CouleurRgb(kCouleurTitreActif));
  EXPECT_EQ(CouleurCourbe(model::kCouleurVert), (Rgb{0, 128, 0}));
}

}  // namespace
}  // namespace kvx::display
