// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/synchro.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <initializer_list>
#include <tuple>

#include "device/acquisition_engine.h"
#include "device/trigger_dialog_rules.h"
#include "display/graphe.h"
#include "outils_dialogue.h"
#include "ui/dialogues_fenetre.h"
#include "ui/kvxmain.h"
#include "ui/panel_mode.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

using test::Items;

QStringList Textes(const QWidget *page) {
  QStringList l;
  for (const QLabel *label : page->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly))
    l << label->text();
  return l;
}

class SynchroDlgTest : public testing::Test, test::AvecApplication {
 protected:
  SynchroDlgTest() : m_form(TKVXmainForm::Options{}), m_dlg(m_form.graphe(), m_form.moteur()) {}

  display::TgrapheKVX &g() { return m_form.graphe(); }
  void Ouvre(int mode, std::initializer_list<int> actives = {5, 7, 8}, int voie = 5) {
    for (int s = 5; s <= 8; ++s) g().voie(s).Active = false;
    for (int s : actives) g().voie(s).Active = true;
    g().ModeSynchro = static_cast<std::uint8_t>(mode);
    g().VoieSynchro = voie;
    m_dlg.FormActivate();
    m_dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
  }
  void Clique(const char *nom) { test::Clique(&m_dlg, nom); }
  QString Page() const { return m_dlg.Notebook->currentWidget()->objectName(); }

  TKVXmainForm m_form;
  TSynchroDlg m_dlg;
};

TEST_F(SynchroDlgTest, ControlsCarryTheirTexts) {
  EXPECT_EQ(m_dlg.windowTitle(), QStringLiteral("Synchronisation"));
  const struct {
    const char *nom, *texte;
  } rows[] = {{"SynchroRG", "&Mode de synchronisation"},
              {"SynchroRG_0", "&Front"},
              {"SynchroRG_1", "&Relaxé (sans)"},
              {"SynchroRG_2", "&Clavier"},
              {"SynchroRG_3", "&Seuil"},
              {"SynchroRG_4", "&Bouge"},
              {"EFRG", "Entrée &front"},
              {"EFRG_0", "EF&0 ↘"},
              {"EFRG_1", "EF&1 ↗"},
              {"SensSeuilRG", "&Seuil"},
              {"SensSeuilRG_0", "&Montant"},
              {"SensSeuilRG_1", "&Descendant"},
              {"SeuilGB", "Valeur du seuil"},
              {"AbscisseRG", "&Voie"},
              {"BougeGB", "Ecart significatif en bits"},
              {"BougeRG", "&Voie"},
              {"OKBtn", "&OK"},
              {"CancelBtn", "&Abandon"}};
  for (const auto &r : rows) {
    const QWidget *w = m_dlg.findChild<QWidget *>(QString::fromLatin1(r.nom));
    ASSERT_NE(w, nullptr) << r.nom;
    EXPECT_EQ(test::TexteDe(w), QString::fromUtf8(r.texte)) << r.nom;
  }
  EXPECT_EQ(Textes(m_dlg.RelaxeTS), (QStringList{"Acquisition en continu"}));
  EXPECT_EQ(Textes(m_dlg.ClavierTS),
            (QStringList{"Synchronisation", "par frappe de la barre d'espace ", "ou ",
                         "clic sur le bouton acquisition"}));
  EXPECT_EQ(Textes(m_dlg.SeuilTS),
            (QStringList{QStringLiteral("L'acquisition démarre au passage du "), "seuil ",
                         "avec un retard de qqs ms"}));
  EXPECT_EQ(Textes(m_dlg.BougeTS),
            (QStringList{QStringLiteral("L'acquisition démarre lorsque l'entrée "), "varie de",
                         "N bits avec un retard de qqs ms"}));
  EXPECT_EQ(m_dlg.RazSeuilBtn->toolTip(), QStringLiteral("RàZ"));
  EXPECT_EQ(m_dlg.RazSeuilBtn->statusTip(), QStringLiteral("Seuil à zéro"));
  EXPECT_EQ(m_dlg.HelpBtn->property("rubriqueAide").toInt(), 5);
  for (const auto &[barre, mini, maxi] :
       {std::tuple{m_dlg.SeuilScroll, 2, 253}, std::tuple{m_dlg.BougeScroll, 1, 16}}) {
    EXPECT_EQ(barre->minimum(), mini);
    EXPECT_EQ(barre->maximum(), maxi);
    EXPECT_EQ(barre->pageStep(), 32);
  }
}

TEST_F(SynchroDlgTest, ActivationShowsTheGraphSettingsAndThePageOfTheMode) {
  const char *pages[] = {"FrontTS", "RelaxeTS", "ClavierTS", "SeuilTS", "BougeTS"};
  for (int mode = 0; mode < 5; ++mode) {
    g().PenteSynchro = static_cast<std::uint8_t>(mode % 2);
    m_form.moteur().FixeEntreeFront((mode + 1) % 2);
    g().Seuil = 40 + mode;
    g().Bouge = 3 + mode;
    Ouvre(mode);
    EXPECT_EQ(m_dlg.SynchroRG->itemIndex(), mode);
    EXPECT_EQ(m_dlg.SensSeuilRG->itemIndex(), mode % 2);
    EXPECT_EQ(m_dlg.EFRG->itemIndex(), (mode + 1) % 2);
    EXPECT_EQ(Page(), QString::fromLatin1(pages[mode]));
    EXPECT_EQ(m_dlg.SeuilScroll->value(), 40 + mode);
    EXPECT_EQ(m_dlg.LabelBouge->text(), QString::number(3 + mode));
  }
  // A click on a mode turns the page at once.
  Clique("SynchroRG_3");
  EXPECT_EQ(Page(), QStringLiteral("SeuilTS"));
}

