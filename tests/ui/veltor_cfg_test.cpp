// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "model/veltor.h"
#include "outils_dialogue.h"
#include "ui/dialogues_fenetre.h"
#include "ui/kvxmain.h"
#include "ui/panel_mode.h"
#include "ui/panel_voies.h"
#include "ui/veltordlg.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

class VeltorCfgTest : public testing::Test, test::AvecApplication {
 protected:
  VeltorCfgTest() : m_dlg(m_fourche) {}
  void Ouvre() {
    m_dlg.FormActivate();
    m_dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
  }
  void Tape(QLineEdit *edit, const QString &texte) {
    edit->clear();
    QTest::keyClicks(edit, texte);
  }
  model::Tveltor m_fourche;
  TVeltorCfg m_dlg;
};

TEST_F(VeltorCfgTest, ShowsTheChannelWithItsTexts) {
  m_fourche.Taille = 0.00123456;
  m_fourche.nbremax = 120;
  m_fourche.Negatif = true;
  Ouvre();
  EXPECT_EQ(m_dlg.windowTitle(), QStringLiteral("Fourche optique"));
  EXPECT_EQ(test::Items(m_dlg.ModeRG),
            (QStringList{QStringLiteral("Linéaire"), QStringLiteral("Angulaire")}));
  EXPECT_EQ(test::Items(m_dlg.UniteRG),
            (QStringList{QStringLiteral("degré"), QStringLiteral("radian")}));
  EXPECT_EQ(m_dlg.ModeRG->title(), QStringLiteral("Type de capteur"));
  EXPECT_EQ(m_dlg.NegatifCB->text(), QStringLiteral("Chute : z varie de 0 à -zmax"));
  EXPECT_EQ(m_dlg.NomVeltorEdit->text(), QStringLiteral("x"));
  EXPECT_EQ(m_dlg.NomVeltorEdit->maxLength(), 8);
  EXPECT_EQ(m_dlg.TailleTraitEdit->text().replace(QLatin1Char(','), QLatin1Char('.')),
            QStringLiteral("0.001235"));
  EXPECT_EQ(m_dlg.ModeRG->itemIndex(), 0);
  EXPECT_FALSE(m_dlg.UniteRG->isVisible()) << "no unit for a displacement";
  EXPECT_TRUE(m_dlg.NegatifCB->isChecked());
  EXPECT_EQ(m_dlg.NbreMaxSE->value(), 120);
  EXPECT_EQ(m_dlg.NbreMaxSE->minimum(), 30);
  EXPECT_EQ(m_dlg.NbreMaxSE->maximum(), 1000);
  EXPECT_EQ(m_dlg.NbreMaxSE->singleStep(), 10);
  EXPECT_EQ(m_dlg.NbreMaxSE->toolTip(), QStringLiteral("Rapatriement : 64 points par seconde"));
  EXPECT_EQ(m_dlg.HelpBtn->property("rubriqueAide").toInt(), 3);
}

TEST_F(VeltorCfgTest, CaptionOfTheFallBoxFollowsTheSymbolAndTheType) {
  Ouvre();
  Tape(m_dlg.NomVeltorEdit, QStringLiteral("z"));
  EXPECT_EQ(m_dlg.NegatifCB->text(), QStringLiteral("z négatif"));
  test::Clique(&m_dlg, "ModeRG_1");
  EXPECT_EQ(m_dlg.NegatifCB->text(), QStringLiteral("z négatif en cas de chute"));
  EXPECT_TRUE(m_dlg.UniteRG->isVisible());
  test::Clique(&m_dlg, "ModeRG_0");
  EXPECT_FALSE(m_dlg.UniteRG->isVisible());
}

