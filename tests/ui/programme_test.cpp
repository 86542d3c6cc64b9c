// SPDX-License-Identifier: GPL-3.0-or-later
// The real program in two processes, as a user's desktop runs it: a second
// start hands its file to the running instance, and SIGTERM (the session
// ending) still leaves the settings and the last configuration complete.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include "dossier_utilisateur.h"

namespace kvx::ui {
namespace {

using test::UtilisateurTemporaire;

const QString kProgramme = QStringLiteral(KVX_BIN_DIR "/kvx");

class Programme : public testing::Test {
 protected:
  void SetUp() override {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_premier.setProcessEnvironment(env);
    m_premier.setWorkingDirectory(m_utilisateur.home());
    m_premier.setProcessChannelMode(QProcess::MergedChannels);
  }
  void TearDown() override {
    if (m_premier.state() != QProcess::NotRunning) {
      m_premier.kill();
      m_premier.waitForFinished(2000);
    }
  }
  bool DemarrePremier() {
    m_premier.start(kProgramme, {QStringLiteral("--simulate")});
    if (!m_premier.waitForStarted(5000)) return false;
    const QString socket = m_utilisateur.chemin("run/KVX.instance");
    QElapsedTimer horloge;
    horloge.start();
    while (!QFileInfo::exists(socket) && horloge.elapsed() < 10000) QThread::msleep(20);
    return QFileInfo::exists(socket);
  }
  int Second(const QStringList &arguments, const QString &dossier) {
    QProcess second;
    second.setWorkingDirectory(dossier);
    second.start(kProgramme, arguments);
    if (!second.waitForFinished(10000)) return -1;
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -2;
  }
  // SIGTERM, as the desktop sends it when the session ends.
  bool TermineEtAttend() {
    ::kill(static_cast<pid_t>(m_premier.processId()), SIGTERM);
    return m_premier.waitForFinished(15000) && m_premier.exitStatus() == QProcess::NormalExit;
  }
  QByteArray Derniere() const {
    return UtilisateurTemporaire::Lit(m_utilisateur.chemin("Documents/Tabulyse/KVX.KVX"));
  }

