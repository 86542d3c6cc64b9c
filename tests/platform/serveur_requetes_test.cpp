// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/serveur_requetes.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "gui_app.h"

namespace kvx::platform {
namespace {

// Runs `work` on its own thread while this thread serves the requests.
template <typename Work>
auto whileServing(Work work) {
  auto done = std::async(std::launch::async, work);
  while (done.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done.get();
}

bool waitFor(const std::function<bool()> &done, int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

int rawClient(const QString &path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray name = QFile::encodeName(path);
  std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
  if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Sends all of `bytes` on a non-blocking socket, for at most two seconds.
bool sendAll(int fd, const QByteArray &bytes) {
  QElapsedTimer clock;
  clock.start();
  qsizetype sent = 0;
  while (sent < bytes.size() && clock.elapsed() < 2000) {
    const auto n = ::send(fd, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent),
                          MSG_NOSIGNAL);
    if (n > 0) sent += n;
  }
  return sent == bytes.size();
}

// What the window was asked, in order: 'p' a new page, 'f' the focus.
class ServeurRequetesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::EnsureGuiApp();
    ASSERT_TRUE(m_folder.isValid());
    m_path = m_folder.filePath(QStringLiteral("KVX.ServeurDDE"));
    ASSERT_TRUE(m_serveur.ecoute(m_path));
    QObject::connect(&m_serveur, &ServeurRequetes::nouvellePageDemandee, [this] { m_vu += 'p'; });
    QObject::connect(&m_serveur, &ServeurRequetes::focusDemande, [this] { m_vu += 'f'; });
  }

  Remise envoie(const QString &texte) {
    return whileServing([&] { return EnvoieDemandeInstance(m_path, texte, 3000); });
  }

  // A good request after whatever came before is still acknowledged and acted on.
  void verifieVivant() {
    m_vu.clear();
    EXPECT_EQ(envoie(QStringLiteral("FOCUS")), Remise::Prise);
    EXPECT_TRUE(waitFor([&] { return m_vu == "f"; }, 2000)) << m_vu;
  }

  QTemporaryDir m_folder;
  QString m_path;
  ServeurRequetes m_serveur{300};
  std::string m_vu;
};

TEST_F(ServeurRequetesTest, AcknowledgesEveryRequestAndActsOnlyOnTheCommandsOfOneLine) {
  struct Cas {
    const char *texte;
    const char *effet;
  };
  const Cas cas[] = {
      {"FOCUS", "f"},
      {"getdata", "pf"},
      {"GETDATA", "pf"},
      {"FILE|LOAD(/home/eleve/tp 1/chute.KVX)", "f"},
      {"config|load(essai.kvx)", "f"},
      {"FOCUS(n'importe quoi)", "f"},
      {"FILE|SAVE", ""},
      {"CONFIG|SAVE(x)", ""},
      {"IMPRIME", ""},
      {"", ""},
      // Two lines: kvx-send carries the inner line end as a carriage return.
      {"FOCUS\rGETDATA", ""},
      {"élève", ""},
  };
  for (const auto &c : cas) {
    m_vu.clear();
    EXPECT_EQ(envoie(QString::fromUtf8(c.texte)), Remise::Prise) << c.texte;
    // The acknowledgement comes before the action: wait for it, then for a
    // marker request, so that a request acting late would still be seen.
    EXPECT_EQ(envoie(QStringLiteral("FOCUS")), Remise::Prise);
    EXPECT_TRUE(waitFor([&] { return m_vu.size() >= std::strlen(c.effet) + 1; }, 2000));
    EXPECT_EQ(m_vu, std::string(c.effet) + "f") << c.texte;
  }
}

TEST_F(ServeurRequetesTest, SurvivesBadInputAndAnswersTheNextGoodRequest) {
  struct Cas {
    const char *nom;
    QByteArray octets;
  };
  const Cas cas[] = {
      {"1 MB request", QByteArray(1024 * 1024, 'F') + '\n'},
      {"1 MB without a line end", QByteArray(1024 * 1024, 'G')},
      {"binary", QByteArray("\x00\xff\x01GETDATA\x00\n\x80\x81\n", 14)},
      {"half a line", QByteArray("GETDA")},
      {"nothing at all", QByteArray()},
  };
  for (const auto &c : cas) {
    m_vu.clear();
    const bool envoye = whileServing([&] {
      const int fd = rawClient(m_path);
      if (fd < 0) return false;
      const bool ok = sendAll(fd, c.octets);
      ::close(fd);
      return ok;
    });
    EXPECT_TRUE(envoye) << c.nom;
    verifieVivant();
    EXPECT_EQ(m_vu, "f") << c.nom << ": nothing of the bad request was acted on";
  }
}

// Its answers would pile up in the window's memory without end: the client
// is let go once they pass the bound, and the next client is served.
TEST_F(ServeurRequetesTest, AClientThatNeverReadsItsAnswersIsLetGo) {
  const int gourmand = rawClient(m_path);
  ASSERT_GE(gourmand, 0);
  const int petit = 4096;
  ::setsockopt(gourmand, SOL_SOCKET, SO_RCVBUF, &petit, sizeof petit);
  const QByteArray lignes = QByteArray("FILE|SAVE\n").repeated(10000);
  const bool laisse = whileServing([&] {
    QElapsedTimer clock;
    clock.start();
    // 100 kB of requests at a time, never a byte read, for up to 20 s.
    while (clock.elapsed() < 20000) {
      qsizetype envoye = 0;
      while (envoye < lignes.size()) {
        const auto n = ::send(gourmand, lignes.constData() + envoye,
                              static_cast<size_t>(lignes.size() - envoye), MSG_NOSIGNAL);
        if (n < 0 && (errno == EPIPE || errno == ECONNRESET)) return true;
        if (n > 0) envoye += n;
        if (clock.elapsed() >= 20000) return false;
      }
    }
    return false;
  });
  EXPECT_TRUE(laisse);
  ::close(gourmand);
  verifieVivant();
}

TEST_F(ServeurRequetesTest, AClientThatNeverSendsIsLetGoAndHoldsUpNobody) {
  const int silencieux = rawClient(m_path);
  ASSERT_GE(silencieux, 0);
  QElapsedTimer clock;
  clock.start();
  verifieVivant();
  EXPECT_LT(clock.elapsed(), 1000);
  // Let go after the server's time-out for a silent client.
  EXPECT_TRUE(waitFor(
      [&] {
        char octet;
        return ::recv(silencieux, &octet, 1, MSG_DONTWAIT) == 0;
      },
      3000));
  ::close(silencieux);
}

TEST_F(ServeurRequetesTest, AThousandConnectionsAtOnceLeaveItServing) {
  // Room for the clients and the server's side of them.
  rlimit limite{};
  ::getrlimit(RLIMIT_NOFILE, &limite);
  const rlim_t voulu = std::min<rlim_t>(limite.rlim_max, 4096);
  if (limite.rlim_cur < voulu) {
    limite.rlim_cur = voulu;
    ::setrlimit(RLIMIT_NOFILE, &limite);
  }
  const std::vector<int> clients = whileServing([&] {
    std::vector<int> fds;
    for (int i = 0; i < 1000; ++i) fds.push_back(rawClient(m_path));
    return fds;
  });
  const auto connectes =
      std::count_if(clients.begin(), clients.end(), [](int fd) { return fd >= 0; });
  EXPECT_GT(connectes, ServeurInstance::kClientsMax) << "the test must go beyond the cap";
  verifieVivant();
  for (const int fd : clients)
    if (fd >= 0) ::close(fd);
  verifieVivant();
}

TEST_F(ServeurRequetesTest, OnlyTheUserCanReachTheSocketAndASecondServerDoesNotTakeIt) {
  struct stat s {};
  ASSERT_EQ(::stat(QFile::encodeName(m_path).constData(), &s), 0);
  EXPECT_TRUE(S_ISSOCK(s.st_mode));
  EXPECT_EQ(s.st_mode & 077, 0u) << std::oct << s.st_mode;
  ServeurRequetes second;
  EXPECT_FALSE(second.ecoute(m_path));
  verifieVivant();
}

TEST(CheminService, IsTheServiceSocketInTheRuntimeFolderOrAPathGivenAsIs) {
  const QByteArray ancien = qgetenv("XDG_RUNTIME_DIR");
  QTemporaryDir dossier;
  ::chmod(QFile::encodeName(dossier.path()).constData(), 0700);
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dossier.path()));
  EXPECT_EQ(CheminService(QStringLiteral("KVX")),
            dossier.path() + QStringLiteral("/KVX.ServeurDDE"));
  EXPECT_EQ(CheminService(QStringLiteral("Tabulyse")),
            dossier.path() + QStringLiteral("/Tabulyse.ServeurDDE"));
  EXPECT_EQ(CheminService(QStringLiteral("/tmp/x.sock")), QStringLiteral("/tmp/x.sock"));
  qputenv("XDG_RUNTIME_DIR", ancien);
}

