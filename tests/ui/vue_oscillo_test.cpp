// SPDX-License-Identifier: GPL-3.0-or-later
// The paint box's zoom, pan and reading cursors, and the threshold drag on a
// zoomed graph.
#include "ui/vue_oscillo.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "display/graphe.h"
#include "model/separateur_decimal.h"
#include "ui/kvxmain.h"
#include "ui/oscillo.h"
#include "ui/panel_courbe.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

class VueOscilloTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    model::FixeSeparateurDecimal('.');
    m_form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
    display::TgrapheKVX &g = m_form.graphe();
    g.Mode = display::kModeTemps;
    g.Abscisse = 1;
    g.voie(1).Active = true;
    g.voie(1).Mini = 0;
    g.voie(1).Maxi = 1;
    for (int i = 0; i < 100; ++i) {
      g.voie(1).valeurs[i] = i / 100.0;
      g.voie(5).valeurs[i] = i % 20 < 10 ? 2 : -2;
      g.voie(6).valeurs[i] = 0.01 * i;
    }
    g.nbPoints = 100;
    Redessine();
  }
  void Redessine() {
    o()->Invalide();
    o()->MetAJour();
  }
  TOscillo *o() { return m_form.PanelCourbe->Oscillo; }
  QLabel *panneau() { return m_form.findChild<QLabel *>(QStringLiteral("LecturesCurseurs")); }
  void Molette(QPoint p, int delta, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QWheelEvent e(p, o()->mapToGlobal(p), {}, {0, delta}, Qt::NoButton, m, Qt::NoScrollPhase,
                  false);
    QCoreApplication::sendEvent(o(), &e);
  }
  void Glisse(Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint de, QPoint a) {
    QTest::mousePress(o(), b, m, de);
    QMouseEvent bouge(QEvent::MouseMove, QPointF(a), o()->mapToGlobal(QPointF(a)), Qt::NoButton, b,
                      m);
    QCoreApplication::sendEvent(o(), &bouge);
    QTest::mouseRelease(o(), b, m, a);
  }
  TKVXmainForm m_form{TKVXmainForm::Options{}};
};

TEST_F(VueOscilloTest, WheelZoomsAroundThePointerAndHomeShowsTheWhole) {
  display::TgrapheKVX &g = m_form.graphe();
  const int px = g.zone.left + 120;
  const double valeur = (px - g.courbe(1).b) / g.courbe(1).a;
  Molette({px, 100}, 240);  // two notches closer
  Redessine();
  EXPECT_NEAR(g.vue.fenetreX().largeur(), 0.64, 1e-9);
  EXPECT_NEAR(g.courbe(1).position(valeur), px, 0.01);
  Molette({px, g.zone.bottom}, 120, Qt::ShiftModifier);
  EXPECT_NEAR(g.vue.fenetreY().largeur(), 0.8, 1e-9);
  EXPECT_NEAR(g.vue.fenetreY().debut, 0, 1e-9);  // the bottom stays put
  o()->setFocus();
  QTest::keyClick(o(), Qt::Key_Home);
  EXPECT_FALSE(g.vue.zoomee());
}

TEST_F(VueOscilloTest, CtrlDragZoomsToTheRectangleAndRightDragPans) {
  display::TgrapheKVX &g = m_form.graphe();
  const display::Rect z = g.zone;
  const int l = z.right - z.left;
  Glisse(Qt::LeftButton, Qt::ControlModifier, {z.left + l / 4, z.top + 10},
         {z.left + l / 2, z.bottom - 10});
  EXPECT_NEAR(g.vue.fenetreX().debut, 0.25, 0.01);
  EXPECT_NEAR(g.vue.fenetreX().fin, 0.5, 0.01);
  EXPECT_FALSE(g.vue.curseurPlace(display::CurseurLecture::A));
  Redessine();
  const double debut = g.vue.fenetreX().debut;
  Glisse(Qt::RightButton, Qt::NoModifier, {z.left + l / 2, 100}, {z.left + l / 4, 100});
  EXPECT_NEAR(g.vue.fenetreX().debut - debut, 0.25 * 0.25, 0.01);  // a quarter of the window
  QTest::mouseDClick(o(), Qt::LeftButton, {}, {z.left + 10, 100});
  EXPECT_FALSE(g.vue.zoomee());
}

