// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/capteurs_dlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <memory>
#include <stdexcept>

#include "exchange/atomic_file.h"
#include "model/capteur.h"
#include "model/liste_capteurs.h"
#include "outils_dialogue.h"
#include "ui/dialogue_modal.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

model::TCapteur Capteur(const char *nom, const char *signif, std::uint8_t numero = 0) {
  model::TCapteur c;
  c.Nom = nom;
  c.Signif = signif;
  c.Numero = numero;
  return c;
}

class ChoixCapteursTest : public testing::Test, test::AvecApplication {
 protected:
  void Ouvre() {
    m_dlg.FormActivate();
    m_dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
  }
  QStringList Lignes() const {
    QStringList l;
    for (int i = 0; i < m_dlg.ListeCapteursBox->count(); ++i)
      l << m_dlg.ListeCapteursBox->item(i)->text();
    return l;
  }
  // Answers the next question or message with `oui` and returns its text.
  QString Repond(bool oui, const std::function<void()> &action) {
    QString texte;
    test::QuandOuvert<QMessageBox>(&m_dlg, [&texte, oui](QMessageBox *m) {
      texte = m->text();
      QAbstractButton *b = m->button(oui ? QMessageBox::Yes : QMessageBox::No);
      if (b == nullptr) b = m->button(QMessageBox::Ok);
      b->click();
    });
    action();
    return texte;
  }

  model::TlisteCapteur m_liste;
  int m_sauvegardes = 0;
  bool m_echec = false;
  TChoixCapteursDlg m_dlg{m_liste, [this] {
                            if (m_echec) throw exchange::FileError("Permission non accordée");
                            ++m_sauvegardes;
                          }};
};

TEST_F(ChoixCapteursTest, ListsEverySensorWithItsSymbolOnSixCharacters) {
  m_liste.Ajoute(Capteur("T", "température"));
  m_liste.Ajoute(Capteur("Pression12A", "pression absolue"));
  Ouvre();
  EXPECT_EQ(Lignes(), (QStringList{QStringLiteral("T     : température"),
                                   QStringLiteral("Pressi: pression absolue")}));
  EXPECT_EQ(m_dlg.ListeCapteursBox->currentRow(), 0);
  EXPECT_TRUE(m_dlg.DelBtn->isVisible());
  EXPECT_FALSE(m_dlg.modifie());
}

TEST_F(ChoixCapteursTest, AddingCopiesTheSelectedSensorOnInputZero) {
  for (const char *n : {"A", "B", "C"}) m_liste.Ajoute(Capteur(n, "capteur", 5));
  m_liste.Capteur(2).Pente = 42;
  Ouvre();
  m_dlg.ListeCapteursBox->setCurrentRow(2);
  test::QuandOuvert<TCapteurCfgDlg>(&m_dlg, [](TCapteurCfgDlg *cfg) {
    EXPECT_EQ(cfg->NumeroCB->currentIndex(), 0);
    cfg->EditNom->setText(QStringLiteral("D"));
    test::Clique(cfg, "OKBtn");
  });
  test::Clique(&m_dlg, "AddBtn");
  ASSERT_EQ(m_liste.Nombre(), 4u);
  EXPECT_EQ(m_liste.Capteur(3).Nom, "D");
  EXPECT_EQ(m_liste.Capteur(3).Numero, 0);
  EXPECT_EQ(m_liste.Capteur(3).Pente, 42);
  EXPECT_EQ(m_liste.Capteur(2).Nom, "C");
  EXPECT_TRUE(m_dlg.modifie());
}

TEST_F(ChoixCapteursTest, AddingCancelledAddsNothing) {
  m_liste.Ajoute(Capteur("A", "a"));
  Ouvre();
  test::QuandOuvert<TCapteurCfgDlg>(&m_dlg,
                                    [](TCapteurCfgDlg *cfg) { test::Clique(cfg, "CancelBtn"); });
  test::Clique(&m_dlg, "AddBtn");
  EXPECT_EQ(m_liste.Nombre(), 1u);
  EXPECT_FALSE(m_dlg.modifie());
}

TEST_F(ChoixCapteursTest, DeletingAsksAndTheLastSensorCannotGo) {
  m_liste.Ajoute(Capteur("A", "a"));
  m_liste.Ajoute(Capteur("B", "b"));
  Ouvre();
  m_dlg.ListeCapteursBox->setCurrentRow(1);
  EXPECT_EQ(Repond(false, [&] { test::Clique(&m_dlg, "DelBtn"); }),
            QStringLiteral("Suppression de B"));
  EXPECT_EQ(m_liste.Nombre(), 2u);
  m_dlg.ListeCapteursBox->setCurrentRow(1);
  Repond(true, [&] { test::Clique(&m_dlg, "DelBtn"); });
  ASSERT_EQ(m_liste.Nombre(), 1u);
  EXPECT_EQ(m_liste.Capteur(0).Nom, "A");
  EXPECT_FALSE(m_dlg.DelBtn->isVisible());
}

