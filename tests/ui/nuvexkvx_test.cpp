// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/nuvexkvx.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>
#include <memory>

#include "device/acquisition_engine.h"
#include "device/clock.h"
#include "device/simulated_box.h"
#include "device/simulated_port.h"
#include "display/graphe.h"
#include "model/capteur.h"
#include "model/liste_capteurs.h"
#include "model/masse.h"
#include "model/nombres.h"
#include "outils_dialogue.h"
#include "ui/kvxmain.h"
#include "ui/radio_group.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

// The dialog on V3 of a window whose link reaches the simulated box.
class NuvexKvxDlgTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    device::SignalSpec s;
    s.kind = device::SignalSpec::Kind::Constant;
    s.offset = 180;
    m_boitier.setSignal(2, s);
    s.offset = 60;
    m_boitier.setSignal(0, s);
    m_table.addPeer(m_boitier);
    TKVXmainForm::Options o;
    o.ports = &m_table;
    o.lien.traceFolder = QDir::tempPath().toStdString();
    m_form = std::make_unique<TKVXmainForm>(o);
    m_form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    ASSERT_TRUE(test::AttendQue([&] { return m_form->lien().BoxPresent(); }, 3000));
    m_form->moteur().HaltAcquisition();
    m_masse = model::Masse();
    m_dlg = std::make_unique<TNuvexKvxDlg>(m_capteurs, m_form.get());
  }
  void TearDown() override {
    if (m_dlg) m_dlg->close();
    model::FixeMasse(m_masse);
  }
  model::Tvoie &V3() { return m_form->graphe().voie(7); }
  void Ouvre(bool avecLien = true) {
    m_dlg->FixeVoie(V3(), avecLien ? &m_form->lien() : nullptr);
    m_dlg->FormActivate();
    m_dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dlg.get()));
  }
  QStringList Entrees() const {
    QStringList l;
    for (int i = 0; i < m_dlg->EntreeCB->count(); ++i) l << m_dlg->EntreeCB->itemText(i);
    return l;
  }
  // The message the next action shows, answered with OK.
  QString MessageDe(const std::function<void()> &action) {
    QString texte;
    test::QuandOuvert<QMessageBox>(m_dlg.get(), [&texte](QMessageBox *m) {
      texte = m->text();
      m->accept();
    });
    action();
    return texte;
  }

  device::SimulatedBox m_boitier{std::chrono::steady_clock::now()};
  device::SimulatedPortTable m_table{device::SteadyClock::instance()};
  model::TlisteCapteur m_capteurs;
  std::unique_ptr<TKVXmainForm> m_form;
  std::unique_ptr<TNuvexKvxDlg> m_dlg;
  bool m_masse = true;
};

TEST_F(NuvexKvxDlgTest, InputListFollowsTheReferenceTheModuleAndTheSocket) {
  const struct {
    bool refAlt, gain6, alim;
    int item;
    const char *texte;
  } rows[] = {
      {true, false, false, 2, "EA2 ±2,5 V prise D"}, {true, false, true, 3, "EA3 ±2,5 V prise F"},
      {false, false, false, 0, "EA0 0-5 V prise A"}, {true, true, false, 1, "EA1 ±15 V module"},
      {false, true, false, 1, "EA1 0-30 V module"},  {false, true, false, 7, "EA7 0-2 V prise C"},
      {true, false, false, 5, "EA5 ±50 mV prise B"}};
  for (const auto &r : rows) {
    model::FixeMasse(r.refAlt);
    V3().gain6 = r.gain6;
    V3().alim = r.alim;
    V3().ChoisitEntree(0);
    Ouvre();
    EXPECT_EQ(m_dlg->EntreeCB->count(), 8);
    EXPECT_EQ(Entrees().value(r.item), QString::fromUtf8(r.texte));
    EXPECT_EQ(m_dlg->MasseRG->itemIndex(), r.refAlt ? 1 : 0);
    EXPECT_EQ(m_dlg->BevelZero->isVisible(), r.refAlt);
  }
}

