// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/session.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <sys/stat.h>

#include "dossier_utilisateur.h"
#include "exchange/reglages_cles.h"
#include "platform/event_pump.h"
#include "platform/instance_unique.h"
#include "platform/qsettings_store.h"
#include "platform/signaux_fermeture.h"
#include "ui/demarrage.h"
#include "ui/kvxmain.h"
#include "ui/menu_configuration.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

using test::UtilisateurTemporaire;

// What a configuration reads and writes, with a journal of the calls.
class ObjetsJournal : public exchange::ObjetsConfiguration {
 public:
  exchange::ValeursConfiguration v;
  std::vector<std::string> *journal = nullptr;
  exchange::ValeursConfiguration valeurs() const override { return v; }
  void appliqueValeurs(const exchange::ValeursConfiguration &lues) override {
    v = lues;
    Note("lit seuil " + std::to_string(lues.seuil));
  }
  void litVoie(int, const std::string &, const model::IniSections &) override {}
  void ecritVoie(int, const std::string &section, model::IniSections &doc) override {
    doc.writeBool(section, "Active", false);
  }
  void finLecture() override {}
  void Note(const std::string &ligne) const {
    if (journal) journal->push_back(ligne);
  }
};

// A settings store that notes when the settings reach the file. It names its
// file: Qt fixes the default settings folder once a process, at first use,
// and every test here has a home of its own.
class StoreJournal : public platform::QSettingsStore {
 public:
  StoreJournal(const QString &fichier, std::vector<std::string> &journal)
      : QSettingsStore(fichier), m_journal(journal) {}
  bool flush() override {
    m_journal.push_back("reglages");
    return QSettingsStore::flush();
  }

 private:
  std::vector<std::string> &m_journal;
};

class SessionTest : public testing::Test {
 protected:
  SessionTest() {
    test::Application();
    ReprendModaux();
  }

  std::unique_ptr<TSession> NouvelleSession() {
    auto session = std::make_unique<TSession>(
        std::make_unique<StoreJournal>(m_utilisateur.chemin(".config/KVX.conf"), m_journal),
        TSession::Chemins{platform::DossiersUtilisateur(), platform::DossiersBureauUtilisateur(),
                          QStringLiteral("/opt/KVX/kvx")});
    m_objets.journal = &m_journal;
    session->FixeObjets(&m_objets);
    return session;
  }
  QString Donnees() const { return m_utilisateur.chemin(QStringLiteral("Documents/Tabulyse/")); }

  UtilisateurTemporaire m_utilisateur;
  std::vector<std::string> m_journal;
  ObjetsJournal m_objets;
};