TEST_F(VueOscilloTest, ClicksPlaceTheCursorsAndThePanelReadsThem) {
  m_form.resize(1200, 800);
  Redessine();
  display::TgrapheKVX &g = m_form.graphe();
  EXPECT_TRUE(panneau()->isHidden());
  QTest::mouseClick(o(), Qt::LeftButton, {}, {g.courbe(1).Ecran(0.2), 100});
  EXPECT_EQ(g.vue.curseur(display::CurseurLecture::A), 20);
  QTest::mouseClick(o(), Qt::LeftButton, Qt::ShiftModifier, {g.courbe(1).Ecran(0.3), 100});
  EXPECT_EQ(g.vue.curseur(display::CurseurLecture::B), 30);
  ASSERT_FALSE(panneau()->isHidden());
  EXPECT_TRUE(panneau()->text().contains(QStringLiteral(">100 ms<")))
      << panneau()->text().toStdString();
  EXPECT_TRUE(panneau()->text().contains(QStringLiteral(">1 V/s<")));
  // The readings lie over the plot's top right corner, the graph keeping its
  // width; with the cursors there, they go to the left corner.
  EXPECT_EQ(o()->geometry(), panneau()->parentWidget()->rect());
  const display::Rect z = g.zone;
  EXPECT_TRUE(
      QRect(QPoint(z.left, z.top), QPoint(z.right, z.bottom)).contains(panneau()->geometry()));
  EXPECT_GT(panneau()->geometry().left(), g.courbe(1).Ecran(0.3));
  QTest::keyClick(o(), Qt::Key_Right);
  EXPECT_EQ(g.vue.curseur(display::CurseurLecture::B), 31);
  QTest::mouseClick(o(), Qt::LeftButton, {}, {z.right - 10, z.bottom - 10});
  QTest::mouseClick(o(), Qt::LeftButton, Qt::ShiftModifier, {z.right - 20, z.bottom - 10});
  EXPECT_LT(panneau()->geometry().right(), z.right - 20);
  QTest::keyClick(o(), Qt::Key_Escape);
  EXPECT_FALSE(g.vue.curseurPlace(display::CurseurLecture::A));
  EXPECT_TRUE(panneau()->isHidden());
}

TEST_F(VueOscilloTest, ThresholdDragStillMovesTheThresholdOnAZoomedGraph) {
  display::TgrapheKVX &g = m_form.graphe();
  g.ModeSynchro = display::kSynchroSeuil;
  g.VoieSynchro = 5;
  g.vue.CadreY(0.25, 0.75);
  Redessine();
  const display::TCourbe &c = g.courbe(5);
  const double min = g.voie(5).Mini, largeur = g.voie(5).Maxi - g.voie(5).Mini;
  const int vers = c.Ecran(min + largeur * 160 / 255.0);
  const int x = o()->width() / 2;
  Glisse(Qt::LeftButton, Qt::NoModifier, {x, g.ySeuil + 1}, {x, vers});
  EXPECT_NEAR(g.Seuil, 160, 1);
  // The press caught the line: no cursor was placed.
  EXPECT_FALSE(g.vue.curseurPlace(display::CurseurLecture::A));
  EXPECT_TRUE(g.vue.zoomee());
}

TEST_F(VueOscilloTest, OverlayMenuItemsSetTheView) {
  display::TgrapheKVX &g = m_form.graphe();
  auto *superposer = m_form.findChild<QAction *>(QStringLiteral("SuperposerItem"));
  auto *exporter = m_form.findChild<QAction *>(QStringLiteral("ExporterSuperpositionsItem"));
  ASSERT_NE(superposer, nullptr);
  ASSERT_NE(exporter, nullptr);
  EXPECT_EQ(superposer->text(), QStringLiteral("Superposer les acquisitions"));
  superposer->trigger();
  EXPECT_TRUE(g.vue.superposer);
  EXPECT_FALSE(g.vue.exporterSuperpositions);
  exporter->trigger();
  EXPECT_TRUE(g.vue.exporterSuperpositions);
}

}  // namespace
}  // namespace kvx::ui
