// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/modedlg.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <initializer_list>

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "model/masse.h"
#include "outils_dialogue.h"
#include "ui/dialogues_fenetre.h"
#include "ui/kvxmain.h"
#include "ui/panel_mode.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

using test::Items;

class ModeAcqDlgTest : public testing::Test, test::AvecApplication {
 protected:
  ModeAcqDlgTest() : m_dlg(m_graphe) {}
  ~ModeAcqDlgTest() override { model::FixeMasse(model::kMasseDefaut); }

  void Ouvre(int mode, int abscisse, std::initializer_list<int> actives = {5, 6}) {
    for (int s = 4; s <= 9; ++s) m_graphe.voie(s).Active = false;
    for (int s : actives) m_graphe.voie(s).Active = true;
    m_graphe.Mode = static_cast<std::uint8_t>(mode);
    m_graphe.Abscisse = static_cast<std::uint8_t>(abscisse);
    m_dlg.FormActivate();
    m_dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
  }
  void Clique(const char *nom) { test::Clique(&m_dlg, nom); }

  display::TgrapheKVX m_graphe;
  TmodeAcqDlg m_dlg;
};

TEST_F(ModeAcqDlgTest, ControlsCarryTheirTexts) {
  EXPECT_EQ(m_dlg.windowTitle(), QStringLiteral("Mode d'acquisition"));
  const struct {
    const char *nom, *texte;
  } rows[] = {{"ModeRG", "&Mode d'acquisition"},
              {"ModeRG_0", "&Clavier"},
              {"ModeRG_1", "&Temporel"},
              {"ModeRG_2", "&Point par point"},
              {"ModeRG_3", "&Sortie analogique"},
              {"ModeRG_4", "&Veltor"},
              {"AbscisseRG", "&Abscisse"},
              {"TraceGB", "&Données sous forme de"},
              {"TraceLigneCB", "&Ligne"},
              {"TracePointsCB", "&Motifs"},
              {"SuperposerCB", "Superposer les acquisitions"},
              {"GroupBox1", "Axes"},
              {"AnalyseurLogiqueCB", "Analyseur logique"},
              {"AxeCB", "Axe vertical"},
              {"GrilleCB", "Grille"},
              {"MasseRG", "Référence"},
              {"MasseRG_0", "Ref 0V"},
              {"MasseRG_1", "Ref Alt"},
              {"OKBtn", "&OK"},
              {"CancelBtn", "&Abandon"}};
  for (const auto &r : rows) {
    const QWidget *w = m_dlg.findChild<QWidget *>(QString::fromLatin1(r.nom));
    ASSERT_NE(w, nullptr) << r.nom;
    EXPECT_EQ(test::TexteDe(w), QString::fromUtf8(r.texte)) << r.nom;
  }
  EXPECT_EQ(m_dlg.HelpBtn->property("rubriqueAide").toInt(), 3);
  EXPECT_EQ(m_dlg.DimPointSE->minimum(), 0);
  EXPECT_EQ(m_dlg.DimPointSE->maximum(), 5);
}

TEST_F(ModeAcqDlgTest, ActivationShowsTheGraphSettings) {
  struct {
    bool masse, ligne, points, analLog, grille, axeY;
    int mode, dimPoint;
  } rows[] = {{true, true, false, false, true, true, 1, 2},
              {false, false, true, true, false, false, 3, 0}};
  for (const auto &r : rows) {
    model::FixeMasse(r.masse);
    m_graphe.Ligne = r.ligne;
    m_graphe.Points = r.points;
    m_graphe.AnalLog = r.analLog;
    m_graphe.Grille = r.grille;
    m_graphe.AxeY = r.axeY;
    m_graphe.DimPoint = r.dimPoint;
    Ouvre(r.mode, 1);
    EXPECT_EQ(m_dlg.MasseRG->itemIndex(), r.masse ? 1 : 0);
    EXPECT_EQ(m_dlg.ModeRG->itemIndex(), r.mode);
    EXPECT_EQ(m_dlg.TraceLigneCB->isChecked(), r.ligne);
    EXPECT_EQ(m_dlg.TracePointsCB->isChecked(), r.points);
    EXPECT_EQ(m_dlg.AnalyseurLogiqueCB->isChecked(), r.analLog);
    EXPECT_EQ(m_dlg.GrilleCB->isChecked(), r.grille);
    EXPECT_EQ(m_dlg.AxeCB->isChecked(), r.axeY);
    EXPECT_EQ(m_dlg.AxeCB->isVisible(), !r.analLog);
    EXPECT_EQ(m_dlg.DimPointSE->value(), r.dimPoint);
  }
}

