// SPDX-License-Identifier: GPL-3.0-or-later
// The window and the link: the search at first activation, the not-found
// panel, and searching again with ComBtn.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "device/clock.h"
#include "device/scripted_peer.h"
#include "device/simulated_port.h"
#include "display/graphe.h"
#include "ui/kvxmain.h"
#include "ui/panel_courbe.h"
#include "ui/panel_mode.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

class FenetreLienTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    m_table.addMissing();
    m_port = m_table.addPeer(m_boitier);
    TKVXmainForm::Options o;
    o.ports = &m_table;
    o.horloge = &m_horloge;
    o.lien.traceFolder = QDir::tempPath().toStdString();
    m_form = std::make_unique<TKVXmainForm>(o);
    m_form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    // The search runs once the window has painted.
    QTRY_VERIFY_WITH_TIMEOUT(!m_form->Statut(0).isEmpty(), 2000);
  }
  QWidget *Panneau() { return m_form->PanelCourbe->NuvexAbsent; }

  device::ManualClock m_horloge;
  device::SimulatedPortTable m_table{m_horloge};
  device::ScriptedPeer m_boitier;
  int m_port = 0;
  std::unique_ptr<TKVXmainForm> m_form;
};

TEST_F(FenetreLienTest, SilentPortShowsTheNotFoundPanelAndNamesTheLastPort) {
  EXPECT_TRUE(Panneau()->isVisible());
  EXPECT_EQ(m_form->Statut(0), QStringLiteral("Nuvex KVX non trouvé sur COM%1 (sim:%1)").arg(m_port));
  EXPECT_TRUE(m_form->PanelCourbe->ComBtn->hasFocus());
  EXPECT_FALSE(m_form->lien().BoxPresent());
  // The box was asked who it is, and nothing else was sent.
  ASSERT_EQ(m_boitier.lines().size(), 1u);
  EXPECT_EQ(m_boitier.lines()[0].line, "XERR");
}

TEST_F(FenetreLienTest, ComBtnSearchesAgainAndHidesThePanelWhenTheBoxAnswers) {
  ASSERT_TRUE(Panneau()->isVisible());
  m_boitier.answer("XERR", "NUVEX KVX V2\r");
  QTest::mouseClick(m_form->PanelCourbe->ComBtn, Qt::LeftButton);
  EXPECT_TRUE(m_form->lien().BoxPresent());
  EXPECT_FALSE(Panneau()->isVisible());
  EXPECT_EQ(m_form->lien().ComNumber(), m_port);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass went away
}

// A file double-clicked while no KVX runs and no box is plugged in: the
// panels show what the file holds, and the not-found message stays.
TEST(FenetreSansBoitier, ConfigurationReadAtStartIsShownWithNoBox) {
  test::AvecApplication application;
  device::ManualClock horloge;
  device::SimulatedPortTable table{horloge};
  table.addMissing();
  TKVXmainForm::Options o;
  o.ports = &table;
  o.horloge = &horloge;
  o.lien.traceFolder = QDir::tempPath().toStdString();
  TKVXmainForm form(o);
  form.graphe().voie(1).Maxi = 5;  // "Durée=5" read from the file
  form.show();
  QTRY_VERIFY_WITH_TIMEOUT(!form.Statut(0).isEmpty(), 2000);
  EXPECT_TRUE(form.PanelCourbe->NuvexAbsent->isVisible());
  // 5 s over 128 points at the box's period step: 4.992 s.
  const QString duree = form.PanelMode->DureeEdit->text();
  EXPECT_TRUE(duree.startsWith(QLatin1Char('4')) && duree.endsWith(QStringLiteral("992 s"))) << duree.toStdString();
  EXPECT_TRUE(form.Statut(0).startsWith(QStringLiteral("Nuvex KVX non trouvé"))) << form.Statut(0).toStdString();
  EXPECT_FALSE(form.EnregistreBtn->isEnabled());
}

// A user outside the dialout group: the panel and the status line say which
// device refused and what to do, rather than to switch the box off and on.
TEST(FenetreRefus, ARefusedPortIsToldWithItsPathAndTheRemedy) {
  test::AvecApplication application;
  device::ManualClock horloge;
  device::SimulatedPortTable table{horloge};
  device::ScriptedPeer boitier;
  table.addRefused();
  const int port = table.addPeer(boitier);
  TKVXmainForm::Options o;
  o.ports = &table;
  o.horloge = &horloge;
  o.lien.traceFolder = QDir::tempPath().toStdString();
  TKVXmainForm form(o);
  form.show();
  QTRY_VERIFY_WITH_TIMEOUT(!form.Statut(0).isEmpty(), 2000);
  const QString refus = QStringLiteral(
      "Accès refusé à sim:1 : rejoindre le groupe dialout, puis se reconnecter");
  QWidget *panneau = form.PanelCourbe->NuvexAbsent;
  ASSERT_TRUE(panneau->isVisible());
  EXPECT_EQ(form.Statut(0), refus);
  const QLabel *conseil = form.PanelCourbe->Label7;
  EXPECT_EQ(conseil->text(), refus);
  // The whole advice and both buttons fit in the red panel.
  for (const QWidget *w : {static_cast<const QWidget *>(conseil),
                           static_cast<const QWidget *>(form.PanelCourbe->ComBtn),
                           static_cast<const QWidget *>(form.PanelCourbe->EscapeBtn)}) {
    EXPECT_TRUE(panneau->rect().contains(w->geometry())) << w->objectName().toStdString();
    EXPECT_GE(w->height(), w->heightForWidth(w->width()) > 0 ? w->heightForWidth(w->width()) : 0);
  }

  // Once the user may open the device, the next search finds the box.
  boitier.answer("XERR", "NUVEX KVX V2\r");
  QTest::mouseClick(form.PanelCourbe->ComBtn, Qt::LeftButton);
  EXPECT_TRUE(form.lien().BoxPresent());
  EXPECT_EQ(form.lien().ComNumber(), port);
  EXPECT_FALSE(panneau->isVisible());
}

}  // namespace
}  // namespace kvx::ui