TEST_F(SynchroDlgTest, TriggerChannelSwitchedOffGivesWayToTheFirstActiveInput) {
  Ouvre(display::kSynchroSeuil, {6, 8}, 5);
  EXPECT_EQ(Items(m_dlg.AbscisseRG), (QStringList{"V2", "V4"}));
  EXPECT_EQ(Items(m_dlg.BougeRG), (QStringList{"V2", "V4"}));
  EXPECT_EQ(m_dlg.AbscisseRG->itemIndex(), 0);
  EXPECT_EQ(m_dlg.BougeRG->itemIndex(), 0);
  EXPECT_EQ(g().VoieSynchro, 6);
}

TEST_F(SynchroDlgTest, ResetPutsTheThresholdMidScale) {
  g().Seuil = 30;
  Ouvre(display::kSynchroSeuil, {5});
  Clique("RazSeuilBtn");
  EXPECT_EQ(m_dlg.SeuilScroll->value(), 128);
  model::Tvoie temoin(5);
  temoin.ChoisitEntree(g().voie(5).NumeroNuvex);
  EXPECT_EQ(m_dlg.LabelSeuil->text(), QString::fromStdString(device::ThresholdText(temoin, 128)));
  EXPECT_DOUBLE_EQ(g().voie(5).valeurCourante, temoin.valeurCourante);
}

TEST_F(SynchroDlgTest, ThresholdIsReadInTheChannelClicked) {
  g().voie(5).ChoisitEntree(0);  // ±2.5 V
  g().voie(7).ChoisitEntree(4);  // ±50 mV
  Ouvre(display::kSynchroSeuil);
  m_dlg.SeuilScroll->setValue(253);
  EXPECT_TRUE(m_dlg.LabelSeuil->text().endsWith(QStringLiteral(" V")));
  Clique("AbscisseRG_1");
  EXPECT_EQ(m_dlg.voieAffichee(), 7);
  EXPECT_TRUE(m_dlg.LabelSeuil->text().endsWith(QStringLiteral(" mV")));
  EXPECT_DOUBLE_EQ(g().voie(7).valeurCourante, g().voie(7).ValeurDeCode(253));
  EXPECT_EQ(g().VoieSynchro, 5);  // choosing is not storing
}

TEST_F(SynchroDlgTest, OkChoosesTheChannelOnlyForThresholdAndChange) {
  const struct {
    const char *mode, *choix;
    int voie;
  } rows[] = {{"SynchroRG_3", "AbscisseRG_1", 7},
              {"SynchroRG_4", "BougeRG_2", 8},
              {"SynchroRG_2", "AbscisseRG_1", 5},
              {"SynchroRG_0", nullptr, 5}};
  for (const auto &r : rows) {
    Ouvre(display::kSynchroSeuil);
    if (r.choix != nullptr) {
      Clique(r.choix[0] == 'A' ? "SynchroRG_3" : "SynchroRG_4");
      Clique(r.choix);
    }
    Clique(r.mode);
    Clique("OKBtn");
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
    EXPECT_EQ(g().VoieSynchro, r.voie) << r.mode;
  }
}

TEST_F(SynchroDlgTest, OkStoresEveryTriggerSettingCancelNone) {
  for (const char *fin : {"CancelBtn", "OKBtn"}) {
    g().PenteSynchro = 0;
    m_form.moteur().FixeEntreeFront(0);
    g().Seuil = 100;
    g().Bouge = 2;
    Ouvre(display::kSynchroFront);
    Clique("EFRG_1");
    Clique("SynchroRG_3");
    Clique("SensSeuilRG_1");
    m_dlg.SeuilScroll->setValue(200);
    Clique("SynchroRG_4");
    m_dlg.BougeScroll->setValue(9);
    Clique(fin);
    const bool ok = fin[0] == 'O';
    EXPECT_EQ(g().ModeSynchro, ok ? display::kSynchroBouge : display::kSynchroFront);
    EXPECT_EQ(m_form.moteur().EntreeFront(), ok ? 1 : 0);
    EXPECT_EQ(g().PenteSynchro, ok ? 1 : 0);
    EXPECT_EQ(g().Seuil, ok ? 200 : 100);
    EXPECT_EQ(g().Bouge, ok ? 9 : 2);
  }
}

// Through the main window: "Synchronisation" halts, opens, applies.
TEST(SynchroFenetre, PanelShowsTheChosenTrigger) {
  test::AvecApplication application;
  TKVXmainForm form(TKVXmainForm::Options{});
  RelieDialogues(form);
  form.graphe().Mode = display::kModeTemps;
  form.moteur().ApplyConfiguration();
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const struct {
    QWidget *panneau;
    int choix;
    const char *fin, *texte;
  } rows[] = {{form.PanelMode->SynchroGB, 3, "OKBtn", "Seuil"},
              {form.PanelMode->SynchroLabel, 4, "CancelBtn", "Seuil"},
              {form.PanelMode->SynchroLabel, 0, "OKBtn", "Front"}};
  for (const auto &r : rows) {
    form.Timer->start();
    bool arrete = false;
    test::QuandOuvert<TSynchroDlg>(&form, [&](TSynchroDlg *d) {
      arrete = !form.Timer->isActive();
      d->SynchroRG->bouton(r.choix)->click();
      d->findChild<QAbstractButton *>(QString::fromLatin1(r.fin))->click();
    });
    QTest::mouseClick(r.panneau, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(arrete);
    EXPECT_EQ(form.PanelMode->SynchroLabel->text(), QString::fromUtf8(r.texte)) << r.choix;
  }
}

}  // namespace
}  // namespace kvx::ui