TEST_F(ModeAcqDlgTest, ClickedModeRebuildsTheAbscissasAndOkStoresThem) {
  struct {
    const char *mode, *choix;
    QStringList items;
    bool enabled;
    int abscisse;
  } rows[] = {{"ModeRG_2", nullptr, {"V1", "V2"}, true, 5},
              {"ModeRG_1", "AbscisseRG_2", {"Temps", "V1", "V2"}, true, 6},
              {"ModeRG_0", nullptr, {"Clavier", "V1", "V2"}, false, 3},
              {"ModeRG_3", nullptr, {"sortie ana.", "V1", "V2"}, false, 2},
              {"ModeRG_4", nullptr, {"V1", "V2"}, false, 1}};
  for (const auto &r : rows) {
    Ouvre(display::kModeTemps, 1);
    Clique(r.mode);
    EXPECT_EQ(Items(m_dlg.AbscisseRG), r.items) << r.mode;
    EXPECT_EQ(m_dlg.AbscisseRG->isEnabled(), r.enabled) << r.mode;
    if (r.choix != nullptr) Clique(r.choix);
    Clique("OKBtn");
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
    EXPECT_EQ(m_dlg.modeChange(), m_graphe.Mode != display::kModeTemps) << r.mode;
    EXPECT_EQ(m_graphe.Abscisse, r.abscisse) << r.mode;
  }
}

TEST_F(ModeAcqDlgTest, LogicAnalyserHidesTheVerticalAxis) {
  m_graphe.AnalLog = false;
  Ouvre(display::kModeTemps, 1);
  Clique("AnalyseurLogiqueCB");
  EXPECT_FALSE(m_dlg.AxeCB->isVisible());
  Clique("AnalyseurLogiqueCB");
  EXPECT_TRUE(m_dlg.AxeCB->isVisible());
}

TEST_F(ModeAcqDlgTest, OkStoresTheDrawingAndAxesSettings) {
  m_graphe.Ligne = true;
  m_graphe.Points = false;
  m_graphe.Grille = false;
  m_graphe.AxeY = true;
  m_graphe.AnalLog = false;
  Ouvre(display::kModeTemps, 1);
  for (const char *b : {"TraceLigneCB", "TracePointsCB", "GrilleCB", "AxeCB", "AnalyseurLogiqueCB"})
    Clique(b);
  m_dlg.DimPointSE->setValue(4);
  Clique("OKBtn");
  EXPECT_FALSE(m_graphe.Ligne);
  EXPECT_TRUE(m_graphe.Points);
  EXPECT_TRUE(m_graphe.Grille);
  EXPECT_FALSE(m_graphe.AxeY);
  EXPECT_TRUE(m_graphe.AnalLog);
  EXPECT_EQ(m_graphe.DimPoint, 4);
}

TEST_F(ModeAcqDlgTest, ReferenceReachesEveryAnalogInputRange) {
  struct {
    bool avant;
    const char *bouton;
    double mini, maxi;
  } rows[] = {{true, "MasseRG_0", 0.0, 5.0}, {false, "MasseRG_1", -2.5, 2.5}};
  for (const auto &r : rows) {
    model::FixeMasse(r.avant);
    for (int s = 5; s <= 8; ++s) m_graphe.voie(s).ChoisitEntree(0);
    Ouvre(display::kModeTemps, 1);
    Clique(r.bouton);
    Clique("OKBtn");
    EXPECT_EQ(model::Masse(), !r.avant);
    for (int s = 5; s <= 8; ++s) {
      EXPECT_DOUBLE_EQ(m_graphe.voie(s).Mini, r.mini) << "slot " << s;
      EXPECT_DOUBLE_EQ(m_graphe.voie(s).Maxi, r.maxi) << "slot " << s;
    }
  }
}

