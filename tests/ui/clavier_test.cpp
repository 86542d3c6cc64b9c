// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/clavier.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "model/separateur_decimal.h"
#include "model/voie.h"
#include "outils_dialogue.h"
#include "ui/dialogues_fenetre.h"
#include "ui/kvxmain.h"
#include "ui/modedlg.h"
#include "ui/panel_mode.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

class ClavierDlgTest : public testing::Test, test::AvecApplication {
 protected:
  ClavierDlgTest() : m_dlg(m_clavier), m_separateur(model::SeparateurDecimal()) {
    model::FixeSeparateurDecimal('.');
  }
  ~ClavierDlgTest() override { model::FixeSeparateurDecimal(m_separateur); }
  void Ouvre() {
    m_dlg.FormActivate();
    m_dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
  }
  void Saisit(QLineEdit *edit, const QString &texte) {
    edit->clear();
    QTest::keyClicks(edit, texte);
  }

  model::TentreeClavier m_clavier;
  TClavierDlg m_dlg;
  char m_separateur;
};

TEST_F(ClavierDlgTest, ControlsCarryTheirTexts) {
  EXPECT_EQ(m_dlg.windowTitle(), QStringLiteral("Acquisition au clavier"));
  const struct {
    const char *nom, *texte;
    const char *edit;
  } rows[] = {{"GrandeurGB", "&Grandeur physique", nullptr},
              {"LabelNom", "&Symbole", "EditNom"},
              {"LabelUnite", "&Unité", "EditUnite"},
              {"LabelSignif", "&Signif.", "EditSignif"},
              {"LabelMin", "Minimum", "EditMin"},
              {"LabelMax", "Maximum", "EditMax"},
              {"OKBtn", "&OK", nullptr},
              {"CancelBtn", "&Abandon", nullptr}};
  for (const auto &r : rows) {
    const QWidget *w = m_dlg.findChild<QWidget *>(QString::fromLatin1(r.nom));
    ASSERT_NE(w, nullptr) << r.nom;
    EXPECT_EQ(test::TexteDe(w), QString::fromUtf8(r.texte)) << r.nom;
    if (r.edit != nullptr) {
      EXPECT_EQ(static_cast<const QLabel *>(w)->buddy()->objectName(), QString::fromLatin1(r.edit));
    }
  }
  EXPECT_EQ(m_dlg.findChild<QWidget *>(QStringLiteral("HelpBtn")), nullptr);
  EXPECT_EQ(m_dlg.EditNom->maxLength(), 8);
  EXPECT_EQ(m_dlg.EditUnite->maxLength(), 20);
}

TEST_F(ClavierDlgTest, ActivationFillsTheEditsFromTheChannel) {
  const struct {
    char sep;
    double mini, maxi;
    const char *texteMin, *texteMax;
  } rows[] = {{'.', -2.5, 0.001, "-2.5", "0.001"},
              {',', 0, 12345.678, "0", "12345,678"},
              {'.', 0.1, 1E20, "0.1", "1E20"}};
  for (const auto &r : rows) {
    model::FixeSeparateurDecimal(r.sep);
    m_clavier.Nom = "F";
    m_clavier.FixeUnite("N");
    m_clavier.Signif = "force";
    m_clavier.FixeMini(r.mini);
    m_clavier.FixeMaxi(r.maxi);
    Ouvre();
    EXPECT_EQ(m_dlg.EditNom->text(), QStringLiteral("F"));
    EXPECT_EQ(m_dlg.EditUnite->text(), QStringLiteral("N"));
    EXPECT_EQ(m_dlg.EditSignif->text(), QStringLiteral("force"));
    EXPECT_EQ(m_dlg.EditMin->text(), QString::fromLatin1(r.texteMin));
    EXPECT_EQ(m_dlg.EditMax->text(), QString::fromLatin1(r.texteMax));
  }
}

TEST_F(ClavierDlgTest, OkStoresTheQuantityAndTheRangeWithItsDefaults) {
  const struct {
    const char *min, *max;
    double mini, maxi;
  } rows[] = {{"-2.5", "10", -2.5, 10},
              {"1", "abc", 1, 5},
              {"", "4k", 0, 4000},
              {"20m", "(", 0.02, 5}};
  for (const auto &r : rows) {
    m_clavier.Active = false;
    Ouvre();
    m_dlg.EditNom->setText(QStringLiteral("θ"));
    m_dlg.EditUnite->setText(QStringLiteral("°C"));
    m_dlg.EditSignif->setText(QStringLiteral("température"));
    m_dlg.EditMin->setText(QString::fromLatin1(r.min));
    m_dlg.EditMax->setText(QString::fromLatin1(r.max));
    test::Clique(&m_dlg, "OKBtn");
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(m_clavier.Active);
    EXPECT_EQ(m_clavier.Nom, "θ");
    EXPECT_EQ(m_clavier.Unite, "°C");
    EXPECT_TRUE(m_clavier.correcte);
    EXPECT_EQ(m_clavier.Signif, "température");
    EXPECT_DOUBLE_EQ(m_clavier.Mini, r.mini) << r.min;
    EXPECT_DOUBLE_EQ(m_clavier.Maxi, r.maxi) << r.max;
  }
}

