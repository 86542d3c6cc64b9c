// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/etalonne_inter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <memory>

#include "device/acquisition_engine.h"
#include "device/clock.h"
#include "device/simulated_box.h"
#include "device/simulated_port.h"
#include "display/graphe.h"
#include "model/masse.h"
#include "model/separateur_decimal.h"
#include "model/voie.h"
#include "outils_dialogue.h"
#include "ui/kvxmain.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

// Under "Ref 0V" on EA2 one code is 5/255 V: code 51 is 1 V, 153 is 3 V.
class EtalonneInterTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    m_masse = model::Masse();
    model::FixeMasse(false);
    m_voie.ChoisitEntree(2);
    m_voie.Nom = "θ";
    m_voie.Unite = "°C";
    m_voie.Offset = 5;
    m_voie.UnVolt = 2;
  }
  void TearDown() override { model::FixeMasse(m_masse); }
  void Ouvre(TEtalonneInterDlg &d) {
    d.FormActivate();
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  }
  // The two points of a calibration made by hand (no box: the bars are set
  // as the reading would set them); the message shown, if any.
  QString DeuxPoints(TEtalonneInterDlg &d, int code1, const char *valeur1, int code2,
                     const char *valeur2, bool lineaire) {
    Ouvre(d);
    d.EditInteractif1->setText(QString::fromUtf8(valeur1));
    d.GaugeInter1->setValue(code1);
    test::Clique(&d, "Point1");
    EXPECT_FALSE(d.Point1->isVisible());
    d.EditInteractif2->setText(QString::fromUtf8(valeur2));
    d.GaugeInter2->setValue(code2);
    QString message;
    test::QuandOuvert<QMessageBox>(&d, [&message](QMessageBox *m) {
      message = m->text();
      m->accept();
    });
    test::Clique(&d, lineaire ? "Point2Manuel" : "Point2");
    return message;
  }
  model::Tvoie m_voie{7};
  bool m_masse = true;
};

TEST_F(EtalonneInterTest, OpensOnTheChannelsCalibrationAtPointOne) {
  TEtalonneInterDlg d(m_voie, nullptr);
  Ouvre(d);
  EXPECT_EQ(d.LabelInteractif->text(), QStringLiteral("θ/°C"));
  EXPECT_EQ(d.EditInteractif1->text(), QStringLiteral("5"));
  EXPECT_EQ(d.EditInteractif2->text(), QStringLiteral("2"));
  EXPECT_EQ(d.GaugeInter1->value(), 0);
  EXPECT_EQ(d.GaugeInter2->value(), 255);
  EXPECT_TRUE(d.Point1->isVisible());
  EXPECT_FALSE(d.Point2->isVisible());
  EXPECT_FALSE(d.Point2Manuel->isVisible());
  EXPECT_TRUE(d.ConsigneLabel->text().startsWith(QStringLiteral("1. ")));
  EXPECT_EQ(d.TensionInter1->text(), QStringLiteral("0 V"));
  EXPECT_EQ(d.TensionInter2->text(), QString()) << "no second point yet";
}

TEST_F(EtalonneInterTest, EachBarShowsItsVoltageAndEachStepSaysWhatToDo) {
  TEtalonneInterDlg d(m_voie, nullptr);
  Ouvre(d);
  const QString pt = model::SeparateurDecimal() == ',' ? QStringLiteral(",") : QStringLiteral(".");
  d.GaugeInter1->setValue(51);
  EXPECT_EQ(d.TensionInter1->text(), QStringLiteral("1 V"));
  d.GaugeInter1->setValue(128);
  EXPECT_EQ(d.TensionInter1->text(), QStringLiteral("2") + pt + QStringLiteral("51 V"));
  test::Clique(&d, "Point1");
  EXPECT_TRUE(d.ConsigneLabel->text().startsWith(QStringLiteral("2. ")));
  EXPECT_TRUE(d.ConsigneLabel->text().contains(QStringLiteral("« Point 2 interactif »")));
  d.GaugeInter2->setValue(153);
  EXPECT_EQ(d.TensionInter2->text(), QStringLiteral("3 V"));
  EXPECT_EQ(d.TensionInter1->text(), QStringLiteral("2") + pt + QStringLiteral("51 V")) << "frozen";
}

TEST_F(EtalonneInterTest, TwoPointsGiveTheLineOrSayWhyNot) {
  const struct {
    int code1;
    const char *valeur1;
    int code2;
    const char *valeur2;
    bool lineaire;
    const char *message;
    double offset, pente;
  } rows[] = {
      {51, "20", 0, "", true, "", 0, 20},
      {51, "10", 153, "50", false, "", -10, 20},
      {153, "1,5e1", 51, "5", false, "", 0, 5},
      {51, "10", 53, "20", false, "Etalonnage imprécis", 5, 2},
      {51, "10", 153, "10", false, "Points d'étalonnage non définis", 5, 2},
      {51, "", 153, "10", false, "Points d'étalonnage non définis", 5, 2},
      {51, "abc", 0, "", true, "Points d'étalonnage non définis", 5, 2},
  };
  for (const auto &r : rows) {
    m_voie.Offset = 5;
    m_voie.UnVolt = 2;
    TEtalonneInterDlg d(m_voie, nullptr);
    const QString message = DeuxPoints(d, r.code1, r.valeur1, r.code2, r.valeur2, r.lineaire);
    EXPECT_EQ(message, QString::fromUtf8(r.message)) << r.valeur1 << " " << r.valeur2;
    EXPECT_EQ(d.result() == QDialog::Accepted && !d.isVisible(), message.isEmpty());
    EXPECT_NEAR(m_voie.Offset, r.offset, 1e-9) << r.valeur1;
    EXPECT_NEAR(m_voie.UnVolt, r.pente, 1e-9) << r.valeur1;
  }
}

TEST_F(EtalonneInterTest, TheBarsFollowTheInputUntilTheirPointIsFrozen) {
  device::SimulatedBox boitier{std::chrono::steady_clock::now()};
  device::SignalSpec s;
  s.kind = device::SignalSpec::Kind::Constant;
  s.offset = 180;
  boitier.setSignal(2, s);
  device::SimulatedPortTable table{device::SteadyClock::instance()};
  table.addPeer(boitier);
  TKVXmainForm::Options o;
  o.ports = &table;
  o.lien.traceFolder = QDir::tempPath().toStdString();
  TKVXmainForm form(o);
  form.show();
  ASSERT_TRUE(test::AttendQue([&] { return form.lien().BoxPresent(); }, 3000));
  form.moteur().HaltAcquisition();
  TEtalonneInterDlg d(m_voie, &form.lien(), &form);
  Ouvre(d);
  ASSERT_TRUE(test::AttendQue([&] { return d.GaugeInter1->value() == 180; }, 3000));
  test::Clique(&d, "Point1");
  ASSERT_TRUE(test::AttendQue([&] { return d.GaugeInter2->value() == 180; }, 3000));
  EXPECT_EQ(d.GaugeInter1->value(), 180);
  test::Clique(&d, "CancelBtn");
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_FALSE(form.lien().lent());
  EXPECT_EQ(m_voie.UnVolt, 2);
}

}  // namespace
}  // namespace kvx::ui
