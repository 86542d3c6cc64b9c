// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/client_tabulyse.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "exchange/settings_store.h"
#include "gui_app.h"
#include "platform/event_pump.h"

namespace kvx::platform {
namespace {

// The window must never look hung while Tabulyse comes up.
constexpr qint64 kGelMaxMs = 300;

const QString kStandin = QStringLiteral(KVX_BIN_DIR "/tabulyse-standin");

bool waitFor(const std::function<bool()> &done, int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// The longest time the event loop went without a turn while `travail` ran:
// a timer asks for a turn every 10 ms and notes how late each one came.
qint64 PlusLongGel(const std::function<void()> &travail) {
  QElapsedTimer horloge;
  horloge.start();
  qint64 dernier = 0, gel = 0;
  QTimer sonde;
  sonde.setInterval(10);
  QObject::connect(&sonde, &QTimer::timeout, [&] {
    gel = std::max(gel, horloge.elapsed() - dernier);
    dernier = horloge.elapsed();
  });
  sonde.start();
  travail();
  return std::max(gel, horloge.elapsed() - dernier);
}

class ClientTabulyseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::EnsureGuiApp();
    ASSERT_TRUE(m_dossier.isValid());
    qputenv("TABULYSE_STANDIN_LIFE_MS", "15000");
    Prepare(QStringLiteral("Tabulyse"));
  }
  void TearDown() override {
    // Every stand-in started here, by the process id it logged.
    for (const QString &log : m_logs)
      for (const QString &ligne : Journal(log))
        if (ligne.startsWith(QStringLiteral("start\t")))
          ::kill(static_cast<pid_t>(ligne.section(QLatin1Char('\t'), 1).toLongLong()), SIGKILL);
    for (const char *v :
         {"TABULYSE_STANDIN_SOCKET", "TABULYSE_STANDIN_LOG", "TABULYSE_STANDIN_LIFE_MS",
          "TABULYSE_STANDIN_DELAY_MS", "TABULYSE_STANDIN_MODE"})
      qunsetenv(v);
  }

  // A fresh socket and log: each case meets a Tabulyse of its own.
  void Prepare(const QString &nom) {
    m_socket = m_dossier.filePath(nom + QStringLiteral(".ServeurDDE"));
    m_log = m_dossier.filePath(nom + QStringLiteral(".log"));
    m_logs << m_log;
    qputenv("TABULYSE_STANDIN_SOCKET", QFile::encodeName(m_socket));
    qputenv("TABULYSE_STANDIN_LOG", QFile::encodeName(m_log));
    FixeStandin(0, "accept");
  }

  static void FixeStandin(int delaiMs, const char *mode) {
    qputenv("TABULYSE_STANDIN_DELAY_MS", QByteArray::number(delaiMs));
    qputenv("TABULYSE_STANDIN_MODE", mode);
  }

  ClientTabulyse::Options Options(const QString &programme) {
    ClientTabulyse::Options o;
    o.socket = m_socket;
    o.programme = programme;
    o.lance = [this](const QString &p) {
      ++m_lancements;
      return QProcess::startDetached(p, {});
    };
    o.pompe = &PompeEvenements;
    return o;
  }

  QStringList Journal() const { return Journal(m_log); }
  static QStringList Journal(const QString &log) {
    QFile f(log);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }
  int Compte(const QString &debut) const {
    const QStringList j = Journal();
    return static_cast<int>(
        std::count_if(j.begin(), j.end(), [&](const QString &l) { return l.startsWith(debut); }));
  }
  QStringList Requetes() const {
    QStringList r;
    for (const QString &l : Journal())
      if (l.startsWith(QStringLiteral("request\t"))) r << l.section(QLatin1Char('\t'), 1, 1);
    return r;
  }

  // A Tabulyse the user started before: up and serving.
  void DemarreAvant() {
    ASSERT_TRUE(QProcess::startDetached(kStandin, {}));
    ASSERT_TRUE(waitFor([&] { return Compte(QStringLiteral("listening")) == 1; }, 5000));
  }

