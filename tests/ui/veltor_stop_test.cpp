// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "device/acquisition_engine.h"
#include "device/simulated_box.h"
#include "device/simulated_port.h"
#include "device/veltor_fork.h"
#include "display/graphe.h"
#include "outils_dialogue.h"
#include "ui/dialogues_fenetre.h"
#include "ui/kvxmain.h"
#include "ui/panel_courbe.h"
#include "ui/panel_mode.h"
#include "ui/veltorstop.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

class VeltorStopTest : public testing::Test, test::AvecApplication {
 protected:
  VeltorStopTest() : m_dlg(&m_auto, &m_secondes, [this] { ++m_arrets; }) {
    m_secondes.setRange(1, 60);
  }
  QCheckBox m_auto;
  QSpinBox m_secondes;
  int m_arrets = 0;
  TVeltorStopDlg m_dlg;
};

TEST_F(VeltorStopTest, CountsDownFromTheSecondsPlusTwoAndStopsAtZero) {
  m_auto.setChecked(true);
  m_secondes.setValue(5);
  m_dlg.Montre();
  EXPECT_EQ(m_dlg.windowTitle(), QStringLiteral("Acquisition en cours"));
  EXPECT_EQ(m_dlg.OKBtn->text(), QStringLiteral("Arrêt de l'acquisition avec la fourche"));
  EXPECT_TRUE(m_dlg.OKBtn->isDefault());
  EXPECT_TRUE(m_dlg.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(m_dlg.isModal());
  EXPECT_TRUE(m_dlg.Label2->isVisible());
  EXPECT_EQ(m_dlg.Label2->text(), QStringLiteral("Arrêt dans 6 secondes"));
  EXPECT_EQ(m_dlg.Timer->interval(), 1000);
  ASSERT_TRUE(m_dlg.Timer->isActive());
  // The seconds pass faster here; what the user reads at each is the same.
  QStringList lus;
  QObject::connect(m_dlg.Timer, &QTimer::timeout, &m_dlg, [&] { lus << m_dlg.Label2->text(); });
  m_dlg.Timer->setInterval(5);
  ASSERT_TRUE(test::AttendQue([&] { return m_arrets == 1; }));
  EXPECT_EQ(lus,
            (QStringList{
                QStringLiteral("Arrêt dans 5 secondes"), QStringLiteral("Arrêt dans 4 secondes"),
                QStringLiteral("Arrêt dans 3 secondes"), QStringLiteral("Arrêt dans 2 secondes"),
                QStringLiteral("Arrêt dans 1 seconde "), QStringLiteral("Arrêt dans 1 seconde ")}))
      << "at 0 the text stays and the run stops";
  EXPECT_FALSE(m_dlg.isVisible());
  EXPECT_FALSE(m_dlg.Timer->isActive());
}

TEST_F(VeltorStopTest, WithoutAutomaticStopOnlyTheButtonStops) {
  m_auto.setChecked(false);
  m_dlg.Montre();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
  EXPECT_FALSE(m_dlg.Label2->isVisible());
  EXPECT_FALSE(m_dlg.Timer->isActive());
  EXPECT_EQ(m_arrets, 0);
  test::Clique(&m_dlg, "OKBtn");
  EXPECT_EQ(m_arrets, 1);
  EXPECT_FALSE(m_dlg.isVisible());
}

TEST_F(VeltorStopTest, EscapeOrTheCloseButtonEndTheRunAsTheButtonDoes) {
  m_auto.setChecked(true);
  m_dlg.Montre();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
  QTest::keyClick(&m_dlg, Qt::Key_Escape);
  EXPECT_EQ(m_arrets, 1);
  EXPECT_FALSE(m_dlg.isVisible());
  m_dlg.Montre();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
  m_dlg.close();
  EXPECT_EQ(m_arrets, 2);
  EXPECT_FALSE(m_dlg.Timer->isActive());
}

TEST_F(VeltorStopTest, ClosedByTheProgramStopsNothingAndShowsAgainFromTheStart) {
  m_auto.setChecked(true);
  m_secondes.setValue(10);
  m_dlg.Montre();
  m_dlg.Ferme();
  EXPECT_FALSE(m_dlg.Timer->isActive());
  EXPECT_EQ(m_arrets, 0);
  m_secondes.setValue(1);
  m_dlg.Montre();
  EXPECT_EQ(m_dlg.Label2->text(), QStringLiteral("Arrêt dans 2 secondes"));
}

// A whole run in the window, the simulated fork on an in-process line at
// the real pace: the ruler falls, the count-down or the button ends the run,
// and the fall is recorded as position against time.
class VeltorFenetreTest : public testing::Test, test::AvecApplication {
 protected:
  virtual device::ForkSpec Fourche() const { return {}; }
  void SetUp() override {
    m_boitier.setAccessory(
        std::make_unique<device::SimulatedFork>(Fourche(), std::chrono::steady_clock::now()));
    m_table.addPeer(m_boitier);
    TKVXmainForm::Options o;
    o.ports = &m_table;
    o.imageVeltor.ownPort = 1;  // the simulated box of the test
    o.lien.traceFolder = QDir::tempPath().toStdString();
    o.lien.traceFiles = false;
    m_form = std::make_unique<TKVXmainForm>(o);
    RelieDialogues(*m_form);
    m_form->graphe().Mode = display::kModeVeltor;
    // The upload's waits run the window's timers: this one sees the label.
    auto *sonde = new QTimer(m_form.get());
    QObject::connect(sonde, &QTimer::timeout, m_form.get(), [this] {
      if (m_form->PanelCourbe->Label8->isVisible()) m_labelVu = true;
    });
    sonde->start(5);
    m_form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    ASSERT_TRUE(test::AttendQue(
        [&] { return m_form->moteur().veltorUploaded() && m_form->EnregistreBtn->isEnabled(); },
        5000));
    ASSERT_TRUE(m_form->moteur().veltorUploaded());
    sonde->stop();
  }
  TVeltorStopDlg *Arret() { return m_form->findChild<TVeltorStopDlg *>(); }

  device::SimulatedBox m_boitier{std::chrono::steady_clock::now()};
  device::SimulatedPortTable m_table{device::SteadyClock::instance()};
  std::unique_ptr<TKVXmainForm> m_form;
  bool m_labelVu = false;
};

TEST_F(VeltorFenetreTest, TheProgramGoesToTheBoxUnderItsLabel) {
  EXPECT_TRUE(m_labelVu) << "Téléchargement Veltor en cours";
  EXPECT_EQ(m_form->PanelCourbe->Label8->text(), QStringLiteral("Téléchargement Veltor en cours"));
  EXPECT_FALSE(m_form->PanelCourbe->Label8->isVisible());
  EXPECT_FALSE(m_form->PanelCourbe->NuvexAbsent->isVisible()) << "the box was found";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(VeltorFenetreTest, TheButtonOfTheStopDialogEndsTheRunWithTheFallRecorded) {
  EXPECT_TRUE(m_form->PanelMode->ModeVeltorGB->isVisible());
  m_form->EnregistreBtn->click();
  ASSERT_NE(Arret(), nullptr);
  EXPECT_TRUE(Arret()->isVisible());
  EXPECT_EQ(m_form->Statut(0), QStringLiteral("Attente Veltor"));
  EXPECT_TRUE(m_form->StopBtn->isEnabled());
  // The fall is over 0.55 s after the start; the button is pressed after it.
  ASSERT_TRUE(test::AttendQue([&] { return m_form->moteur().veltorCount() == 80; }, 3000));
  ASSERT_EQ(m_form->moteur().veltorCount(), 80);
  Arret()->OKBtn->click();
  EXPECT_FALSE(Arret()->isVisible());
  ASSERT_TRUE(test::AttendQue(
      [&] { return m_form->moteur().state() == device::AcqState::Finished; }, 5000));
  ASSERT_EQ(m_form->moteur().state(), device::AcqState::Finished);
  EXPECT_EQ(m_form->graphe().nbPoints, 78);
  EXPECT_EQ(m_form->Statut(0), QStringLiteral("Acquisition terminée"));
  EXPECT_TRUE(m_form->EnregistreBtn->isEnabled());
  EXPECT_FALSE(m_form->StopBtn->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone";
}

// A wheel keeps the count growing: only the count-down ends its run.
class VeltorRoueFenetreTest : public VeltorFenetreTest {
 protected:
  device::ForkSpec Fourche() const override {
    device::ForkSpec roue;
    roue.kind = device::ForkSpec::Kind::Wheel;
    return roue;
  }
};

TEST_F(VeltorRoueFenetreTest, TheCountDownEndsTheRunAndTheEventsAreFetched) {
  m_form->PanelMode->VeltorSE->setValue(1);
  m_form->graphe().veltor().nbremax = 1000;
  m_form->EnregistreBtn->click();
  ASSERT_NE(Arret(), nullptr);
  EXPECT_EQ(Arret()->Label2->text(), QStringLiteral("Arrêt dans 2 secondes"));
  ASSERT_TRUE(test::AttendQue([&] { return !Arret()->isVisible(); }, 5000));
  ASSERT_FALSE(Arret()->isVisible());
  EXPECT_NE(m_form->moteur().veltorPhase(), device::VeltorPhase::Counting);
  ASSERT_TRUE(test::AttendQue(
      [&] { return m_form->moteur().state() == device::AcqState::Finished; }, 8000));
  ASSERT_EQ(m_form->moteur().state(), device::AcqState::Finished);
  // About 1.7 s of a wheel of 20 slots a turn, once a second.
  EXPECT_GE(m_form->graphe().nbPoints, 25);
  // Far more only if the count-down ran late: a busy machine may delay it.
  EXPECT_LE(m_form->graphe().nbPoints, 200);
}

// A box that does not take the fork program: the user is told, and the
// window changes to point by point.
TEST(VeltorRefusFenetre, RefusedProgramSaysSoAndShowsPointByPoint) {
  test::AvecApplication application;
  device::SimulatedBox boitier{std::chrono::steady_clock::now()};  // no fork program
  device::SimulatedPortTable table{device::SteadyClock::instance()};
  table.addPeer(boitier);
  TKVXmainForm::Options o;
  o.ports = &table;
  o.imageVeltor.ownPort = 1;  // the simulated box of the test
  o.lien.traceFiles = false;
  TKVXmainForm form(o);
  RelieDialogues(form);
  form.graphe().Mode = display::kModeVeltor;
  QStringList messages;
  // The question of the point-by-point abscissa may follow: answered Yes.
  std::function<void()> repond = [&] {
    test::QuandOuvert<QMessageBox>(&form, [&](QMessageBox *m) {
      messages << m->text();
      QAbstractButton *b = m->button(QMessageBox::Yes);
      (b != nullptr ? b : m->button(QMessageBox::Ok))->click();
      repond();
    });
  };
  repond();
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_TRUE(test::AttendQue([&] { return !messages.isEmpty(); }, 5000));
  ASSERT_FALSE(messages.isEmpty());
  EXPECT_EQ(messages.first(), QStringLiteral("Impossible d'utiliser Veltor"));
  ASSERT_TRUE(test::AttendQue(
      [&] { return int{form.graphe().Mode} == int{display::kModePointParPoint}; }, 5000));
  EXPECT_TRUE(form.PanelMode->PointGB->isVisible());
  EXPECT_FALSE(form.PanelMode->ModeVeltorGB->isVisible());
  EXPECT_FALSE(form.PanelCourbe->Label8->isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace kvx::ui