TEST_F(NuvexKvxDlgTest, ChoosingAnInputSetsItsRangeAtOnceAndTheModuleOnlyWhereItFits) {
  model::FixeMasse(false);
  V3().gain6 = false;
  V3().ChoisitEntree(0);
  Ouvre();
  m_dlg->EntreeCB->setCurrentIndex(5);
  emit m_dlg->EntreeCB->activated(5);
  EXPECT_EQ(V3().NumeroNuvex, 5);
  EXPECT_DOUBLE_EQ(V3().Mini, 0);
  EXPECT_NEAR(V3().Maxi, 0.1, 1e-12);
  EXPECT_NEAR(V3().pasCode, 0.1 / 255, 1e-15);
  EXPECT_FALSE(m_dlg->Gain6CB->isVisible());
  EXPECT_FALSE(m_dlg->ModuleRaccordLabel->isVisible());
  // Input 6 ignores the module even when asked for it.
  m_dlg->EntreeCB->setCurrentIndex(6);
  emit m_dlg->EntreeCB->activated(6);
  m_dlg->Gain6CB->setChecked(true);
  emit m_dlg->Gain6CB->clicked(true);
  EXPECT_NEAR(V3().Maxi, 1.0, 1e-12);
  // EA1 through the module reads thirty volts.
  m_dlg->EntreeCB->setCurrentIndex(1);
  emit m_dlg->EntreeCB->activated(1);
  EXPECT_TRUE(m_dlg->Gain6CB->isVisible());
  test::Clique(m_dlg.get(), "Gain6CB");
  test::Clique(m_dlg.get(), "Gain6CB");
  ASSERT_TRUE(m_dlg->Gain6CB->isChecked());
  EXPECT_NEAR(V3().Maxi, 30.0, 1e-9);
  EXPECT_EQ(m_dlg->EntreeCB->itemText(1), QStringLiteral("EA1 0-30 V module"));
}

TEST_F(NuvexKvxDlgTest, TheBarFollowsTheInputAndShowsItsValue) {
  model::FixeMasse(false);
  V3().Capteur = false;
  V3().ChoisitEntree(2);
  Ouvre();
  ASSERT_TRUE(test::AttendQue([&] { return m_dlg->Gauge1->value() == 180; }, 3000));
  EXPECT_EQ(m_dlg->EditValeur->text().toStdString(), model::TexteEdition(180 * 5.0 / 255));
  EXPECT_TRUE(m_form->lien().lent());
  // Another input: the bar goes where that input is.
  m_dlg->EntreeCB->setCurrentIndex(0);
  emit m_dlg->EntreeCB->activated(0);
  ASSERT_TRUE(test::AttendQue([&] { return m_dlg->Gauge1->value() == 60; }, 3000));
  // Closing gives the link back to the window.
  m_dlg->close();
  EXPECT_FALSE(m_form->lien().lent());
}

TEST_F(NuvexKvxDlgTest, WithoutABoxTheBarRestsAtZero) {
  Ouvre(false);
  QSignalSpy tic(m_dlg->Timer, &QTimer::timeout);
  ASSERT_TRUE(tic.wait(2000));
  EXPECT_EQ(m_dlg->Gauge1->value(), 0);
  EXPECT_TRUE(m_dlg->EditValeur->text().isEmpty());
}

TEST_F(NuvexKvxDlgTest, ActivateAndDeactivateReportAChangeOnlyWhenTheChannelChanges) {
  const struct {
    bool active;
    const char *bouton;
    bool change, activeApres;
  } rows[] = {{false, "OKBtn", true, true},
              {true, "OKBtn", false, true},
              {false, "DesactiveBtn", false, false},
              {true, "DesactiveBtn", true, false}};
  for (const auto &r : rows) {
    V3().Active = r.active;
    Ouvre();
    test::Clique(m_dlg.get(), r.bouton);
    EXPECT_EQ(m_dlg->result(), QDialog::Accepted) << r.bouton;
    EXPECT_EQ(m_dlg->change(), r.change) << r.bouton << r.active;
    EXPECT_EQ(V3().Active, r.activeApres);
  }
}

TEST_F(NuvexKvxDlgTest, AnotherInputOrTheModuleIsAChangeOfAnActiveChannel) {
  for (const char *controle : {"EntreeCB", "Gain6CB"}) {
    V3().Active = true;
    V3().gain6 = false;
    V3().ChoisitEntree(0);
    Ouvre();
    if (std::string(controle) == "EntreeCB") {
      m_dlg->EntreeCB->setCurrentIndex(3);
      emit m_dlg->EntreeCB->activated(3);
    } else {
      test::Clique(m_dlg.get(), "Gain6CB");
    }
    test::Clique(m_dlg.get(), "OKBtn");
    EXPECT_TRUE(m_dlg->change()) << controle;
  }
}