  QTemporaryDir m_dossier;
  QString m_socket, m_log;
  QStringList m_logs;
  int m_lancements = 0;
};

TEST_F(ClientTabulyseTest, ARunningTabulyseGetsTheCommandWithoutAnotherStart) {
  DemarreAvant();
  ClientTabulyse client(Options(kStandin));
  EXPECT_TRUE(client.EstLance());
  EXPECT_EQ(client.Transfere(kCommandeNouveauFichier), ResultatTransfert::Envoye);
  EXPECT_EQ(client.Transfere(kCommandeNouvellePage), ResultatTransfert::Envoye);
  EXPECT_EQ(m_lancements, 0);
  ASSERT_TRUE(waitFor([&] { return Requetes().size() == 2; }, 2000));
  EXPECT_EQ(Requetes(), (QStringList{QStringLiteral("CLIP|LOAD"), QStringLiteral("CLIP|ADD")}));
}

// A Tabulyse too busy to take one more client is running all the same: it
// is never started a second time.
TEST_F(ClientTabulyseTest, ABusyTabulyseIsNotStartedAgain) {
  const int serveur = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(serveur, 0);
  sockaddr_un adresse{};
  adresse.sun_family = AF_UNIX;
  const QByteArray chemin = QFile::encodeName(m_socket);
  ASSERT_LT(static_cast<size_t>(chemin.size()), sizeof adresse.sun_path);
  std::memcpy(adresse.sun_path, chemin.constData(), static_cast<size_t>(chemin.size()));
  ASSERT_EQ(::bind(serveur, reinterpret_cast<sockaddr *>(&adresse), sizeof adresse), 0);
  ASSERT_EQ(::listen(serveur, 0), 0);  // never accepts: its queue fills at once
  std::vector<int> clients;
  for (int i = 0; i < 8; ++i) {
    const int c = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    if (::connect(c, reinterpret_cast<sockaddr *>(&adresse), sizeof adresse) != 0) {
      ::close(c);
      break;
    }
    clients.push_back(c);
  }
  ClientTabulyse::Options o = Options(kStandin);
  o.attenteReessaiMs = 100;
  ClientTabulyse client(o);
  EXPECT_TRUE(client.EstLance());
  EXPECT_EQ(client.Transfere(kCommandeNouveauFichier), ResultatTransfert::ImpossibleDeLancer);
  EXPECT_EQ(m_lancements, 0);
  for (int c : clients) ::close(c);
  ::close(serveur);
}

// How Tabulyse comes up decides what the user reads; the window keeps
// painting all along.
TEST_F(ClientTabulyseTest, StartsTabulyseWhenNeededAndNeverFreezesTheWindow) {
  struct Cas {
    const char *nom;
    QString programme;
    int delaiMs;
    const char *mode;
    ResultatTransfert resultat;
    int demarrages;  // copies of Tabulyse that were started
    int requetes;    // requests it received
  };
  const QString absent = m_dossier.filePath(QStringLiteral("pas-de-tabulyse"));
  const Cas cas[] = {
      {"absent", absent, 0, "accept", ResultatTransfert::ImpossibleDeLancer, 0, 0},
      {"quick to start", kStandin, 0, "accept", ResultatTransfert::Envoye, 1, 1},
      {"slow to start", kStandin, 2200, "accept", ResultatTransfert::Envoye, 1, 1},
      {"too slow to start", kStandin, 4500, "accept", ResultatTransfert::ImpossibleDeLancer, 1, 0},
      {"refusing", kStandin, 0, "refuse", ResultatTransfert::NonExecute, 1, 1},
      {"never answering", kStandin, 0, "silent", ResultatTransfert::NonExecute, 1, 1},
  };
  for (const auto &c : cas) {
    Prepare(QString::fromLatin1(c.nom).replace(QLatin1Char(' '), QLatin1Char('-')));
    FixeStandin(c.delaiMs, c.mode);
    ClientTabulyse client(Options(c.programme));
    EXPECT_FALSE(client.EstLance()) << c.nom;
    ResultatTransfert resultat{};
    const qint64 gel = PlusLongGel([&] { resultat = client.Transfere(kCommandeNouveauFichier); });
    EXPECT_EQ(resultat, c.resultat) << c.nom;
    EXPECT_LT(gel, kGelMaxMs) << c.nom;
    std::printf("[ figure   ] %s: longest frozen gap %lld ms\n", c.nom,
                static_cast<long long>(gel));
    EXPECT_EQ(Compte(QStringLiteral("start")), c.demarrages) << c.nom;
    EXPECT_EQ(Requetes().size(), c.requetes) << c.nom;
  }
}

TEST(CheminTabulyse, TheSubKeyReplacesThePathAndTabulyseOnThePathIsTheLastResort) {
  struct Cas {
    const char *path, *sousPath;
    const char *attendu;
  };
  const Cas cas[] = {
      {nullptr, nullptr, "tabulyse"},
      {"", "", "tabulyse"},
      {"/opt/tabulyse/bin/tabulyse", nullptr, "/opt/tabulyse/bin/tabulyse"},
      {nullptr, "/usr/local/bin/tabulyse", "/usr/local/bin/tabulyse"},
      {"/opt/ancien/tabulyse", "/opt/nouveau/tabulyse", "/opt/nouveau/tabulyse"},
      {"/opt/ancien/tabulyse", "", "/opt/ancien/tabulyse"},
      {"/home/élève/mes programmes/tabulyse", nullptr, "/home/élève/mes programmes/tabulyse"},
  };
  for (const auto &c : cas) {
    exchange::MemorySettingsStore reglages;
    if (c.path) reglages.setValue("Tabulyse", "Path", c.path);
    if (c.sousPath) reglages.setValue("Tabulyse/Tabulyse", "Path", c.sousPath);
    EXPECT_EQ(CheminTabulyse(reglages).toStdString(), c.attendu);
  }
}

// Installed means a path in the settings or "tabulyse" on the PATH; without
// either, "Copier données" only copies.
TEST(TabulyseInstalle, NeedsAPathInTheSettingsOrAProgramOnThePath) {
  QTemporaryDir dossier;
  ASSERT_TRUE(dossier.isValid());
  const QByteArray pathAvant = qgetenv("PATH");
  qputenv("PATH", QFile::encodeName(dossier.path()));
  exchange::MemorySettingsStore vide;
  const bool sansRien = TabulyseInstalle(vide);
  exchange::MemorySettingsStore reglages;
  reglages.setValue("Tabulyse/Tabulyse", "Path", "/opt/tabulyse/tabulyse");
  const bool parLesReglages = TabulyseInstalle(reglages);
  QFile programme(dossier.filePath(QStringLiteral("tabulyse")));
  programme.open(QIODevice::WriteOnly);
  programme.write("#!/bin/sh\n");
  programme.close();
  programme.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const bool parLePath = TabulyseInstalle(vide);
  qputenv("PATH", pathAvant);
  EXPECT_FALSE(sansRien);
  EXPECT_TRUE(parLesReglages);
  EXPECT_TRUE(parLePath);
}

}  // namespace
}  // namespace kvx::platform
