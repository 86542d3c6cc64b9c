// SPDX-License-Identifier: GPL-3.0-or-later
// What the engine and the link see of the window: every call of the view
// lands on the right control with the right text.
#include "ui/vue_fenetre.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "display/graphe.h"
#include "ui/kvxmain.h"
#include "ui/panel_courbe.h"
#include "ui/panel_mode.h"
#include "ui/panel_voies.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

class VueTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    m_form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
  }
  // Answers the next message box with `bouton` and keeps its text.
  void Repondra(QMessageBox::StandardButton bouton) {
    QTimer::singleShot(0, [this, bouton] {
      auto *boite = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
      ASSERT_NE(boite, nullptr);
      m_texte = boite->text();
      boite->button(bouton)->click();
    });
  }
  TKVXmainForm m_form{TKVXmainForm::Options{}};
  TVueFenetre m_vue{m_form};
  QString m_texte;
};

TEST_F(VueTest, EachEngineButtonIsItsToolButton) {
  const std::pair<device::EngineButton, QToolButton *> cas[] = {
      {device::EngineButton::Enregistre, m_form.EnregistreBtn},
      {device::EngineButton::Stop, m_form.StopBtn},
      {device::EngineButton::Reset, m_form.ResetBtn},
      {device::EngineButton::Undo, m_form.UndoBtn},
      {device::EngineButton::RegSave, m_form.RegSaveBtn}};
  for (const auto &[bouton, controle] : cas) {
    for (QToolButton *b :
         {m_form.EnregistreBtn, m_form.StopBtn, m_form.ResetBtn, m_form.UndoBtn, m_form.RegSaveBtn})
      b->setEnabled(false);
    m_vue.setButtonEnabled(bouton, true);
    for (QToolButton *b :
         {m_form.EnregistreBtn, m_form.StopBtn, m_form.ResetBtn, m_form.UndoBtn, m_form.RegSaveBtn})
      EXPECT_EQ(b->isEnabled(), b == controle) << b->objectName().toStdString();
  }
}

TEST_F(VueTest, ScanTextsFillThePanelAndMinmaxHidesWhenEmpty) {
  m_vue.showScan({"960", "200 ms", "δt=208.2 µs", "Fech=4.802 kHz", "Maxi"});
  const TPanelMode &m = *m_form.PanelMode;
  EXPECT_EQ(m.NbreEdit->text(), QStringLiteral("960"));
  EXPECT_EQ(m.DureeEdit->text(), QStringLiteral("200 ms"));
  EXPECT_EQ(m.DeltatLabel->text(), QStringLiteral("δt=208.2 µs"));
  EXPECT_EQ(m.FechLabel->text(), QStringLiteral("Fech=4.802 kHz"));
  EXPECT_EQ(m.minmax->text(), QStringLiteral("Maxi"));
  EXPECT_TRUE(m.minmax->isVisible());
  m_vue.showScan({"128", "1 s", "δt=7.812 ms", "Fech=128 Hz", ""});
  EXPECT_FALSE(m.minmax->isVisible());
}

TEST_F(VueTest, StatusGaugeHintAndSingleShot) {
  m_vue.setStatus("Acquisition en cours");
  m_vue.setStatus2("12");
  EXPECT_EQ(m_form.Statut(0), QStringLiteral("Acquisition en cours"));
  EXPECT_EQ(m_form.Statut(1), QStringLiteral("12"));
  m_vue.setGauge(64, 128);
  EXPECT_EQ(m_form.Gauge->maximum(), 128);
  EXPECT_EQ(m_form.Gauge->value(), 64);
  m_vue.setGauge(900, 128);  // never past the end
  EXPECT_EQ(m_form.Gauge->value(), 128);
  m_vue.setEnregistreHint("|Lance l'acquisition");
  EXPECT_EQ(m_form.EnregistreBtn->statusTip(), QStringLiteral("Lance l'acquisition"));
  m_vue.setMonocoupChecked(true);
  EXPECT_TRUE(m_form.PanelMode->MonocoupCB->isChecked());
}