  UtilisateurTemporaire m_utilisateur;
  QProcess m_premier;
};

TEST_F(Programme, SigtermLeavesCompleteSettingsAndLastConfiguration) {
  UtilisateurTemporaire::Ecrit(m_utilisateur.chemin(".config/KVX.conf"),
                               "[Window]\nState=2\n[COM]\nNum=abc\n");
  ASSERT_TRUE(DemarrePremier()) << m_premier.readAll().constData();
  ASSERT_TRUE(TermineEtAttend()) << m_premier.readAll().constData();
  EXPECT_EQ(m_premier.exitCode(), 0);
  const QByteArray reglages = UtilisateurTemporaire::Lit(m_utilisateur.chemin(".config/KVX.conf"));
  for (const char *ligne :
       {"[COM]\n", "Num=1\n", "[Config]\n", "Trace=0\n", "[Window]\n", "State=2\n"})
    EXPECT_TRUE(reglages.contains(ligne)) << ligne << " in\n" << reglages.constData();
  EXPECT_TRUE(
      reglages.contains(("Path=" + m_utilisateur.chemin("Documents/Tabulyse/")).toUtf8() + "\n"))
      << reglages.constData();
  const QByteArray derniere = Derniere();
  EXPECT_TRUE(derniere.startsWith("[Constante]\r\n")) << derniere.constData();
  EXPECT_TRUE(derniere.contains("\r\n[V4]\r\n")) << derniere.constData();
  EXPECT_TRUE(derniere.endsWith("\r\n\r\n")) << derniere.constData();
  EXPECT_TRUE(
      UtilisateurTemporaire::Lit(m_utilisateur.chemin(".local/share/applications/kvx-construction.desktop"))
          .contains(("Exec=\"" + kProgramme + "\" %f\n").toUtf8()));
  EXPECT_FALSE(QFileInfo::exists(m_utilisateur.chemin("run/KVX.instance")));
}

TEST_F(Programme, SecondStartHandsAPathWithABlankToTheRunningInstance) {
  UtilisateurTemporaire::Ecrit(m_utilisateur.chemin("tp 1/chute.KVX"),
                               "[Synchro]\r\nSeuil=77\r\nVoie=6\r\n");
  ASSERT_TRUE(DemarrePremier());
  const QString chemin = m_utilisateur.chemin("tp 1/chute.KVX");
  const int blanc = chemin.lastIndexOf(QLatin1Char(' '));
  EXPECT_EQ(Second({chemin.left(blanc), chemin.mid(blanc + 1)}, QStringLiteral("/")), 0);
  ASSERT_TRUE(TermineEtAttend()) << m_premier.exitStatus() << " " << m_premier.exitCode() << " "
                                 << m_premier.readAll().constData();
  const QByteArray derniere = Derniere();
  EXPECT_TRUE(derniere.contains("Seuil=77\r\n")) << derniere.constData();
  EXPECT_TRUE(derniere.contains("Voie=6\r\n")) << derniere.constData();
}

TEST_F(Programme, SecondStartWithABareNameOpensItFromTheDataFolder) {
  UtilisateurTemporaire::Ecrit(m_utilisateur.chemin("Documents/Tabulyse/essai.KVX"),
                               "[Synchro]\r\nSeuil=55\r\n");
  UtilisateurTemporaire::Ecrit(m_utilisateur.chemin("ailleurs/essai.KVX"),
                               "[Synchro]\r\nSeuil=9\r\n");
  ASSERT_TRUE(DemarrePremier());
  EXPECT_EQ(Second({QStringLiteral("essai")}, m_utilisateur.chemin("ailleurs")), 0);
  ASSERT_TRUE(TermineEtAttend()) << m_premier.exitStatus() << " " << m_premier.exitCode() << " "
                                 << m_premier.readAll().constData();
  EXPECT_TRUE(Derniere().contains("Seuil=55\r\n")) << Derniere().constData();
}

TEST_F(Programme, FirstStartOpensTheFileOfItsCommandLine) {
  UtilisateurTemporaire::Ecrit(m_utilisateur.chemin("tp/chute.kvx"), "[Synchro]\r\nSeuil=66\r\n");
  m_premier.start(kProgramme, {QStringLiteral("--simulate"), m_utilisateur.chemin("tp/chute.kvx")});
  ASSERT_TRUE(m_premier.waitForStarted(5000));
  QElapsedTimer horloge;
  horloge.start();
  while (!QFileInfo::exists(m_utilisateur.chemin("run/KVX.instance")) && horloge.elapsed() < 10000)
    QThread::msleep(20);
  ASSERT_TRUE(TermineEtAttend()) << m_premier.exitStatus() << " " << m_premier.exitCode() << " "
                                 << m_premier.readAll().constData();
  EXPECT_TRUE(Derniere().contains("Seuil=66\r\n")) << Derniere().constData();
}

// The X server gone (a crash, a remote session cut): the toolkit ends the
// program past the window's close, and the files of the closing sequence
// are still written.
TEST_F(Programme, AnXServerThatGoesStillLeavesTheSettingsAndLastConfiguration) {
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
  if (xvfb.isEmpty()) GTEST_SKIP() << "needs Xvfb (package xvfb) for a display to take away";
  UtilisateurTemporaire::Ecrit(m_utilisateur.chemin("tp/chute.KVX"), "[Synchro]\r\nSeuil=44\r\n");
  QProcess serveur;
  const QString affichage = QStringLiteral(":%1").arg(90 + ::getpid() % 200);
  serveur.start(xvfb, {affichage, QStringLiteral("-nolisten"), QStringLiteral("tcp")});
  ASSERT_TRUE(serveur.waitForStarted(5000));
  QThread::msleep(500);
  QProcessEnvironment env = m_premier.processEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.insert(QStringLiteral("DISPLAY"), affichage);
  m_premier.setProcessEnvironment(env);
  m_premier.start(kProgramme, {QStringLiteral("--simulate"), m_utilisateur.chemin("tp/chute.KVX")});
  ASSERT_TRUE(m_premier.waitForStarted(5000));
  QElapsedTimer horloge;
  horloge.start();
  while (!QFileInfo::exists(m_utilisateur.chemin("run/KVX.instance")) && horloge.elapsed() < 10000)
    QThread::msleep(20);
  QThread::msleep(500);
  serveur.kill();
  serveur.waitForFinished(5000);
  ASSERT_TRUE(m_premier.waitForFinished(15000)) << m_premier.readAll().constData();
  EXPECT_TRUE(Derniere().contains("Seuil=44\r\n")) << m_premier.readAll().constData();
  EXPECT_TRUE(UtilisateurTemporaire::Lit(m_utilisateur.chemin(".config/KVX.conf"))
                  .contains("[Window]\n"));
}

}  // namespace
}  // namespace kvx::ui