TEST_F(ChoixCapteursTest, QuittingAsksToSaveWhatChanged) {
  const struct {
    bool modifier, oui;
    int sauvegardes;
  } rows[] = {{false, true, 0}, {true, false, 0}, {true, true, 1}};
  for (const auto &r : rows) {
    m_liste.Efface();
    m_liste.Ajoute(Capteur("A", "a"));
    m_liste.Ajoute(Capteur("B", "b"));
    m_sauvegardes = 0;
    Ouvre();
    if (r.modifier) Repond(true, [&] { test::Clique(&m_dlg, "DelBtn"); });
    // Nothing changed, nothing asked.
    if (r.modifier)
      EXPECT_EQ(Repond(r.oui, [&] { test::Clique(&m_dlg, "ExitBtn"); }),
                QStringLiteral("Sauvegarde des modifications"));
    else
      test::Clique(&m_dlg, "ExitBtn");
    EXPECT_EQ(m_sauvegardes, r.sauvegardes);
    EXPECT_FALSE(m_dlg.isVisible());
  }
}

TEST_F(ChoixCapteursTest, ASaveThatFailsSaysWhyAndKeepsTheChangesToSave) {
  m_liste.Ajoute(Capteur("A", "a"));
  m_liste.Ajoute(Capteur("B", "b"));
  Ouvre();
  Repond(true, [&] { test::Clique(&m_dlg, "DelBtn"); });
  m_echec = true;
  const QString message = Repond(true, [&] { test::Clique(&m_dlg, "EnregistreBtn"); });
  EXPECT_TRUE(message.contains(QStringLiteral("n'a pas pu être enregistrée")));
  EXPECT_TRUE(message.contains(QStringLiteral("Permission non accordée")));
  EXPECT_TRUE(m_dlg.modifie());
  // Quitting then asks again; the failed save keeps the dialog open.
  QStringList textes;
  for (int i = 0; i < 2; ++i)
    test::QuandOuvert<QMessageBox>(&m_dlg, [&textes](QMessageBox *m) {
      textes << m->text();
      QAbstractButton *b = m->button(QMessageBox::Yes);
      (b != nullptr ? b : m->button(QMessageBox::Ok))->click();
    });
  test::Clique(&m_dlg, "ExitBtn");
  ASSERT_TRUE(test::AttendQue([&] { return textes.size() == 2; }));
  EXPECT_TRUE(m_dlg.isVisible());
  m_echec = false;
  Repond(true, [&] { test::Clique(&m_dlg, "ExitBtn"); });
  EXPECT_EQ(m_sauvegardes, 1);
  EXPECT_FALSE(m_dlg.isVisible());
}

// A library file that could not be read at start holds the user's sensors:
// the list is marked as the default one, and a save over that file happens
// only on an explicit yes, which then lifts the guard.
TEST_F(ChoixCapteursTest, AFileThatCouldNotBeReadIsReplacedOnlyOnAYes) {
  QTemporaryDir dossier;
  const QString fichier = dossier.filePath(QStringLiteral("kvx.CPT"));
  QFile f(fichier);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  auto illisible = std::make_shared<QString>(fichier);
  m_dlg.FixeFichierIllisible(illisible);
  m_liste.Ajoute(model::TCapteur());
  Ouvre();
  EXPECT_TRUE(m_dlg.DefautLabel->isVisible());
  EXPECT_TRUE(m_dlg.DefautLabel->text().contains(fichier));
  const QString question = Repond(false, [&] { test::Clique(&m_dlg, "EnregistreBtn"); });
  EXPECT_TRUE(question.contains(fichier)) << question.toStdString();
  EXPECT_EQ(m_sauvegardes, 0);
  Repond(true, [&] { test::Clique(&m_dlg, "EnregistreBtn"); });
  EXPECT_EQ(m_sauvegardes, 1);
  EXPECT_TRUE(illisible->isEmpty());
  EXPECT_FALSE(m_dlg.DefautLabel->isVisible());
}