// kvx-send as a script sees it: its exit status and what it says.
struct ResultatEnvoi {
  int statut;
  QByteArray sortie, erreur;
};

ResultatEnvoi kvxSend(const QStringList &arguments) {
  QProcess p;
  p.setProgram(QStringLiteral(KVX_BIN_DIR "/kvx-send"));
  p.setArguments(arguments);
  p.start();
  // Served meanwhile: the server under test runs on this thread.
  waitFor([&] { return p.state() == QProcess::NotRunning; }, 20000);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
          p.readAllStandardError()};
}

TEST_F(ServeurRequetesTest, KvxSendExitsZeroOnlyWhenTheRequestWasAcknowledged) {
  m_vu.clear();
  ResultatEnvoi r = kvxSend({QStringLiteral("--service"), m_path, QStringLiteral("getdata")});
  EXPECT_EQ(r.statut, 0) << r.erreur.constData();
  EXPECT_TRUE(waitFor([&] { return m_vu == "pf"; }, 2000)) << m_vu;

  // A request of two lines is acknowledged and does nothing.
  m_vu.clear();
  r = kvxSend({QStringLiteral("--service=") + m_path, QStringLiteral("FOCUS\nGETDATA")});
  EXPECT_EQ(r.statut, 0) << r.erreur.constData();
  verifieVivant();

  r = kvxSend({QStringLiteral("--service"), m_folder.filePath(QStringLiteral("personne")),
               QStringLiteral("FOCUS")});
  EXPECT_EQ(r.statut, 1);
  EXPECT_TRUE(r.erreur.contains("is not running")) << r.erreur.constData();
}

