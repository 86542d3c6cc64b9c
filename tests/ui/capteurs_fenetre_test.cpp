// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/capteurs_fenetre.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <memory>

#include "device/acquisition_engine.h"
#include "device/clock.h"
#include "device/simulated_box.h"
#include "device/simulated_port.h"
#include "display/graphe.h"
#include "model/capteur.h"
#include "model/liste_capteurs.h"
#include "model/masse.h"
#include "outils_dialogue.h"
#include "ui/capteurs_dlg.h"
#include "ui/etalonne_inter.h"
#include "ui/kvxmain.h"
#include "ui/nuvexkvx.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

constexpr int kCode = 102;  // what the simulated EA1 reads

// A teacher's first input: V3 on EA1 through the ×6 module with the
// library's thermometer, calibrated on one point and the origin, then a scan.
class CapteursFenetreTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    m_masse = model::Masse();
    model::FixeMasse(true);
    device::SignalSpec s;
    s.kind = device::SignalSpec::Kind::Constant;
    s.offset = kCode;
    m_boitier.setSignal(1, s);
    m_table.addPeer(m_boitier);
    model::TCapteur t;
    t.Signif = "température";
    t.Valeur0V = -30;
    t.Pente = 20;
    m_capteurs.Ajoute(t);
    TKVXmainForm::Options o;
    o.ports = &m_table;
    o.lien.traceFolder = QDir::tempPath().toStdString();
    m_form = std::make_unique<TKVXmainForm>(o);
    RelieCapteurs(*m_form, m_capteurs, [this] { ++m_sauvegardes; });
    m_form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    ASSERT_TRUE(test::AttendQue([&] { return m_form->lien().BoxPresent(); }));
  }
  void TearDown() override { model::FixeMasse(m_masse); }

  device::SimulatedBox m_boitier{std::chrono::steady_clock::now()};
  device::SimulatedPortTable m_table{device::SteadyClock::instance()};
  model::TlisteCapteur m_capteurs;
  std::unique_ptr<TKVXmainForm> m_form;
  int m_sauvegardes = 0;
  bool m_masse = true;
};

TEST_F(CapteursFenetreTest, SetUpV3WithASensorCalibrateItAndRecordInItsUnit) {
  model::Tvoie &v3 = m_form->graphe().voie(7);
  ASSERT_FALSE(v3.Active);
  auto *panneau = m_form->findChild<QGroupBox *>(QStringLiteral("GroupBox1"));
  ASSERT_NE(panneau, nullptr);
  bool vu = false;
  test::QuandOuvert<TNuvexKvxDlg>(m_form.get(), [&](TNuvexKvxDlg *d) {
    vu = true;
    test::QuandOuvert<TListeCapteursDlg>(d, [](TListeCapteursDlg *l) { test::Clique(l, "OKBtn"); });
    test::Clique(d, "CapteursBtn");
    EXPECT_EQ(d->EditUnite->text(), QStringLiteral("°C"));
    d->EntreeCB->setCurrentIndex(1);
    emit d->EntreeCB->activated(1);
    test::Clique(d, "Gain6CB");
    EXPECT_EQ(d->EntreeCB->currentText(), QStringLiteral("EA1 0-30 V module"));
    test::QuandOuvert<TEtalonneInterDlg>(d, [](TEtalonneInterDlg *e) {
      EXPECT_TRUE(test::AttendQue([e] { return e->GaugeInter1->value() == kCode; }));
      e->EditInteractif1->setText(QStringLiteral("24"));
      test::Clique(e, "Point1");
      test::Clique(e, "Point2Manuel");
    });
    test::Clique(d, "EtalonneInterBtn");
    EXPECT_TRUE(d->EtalonCB->isChecked());
    test::Clique(d, "OKBtn");
  });
  QTest::mouseClick(panneau, Qt::LeftButton, {}, QPoint(5, 5));
  ASSERT_TRUE(vu);

  // The sensor wants "Ref 0V": 0..30 V through the module on EA1.
  EXPECT_FALSE(model::Masse());
  EXPECT_TRUE(v3.Active);
  EXPECT_TRUE(v3.Capteur);
  EXPECT_EQ(v3.Nom, "T");
  EXPECT_EQ(v3.Unite, "°C");
  EXPECT_EQ(v3.NumeroNuvex, 1);
  EXPECT_TRUE(v3.gain6);
  const double volts = kCode * 30.0 / 255;
  EXPECT_NEAR(v3.Offset, 0, 1e-9);
  EXPECT_NEAR(v3.UnVolt, 24 / volts, 1e-9);
  EXPECT_FALSE(m_form->lien().lent());
  // Every other input now reads from 0 V too.
  EXPECT_DOUBLE_EQ(m_form->graphe().voie(5).Mini, 0);

  // A scan of 24 °C all along.
  auto *enregistre = m_form->findChild<QToolButton *>(QStringLiteral("EnregistreBtn"));
  ASSERT_NE(enregistre, nullptr);
  ASSERT_TRUE(test::AttendQue([&] { return enregistre->isEnabled(); }));
  enregistre->click();
  ASSERT_EQ(m_form->moteur().state(), device::AcqState::Acquiring);
  ASSERT_TRUE(test::AttendQue(
      [&] { return m_form->moteur().state() != device::AcqState::Acquiring; }, 15000));
  ASSERT_GT(m_form->graphe().nbPoints, 0);
  EXPECT_NEAR(v3.valeurs[0], 24, 0.2);
  EXPECT_NEAR(v3.valeurs[static_cast<std::size_t>(m_form->graphe().nbPoints - 1)], 24, 0.2);
}

TEST_F(CapteursFenetreTest, TheMenuOpensTheLibrary) {
  ASSERT_TRUE(m_form->CapteursItem->isEnabled());
  test::QuandOuvert<TChoixCapteursDlg>(m_form.get(), [](TChoixCapteursDlg *c) {
    EXPECT_EQ(c->ListeCapteursBox->count(), 1);
    test::Clique(c, "EnregistreBtn");
    test::Clique(c, "ExitBtn");
  });
  m_form->CapteursItem->trigger();
  EXPECT_EQ(m_sauvegardes, 1);
}

}  // namespace
}  // namespace kvx::ui