TEST_F(ClavierDlgTest, UnitThatCannotBeReadIsToldAndKeepsTheDialogOpen) {
  m_clavier.Nom = "X";
  m_clavier.FixeUnite("V");
  m_clavier.Active = false;
  Ouvre();
  m_dlg.EditNom->setText(QStringLiteral("Y"));
  m_dlg.EditUnite->setText(QStringLiteral("kg/(m.s)"));
  QString message;
  test::QuandOuvert<QMessageBox>(&m_dlg, [&](QMessageBox *m) {
    message = m->text();
    m->accept();
  });
  test::Clique(&m_dlg, "OKBtn");
  EXPECT_EQ(message, QStringLiteral("Erreur unité"));
  EXPECT_TRUE(m_dlg.isVisible());
  EXPECT_EQ(m_dlg.focusWidget(), m_dlg.EditUnite);
  // Nothing stored half-way.
  EXPECT_EQ(m_clavier.Nom, "X");
  EXPECT_EQ(m_clavier.Unite, "V");
  EXPECT_FALSE(m_clavier.Active);
}

TEST_F(ClavierDlgTest, RangeEditsTakeOnlyNumberKeys) {
  const struct {
    char sep;
    const char *frappe, *texte;
  } rows[] = {{',', "1a.5", "1,5"}, {'.', "-2,5e3x", "-2.5e3"}, {'.', "4k!", "4k"}};
  Ouvre();
  for (const auto &r : rows) {
    model::FixeSeparateurDecimal(r.sep);
    for (QLineEdit *e : {m_dlg.EditMin, m_dlg.EditMax}) {
      Saisit(e, QString::fromLatin1(r.frappe));
      EXPECT_EQ(e->text(), QString::fromLatin1(r.texte)) << e->objectName().toStdString();
    }
  }
  // The other edits take every key.
  Saisit(m_dlg.EditSignif, QStringLiteral("a.b!"));
  EXPECT_EQ(m_dlg.EditSignif->text(), QStringLiteral("a.b!"));
}

TEST_F(ClavierDlgTest, CancelLeavesTheChannel) {
  m_clavier.Nom = "X";
  m_clavier.Active = false;
  m_clavier.FixeMaxi(7);
  Ouvre();
  m_dlg.EditNom->setText(QStringLiteral("Z"));
  m_dlg.EditMax->setText(QStringLiteral("9"));
  test::Clique(&m_dlg, "CancelBtn");
  EXPECT_EQ(m_dlg.result(), QDialog::Rejected);
  EXPECT_EQ(m_clavier.Nom, "X");
  EXPECT_FALSE(m_clavier.Active);
  EXPECT_DOUBLE_EQ(m_clavier.Maxi, 7);
}

class ClavierFenetreTest : public testing::Test, test::AvecApplication {
 protected:
  ClavierFenetreTest() : m_form(TKVXmainForm::Options{}) {}
  void SetUp() override {
    RelieDialogues(m_form);
    m_form.graphe().clavier().Nom = "X";
    m_form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
  }
  TKVXmainForm m_form;
};

// The keyboard panel halts, opens a dialog made for this opening, applies.
TEST_F(ClavierFenetreTest, KeyboardPanelOpensTheDialogAndTheCaptionFollows) {
  m_form.graphe().Mode = display::kModeClavier;
  m_form.moteur().ApplyConfiguration();
  ASSERT_TRUE(m_form.PanelMode->ClavierGB->isVisible());
  const struct {
    const char *fin, *titre;
  } rows[] = {{"CancelBtn", "X=clavier"}, {"OKBtn", "m=clavier"}};
  for (const auto &r : rows) {
    m_form.Timer->start();
    bool arrete = false;
    test::QuandOuvert<TClavierDlg>(&m_form, [&](TClavierDlg *d) {
      arrete = !m_form.Timer->isActive();
      d->EditNom->setText(QStringLiteral("m"));
      d->findChild<QAbstractButton *>(QString::fromLatin1(r.fin))->click();
    });
    QTest::mouseClick(m_form.PanelMode->ClavierGB, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(arrete) << r.fin;
    EXPECT_EQ(m_form.PanelMode->ClavierGB->title(), QString::fromLatin1(r.titre));
    EXPECT_EQ(m_form.findChild<TClavierDlg *>(), nullptr) << "the dialog goes with its opening";
  }
}

// Choosing keyboard entry in the mode dialog asks for the quantity at once.
TEST_F(ClavierFenetreTest, EnteringKeyboardModeOpensTheDialogOverTheModeDialog) {
  m_form.graphe().Mode = display::kModeTemps;
  m_form.moteur().ApplyConfiguration();
  bool auDessus = false;
  test::QuandOuvert<TmodeAcqDlg>(&m_form, [&](TmodeAcqDlg *mode) {
    test::QuandOuvert<TClavierDlg>(&m_form, [&, mode](TClavierDlg *d) {
      auDessus = d->parentWidget() == mode && mode->isVisible();
      d->EditNom->setText(QStringLiteral("h"));
      d->OKBtn->click();
    });
    mode->ModeRG->bouton(display::kModeClavier)->click();
    mode->OKBtn->click();
  });
  QTest::mouseClick(m_form.PanelMode->ModeLabel, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(auDessus);
  EXPECT_EQ(m_form.graphe().clavier().Nom, "h");
  EXPECT_TRUE(m_form.PanelMode->ClavierGB->isVisible());
  EXPECT_EQ(m_form.PanelMode->ClavierGB->title(), QStringLiteral("h=clavier"));
}

}  // namespace
}  // namespace kvx::ui