TEST(KvxSend, UsageErrorsExitTwoAndHelpNeedsNoServer) {
  struct Cas {
    QStringList arguments;
    int statut;
    const char *dit;
  };
  const Cas cas[] = {
      {{}, 2, "no request given"},
      {{QStringLiteral("FOCUS"), QStringLiteral("GETDATA")}, 2, "one request only"},
      {{QStringLiteral("--service")}, 2, "--service needs a name"},
      {{QStringLiteral("--service="), QStringLiteral("FOCUS")}, 2, "--service needs a name"},
      {{QStringLiteral("--vite"), QStringLiteral("FOCUS")}, 2, "unknown option --vite"},
      {{QStringLiteral("--help")}, 0, "Usage: kvx-send"},
      {{QStringLiteral("--version")}, 0, "kvx-send "},
  };
  for (const auto &c : cas) {
    const ResultatEnvoi r = kvxSend(c.arguments);
    EXPECT_EQ(r.statut, c.statut) << c.arguments.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE((r.sortie + r.erreur).contains(c.dit))
        << c.arguments.join(QLatin1Char(' ')).toStdString() << ": "
        << (r.sortie + r.erreur).constData();
  }
}

TEST(KvxSend, AServerThatNeverAnswersIsAnErrorNotAHang) {
  QTemporaryDir dossier;
  const QString chemin = dossier.filePath(QStringLiteral("muet"));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray name = QFile::encodeName(chemin);
  std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(fd, 4), 0);
  QElapsedTimer clock;
  clock.start();
  const ResultatEnvoi r = kvxSend({QStringLiteral("--service"), chemin, QStringLiteral("FOCUS")});
  EXPECT_EQ(r.statut, 1);
  EXPECT_TRUE(r.erreur.contains("did not acknowledge")) << r.erreur.constData();
  EXPECT_LT(clock.elapsed(), 10000);
  ::close(fd);
}

}  // namespace
}  // namespace kvx::platform
