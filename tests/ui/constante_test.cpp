// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/constante.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "model/separateur_decimal.h"
#include "outils_dialogue.h"
#include "ui/configuration_fenetre.h"
#include "ui/radio_group.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

class ConstanteDlgTest : public testing::Test, test::AvecApplication {
 protected:
  ConstanteDlgTest() : m_dlg(m_page), m_separateur(model::SeparateurDecimal()) {
    model::FixeSeparateurDecimal('.');
  }
  ~ConstanteDlgTest() override { model::FixeSeparateurDecimal(m_separateur); }
  void Ouvre() {
    m_dlg.FormActivate();
    m_dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
  }
  // OK, answering a message if one comes; its text, empty when none came.
  QString Valide() {
    QString message;
    test::QuandOuvert<QMessageBox>(&m_dlg, [&](QMessageBox *m) {
      message = m->text();
      m->accept();
    });
    test::Clique(&m_dlg, "OKBtn");
    return message;
  }

  TPage m_page;
  TConstanteDlg m_dlg;
  char m_separateur;
};

TEST_F(ConstanteDlgTest, ControlsCarryTheirTexts) {
  EXPECT_EQ(m_dlg.windowTitle(), QStringLiteral("Renseignement sur la page courante"));
  const struct {
    const char *nom, *texte, *edit;
  } rows[] = {{"GroupBox2", "Paramètre", nullptr},
              {"LabelNomConst", "&Symbole", "NomConstEdit"},
              {"LabelUniteConst", "&Unité", "UniteConstEdit"},
              {"LabelValeurConst", "&Valeur", "ValeurConstEdit"},
              {"GroupBox1", "&Commentaire", nullptr},
              {"NewPageCB", "Données vers &Tabulyse", nullptr},
              {"OKBtn", "&OK", nullptr},
              {"CancelBtn", "&Abandon", nullptr},
              {"HelpBtn", "&Aide", nullptr}};
  for (const auto &r : rows) {
    const QWidget *w = m_dlg.findChild<QWidget *>(QString::fromLatin1(r.nom));
    ASSERT_NE(w, nullptr) << r.nom;
    EXPECT_EQ(test::TexteDe(w), QString::fromUtf8(r.texte)) << r.nom;
    if (r.edit) {
      EXPECT_EQ(static_cast<const QLabel *>(w)->buddy()->objectName(), QString::fromLatin1(r.edit));
    }
  }
  EXPECT_NE(m_dlg.findChild<QLineEdit *>(QStringLiteral("EditComm")), nullptr);
  EXPECT_EQ(m_dlg.NomConstEdit->maxLength(), 8);
  EXPECT_EQ(test::Items(m_dlg.NewPageCB),
            (QStringList{QStringLiteral("Nouveau &fichier"), QStringLiteral("Nouvelle &page")}));
  EXPECT_EQ(m_dlg.HelpBtn->property("rubriqueAide").toInt(), 3);
  // A new file until a transfer or the analysis program says otherwise.
  EXPECT_FALSE(m_dlg.nouvellePage());
  EXPECT_TRUE(std::isnan(m_dlg.valeur()));
}

TEST_F(ConstanteDlgTest, ActivationShowsThePageWithTheValueInFourDigits) {
  const struct {
    char sep;
    double valeur;
    const char *texte;
  } rows[] = {{'.', 9.80665, "9.807"},
              {',', 0.5, "0,5"},
              {'.', 1234567, "1.235E6"},
              {'.', std::nan(""), " "}};
  for (const auto &r : rows) {
    model::FixeSeparateurDecimal(r.sep);
    m_page.constanteNom = "g";
    m_page.constanteUnite = "m/s²";
    m_page.constanteComm = "chute libre";
    m_dlg.FixeValeur(r.valeur);
    Ouvre();
    EXPECT_EQ(m_dlg.NomConstEdit->text(), QStringLiteral("g"));
    EXPECT_EQ(m_dlg.UniteConstEdit->text(), QStringLiteral("m/s²"));
    EXPECT_EQ(m_dlg.ValeurConstEdit->text(), QString::fromLatin1(r.texte));
    EXPECT_EQ(m_dlg.EditComm->text(), QStringLiteral("chute libre"));
  }
}

