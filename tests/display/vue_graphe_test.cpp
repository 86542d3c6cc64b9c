// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/vue_graphe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "display/couleurs.h"
#include "display/graphe.h"
#include "display/lecture_curseurs.h"
#include "model/separateur_decimal.h"
#include "recording_canvas.h"

namespace kvx::display {
namespace {

using Kind = DrawCall::Kind;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(VueGraphe, WheelZoomKeepsThePointUnderThePointer) {
  struct Case {
    double f, facteur;
  };
  for (const Case c : {Case{0.5, 0.8}, Case{0.1, 0.5}, Case{0.9, 0.25}, Case{0.3, 1.25},
                       Case{0, 0.8}, Case{1, 0.8}}) {
    VueGraphe v;
    v.ZoomeX(0.7, 0.5);  // already zoomed once
    const Fenetre avant = v.fenetreX();
    const double point = avant.debut + c.f * avant.largeur();
    v.ZoomeX(c.f, c.facteur);
    const Fenetre &w = v.fenetreX();
    EXPECT_NEAR(w.largeur(), avant.largeur() * c.facteur, 1e-12) << c.f;
    EXPECT_NEAR(w.debut + c.f * w.largeur(), point, 1e-12) << c.f << " " << c.facteur;
    EXPECT_TRUE(v.fenetreY().pleine());
  }
}

TEST(VueGraphe, ZoomStopsAtAMillionthAndAtThreeSpans) {
  VueGraphe v;
  for (int i = 0; i < 200; ++i) v.ZoomeX(0.25, 0.5);
  EXPECT_NEAR(v.fenetreX().largeur(), kLargeurMinimale, 1e-15);
  EXPECT_NEAR(v.fenetreX().debut + 0.25 * v.fenetreX().largeur(), 0.25, 1e-9);
  for (int i = 0; i < 200; ++i) v.ZoomeY(0.5, 2);
  EXPECT_DOUBLE_EQ(v.fenetreY().debut, -1);
  EXPECT_DOUBLE_EQ(v.fenetreY().fin, 2);
  // Zooming out far from the middle slides rather than pass the limits.
  VueGraphe w;
  for (int i = 0; i < 50; ++i) w.ZoomeX(0.95, 1.5);
  EXPECT_GE(w.fenetreX().debut, -1);
  EXPECT_LE(w.fenetreX().fin, 2);
  // Bad input changes nothing.
  VueGraphe z;
  z.ZoomeX(kNaN, 0.5);
  z.ZoomeX(0.5, 0);
  z.ZoomeX(0.5, -1);
  z.ZoomeX(0.5, std::numeric_limits<double>::infinity());
  EXPECT_TRUE(z.fenetreX().pleine());
}

TEST(VueGraphe, PanIsHeldAtTheEdges) {
  VueGraphe v;
  v.ZoomeX(0.5, 0.1);  // 0.45 .. 0.55
  v.DeplaceX(2);       // two widths to the right
  EXPECT_NEAR(v.fenetreX().debut, 0.65, 1e-12);
  v.DeplaceX(1000);
  EXPECT_NEAR(v.fenetreX().fin, 2, 1e-12);
  EXPECT_NEAR(v.fenetreX().largeur(), 0.1, 1e-12);
  v.DeplaceX(-1e9);
  EXPECT_NEAR(v.fenetreX().debut, -1, 1e-12);
  // The full view pans too, within the same limits.
  VueGraphe w;
  w.DeplaceY(-5);
  EXPECT_DOUBLE_EQ(w.fenetreY().debut, -1);
  EXPECT_DOUBLE_EQ(w.fenetreY().largeur(), 1);
}

TEST(VueGraphe, RectangleShowsThePartDraggedAndBackToFull) {
  VueGraphe v;
  v.CadreX(0.8, 0.2);  // dragged right to left
  EXPECT_NEAR(v.fenetreX().debut, 0.2, 1e-12);
  EXPECT_NEAR(v.fenetreX().fin, 0.8, 1e-12);
  v.CadreX(0.5, 0.5);  // no width: the closest view allowed, centred there
  EXPECT_NEAR(v.fenetreX().largeur(), kLargeurMinimale, 1e-15);
  EXPECT_NEAR(v.fenetreX().debut + v.fenetreX().largeur() / 2, 0.5, 1e-9);
  v.PlaceCurseur(CurseurLecture::A, 3);
  v.VueComplete();
  EXPECT_FALSE(v.zoomee());
  EXPECT_EQ(v.curseur(CurseurLecture::A), 3);
  v.ZoomeY(0.5, 0.5);
  v.Reinitialise();
  EXPECT_FALSE(v.zoomee());
  EXPECT_FALSE(v.curseurPlace(CurseurLecture::A));
}

TEST(VueGraphe, ArrowsMoveTheActiveCursorWithinTheRecording) {
  VueGraphe v;
  v.DeplaceCurseur(1, 10);  // none placed: nothing
  EXPECT_EQ(v.curseur(CurseurLecture::A), -1);
  v.PlaceCurseur(CurseurLecture::A, 2);
  v.PlaceCurseur(CurseurLecture::B, 8);
  EXPECT_EQ(v.actif(), CurseurLecture::B);
  v.DeplaceCurseur(1, 10);
  v.DeplaceCurseur(1, 10);
  EXPECT_EQ(v.curseur(CurseurLecture::B), 9);
  v.PlaceCurseur(CurseurLecture::A, 2);
  v.DeplaceCurseur(-5, 10);
  EXPECT_EQ(v.curseur(CurseurLecture::A), 0);
  v.LimiteCurseurs(5);  // the recording got shorter
  EXPECT_EQ(v.curseur(CurseurLecture::A), 0);
  EXPECT_EQ(v.curseur(CurseurLecture::B), -1);
  v.EnleveCurseurs();
  EXPECT_FALSE(v.curseurPlace(CurseurLecture::A));
}

// --- The graph with a view -------------------------------------------------

void Prepare(TgrapheKVX &g, int n, double duree) {
  g.cadre = {0, 0, 640, 480};
  g.Abscisse = 1;
  for (int slot = 1; slot <= kNbCourbes; ++slot) g.voie(slot).Active = false;
  g.voie(1).Active = true;
  g.voie(1).Mini = 0;
  g.voie(1).Maxi = duree;
  g.voie(5).Active = true;
  g.voie(6).Active = true;
  for (int i = 0; i < n; ++i) {
    g.voie(1).valeurs[i] = i * duree / n;
    g.voie(5).valeurs[i] = i % 20 < 10 ? 2.0 : -2.0;
    g.voie(6).valeurs[i] = 0.01 * i;
  }
  g.nbPoints = n;
  g.nbCourbesY = 2;
}

TEST(GrapheZoome, ScaleAndGraduationsFollowTheWindow) {
  TgrapheKVX g;
  Prepare(g, 100, 1);
  RecordingCanvas canvas;
  g.Dessine(canvas);
  const int gauche = g.zone.left, droite = g.zone.right;
  g.vue.CadreX(0.25, 0.5);
  g.vue.CadreY(0.5, 1);
  canvas.clear();
  g.Dessine(canvas);
  const TCourbe &t = g.courbe(1);
  EXPECT_EQ(t.Ecran(0.25), gauche);
  EXPECT_EQ(t.Ecran(0.5), droite);
  EXPECT_DOUBLE_EQ(t.pas, 0.05);  // 0.25 s in at most five steps
  EXPECT_DOUBLE_EQ(t.premier, 0.25);
  EXPECT_EQ(g.courbe(5).Ecran(0), g.zone.bottom);  // the upper half of -V..+V
  // The curves no longer run over the labels.
  for (const DrawCall &c : canvas.callsOf(Kind::Lines))
    EXPECT_EQ(c.clip, (Rect{g.zone.left, g.zone.top, g.zone.right + 1, g.zone.bottom + 1}));
  EXPECT_NE(canvas.findText("300"), nullptr);  // ms labels of the window
}

TEST(GrapheZoome, LogarithmicAxisZoomsInDecades) {
  TgrapheKVX g;
  Prepare(g, 100, 1);
  TCourbe &t = g.courbe(1);
  t.logarithmique = true;
  g.voie(1).Mini = 0;  // 1 .. 10000
  g.voie(1).Maxi = 4;
  for (int i = 0; i < 100; ++i) g.voie(1).valeurs[i] = std::pow(10.0, i * 0.04);
  g.vue.CadreX(0.25, 0.5);  // decades 1 .. 2
  RecordingCanvas canvas;
  g.Dessine(canvas);
  EXPECT_EQ(t.Ecran(10), g.zone.left);
  EXPECT_EQ(t.Ecran(100), g.zone.right);
  EXPECT_NE(canvas.findText("5"), nullptr);  // few decades: the 2..9 labels come back
  EXPECT_EQ(t.Ecran(-1), kHorsEcran);
}

TEST(GrapheZoome, ClockAxisReadsSecondsOnceZoomedBelowMinutes) {
  TgrapheKVX g;
  Prepare(g, 600, 7200);
  RecordingCanvas canvas;
  g.Dessine(canvas);
  EXPECT_TRUE(g.courbe(1).formatTemps);
  g.vue.CadreX(0.5, 0.5 + 60.0 / 7200);  // one minute
  g.Dessine(canvas);
  EXPECT_FALSE(g.courbe(1).formatTemps);
  EXPECT_DOUBLE_EQ(g.courbe(1).pas, 10);
  g.vue.CadreX(0, 1e9);  // wide again: clock times
  g.vue.VueComplete();
  g.vue.CadreX(0, 0.5);
  g.Dessine(canvas);
  EXPECT_TRUE(g.courbe(1).formatTemps);
}

TEST(GrapheZoome, ThresholdStaysOnItsValueAndTheDragReadsThroughTheZoom) {
  TgrapheKVX g;
  Prepare(g, 100, 1);
  g.ModeSynchro = kSynchroSeuil;
  g.VoieSynchro = 5;
  g.Seuil = 191;  // 3/4 of the range: +1.25 V on -2.5..+2.5
  RecordingCanvas canvas;
  g.Dessine(canvas);
  const int plein = g.ySeuil;
  EXPECT_NEAR(g.NiveauSeuil(plein), 191, 0.5);
  g.vue.CadreY(0.5, 1);
  g.Dessine(canvas);
  const double v = g.voie(5).Mini + (g.voie(5).Maxi - g.voie(5).Mini) * 191 / 255.0;
  EXPECT_EQ(g.ySeuil, g.courbe(5).Ecran(v));
  EXPECT_NE(g.ySeuil, plein);
  EXPECT_NEAR(g.NiveauSeuil(g.ySeuil), 191, 0.5);
  EXPECT_NEAR(g.NiveauSeuil(g.zone.bottom), 127.5, 0.5);
}

TEST(GrapheZoome, FractionsOfThePointer) {
  TgrapheKVX g;
  Prepare(g, 100, 1);
  RecordingCanvas canvas;
  g.Dessine(canvas);
  EXPECT_DOUBLE_EQ(g.FractionX(g.zone.left), 0);
  EXPECT_DOUBLE_EQ(g.FractionX(g.zone.right), 1);
  EXPECT_DOUBLE_EQ(g.FractionY(g.zone.bottom), 0);
  EXPECT_DOUBLE_EQ(g.FractionY(g.zone.top), 1);
  // The wheel at a pixel keeps that pixel's value there.
  const int px = g.zone.left + 100;
  const double valeur = (px - g.courbe(1).b) / g.courbe(1).a;
  g.vue.ZoomeX(g.FractionX(px), 0.3);
  g.Dessine(canvas);
  EXPECT_NEAR(g.courbe(1).position(valeur), px, 1e-6);
}

// --- Reading cursors ---------------------------------------------------------

TEST(LectureCurseurs, NearestPointDeltaAndSlopeInUnits) {
  model::FixeSeparateurDecimal('.');
  TgrapheKVX g;
  Prepare(g, 100, 1);  // t = i / 100 s, V1 square, V2 = 0.01 i V
  g.voie(6).valeurs[30] = kNaN;
  RecordingCanvas canvas;
  g.Dessine(canvas);
  const int i = PointLePlusProche(g, g.courbe(1).position(0.2041));
  EXPECT_EQ(i, 20);
  g.vue.PlaceCurseur(CurseurLecture::A, i);
  g.vue.PlaceCurseur(CurseurLecture::B, 30);
  const LectureCurseurs l = LitCurseurs(g);
  ASSERT_TRUE(l.place[0] && l.place[1]);
  EXPECT_DOUBLE_EQ(l.abscisse[0], 0.2);
  EXPECT_DOUBLE_EQ(l.deltaX, 0.3 - 0.2);
  ASSERT_EQ(l.courbes.size(), 2u);
  EXPECT_EQ(l.courbes[0].nom, "V1");
  EXPECT_DOUBLE_EQ(l.courbes[0].valeur[0], 2.0);
  EXPECT_DOUBLE_EQ(l.courbes[0].valeur[1], -2.0);
  // V2 has a gap at point 30: the nearest recorded point is read (29 and 31
  // are as near; the first wins).
  EXPECT_EQ(l.courbes[1].point[1], 29);
  EXPECT_DOUBLE_EQ(l.courbes[1].valeur[1], 0.29);
  EXPECT_NEAR(l.courbes[1].delta, 0.09, 1e-12);
  EXPECT_NEAR(l.courbes[1].pente, 0.9, 1e-9);
  using Lignes = std::vector<std::vector<std::string>>;
  const Lignes attendu = {{"", "A", "B", "Δ", "Δ/Δt"},
                          {"t", "200 ms", "300 ms", "100 ms", ""},
                          {"V1", "2 V", "-2 V", "-4 V", "-40 V/s"},
                          {"V2", "200 mV", "290 mV", "90 mV", "900 mV/s"}};
  EXPECT_EQ(TableauLectures(g, l), attendu);
  // No change between the cursors reads as zero in the unit, spaced alike.
  g.vue.PlaceCurseur(CurseurLecture::B, 25);
  const Lignes plat = TableauLectures(g, LitCurseurs(g));
  EXPECT_EQ(plat[2], (std::vector<std::string>{"V1", "2 V", "2 V", "0 V", "0 V/s"}));
}

TEST(LectureCurseurs, EmptyRecordingAndOneCursorOnly) {
  TgrapheKVX g;
  Prepare(g, 0, 1);
  RecordingCanvas canvas;
  g.Dessine(canvas);
  EXPECT_EQ(PointLePlusProche(g, 100), -1);
  g.vue.PlaceCurseur(CurseurLecture::A, 0);
  LectureCurseurs l = LitCurseurs(g);
  EXPECT_FALSE(l.place[0]);
  EXPECT_TRUE(TableauLectures(g, l).empty());
  Prepare(g, 10, 1);
  l = LitCurseurs(g);
  // A and its two curves, no Δ.
  EXPECT_EQ(TableauLectures(g, l)[0], (std::vector<std::string>{"", "A"}));
  EXPECT_EQ(TableauLectures(g, l).size(), 4u);
  // A curve that is all gap reads nothing.
  for (int i = 0; i < 10; ++i) g.voie(5).valeurs[i] = kNaN;
  l = LitCurseurs(g);
  EXPECT_EQ(l.courbes[0].point[0], -1);
  EXPECT_EQ(TableauLectures(g, l)[2], (std::vector<std::string>{"V1", "—"}));
}

TEST(LectureCurseurs, ForkRecordingAgainstItsOwnAbscissa) {
  TgrapheKVX g;
  g.cadre = {0, 0, 640, 480};
  g.Mode = kModeVeltor;
  g.Abscisse = 1;
  for (int slot = 1; slot <= kNbCourbes; ++slot) g.voie(slot).Active = false;
  g.voie(1).Active = true;
  g.voie(9).Active = true;
  g.voie(1).Maxi = 2;
  g.voie(9).Mini = -1;
  g.voie(9).Maxi = 1;
  // Fork events come at uneven times.
  const double t[] = {0.0, 0.1, 0.15, 0.4, 0.9, 1.7};
  for (int i = 0; i < 6; ++i) {
    g.voie(1).valeurs[i] = t[i];
    g.voie(9).valeurs[i] = 0.1 * i;
  }
  g.nbPoints = 6;
  RecordingCanvas canvas;
  g.Dessine(canvas);
  EXPECT_EQ(PointLePlusProche(g, g.courbe(1).position(0.6)), 3);
  EXPECT_EQ(PointLePlusProche(g, g.courbe(1).position(0.7)), 4);
  g.vue.PlaceCurseur(CurseurLecture::A, 1);
  g.vue.PlaceCurseur(CurseurLecture::B, 5);
  const LectureCurseurs l = LitCurseurs(g);
  ASSERT_EQ(l.courbes.size(), 1u);
  EXPECT_NEAR(l.courbes[0].pente, 0.4 / 1.6, 1e-12);
}

TEST(GrapheCurseurs, LinesAndRingsOnThePicture) {
  TgrapheKVX g;
  Prepare(g, 100, 1);
  g.vue.PlaceCurseur(CurseurLecture::A, 20);
  g.vue.PlaceCurseur(CurseurLecture::B, 35);
  RecordingCanvas canvas;
  g.Dessine(canvas);
  const int xa = g.courbe(1).Ecran(0.2), xb = g.courbe(1).Ecran(0.35);
  int traits = 0;
  for (const DrawCall &c : canvas.callsOf(Kind::Line))
    if (c.pen.style == PenStyle::Dash && c.points[0].x == c.points[1].x &&
        (c.points[0].x == xa || c.points[0].x == xb) && c.points[0].y == g.zone.top)
      ++traits;
  EXPECT_EQ(traits, 2);
  ASSERT_NE(canvas.findText("A"), nullptr);
  ASSERT_NE(canvas.findText("B"), nullptr);
  const auto anneaux = canvas.callsOf(Kind::Ellipse);
  ASSERT_EQ(anneaux.size(), 4u);  // two curves at two cursors
  EXPECT_EQ(anneaux[0].points[0], (Point{xa - 4, g.courbe(5).Ecran(2.0) - 4}));
}

// --- Overlays ----------------------------------------------------------------

TEST(Superpositions, ShowsFiveEarlierRunsOfTheSameChannels) {
  TgrapheKVX g;
  Prepare(g, 50, 1);
  g.vue.superposer = true;
  EXPECT_TRUE(g.Superpositions().empty());
  for (int run = 0; run < 7; ++run) {
    g.NouvelleAcquisition();
    for (int i = 0; i < 50; ++i) g.voie(6).valeurs[i] = run;
    g.nbPoints = 50;
    g.FinAcquisition();
  }
  // The run on screen (6) is not among the earlier ones; five at most.
  const auto runs = g.Superpositions();
  ASSERT_EQ(runs.size(), 5u);
  EXPECT_EQ(runs[0]->valeurs("V2")->at(0), 5);
  EXPECT_EQ(runs[4]->valeurs("V2")->at(0), 1);
  g.NouvelleAcquisition();  // a new one begins: it is earlier now
  EXPECT_EQ(g.Superpositions().size(), 5u);
  EXPECT_EQ(g.Superpositions()[0]->valeurs("V2")->at(0), 6);
  EXPECT_EQ(g.Superpositions()[0]->valeurs("V3"), nullptr);
  // A run of channels not shown is passed over, not counted.
  g.anneau().Ajoute({{{"t", {0, 1}}, {"V3", {1, 1}}}});
  EXPECT_EQ(g.Superpositions()[0]->valeurs("V2")->at(0), 6);
  EXPECT_EQ(g.Superpositions().size(), 5u);
  // Runs of an earlier session go behind, while there is room.
  while (g.anneau().nombre() < kAcquisitionsGardees - 1) g.anneau().Ajoute({});
  g.anneau().AjouteAncienne({{{"t", {0, 1}}, {"V2", {7, 7}}}});
  g.anneau().AjouteAncienne({{{"t", {0, 1}}, {"V2", {8, 8}}}});
  EXPECT_EQ(g.anneau().acquisition(kAcquisitionsGardees - 1).valeurs("V2")->at(0), 7);
  EXPECT_EQ(g.anneau().nombre(), kAcquisitionsGardees);
  g.vue.superposer = false;
  EXPECT_TRUE(g.Superpositions().empty());
}

TEST(Superpositions, DrawnPaleBehindTheCurrentWithAKey) {
  TgrapheKVX g;
  Prepare(g, 50, 1);
  g.FinAcquisition();
  g.NouvelleAcquisition();  // already kept when it ended
  Prepare(g, 1, 1);         // a single point is no run to keep
  g.NouvelleAcquisition();
  Prepare(g, 50, 1);
  g.vue.superposer = true;
  RecordingCanvas canvas;
  g.Dessine(canvas);
  const auto pieces = canvas.callsOf(Kind::Lines);
  ASSERT_GE(pieces.size(), 4u);
  // Overlays first, in lighter colours of the same curves.
  const Rgb courant = CouleurCourbe(g.voie(6).Couleur), pale = pieces[1].pen.colour;
  EXPECT_EQ(pieces.back().pen.colour, courant);
  EXPECT_GT(pale.r + pale.g + pale.b, courant.r + courant.g + courant.b);
  EXPECT_NE(pieces[0].pen.colour, CouleurCourbe(g.voie(5).Couleur));
  EXPECT_NE(canvas.findText("acquisition −1"), nullptr);
  EXPECT_EQ(canvas.findText("acquisition −2"), nullptr);
  // A history of recordings can stand in for the runs in memory.
  struct Historique : SourceSuperpositions {
    std::size_t nombre() const override { return 1; }
    const AcquisitionGardee &acquisition(std::size_t) const override { return run; }
    AcquisitionGardee run{{{"t", {0, 0.5}}, {"V1", {1, 1}}}};
  } h;
  g.FixeSourceSuperpositions(&h);
  ASSERT_EQ(g.Superpositions().size(), 1u);
  EXPECT_EQ(g.Superpositions()[0], &h.run);
  g.FixeSourceSuperpositions(nullptr);
  EXPECT_EQ(g.Superpositions().size(), 1u);
}

}  // namespace
}  // namespace kvx::display