// The program closing under the dialog (a signal, the session's end) saves
// the edits as the default answer to "Sauvegarde des modifications" would;
// the same close with the unreadable file's guard up saves nothing.
TEST_F(ChoixCapteursTest, ACloseUnderTheDialogSavesTheEditsUnlessTheFileIsGuarded) {
  for (const bool garde : {false, true}) {
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("kvx.CPT"));
    QFile f(fichier);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    model::TlisteCapteur liste;
    liste.Ajoute(Capteur("A", "a"));
    liste.Ajoute(Capteur("B", "b"));
    int sauvegardes = 0;
    TChoixCapteursDlg dlg(liste, [&sauvegardes] { ++sauvegardes; });
    if (garde) dlg.FixeFichierIllisible(std::make_shared<QString>(fichier));
    // Delete B as the user does, then the close comes.
    test::QuandOuvert<TChoixCapteursDlg>(&dlg, [&dlg](TChoixCapteursDlg *) {
      test::QuandOuvert<QMessageBox>(&dlg,
                                     [](QMessageBox *m) { m->button(QMessageBox::Yes)->click(); });
      dlg.ListeCapteursBox->setCurrentRow(1);
      test::Clique(&dlg, "DelBtn");
      TermineModaux();
    });
    dlg.Execute();
    ReprendModaux();
    EXPECT_EQ(liste.Nombre(), 1u);
    EXPECT_EQ(sauvegardes, garde ? 0 : 1) << garde;
  }
}

// ---- One sensor's dialog ----------------------------------------------------

class CapteurCfgTest : public testing::Test, test::AvecApplication {
 protected:
  CapteurCfgTest() {
    m_capteur.Nom = "p";
    m_capteur.Unite = "hPa";
    m_capteur.Signif = "pression";
    m_capteur.Aide = "Brancher sur EA1";
    m_capteur.Valeur0V = 0;
    m_capteur.Pente = 250;
    m_capteur.Numero = 1;
    m_capteur.Masse = true;
  }
  void Ouvre() {
    m_dlg.FormActivate();
    m_dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
  }
  model::TCapteur m_capteur;
  TCapteurCfgDlg m_dlg;
};

TEST_F(CapteurCfgTest, ShowsTheSensorAndStoresEveryFieldOnOK) {
  test::QuandOuvert<TCapteurCfgDlg>(&m_dlg, [](TCapteurCfgDlg *d) {
    EXPECT_EQ(d->EditNom->text(), QStringLiteral("p"));
    EXPECT_EQ(d->PenteLabel->text(), QStringLiteral("Δp/ΔV (hPa/V)"));
    EXPECT_EQ(d->NumeroCB->currentText(), QStringLiteral("EA1"));
    EXPECT_TRUE(d->RefCB->isChecked());
    d->EditUnite->setText(QStringLiteral("kPa"));
    EXPECT_EQ(d->PenteLabel->text(), QStringLiteral("Δp/ΔV (kPa/V)"));
    d->PenteEdit->setText(QStringLiteral("1/0.05"));
    d->val0Edit->setText(QStringLiteral("2*PI"));
    d->NumeroCB->setCurrentIndex(7);
    d->AmpliCB->setChecked(true);
    d->RefCB->setChecked(false);
    test::Clique(d, "OKBtn");
  });
  EXPECT_EQ(m_dlg.Edite(m_capteur), QDialog::Accepted);
  EXPECT_EQ(m_capteur.Unite, "kPa");
  EXPECT_DOUBLE_EQ(m_capteur.Pente, 20);
  EXPECT_NEAR(m_capteur.Valeur0V, 6.283185307, 1e-9);
  EXPECT_EQ(m_capteur.Numero, 7);
  EXPECT_TRUE(m_capteur.Ampli);
  EXPECT_FALSE(m_capteur.Masse);
}

TEST_F(CapteurCfgTest, ANumberThatDoesNotReadKeepsTheDialogOpenAndChangesNothing) {
  const struct {
    const char *val0, *pente, *message, *champ;
  } rows[] = {{"1", "1/0", "Division par zéro", "PenteEdit"},
              {"1+", "3", "Erreur (", "val0Edit"},
              {"", "3", "Aucune valeur", "val0Edit"}};
  for (const auto &r : rows) {
    const model::TCapteur avant = m_capteur;
    QString message;
    test::QuandOuvert<TCapteurCfgDlg>(&m_dlg, [&](TCapteurCfgDlg *d) {
      d->Pages->setCurrentIndex(1);
      d->EditAide->setText(QStringLiteral("autre aide"));
      d->EditSignif->setText(QStringLiteral("autre"));
      d->val0Edit->setText(QString::fromUtf8(r.val0));
      d->PenteEdit->setText(QString::fromUtf8(r.pente));
      test::QuandOuvert<QMessageBox>(d, [&message](QMessageBox *m) {
        message = m->text();
        m->accept();
      });
      test::Clique(d, "OKBtn");
      EXPECT_TRUE(d->isVisible());
      EXPECT_EQ(d->Pages->currentIndex(), 0);
      EXPECT_EQ(d->focusWidget()->objectName(), QString::fromLatin1(r.champ));
      test::Clique(d, "CancelBtn");
    });
    EXPECT_EQ(m_dlg.Edite(m_capteur), QDialog::Rejected);
    EXPECT_EQ(message, QString::fromUtf8(r.message));
    EXPECT_EQ(m_capteur, avant);
  }
}

}  // namespace
}  // namespace kvx::ui