TEST_F(VeltorCfgTest, OkWritesTheChannel) {
  const struct {
    int mode, unite;
    const char *taille;
    double attendu;
    const char *symboleUnite;
  } rows[] = {{1, 1, "2*PI/100", 2 * 3.14159265358979 / 100, "rad"},
              {1, 0, "3,6", 3.6, "°"},
              // Back to a displacement: the setter gives the 1.8 mm step back.
              {0, 0, "5", 0.0018, "m"}};
  for (const auto &r : rows) {
    Ouvre();
    Tape(m_dlg.NomVeltorEdit, QStringLiteral("a"));
    test::Clique(&m_dlg, r.mode == 1 ? "ModeRG_1" : "ModeRG_0");
    if (r.mode == 1) test::Clique(&m_dlg, r.unite == 1 ? "UniteRG_1" : "UniteRG_0");
    Tape(m_dlg.TailleTraitEdit, QString::fromUtf8(r.taille));
    m_dlg.NbreMaxSE->setValue(250);
    m_dlg.NegatifCB->setChecked(false);
    test::Clique(&m_dlg, "OKBtn");
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted) << r.taille;
    EXPECT_NEAR(m_fourche.Taille, r.attendu, 1e-12) << r.taille;
    EXPECT_EQ(m_fourche.angle, r.mode == 1) << r.taille;
    EXPECT_EQ(m_fourche.Unite, r.symboleUnite) << r.taille;
    EXPECT_EQ(m_fourche.Nom, "a");
    EXPECT_EQ(m_fourche.nbremax, 250);
    EXPECT_FALSE(m_fourche.Negatif);
  }
}

TEST_F(VeltorCfgTest, UnreadableOrEmptySizeIsSaidAndTheDialogStaysOpen) {
  const struct {
    const char *taille, *message;
  } rows[] = {{"2*3)", "Erreur nombre"},
              {"0", "La demi période doit être positive"},
              {"-2m", "La demi période doit être positive"}};
  for (const auto &r : rows) {
    m_fourche.Taille = 0.002;
    Ouvre();
    Tape(m_dlg.TailleTraitEdit, QString::fromUtf8(r.taille));
    Tape(m_dlg.NomVeltorEdit, QStringLiteral("q"));
    QString message;
    test::QuandOuvert<QMessageBox>(&m_dlg, [&](QMessageBox *m) {
      message = m->text();
      m->accept();
    });
    test::Clique(&m_dlg, "OKBtn");
    ASSERT_TRUE(test::AttendQue([&] { return !message.isEmpty(); }));
    EXPECT_EQ(message, QString::fromUtf8(r.message));
    EXPECT_TRUE(m_dlg.isVisible());
    EXPECT_DOUBLE_EQ(m_fourche.Taille, 0.002);
    EXPECT_EQ(m_fourche.Nom, "x") << "nothing is written";
  }
}

// Through the main window: the fork's read-out box, in fork mode.
TEST(VeltorCfgFenetre, ForkBoxOpensTheDialogAndItsChangesApply) {
  test::AvecApplication application;
  TKVXmainForm form(TKVXmainForm::Options{});
  RelieDialogues(form);
  form.graphe().Mode = display::kModeVeltor;
  form.moteur().ApplyConfiguration();
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_TRUE(form.PanelMode->ModeVeltorGB->isVisible());
  for (QWidget *cible : {static_cast<QWidget *>(form.PanelVoies->cadre(9)),
                         static_cast<QWidget *>(form.PanelMode->ModeVeltorGB)}) {
    bool ouvert = false;
    test::QuandOuvert<TVeltorCfg>(&form, [&](TVeltorCfg *d) {
      ouvert = true;
      d->NbreMaxSE->setValue(500);
      d->findChild<QAbstractButton *>(QStringLiteral("OKBtn"))->click();
    });
    QTest::mouseClick(cible, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(ouvert) << cible->objectName().toStdString();
    EXPECT_EQ(form.graphe().veltor().nbremax, 500);
    form.graphe().veltor().nbremax = 30;
    EXPECT_EQ(form.findChild<TVeltorCfg *>(), nullptr) << "the dialog goes with its opening";
  }
}

}  // namespace
}  // namespace kvx::ui