TEST_F(ConstanteDlgTest, OkStoresThePageAndAValueThatIsANumber) {
  const struct {
    char sep;
    const char *texte;
    double avant, apres;
  } rows[] = {
      {'.', "9.81", std::nan(""), 9.81},
      {',', "2,5m", 1, 0.0025},
      {'.', " 4 k ", 1, 4000},
      // An empty value keeps the one given before.
      {'.', "", 3, 3},
      {'.', "   ", 3, 3},
  };
  for (const auto &r : rows) {
    model::FixeSeparateurDecimal(r.sep);
    m_dlg.FixeValeur(r.avant);
    Ouvre();
    m_dlg.NomConstEdit->setText(QStringLiteral("m"));
    m_dlg.UniteConstEdit->setText(QStringLiteral("kg"));
    m_dlg.ValeurConstEdit->setText(QString::fromLatin1(r.texte));
    m_dlg.EditComm->setText(QStringLiteral("masse"));
    EXPECT_EQ(Valide(), QString()) << r.texte;
    EXPECT_EQ(m_dlg.result(), QDialog::Accepted) << r.texte;
    EXPECT_EQ(m_page.constanteNom, "m");
    EXPECT_EQ(m_page.constanteUnite, "kg");
    EXPECT_EQ(m_page.constanteComm, "masse");
    EXPECT_DOUBLE_EQ(m_dlg.valeur(), r.apres) << r.texte;
  }
}

TEST_F(ConstanteDlgTest, OkWithTheValueAsShownKeepsItsDigits) {
  m_dlg.FixeValeur(9.80665);
  Ouvre();
  ASSERT_EQ(m_dlg.ValeurConstEdit->text(), QStringLiteral("9.807"));
  EXPECT_EQ(Valide(), QString());
  EXPECT_DOUBLE_EQ(m_dlg.valeur(), 9.80665);
}

TEST_F(ConstanteDlgTest, AValueThatIsNoNumberKeepsTheDialogOpenWithTheCommentStored) {
  m_dlg.FixeValeur(2);
  Ouvre();
  m_dlg.ValeurConstEdit->setText(QStringLiteral("abc"));
  m_dlg.EditComm->setText(QStringLiteral("essai 2"));
  EXPECT_EQ(Valide(), QStringLiteral("Nombre mal écrit"));
  EXPECT_TRUE(m_dlg.isVisible());
  EXPECT_EQ(m_dlg.focusWidget(), m_dlg.ValeurConstEdit);
  EXPECT_EQ(m_page.constanteComm, "essai 2");
  EXPECT_DOUBLE_EQ(m_dlg.valeur(), 2);
  // Put right, it closes.
  m_dlg.ValeurConstEdit->setText(QStringLiteral("3"));
  EXPECT_EQ(Valide(), QString());
  EXPECT_EQ(m_dlg.result(), QDialog::Accepted);
  EXPECT_DOUBLE_EQ(m_dlg.valeur(), 3);
}

TEST_F(ConstanteDlgTest, CancelKeepsThePageAndTheChoiceIsKeptFromOneOpeningToTheNext) {
  m_page.constanteComm = "avant";
  Ouvre();
  m_dlg.EditComm->setText(QStringLiteral("après"));
  m_dlg.NewPageCB->bouton(TConstanteDlg::NouvellePage)->click();
  test::Clique(&m_dlg, "CancelBtn");
  EXPECT_EQ(m_dlg.result(), QDialog::Rejected);
  EXPECT_EQ(m_page.constanteComm, "avant");
  Ouvre();
  EXPECT_TRUE(m_dlg.nouvellePage());
  m_dlg.FixeNouvellePage(false);
  EXPECT_TRUE(m_dlg.NewPageCB->bouton(TConstanteDlg::NouveauFichier)->isChecked());
}

}  // namespace
}  // namespace kvx::ui