TEST_F(ModeAcqDlgTest, CancelLeavesEverything) {
  model::FixeMasse(true);
  m_graphe.Grille = false;
  Ouvre(display::kModeTemps, 1);
  for (const char *b : {"ModeRG_2", "GrilleCB", "MasseRG_0", "CancelBtn"}) Clique(b);
  EXPECT_EQ(m_dlg.result(), QDialog::Rejected);
  EXPECT_FALSE(m_dlg.modeChange());
  EXPECT_EQ(m_graphe.Mode, display::kModeTemps);
  EXPECT_EQ(m_graphe.Abscisse, 1);
  EXPECT_FALSE(m_graphe.Grille);
  EXPECT_TRUE(model::Masse());
}

TEST_F(ModeAcqDlgTest, EnteringKeyboardModeAsksForTheKeyboardSettings) {
  int demandes = 0;
  m_dlg.FixeSaisieClavier([&] {
    // Before the dialog returns, with the mode already stored.
    EXPECT_EQ(m_graphe.Mode, display::kModeClavier);
    EXPECT_TRUE(m_dlg.isVisible());
    ++demandes;
  });
  Ouvre(display::kModeTemps, 1);
  Clique("ModeRG_0");
  Clique("OKBtn");
  EXPECT_EQ(demandes, 1);
  Ouvre(display::kModeClavier, 3);
  Clique("OKBtn");
  EXPECT_EQ(demandes, 1);
}

// Through the main window: "Mode et options" halts, opens, applies.
TEST(ModeFenetre, NewModeDropsThePointsAndShowsItsPanelsCancelKeepsThem) {
  test::AvecApplication application;
  TKVXmainForm form(TKVXmainForm::Options{});
  RelieDialogues(form);
  form.graphe().Mode = display::kModeTemps;
  form.moteur().ApplyConfiguration();
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const struct {
    QWidget *panneau;
    const char *fin;
    int points;
    const char *label;
  } rows[] = {{form.PanelMode->ModeGB, "CancelBtn", 40, "Temps"},
              {form.PanelMode->ModeLabel, "OKBtn", 0, "Point par point"}};
  for (const auto &r : rows) {
    form.graphe().nbPoints = 40;
    form.RegSaveBtn->setEnabled(true);
    // The live reading stops while the settings change under it.
    form.Timer->start();
    bool arrete = false;
    test::QuandOuvert<TmodeAcqDlg>(&form, [&](TmodeAcqDlg *d) {
      arrete = !form.Timer->isActive();
      d->ModeRG->bouton(display::kModePointParPoint)->click();
      d->findChild<QAbstractButton *>(QString::fromLatin1(r.fin))->click();
    });
    QTest::mouseClick(r.panneau, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(arrete);
    EXPECT_EQ(form.graphe().nbPoints, r.points) << r.fin;
    EXPECT_EQ(form.RegSaveBtn->isEnabled(), r.points > 0) << r.fin;
    EXPECT_EQ(form.PanelMode->ModeLabel->text(), QString::fromLatin1(r.label));
    EXPECT_EQ(form.PanelMode->PointGB->isVisible(), r.points == 0);
  }
  // The overlays, asked for in the dialog, are the menu item's too.
  QAction *item = form.findChild<QAction *>(QStringLiteral("SuperposerItem"));
  ASSERT_NE(item, nullptr);
  for (const bool voulu : {true, false}) {
    test::QuandOuvert<TmodeAcqDlg>(&form, [&](TmodeAcqDlg *d) {
      EXPECT_EQ(d->SuperposerCB->isChecked(), !voulu);
      d->SuperposerCB->setChecked(voulu);
      d->OKBtn->click();
    });
    QTest::mouseClick(form.PanelMode->ModeLabel, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(item->isChecked(), voulu);
    EXPECT_EQ(form.graphe().vue.superposer, voulu);
  }
}

}  // namespace
}  // namespace kvx::ui
