// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ebin.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "model/entree_binaire.h"
#include "outils_dialogue.h"
#include "ui/dialogues_fenetre.h"
#include "ui/kvxmain.h"
#include "ui/panel_voies.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

class EntreeBinDlgTest : public testing::Test, test::AvecApplication {
 protected:
  EntreeBinDlgTest() : m_dlg(m_entree) {}
  void Ouvre(int nbre, bool active) {
    m_entree.FixeNbreBits(static_cast<std::uint8_t>(nbre));
    m_entree.Active = active;
    m_dlg.FormActivate();
    m_dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
  }
  QString DerniereLigne() const { return m_dlg.Memo->toPlainText().split(QLatin1Char('\n')).last(); }

  model::TentreeBinaire m_entree;
  TEntreeBinDlg m_dlg;
};

TEST_F(EntreeBinDlgTest, ControlsCarryTheirTexts) {
  EXPECT_EQ(m_dlg.windowTitle(), QStringLiteral("Entrées binaires"));
  const struct {
    const char *nom, *texte;
  } rows[] = {{"Label1", "Nombre d'entrées actives"},
              {"OKBtn", "&Activer"},
              {"DesactiveBtn", "&Désactiver"}};
  for (const auto &r : rows) {
    const QWidget *w = m_dlg.findChild<QWidget *>(QString::fromLatin1(r.nom));
    ASSERT_NE(w, nullptr) << r.nom;
    EXPECT_EQ(test::TexteDe(w), QString::fromUtf8(r.texte)) << r.nom;
  }
  EXPECT_EQ(m_dlg.NbreBinSE->minimum(), 1);
  EXPECT_EQ(m_dlg.NbreBinSE->maximum(), 8);
  Ouvre(8, false);
  EXPECT_EQ(m_dlg.Memo->toPlainText(),
            QStringLiteral("Lecture des entrées binaires EB0 à EB7\net transformation en mot\n"
                           "bit de poids faible=EB0\nbit de poids fort=EB7"));
}

TEST_F(EntreeBinDlgTest, ActivationShowsTheCountAndNamesTheHighestInput) {
  const struct {
    int nbre, affiche;
    const char *ligne;
  } rows[] = {{3, 3, "bit de poids fort=EB2"},
              {1, 1, "bit de poids fort=EB0"},
              {8, 8, "bit de poids fort=EB7"},
              // The box has eight inputs: a file's larger count becomes 8.
              {12, 8, "bit de poids fort=EB7"}};
  for (const auto &r : rows) {
    Ouvre(r.nbre, true);
    EXPECT_EQ(m_dlg.NbreBinSE->value(), r.affiche) << r.nbre;
    EXPECT_EQ(m_entree.Nbre, r.affiche) << r.nbre;
    EXPECT_EQ(DerniereLigne(), QString::fromLatin1(r.ligne)) << r.nbre;
  }
}

TEST_F(EntreeBinDlgTest, CountAppliesAtOnceEvenWithoutAButton) {
  const struct {
    int nbre, masque;
    double maxi;
  } rows[] = {{5, 31, 32}, {1, 1, 2}, {8, 255, 256}};
  for (const auto &r : rows) {
    Ouvre(3, true);
    m_dlg.NbreBinSE->setValue(r.nbre);
    EXPECT_EQ(m_entree.Nbre, r.nbre);
    EXPECT_EQ(m_entree.masque, r.masque);
    EXPECT_DOUBLE_EQ(m_entree.Maxi, r.maxi);
    EXPECT_EQ(DerniereLigne(), QStringLiteral("bit de poids fort=EB%1").arg(r.nbre - 1));
    m_dlg.close();
    EXPECT_EQ(m_entree.Nbre, r.nbre);
  }
}

TEST_F(EntreeBinDlgTest, EveryButtonClosesWithOkAndSetsTheChannel) {
  const struct {
    const char *bouton;  // null: the Escape key
    bool avant, apres;
  } rows[] = {{"OKBtn", false, true}, {"DesactiveBtn", true, false}, {nullptr, true, false}};
  for (const auto &r : rows) {
    Ouvre(3, r.avant);
    if (r.bouton != nullptr)
      test::Clique(&m_dlg, r.bouton);
    else
      QTest::keyClick(&m_dlg, Qt::Key_Escape);
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted) << (r.bouton ? r.bouton : "Escape");
    EXPECT_FALSE(m_dlg.isVisible());
    EXPECT_EQ(m_entree.Active, r.apres) << (r.bouton ? r.bouton : "Escape");
  }
}

// Through the main window, in point-by-point mode where the box shows.
TEST(EntreeBinFenetre, BinaryInputsBoxOpensTheDialogAndTheCaptionFollows) {
  test::AvecApplication application;
  TKVXmainForm form(TKVXmainForm::Options{});
  RelieDialogues(form);
  display::TgrapheKVX &g = form.graphe();
  g.Mode = display::kModePointParPoint;
  g.Abscisse = 5;
  g.voie(5).Active = true;
  g.entreeBinaire().Active = false;
  form.moteur().ApplyConfiguration();
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  TcadreVoie *boite = form.PanelVoies->cadre(4);
  ASSERT_TRUE(boite->isVisible());
  EXPECT_EQ(boite->title(), QStringLiteral("Entrées binaires"));
  const struct {
    QWidget *cible;
    const char *fin;
    int nbre;
    const char *titre;
  } rows[] = {{boite, "OKBtn", 4, "EB=EB0..EB3"},
              {boite->afficheur(), "OKBtn", 2, "EB=EB0..EB1"},
              {boite, "DesactiveBtn", 2, "Entrées binaires"}};
  for (const auto &r : rows) {
    form.Timer->start();
    bool arrete = false;
    test::QuandOuvert<TEntreeBinDlg>(&form, [&](TEntreeBinDlg *d) {
      arrete = !form.Timer->isActive();
      d->NbreBinSE->setValue(r.nbre);
      d->findChild<QAbstractButton *>(QString::fromLatin1(r.fin))->click();
    });
    QTest::mouseClick(r.cible, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(arrete) << r.titre;
    EXPECT_EQ(boite->title(), QString::fromUtf8(r.titre));
    EXPECT_EQ(form.findChild<TEntreeBinDlg *>(), nullptr) << "the dialog goes with its opening";
  }
}

}  // namespace
}  // namespace kvx::ui
