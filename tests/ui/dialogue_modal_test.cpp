// SPDX-License-Identifier: GPL-3.0-or-later
// A close request (SIGTERM here, as the desktop sends it) while a modal
// window is open: the window is dismissed, nothing starts on the box, and
// the closing sequence leaves complete settings and "KVX.KVX" behind.
#include "ui/dialogue_modal.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <csignal>

#include "device/box_link.h"
#include "device/simulated_box.h"
#include "device/simulated_port.h"
#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "dossier_utilisateur.h"
#include "platform/qsettings_store.h"
#include "platform/signaux_fermeture.h"
#include "platform/traduction_qt.h"
#include "ui/configuration_fenetre.h"
#include "ui/demarrage.h"
#include "ui/kvxmain.h"
#include "ui/menu_configuration.h"
#include "ui/session.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

using test::UtilisateurTemporaire;

template <typename T>
T *Modal() {
  return qobject_cast<T *>(QApplication::activeModalWidget());
}

// Runs `action` from the event loop once a modal window of type T is open:
// the test's own code is stuck behind that window's loop until it returns.
template <typename T>
void QuandOuvert(QObject *contexte, std::function<void(T *)> action) {
  auto *sonde = new QTimer(contexte);
  sonde->setInterval(10);
  QObject::connect(sonde, &QTimer::timeout, contexte, [sonde, action] {
    T *modal = Modal<T>();
    if (modal == nullptr) return;
    sonde->stop();
    sonde->deleteLater();
    action(modal);
  });
  sonde->start();
}

class FermetureModaleTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    m_table.addPeer(m_boitier);
    TKVXmainForm::Options o;
    o.ports = &m_table;
    o.lien.traceFiles = false;
    m_form = std::make_unique<TKVXmainForm>(o);
    m_session = std::make_unique<TSession>(
        std::make_unique<platform::QSettingsStore>(m_utilisateur.chemin(".config/KVX.conf")),
        TSession::Chemins{platform::DossiersUtilisateur(), platform::DossiersBureauUtilisateur(),
                          QStringLiteral("/usr/bin/kvx")});
    m_configuration = std::make_unique<TConfigurationFenetre>(*m_form, Maintenant());
    m_session->FixeObjets(m_configuration.get());
    RelieSession(*m_form, *m_session, nullptr, &m_signaux);
    RelieMenusConfiguration(*m_form, *m_session);
    m_form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    QTRY_VERIFY_WITH_TIMEOUT(m_form->lien().BoxPresent() && m_form->EnregistreBtn->isEnabled(),
                             3000);
  }
  void TearDown() override {
    // A window left open by a failed test must not hold the next one.
    TermineModaux();
  }
  QString Fichier(const char *nom, const QByteArray &octets) {
    const QString chemin = m_utilisateur.chemin(QStringLiteral("tp/") + QLatin1String(nom));
    UtilisateurTemporaire::Ecrit(chemin, octets);
    return chemin;
  }
  // SIGTERM, as the desktop sends it when the session ends.
  void Termine() {
    m_depuisSignal.start();
    ::raise(SIGTERM);
  }
  // The whole closing sequence within two seconds of the signal.
  void VerifieFermeture() {
    // QTRY_* reports nothing to gtest outside a QTest run: wait by hand.
    QElapsedTimer attente;
    attente.start();
    while (!m_session->fermee() && attente.elapsed() < 8000) QTest::qWait(5);
    ASSERT_TRUE(m_session->fermee());
    EXPECT_LT(m_depuisSignal.elapsed(), 2000);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(ModauxOuverts(), 0);
    const QByteArray reglages =
        UtilisateurTemporaire::Lit(m_utilisateur.chemin(".config/KVX.conf"));
    EXPECT_TRUE(reglages.contains("[Window]\n")) << reglages.constData();
    const QByteArray derniere =
        UtilisateurTemporaire::Lit(m_utilisateur.chemin("Documents/Tabulyse/KVX.KVX"));
    EXPECT_TRUE(derniere.startsWith("[Constante]\r\n")) << derniere.constData();
    EXPECT_TRUE(derniere.contains("\r\n[V4]\r\n")) << derniere.constData();
  }
  std::string Envoye() { return m_form->lien().trace().traceText(); }
  QElapsedTimer m_depuisSignal;

  UtilisateurTemporaire m_utilisateur;
  device::SimulatedBox m_boitier{std::chrono::steady_clock::now()};
  device::SimulatedPortTable m_table{device::SteadyClock::instance()};
  platform::SignauxFermeture m_signaux;
  std::unique_ptr<TKVXmainForm> m_form;
  std::unique_ptr<TSession> m_session;
  std::unique_ptr<TConfigurationFenetre> m_configuration;
};

TEST_F(FermetureModaleTest, QuestionOfAHandedOverFileTakesItsDefaultAnswer) {
  // No [V1]: the scan needs its abscissa, and the program asks to activate it.
  QString question;
  QuandOuvert<QMessageBox>(m_form.get(), [&](QMessageBox *m) {
    question = m->text();
    Termine();
  });
  m_session->RecoitDemande(Fichier("chute.KVX", "[Synchro]\r\nSeuil=77\r\nVoie=6\r\n"));
  VerifieFermeture();
  EXPECT_EQ(question, QStringLiteral("Activer la voie : V1"));
  const QByteArray derniere =
      UtilisateurTemporaire::Lit(m_utilisateur.chemin("Documents/Tabulyse/KVX.KVX"));
  EXPECT_TRUE(derniere.contains("Seuil=77\r\n")) << derniere.constData();
}

