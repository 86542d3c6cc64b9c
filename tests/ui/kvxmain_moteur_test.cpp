// SPDX-License-Identifier: GPL-3.0-or-later
// The window with the acquisition engine and the simulated box in the
// process, on the real clock: the buttons and texts follow the engine, the
// space bar starts only in the trigger mode "Clavier", and an unplugged box
// leaves the window usable.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "device/acquisition_engine.h"
#include "device/simulated_box.h"
#include "device/simulated_port.h"
#include "display/graphe.h"
#include "ui/greek_keys.h"
#include "ui/kvxmain.h"
#include "ui/panel_courbe.h"
#include "ui/panel_mode.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

const QString kAttenteClavier =
    QStringLiteral("Attente de déclenchement (barre d'espace ou clic sur \"Acquisition\")");

class FenetreMoteurTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    m_port = m_table.addPeer(m_boitier);
    TKVXmainForm::Options o;
    o.ports = &m_table;
    o.lien.traceFolder = QDir::tempPath().toStdString();
    m_form = std::make_unique<TKVXmainForm>(o);
    m_form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    QTRY_VERIFY_WITH_TIMEOUT(m_form->lien().BoxPresent() && m_form->EnregistreBtn->isEnabled(),
                             3000);
  }
  device::AcquisitionEngine &Moteur() { return m_form->moteur(); }
  void Espace() { QTest::keyClick(m_form->PanelMode->NbreEdit, Qt::Key_Space); }

  device::SimulatedBox m_boitier{std::chrono::steady_clock::now()};
  device::SimulatedPortTable m_table{device::SteadyClock::instance()};
  int m_port = 0;
  std::unique_ptr<TKVXmainForm> m_form;
};

TEST_F(FenetreMoteurTest, FoundBoxWaitsForTheSpaceBarWithLiveReadOuts) {
  EXPECT_EQ(Moteur().state(), device::AcqState::Waiting);
  EXPECT_EQ(m_form->Statut(0), kAttenteClavier);
  EXPECT_TRUE(m_form->StopBtn->isEnabled());
  EXPECT_FALSE(m_form->UndoBtn->isEnabled());
  EXPECT_EQ(m_form->EnregistreBtn->statusTip(), QStringLiteral("Lance l'acquisition"));
  EXPECT_TRUE(m_form->Timer->isActive());
  EXPECT_FALSE(m_form->PanelCourbe->NuvexAbsent->isVisible());
  // The live read-outs fill in within a few ticks.
  QTRY_VERIFY_WITH_TIMEOUT(!m_form->findChild<QLabel *>(QStringLiteral("Label1"))->text().isEmpty(),
                           2000);
}

TEST_F(FenetreMoteurTest, SpaceBarStartsAndTheButtonsFollow) {
  Espace();
  EXPECT_EQ(Moteur().state(), device::AcqState::Acquiring);
  EXPECT_FALSE(m_form->EnregistreBtn->isEnabled());
  EXPECT_TRUE(m_form->StopBtn->isEnabled());
  EXPECT_EQ(m_form->Statut(0), QStringLiteral("Acquisition en cours"));
  // 128 points of V1 and V2 over one second, then fetched at 9600 baud.
  QTRY_VERIFY_WITH_TIMEOUT(Moteur().state() != device::AcqState::Acquiring, 8000);
  EXPECT_EQ(Moteur().pointsReceived(), 128);
  EXPECT_EQ(m_form->graphe().nbPoints, 128);
  EXPECT_TRUE(m_form->RegSaveBtn->isEnabled());
  EXPECT_EQ(m_form->Gauge->value(), m_form->Gauge->maximum());
}

TEST_F(FenetreMoteurTest, SpaceBarDoesNotStartOutsideTheKeyboardTrigger) {
  m_form->graphe().ModeSynchro = display::kSynchroSeuil;
  Espace();
  EXPECT_EQ(Moteur().state(), device::AcqState::Waiting);
  m_form->graphe().ModeSynchro = display::kSynchroClavier;
  Espace();
  EXPECT_EQ(Moteur().state(), device::AcqState::Acquiring);
}

TEST_F(FenetreMoteurTest, StopTicksSingleShotAndFinishes) {
  Espace();
  ASSERT_EQ(Moteur().state(), device::AcqState::Acquiring);
  QTest::mouseClick(m_form->StopBtn, Qt::LeftButton);
  EXPECT_EQ(Moteur().state(), device::AcqState::Finished);
  EXPECT_TRUE(m_form->PanelMode->MonocoupCB->isChecked());
  EXPECT_FALSE(m_form->StopBtn->isEnabled());
}

