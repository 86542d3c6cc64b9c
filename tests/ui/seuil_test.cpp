// SPDX-License-Identifier: GPL-3.0-or-later
// Dragging the trigger threshold on the graph.
#include <gtest/gtest.h>

#include <QTest>

#include "display/graphe.h"
#include "ui/kvxmain.h"
#include "ui/oscillo.h"
#include "ui/panel_courbe.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

class SeuilTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    m_form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
    display::TgrapheKVX &g = m_form.graphe();
    g.Mode = display::kModeTemps;
    g.Abscisse = 1;
    g.ModeSynchro = display::kSynchroSeuil;
    g.VoieSynchro = 5;
    m_oscillo()->Invalide();
    m_oscillo()->MetAJour();  // the line is drawn and its row known
  }
  TOscillo *m_oscillo() { return m_form.PanelCourbe->Oscillo; }
  void Glisse(int versY) {
    const int x = m_oscillo()->width() / 2;
    const int y = m_form.graphe().ySeuil;
    QTest::mousePress(m_oscillo(), Qt::LeftButton, {}, QPoint(x, y + 2));
    QMouseEvent bouge(QEvent::MouseMove, QPointF(x, versY),
                      m_oscillo()->mapToGlobal(QPointF(x, versY)), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(m_oscillo(), &bouge);
    QTest::mouseRelease(m_oscillo(), Qt::LeftButton, {}, QPoint(x, versY));
  }
  TKVXmainForm m_form{TKVXmainForm::Options{}};
};

TEST_F(SeuilTest, DragStopsAtTheTopAndBottomLevels) {
  ASSERT_EQ(m_form.graphe().Seuil, 127);
  const display::TCourbe &c = m_form.graphe().courbe(5);
  ASSERT_LT(c.haut, c.bas);
  Glisse(c.haut - 50);
  EXPECT_EQ(m_form.graphe().Seuil, 246);
  m_oscillo()->MetAJour();
  Glisse(c.bas + 50);
  EXPECT_EQ(m_form.graphe().Seuil, 9);
  m_oscillo()->MetAJour();
  Glisse((c.haut + c.bas) / 2);
  EXPECT_NEAR(m_form.graphe().Seuil, 128, 1);
}

TEST_F(SeuilTest, PressAwayFromTheLineMovesNothing) {
  const int x = m_oscillo()->width() / 2;
  const int loin = m_form.graphe().ySeuil + 30;
  QTest::mousePress(m_oscillo(), Qt::LeftButton, {}, QPoint(x, loin));
  QTest::mouseRelease(m_oscillo(), Qt::LeftButton, {}, QPoint(x, loin - 60));
  EXPECT_EQ(m_form.graphe().Seuil, 127);
}

}  // namespace
}  // namespace kvx::ui