TEST_F(FermetureModaleTest, FilesQueuedBehindAQuestionAreReadWithoutQuestionsAtTheClose) {
  // Ten double-clicks while the first file's question waits for an answer.
  QuandOuvert<QMessageBox>(m_form.get(), [&](QMessageBox *) {
    for (int i = 1; i <= 10; ++i)
      m_session->RecoitDemande(Fichier(qPrintable(QStringLiteral("f%1.KVX").arg(i)),
                                       QByteArray("[Synchro]\r\nSeuil=") +
                                           QByteArray::number(100 + i) + "\r\n"));
    Termine();
  });
  m_session->RecoitDemande(Fichier("premier.KVX", "[Synchro]\r\nSeuil=77\r\n"));
  VerifieFermeture();
  const QByteArray derniere =
      UtilisateurTemporaire::Lit(m_utilisateur.chemin("Documents/Tabulyse/KVX.KVX"));
  EXPECT_TRUE(derniere.contains("Seuil=110\r\n")) << "the last one handed over wins";
}

TEST_F(FermetureModaleTest, MessageBeforeARepeatedScanStartsNothing) {
  // A free-running scan of 30 s cannot repeat: the message, then a start
  // that a close must not let through.
  QString message;
  std::size_t avant = 0;
  QuandOuvert<QMessageBox>(m_form.get(), [&](QMessageBox *m) {
    message = m->text();
    avant = Envoye().size();
    Termine();
  });
  m_session->RecoitDemande(Fichier("long.KVX",
                                   "[V1]\r\nActive=1\r\n[Balayage]\r\nDur\xc3\xa9"
                                   "e=30000\r\n[Synchro]\r\nMode=1\r\nMonocoup=0\r\n"));
  VerifieFermeture();
  EXPECT_EQ(message, QStringLiteral("Monocoup obligatoire"));
  const std::string apres = Envoye().substr(avant);
  EXPECT_EQ(apres.find("XEAP"), std::string::npos) << apres;
  EXPECT_EQ(apres.find("XSEAP"), std::string::npos) << apres;
}

TEST_F(FermetureModaleTest, CloseWhileAThresholdIsWatchedEndsTheWatchFirst) {
  device::SignalSpec calme;
  calme.offset = 50;  // never reaches the threshold
  m_boitier.setSignal(0, calme);
  display::TgrapheKVX &g = m_form->graphe();
  m_form->moteur().HaltAcquisition();
  g.ModeSynchro = display::kSynchroSeuil;
  g.Seuil = 128;
  g.VoieSynchro = 5;
  m_form->moteur().ApplyConfiguration();
  ASSERT_TRUE(m_form->moteur().triggerWaitArmed());
  Termine();
  VerifieFermeture();
  EXPECT_FALSE(m_form->moteur().triggerWaitArmed());
  EXPECT_NE(Envoye().find("XPEA0 0,1"), std::string::npos);
}

TEST_F(FermetureModaleTest, OpenFileDialogIsCancelled) {
  QuandOuvert<QFileDialog>(m_form.get(), [&](QFileDialog *) { Termine(); });
  QTimer::singleShot(0, m_form->OpenConfigItem, &QAction::trigger);
  VerifieFermeture();
}

TEST(TermineModaux, EndsAWindowThatAnotherOpenedItselfByItsSafeChoice) {
  test::AvecApplication app;
  QDialog dialogue;
  int reponse = -1;
  // As a file dialog asks before replacing a file, outside our runner.
  QTimer::singleShot(0, &dialogue, [&] {
    reponse = QMessageBox::warning(&dialogue, QStringLiteral("KVX"), QStringLiteral("Remplacer ?"),
                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  });
  QuandOuvert<QMessageBox>(&dialogue, [](QMessageBox *) { TermineModaux(); });
  EXPECT_EQ(ExecuteModal(dialogue, QDialog::Rejected), QDialog::Rejected);
  EXPECT_EQ(reponse, QMessageBox::No);
  EXPECT_EQ(ModauxOuverts(), 0);
  ReprendModaux();
}

TEST(ModauxApresFermeture, AreAnsweredByTheirDefaultWithoutBeingShown) {
  test::AvecApplication app;
  TermineModaux();
  QElapsedTimer horloge;
  horloge.start();
  EXPECT_TRUE(PoseQuestion(nullptr, QStringLiteral("KVX"), QStringLiteral("?"), true));
  EXPECT_FALSE(PoseQuestion(nullptr, QStringLiteral("KVX"), QStringLiteral("?"), false));
  MontreMessage(nullptr, QMessageBox::Critical, QStringLiteral("KVX"), QStringLiteral("!"));
  QFileDialog dialogue;
  EXPECT_EQ(ExecuteModal(dialogue, QDialog::Rejected), QDialog::Rejected);
  EXPECT_LT(horloge.elapsed(), 1000);
  ReprendModaux();
}

TEST(TraductionQt, QuestionButtonsReadInFrench) {
  test::AvecApplication app;
  ASSERT_TRUE(platform::ChargeTraductionQt(test::Application()));
  QMessageBox boite(QMessageBox::Question, QStringLiteral("KVX"),
                    QStringLiteral("Activer la voie : V1"), QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(boite.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Oui"));
  EXPECT_EQ(boite.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Non"));
  QFileDialog dialogue(nullptr);
  dialogue.setOption(QFileDialog::DontUseNativeDialog);
  dialogue.setAcceptMode(QFileDialog::AcceptSave);
  const auto boutons = dialogue.findChildren<QPushButton *>();
  QStringList textes;
  for (const QPushButton *b : boutons) textes << b->text().remove(QLatin1Char('&'));
  EXPECT_TRUE(textes.contains(QStringLiteral("Annuler"))) << textes.join(QLatin1Char('|')).toStdString();
}

}  // namespace
}  // namespace kvx::ui