TEST_F(FenetreMoteurTest, UnpluggedBoxShowsThePanelAndTheWindowGoesOn) {
  Espace();
  ASSERT_EQ(Moteur().state(), device::AcqState::Acquiring);
  m_table.unplug(m_port);
  QTRY_VERIFY_WITH_TIMEOUT(m_form->PanelCourbe->NuvexAbsent->isVisible(), 3000);
  QTRY_VERIFY_WITH_TIMEOUT(Moteur().state() != device::AcqState::Acquiring, 3000);
  EXPECT_FALSE(m_form->lien().BoxPresent());
  // The window still answers: layouts switch, and a search can be asked.
  QTest::keyClick(m_form.get(), Qt::Key_F5);
  EXPECT_EQ(m_form->ecran(), TKVXmainForm::Ecran::GraphePleinEcran);
  QTest::mouseClick(m_form->PanelCourbe->ComBtn, Qt::LeftButton);
  EXPECT_TRUE(m_form->PanelCourbe->NuvexAbsent->isVisible());
}

TEST_F(FenetreMoteurTest, PointCountFieldTakesDigitsOnlyAndAppliesOnEnter) {
  QLineEdit *n = m_form->PanelMode->NbreEdit;
  n->setFocus();
  n->selectAll();
  QTest::keyClicks(n, QStringLiteral("2x5,6"));
  EXPECT_EQ(n->text(), QStringLiteral("256"));
  QTest::keyClick(n, Qt::Key_Return);
  EXPECT_EQ(m_form->graphe().nombre, 256);
  EXPECT_EQ(m_form->Gauge->maximum(), 256);
}

TEST_F(FenetreMoteurTest, DurationAppliesWhenTheUserLeavesTheFieldNotWhenTheWindowDoes) {
  QLineEdit *d = m_form->PanelMode->DureeEdit;
  d->setFocus();
  const double avant = m_form->graphe().voie(1).Maxi;
  d->setText(QStringLiteral("2 s"));
  // Another program raised, or the menu popping up: the field is not left.
  for (const Qt::FocusReason raison : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
    QFocusEvent sortie(QEvent::FocusOut, raison);
    QApplication::sendEvent(d, &sortie);
    EXPECT_DOUBLE_EQ(m_form->graphe().voie(1).Maxi, avant) << raison;
  }
  QFocusEvent sortie(QEvent::FocusOut, Qt::MouseFocusReason);
  QApplication::sendEvent(d, &sortie);
  EXPECT_NEAR(m_form->graphe().voie(1).Maxi, 2.0, 0.05);
}

TEST_F(FenetreMoteurTest, CtrlMTypesTheMicroSignThatTheDurationFieldReads) {
  TGreekKeyFilter grec;
  test::Application().installEventFilter(&grec);
  QLineEdit *d = m_form->PanelMode->DureeEdit;
  d->setFocus();
  d->clear();
  QTest::keyClicks(d, QStringLiteral("500"));
  QTest::keyClick(d, Qt::Key_M, Qt::ControlModifier);
  QTest::keyClick(d, Qt::Key_S);
  test::Application().removeEventFilter(&grec);
  EXPECT_EQ(d->text(), QStringLiteral("500\u00B5s"));
}

// The watch runs on a worker of its own; the window gets its news on its own
// thread and the scan starts as soon as the simulated signal moves.
TEST_F(FenetreMoteurTest, SeuilAndBougeStartTheScanOnTheSimulatedSignal) {
  for (const int synchro : {display::kSynchroSeuil, display::kSynchroBouge}) {
    SCOPED_TRACE(synchro);
    Moteur().HaltAcquisition();
    m_form->graphe().ModeSynchro = static_cast<std::uint8_t>(synchro);
    m_form->graphe().Seuil = 128;
    m_form->graphe().Bouge = 3;
    m_form->graphe().VoieSynchro = 5;
    Moteur().ApplyConfiguration();
    ASSERT_TRUE(Moteur().triggerWaitArmed());
    QTRY_VERIFY_WITH_TIMEOUT(!Moteur().triggerWaitArmed(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(Moteur().state() != device::AcqState::Waiting, 2000);
  }
}

TEST_F(FenetreMoteurTest, TabLeavesTheScanFields) {
  QLineEdit *n = m_form->PanelMode->NbreEdit;
  m_form->activateWindow();
  n->setFocus();
  QTRY_VERIFY_WITH_TIMEOUT(n->hasFocus(), 1000);
  QTest::keyClick(n, Qt::Key_Tab);
  EXPECT_FALSE(n->hasFocus());
  EXPECT_EQ(n->text(), QStringLiteral("128")) << "Tab types nothing";
}

}  // namespace
}  // namespace kvx::ui