TEST_F(VueTest, QuestionsAnswerYesOrNoAndRestoreTheCursor) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  Repondra(QMessageBox::No);
  EXPECT_FALSE(m_vue.askYesNo("Activer la voie : V1"));
  EXPECT_EQ(m_texte, QStringLiteral("Activer la voie : V1"));
  Repondra(QMessageBox::Yes);
  EXPECT_TRUE(m_vue.askYesNo("Suppression de l'acquisition courante"));
  Repondra(QMessageBox::Ok);
  m_vue.showError("Monocoup obligatoire");
  EXPECT_EQ(m_texte, QStringLiteral("Monocoup obligatoire"));
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  QApplication::restoreOverrideCursor();
}

TEST_F(VueTest, BusyNestsAndAlwaysComesBack) {
  m_vue.setBusy(true);
  m_vue.setBusy(true);
  m_vue.setBusy(false);
  EXPECT_NE(QApplication::overrideCursor(), nullptr);
  m_vue.setBusy(false);
  m_vue.setBusy(false);  // one too many is harmless
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

struct CasMode {
  int mode;
  std::vector<const char *> visibles;
};

class PanneauxParMode : public testing::TestWithParam<CasMode>, test::AvecApplication {};

TEST_P(PanneauxParMode, ShowOnlyTheBoxesOfTheMode) {
  TKVXmainForm form{TKVXmainForm::Options{}};
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.graphe().Mode = static_cast<std::uint8_t>(GetParam().mode);
  TVueFenetre(form).refreshPanels();
  const char *tous[] = {"BalayageGB",  "SynchroGB", "SortieAnaGB",  "PointGB",
                        "EntreeBinGB", "ClavierGB", "ModeVeltorGB", "Gauge"};
  for (const char *nom : tous) {
    const bool attendu = std::find_if(GetParam().visibles.begin(), GetParam().visibles.end(),
                                      [&](const char *v) { return std::strcmp(v, nom) == 0; }) !=
                         GetParam().visibles.end();
    EXPECT_EQ(form.findChild<QWidget *>(QString::fromLatin1(nom))->isVisible(), attendu) << nom;
  }
  EXPECT_EQ(form.PanelMode->ModeLabel->text(),
            QString::fromUtf8(display::kNomsModes[GetParam().mode]));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PanneauxParMode,
    testing::Values(CasMode{0, {"ClavierGB"}}, CasMode{1, {"BalayageGB", "SynchroGB", "Gauge"}},
                    CasMode{2, {"PointGB", "EntreeBinGB"}}, CasMode{3, {"SortieAnaGB", "Gauge"}},
                    CasMode{4, {"ModeVeltorGB", "Gauge"}}),
    [](const testing::TestParamInfo<CasMode> &i) { return "Mode" + std::to_string(i.param.mode); });

TEST_F(VueTest, PanelsTakeTheChannelCaptionsAndClearTheReadOuts) {
  display::TgrapheKVX &g = m_form.graphe();
  m_form.PanelVoies->cadre(5)->afficheur()->setText(QStringLiteral("1.23 V"));
  g.ModeSynchro = display::kSynchroSeuil;
  m_vue.refreshPanels();
  const model::Tvoie &v1 = g.voie(5);
  EXPECT_EQ(m_form.PanelVoies->cadre(5)->title(),
            QString::fromStdString(v1.Nom + "=" + v1.NomEntree() + " " + v1.TexteCalibre()));
  EXPECT_TRUE(m_form.PanelVoies->cadre(5)->afficheur()->text().isEmpty());
  EXPECT_EQ(m_form.PanelMode->SynchroLabel->text(), QStringLiteral("Seuil"));
  EXPECT_EQ(m_form.PanelVoies->cadre(4)->title(), QStringLiteral("Entrées binaires"));
  g.entreeBinaire().Active = true;
  g.entreeBinaire().FixeNbreBits(4);
  m_vue.refreshPanels();
  EXPECT_EQ(m_form.PanelVoies->cadre(4)->title(),
            QString::fromStdString(g.entreeBinaire().Nom + "=EB0..EB3"));
  EXPECT_EQ(m_form.PanelMode->ClavierGB->title(),
            QString::fromStdString(g.clavier().Nom + "=clavier"));
}

}  // namespace
}  // namespace kvx::ui