TEST_F(NuvexKvxDlgTest, ActivateStoresTheFieldsAndVoltsWithoutCalibration) {
  V3().Capteur = false;
  Ouvre();
  m_dlg->EditNom->setText(QStringLiteral("U3"));
  m_dlg->EditUnite->setText(QStringLiteral("°C"));
  m_dlg->EditSignif->setText(QStringLiteral("tension du pont"));
  m_dlg->CouleurCombo->setCurrentIndex(m_dlg->CouleurCombo->findText(QStringLiteral("Bleu")));
  m_dlg->PointCombo->setCurrentIndex(3);
  test::Clique(m_dlg.get(), "OKBtn");
  EXPECT_EQ(V3().Nom, "U3");
  EXPECT_EQ(V3().Unite, "V");
  EXPECT_EQ(V3().Signif, "tension du pont");
  EXPECT_EQ(V3().Couleur, model::kCouleurBleu);
  EXPECT_EQ(V3().Motif, 3);
}

TEST_F(NuvexKvxDlgTest, CalibrationSwitchKeepsBothFacesOfTheChannel) {
  V3().Capteur = true;
  V3().FixeUnite("°C");
  V3().Signif = "température";
  V3().Offset = -20;
  V3().UnVolt = 40;
  Ouvre();
  EXPECT_TRUE(m_dlg->EtalonnageGB->isVisible());
  EXPECT_EQ(m_dlg->PenteLabel->text(), QStringLiteral("ΔV3/ΔV (°C/V)"));
  EXPECT_EQ(m_dlg->AffichageGB->title(), QStringLiteral("Affichage (°C)"));
  const int haut = m_dlg->height();
  test::Clique(m_dlg.get(), "EtalonCB");
  EXPECT_FALSE(V3().Capteur);
  EXPECT_FALSE(m_dlg->EtalonnageGB->isVisible());
  EXPECT_EQ(m_dlg->EditUnite->text(), QStringLiteral("V"));
  ASSERT_TRUE(test::AttendQue([&] { return m_dlg->height() < haut; }));
  m_dlg->EditSignif->setText(QStringLiteral("brut"));
  test::Clique(m_dlg.get(), "EtalonCB");
  EXPECT_TRUE(V3().Capteur);
  EXPECT_EQ(m_dlg->EditUnite->text(), QStringLiteral("°C"));
  EXPECT_EQ(m_dlg->EditSignif->text(), QStringLiteral("température"));
  test::Clique(m_dlg.get(), "EtalonCB");
  EXPECT_EQ(m_dlg->EditSignif->text(), QStringLiteral("brut"));
  EXPECT_TRUE(m_dlg->change());
}

TEST_F(NuvexKvxDlgTest, CalibrationFieldsTakeExpressionsAndRefuseWhatDoesNotRead) {
  V3().Capteur = true;
  V3().Offset = 0;
  V3().UnVolt = 1;
  Ouvre();
  m_dlg->PenteEdit->setText(QStringLiteral("1/0.05"));
  m_dlg->val0Edit->setText(QStringLiteral("2*3"));
  emit m_dlg->PenteEdit->editingFinished();
  EXPECT_DOUBLE_EQ(V3().UnVolt, 20);
  EXPECT_DOUBLE_EQ(V3().Offset, 6);
  m_dlg->PenteEdit->setText(QStringLiteral("1/0"));
  EXPECT_EQ(MessageDe([&] { emit m_dlg->PenteEdit->editingFinished(); }),
            QStringLiteral("Nombre mal écrit (Division par zéro)"));
  EXPECT_DOUBLE_EQ(V3().UnVolt, 20);
  // Closing is refused while the calibration does not read.
  QStringList messages;
  for (int i = 0; i < 2; ++i)
    test::QuandOuvert<QMessageBox>(m_dlg.get(), [&messages](QMessageBox *m) {
      messages << m->text();
      m->accept();
    });
  test::Clique(m_dlg.get(), "OKBtn");
  ASSERT_TRUE(test::AttendQue([&] { return messages.size() == 2; }));
  EXPECT_EQ(messages.value(1), QStringLiteral("Points d'étalonnage non définis"));
  EXPECT_TRUE(m_dlg->isVisible());
}