bool Attend(const std::function<bool()> &fini, int ms) {
  QElapsedTimer horloge;
  horloge.start();
  while (!fini()) {
    if (horloge.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

TEST_F(SessionTest, FirstRunStartsOnPortOneInTheDataFolderWithFoldersMade) {
  auto session = NouvelleSession();
  EXPECT_EQ(session->reglages().numeroPort, 1);
  EXPECT_EQ(QString::fromStdString(session->reglages().dossierConfig), Donnees());
  EXPECT_FALSE(session->reglages().trace);
  EXPECT_EQ(session->reglages().etatFenetre, 0);
  EXPECT_TRUE(QFileInfo(Donnees()).isDir());
  EXPECT_TRUE(QFileInfo(session->chemins().dossiers.application).isDir());
  EXPECT_TRUE(session->chemins().dossiers.application.startsWith(m_utilisateur.home()));
}

TEST_F(SessionTest, ClosingSavesSettingsAssociationAndKvxKvxOnce) {
  auto session = NouvelleSession();
  session->FixeReglagesCourants([](exchange::Reglages &r) {
    r.numeroPort = 4;
    r.cheminPort = "/dev/ttyUSB1";
    r.etatFenetre = 2;
  });
  session->Fermeture();
  session->Fermeture();  // a second close request does nothing more
  EXPECT_EQ(m_journal, std::vector<std::string>{"reglages"});
  const QByteArray reglages = UtilisateurTemporaire::Lit(m_utilisateur.chemin(".config/KVX.conf"));
  EXPECT_TRUE(reglages.contains("[COM]\nDevice=/dev/ttyUSB1\nNum=4\n")) << reglages.constData();
  EXPECT_TRUE(reglages.contains("[Window]\nState=2\n")) << reglages.constData();
  EXPECT_TRUE(
      UtilisateurTemporaire::Lit(m_utilisateur.chemin(".local/share/applications/kvx-construction.desktop"))
          .contains("Exec=\"/opt/KVX/kvx\" %f"));
  const QByteArray derniere = UtilisateurTemporaire::Lit(Donnees() + QStringLiteral("KVX.KVX"));
  EXPECT_TRUE(derniere.startsWith("[Constante]\r\n")) << derniere.constData();
  EXPECT_TRUE(derniere.endsWith("[V4]\r\nActive=0\r\n\r\n")) << derniere.constData();
}

TEST_F(SessionTest, DesktopAskingForTheDataGetsTheSavesAndTheProgramGoesOn) {
  auto session = NouvelleSession();
  m_objets.v.seuil = 33;
  session->Sauvegarde();  // before a logout that may still be cancelled
  EXPECT_FALSE(session->fermee());
  EXPECT_EQ(m_journal, std::vector<std::string>{"reglages"});
  EXPECT_TRUE(UtilisateurTemporaire::Lit(Donnees() + QStringLiteral("KVX.KVX")).contains("Seuil=33"));
  m_objets.v.seuil = 44;
  session->Fermeture();  // the logout went on: the whole closing sequence
  EXPECT_TRUE(session->fermee());
  EXPECT_TRUE(UtilisateurTemporaire::Lit(Donnees() + QStringLiteral("KVX.KVX")).contains("Seuil=44"));
}

TEST_F(SessionTest, AssociationRefusedStillSavesSettingsAndConfiguration) {
  UtilisateurTemporaire::Ecrit(m_utilisateur.chemin(".local/share/applications"), "a file");
  auto session = NouvelleSession();
  session->Fermeture();
  EXPECT_TRUE(QFileInfo::exists(m_utilisateur.chemin(".config/KVX.conf")));
  EXPECT_TRUE(QFileInfo::exists(Donnees() + QStringLiteral("KVX.KVX")));
}

TEST_F(SessionTest, MaximisedWindowComesBackMaximised) {
  {
    auto session = NouvelleSession();
    QWidget fenetre;
    fenetre.showMaximized();
    ASSERT_TRUE(Attend([&] { return fenetre.isMaximized(); }, 1000));
    session->FixeReglagesCourants(
        [&](exchange::Reglages &r) { r.etatFenetre = EtatFenetre(fenetre); });
    session->Fermeture();
  }
  auto session = NouvelleSession();
  EXPECT_EQ(session->reglages().etatFenetre, exchange::reglages::kEtatMaximise);
  QWidget fenetre;
  fenetre.show();
  AppliqueEtatFenetre(fenetre, session->reglages().etatFenetre);
  EXPECT_TRUE(fenetre.isMaximized());
}

TEST_F(SessionTest, HandedOverNameFollowsTheReceiversRuleAndWaitsWhileBusy) {
  UtilisateurTemporaire::Ecrit(Donnees() + QStringLiteral("essai.KVX"),
                               "[Synchro]\r\nSeuil=41\r\n");
  UtilisateurTemporaire::Ecrit(m_utilisateur.chemin("tp 1/chute.KVX"), "[Synchro]\r\nSeuil=42\r\n");
  auto session = NouvelleSession();
  bool occupe = true;
  session->FixeOccupe([&] { return occupe; });
  session->FixeAutourLecture([this] { m_journal.push_back("halte"); },
                             [this] { m_journal.push_back("applique"); });
  session->FixeAuPremierPlan([this] { m_journal.push_back("devant"); });
  session->RecoitDemande(QStringLiteral("essai.KVX"));
  session->RecoitDemande(m_utilisateur.chemin("tp 1/chute.txt"));
  session->RecoitDemande(QString());
  QTest::qWait(150);
  EXPECT_TRUE(m_journal.empty()) << "nothing runs while the window waits on the box";
  occupe = false;
  ASSERT_TRUE(Attend([&] { return m_journal.size() >= 9; }, 2000));
  const std::vector<std::string> attendu = {"devant",       "halte",    "lit seuil 41",
                                            "applique",     "devant",   "halte",
                                            "lit seuil 42", "applique", "devant"};
  EXPECT_EQ(m_journal, attendu);
}

TEST_F(SessionTest, RequestArrivingDuringABoxWaitRunsAfterTheWait) {
  UtilisateurTemporaire::Ecrit(Donnees() + QStringLiteral("essai.KVX"),
                               "[Synchro]\r\nSeuil=41\r\n");
  auto session = NouvelleSession();
  session->FixeOccupe(&platform::DansPompe);
  QTimer::singleShot(0, session.get(),
                     [&] { session->RecoitDemande(QStringLiteral("essai.KVX")); });
  QElapsedTimer attente;
  attente.start();
  while (attente.elapsed() < 50) platform::PompeEvenements();  // the link waiting on the box
  EXPECT_TRUE(m_journal.empty());
  ASSERT_TRUE(Attend([&] { return !m_journal.empty(); }, 2000));
  EXPECT_EQ(m_journal, std::vector<std::string>{"lit seuil 41"});
}

TEST_F(SessionTest, FileHandedOverJustBeforeTheCloseIsReadBeforeClosing) {
  UtilisateurTemporaire::Ecrit(Donnees() + QStringLiteral("essai.KVX"),
                               "[Synchro]\r\nSeuil=41\r\n");
  auto session = NouvelleSession();
  bool occupe = true;  // the window is searching the box when both arrive
  session->FixeOccupe([&] { return occupe; });
  session->RecoitDemande(QStringLiteral("essai.KVX"));
  session->DemandeFermeture([&] {
    m_journal.push_back("ferme");
    session->Fermeture();
  });
  QTest::qWait(150);
  EXPECT_TRUE(m_journal.empty());
  occupe = false;
  ASSERT_TRUE(Attend([&] { return session->fermee(); }, 2000));
  ASSERT_GE(m_journal.size(), 2u);
  EXPECT_EQ(m_journal[0], "lit seuil 41");
  EXPECT_EQ(m_journal[1], "ferme");
  EXPECT_TRUE(UtilisateurTemporaire::Lit(Donnees() + QStringLiteral("KVX.KVX")).contains("Seuil=41"));
}

TEST_F(SessionTest, OpenAndSaveCommandsUseTheDialogsFolderAndReportAFailedSave) {
  auto session = NouvelleSession();
  session->FixeAutourLecture([this] { m_journal.push_back("halte"); },
                             [this] { m_journal.push_back("applique"); });
  TKVXmainForm fenetre{TKVXmainForm::Options{}};
  QStringList dossiers, echecs;
  QString choix;
  DialoguesConfiguration dialogues;
  dialogues.ouvrir = [&](QWidget *, const QString &dossier) {
    dossiers << dossier;
    return choix;
  };
  dialogues.sauver = dialogues.ouvrir;
  dialogues.echec = [&](QWidget *, const QString &message) { echecs << message; };
  RelieMenusConfiguration(fenetre, *session, dialogues);
  ASSERT_TRUE(fenetre.OpenConfigItem->isEnabled());
  ASSERT_TRUE(fenetre.SaveConfigItem->isEnabled());

  fenetre.OpenConfigItem->trigger();  // cancelled: applied all the same
  EXPECT_EQ(m_journal, (std::vector<std::string>{"halte", "applique"}));

  choix = m_utilisateur.chemin("TP/chute");
  QDir().mkpath(m_utilisateur.chemin("TP"));
  m_objets.v.seuil = 77;
  fenetre.Timer->start(1000);
  fenetre.SaveConfigItem->trigger();
  EXPECT_TRUE(fenetre.Timer->isActive()) << "the timer comes back after the dialog";
  EXPECT_TRUE(
      UtilisateurTemporaire::Lit(m_utilisateur.chemin("TP/chute.KVX")).contains("Seuil=77"));

  m_journal.clear();
  fenetre.OpenConfigItem->trigger();
  EXPECT_EQ(m_journal, (std::vector<std::string>{"halte", "lit seuil 77", "applique"}));
  EXPECT_EQ(dossiers, (QStringList{Donnees(), Donnees(), m_utilisateur.chemin("TP/")}));

  choix = m_utilisateur.chemin("absent/chute");
  fenetre.SaveConfigItem->trigger();
  ASSERT_EQ(echecs.size(), 1);
  EXPECT_TRUE(
      echecs[0].startsWith(QStringLiteral("La configuration n'a pas pu être enregistrée.")));
}

TEST_F(SessionTest, FileThatIsNoConfigurationIsRefusedWithItsNameAndChangesNothing) {
  auto session = NouvelleSession();
  QStringList messages;
  session->FixeAvertissement([&](const QString &texte) { messages << texte; });
  // A text and a picture saved under the name of a configuration.
  const QString texte = m_utilisateur.chemin("TP/notes.KVX");
  UtilisateurTemporaire::Ecrit(texte, "Mesures du mardi\nT = 20 s\n");
  const QString image = m_utilisateur.chemin("TP/photo.KVX");
  UtilisateurTemporaire::Ecrit(image, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR[x]", 21));
  const QString tube = m_utilisateur.chemin("TP/tube.KVX");
  ASSERT_EQ(::mkfifo(QFile::encodeName(tube).constData(), 0600), 0);
  const QString bon = m_utilisateur.chemin("TP/bon.KVX");
  UtilisateurTemporaire::Ecrit(bon, "[Synchro]\r\nSeuil=33\r\n");
  struct Cas {
    QString fichier;
    QString message;
  };
  for (const Cas &c :
       {Cas{texte, QStringLiteral("\"%1\" n'est pas une configuration KVX : rien n'a été changé.")
                       .arg(texte)},
        Cas{image, QStringLiteral("\"%1\" n'est pas une configuration KVX : rien n'a été changé.")
                       .arg(image)},
        Cas{tube, QStringLiteral("\"%1\" n'est pas un fichier ordinaire : il n'a pas été lu.")
                      .arg(tube)},
        Cas{bon, QString()}}) {
    SCOPED_TRACE(c.fichier.toStdString());
    messages.clear();
    m_journal.clear();
    session->OuvreConfiguration([&] { return c.fichier; });
    EXPECT_EQ(messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
    EXPECT_EQ(m_journal.empty(), !c.message.isEmpty()) << "read only when it is a configuration";
  }
}

TEST_F(SessionTest, SigtermWithADialogOpenClosesThroughTheClosingSequence) {
  auto session = NouvelleSession();
  TKVXmainForm fenetre{TKVXmainForm::Options{}};
  platform::SignauxFermeture signaux;
  RelieSession(fenetre, *session, nullptr, &signaux);
  fenetre.show();
  QTimer::singleShot(50, [] { ::raise(SIGTERM); });
  QDialog dialogue(&fenetre);
  EXPECT_EQ(dialogue.exec(), QDialog::Rejected);
  ASSERT_TRUE(Attend([&] { return session->fermee(); }, 2000));
  EXPECT_FALSE(fenetre.isVisible());
  EXPECT_TRUE(QFileInfo::exists(Donnees() + QStringLiteral("KVX.KVX")));
}

// The real program as the second start: it hands its words over to this
// process, which plays the running instance, and ends. (Two real programs:
// programme_test.cpp.)
class DeuxProcessus : public SessionTest {
 protected:
  void SetUp() override {
    m_session = NouvelleSession();
    m_serveur = std::make_unique<platform::ServeurInstance>();
    ASSERT_TRUE(m_serveur->ecoute(platform::CheminSocketInstance()));
    QObject::connect(m_serveur.get(), &platform::ServeurInstance::demandeRecue, m_session.get(),
                     [this](const QString &texte) { m_session->RecoitDemande(texte); });
  }
  int Lance(const QStringList &arguments, const QString &dossier) {
    QProcess kvx;
    kvx.setWorkingDirectory(dossier);
    kvx.start(QStringLiteral(KVX_BIN_DIR "/kvx"), arguments);
    if (!kvx.waitForStarted(5000)) return -1;
    if (!Attend([&] { return kvx.state() == QProcess::NotRunning; }, 10000)) return -2;
    return kvx.exitCode();
  }

  std::unique_ptr<TSession> m_session;
  std::unique_ptr<platform::ServeurInstance> m_serveur;
};

TEST_F(DeuxProcessus, RelativePathIsTheOneBesideTheSecondStart) {
  UtilisateurTemporaire::Ecrit(m_utilisateur.chemin("ailleurs/tp/essai.KVX"),
                               "[Synchro]\r\nSeuil=9\r\n");
  EXPECT_EQ(Lance({QStringLiteral("tp/essai.KVX")}, m_utilisateur.chemin("ailleurs")), 0);
  ASSERT_TRUE(Attend([&] { return !m_journal.empty(); }, 2000));
  EXPECT_EQ(m_journal, std::vector<std::string>{"lit seuil 9"});
}

TEST_F(DeuxProcessus, NoArgumentsOnlyBringsTheInstanceToTheFront) {
  int devant = 0;
  m_session->FixeAuPremierPlan([&] { ++devant; });
  EXPECT_EQ(Lance({}, QStringLiteral("/")), 0);
  ASSERT_TRUE(Attend([&] { return devant == 1; }, 2000));
  EXPECT_TRUE(m_journal.empty());
}

}  // namespace
}  // namespace kvx::ui