TEST_F(NuvexKvxDlgTest, EnterInACalibrationEditAppliesBothNumbersAndKeepsTheDialogOpen) {
  model::FixeMasse(false);
  V3().ChoisitEntree(2);
  V3().Capteur = true;
  V3().Offset = 0;
  V3().UnVolt = 1;
  Ouvre();
  ASSERT_TRUE(test::AttendQue([&] { return m_dlg->Gauge1->value() == 180; }, 3000));
  m_dlg->EditNom->setText(QStringLiteral("T"));  // typed, not yet applied
  const struct {
    QLineEdit *edit;
    const char *val0, *pente;
    double offset, unVolt;
  } cas[] = {{m_dlg->val0Edit, "-10", "2*5", -10, 10}, {m_dlg->PenteEdit, "1", "0.5", 1, 0.5}};
  for (const auto &c : cas) {
    m_dlg->val0Edit->setText(QString::fromLatin1(c.val0));
    m_dlg->PenteEdit->setText(QString::fromLatin1(c.pente));
    c.edit->setFocus();
    QTest::keyClick(c.edit, Qt::Key_Return);
    EXPECT_TRUE(m_dlg->isVisible()) << c.val0;
    EXPECT_EQ(m_dlg->result(), 0) << "not closed by the default button";
    EXPECT_DOUBLE_EQ(V3().Offset, c.offset);
    EXPECT_DOUBLE_EQ(V3().UnVolt, c.unVolt);
    EXPECT_EQ(m_dlg->PenteEdit->text().toStdString(), model::TexteEdition(c.unVolt));
    // The live value is converted with the new numbers at once.
    EXPECT_EQ(m_dlg->EditValeur->text().toStdString(),
              model::TexteEdition(c.unVolt * 180 * 5.0 / 255 + c.offset));
    EXPECT_EQ(m_dlg->EditNom->text(), QStringLiteral("T"));
  }
}

TEST_F(NuvexKvxDlgTest, SymbolTakesOnlyTheCharactersOfAName) {
  Ouvre();
  m_dlg->EditNom->clear();
  // Typed one key at a time, Greek letters included.
  for (QChar c : QStringLiteral("a b-c_1#ψé")) {
    QKeyEvent frappe(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(m_dlg->EditNom, &frappe);
  }
  EXPECT_EQ(m_dlg->EditNom->text(), QStringLiteral("abc1#ψ"));
}

TEST_F(NuvexKvxDlgTest, ASensorFromTheListIsAppliedAndItsMessageShown) {
  model::TCapteur capteur;
  capteur.Nom = "F";
  capteur.Unite = "N";
  capteur.Signif = "force";
  capteur.Aide = "Tarer à vide";
  capteur.Ampli = true;
  capteur.Numero = 6;
  capteur.Masse = false;
  capteur.Pente = 25;
  m_capteurs.Ajoute(capteur);
  model::FixeMasse(true);
  Ouvre();
  test::QuandOuvert<QDialog>(m_dlg.get(), [](QDialog *liste) {
    if (liste->objectName() == QStringLiteral("ListeCapteursDlg")) test::Clique(liste, "OKBtn");
  });
  QString message;
  test::QuandOuvert<QMessageBox>(m_dlg.get(), [&message](QMessageBox *m) {
    message = m->text();
    m->accept();
  });
  test::Clique(m_dlg.get(), "CapteursBtn");
  EXPECT_EQ(message, QString::fromUtf8(model::kMessageAmpli));
  EXPECT_EQ(V3().NumeroNuvex, 2);  // the amplifier's input
  EXPECT_FALSE(model::Masse());
  EXPECT_EQ(m_dlg->EditNom->text(), QStringLiteral("F"));
  EXPECT_EQ(m_dlg->EditUnite->text(), QStringLiteral("N"));
  EXPECT_EQ(m_dlg->EntreeCB->currentText(), QStringLiteral("EA2 0-5 V prise D"));
  EXPECT_EQ(m_dlg->LabelAide->text(), QStringLiteral("Tarer à vide"));
  EXPECT_TRUE(m_dlg->EtalonCB->isChecked());
  EXPECT_TRUE(m_dlg->change());
  EXPECT_TRUE(m_form->lien().lent());  // the bar reads again
}

}  // namespace
}  // namespace kvx::ui
