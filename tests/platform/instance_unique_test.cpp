// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/instance_unique.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace kvx::platform {
namespace {

bool waitFor(const std::function<bool()> &done, int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// Runs `work` on its own thread while this thread serves the requests.
template <typename Work>
auto whileServing(Work work) {
  auto done = std::async(std::launch::async, work);
  while (done.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done.get();
}

Remise sendWhileServing(const QString &path, const QString &text) {
  return whileServing([&] { return EnvoieDemandeInstance(path, text, 3000); });
}

QStringList requestsOf(const QSignalSpy &spy) {
  QStringList texts;
  for (const auto &arguments : spy) texts << arguments.at(0).toString();
  return texts;
}

sockaddr_un addressOf(const QString &path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray name = QFile::encodeName(path);
  std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
  return address;
}

// A socket file with nobody behind it, as a killed instance leaves it.
bool bindWithoutListening(const QString &path) {
  const sockaddr_un address = addressOf(path);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  const bool bound = ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
  ::close(fd);
  return bound;
}

class ServeurInstanceTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_folder.isValid());
    m_path = m_folder.filePath(QStringLiteral("KVX.instance"));
    ASSERT_TRUE(m_serveur.ecoute(m_path));
  }

  QTemporaryDir m_folder;
  QString m_path;
  ServeurInstance m_serveur;
};

TEST_F(ServeurInstanceTest, TakesTheArgumentsTextOrAnEmptyBringToFront) {
  QSignalSpy spy(&m_serveur, &ServeurInstance::demandeRecue);
  const QString texts[] = {QStringLiteral("/tmp/tp 1/chute libre.KVX"), QString(),
                           QStringLiteral("essai.KVX"), QStringLiteral("élève α.KVX")};
  for (const auto &text : texts) EXPECT_EQ(sendWhileServing(m_path, text), Remise::Prise);
  ASSERT_TRUE(waitFor([&] { return spy.count() >= 4; }, 2000));
  EXPECT_EQ(spy.count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(spy.at(i).at(0).toString(), texts[i]);
}

// A raw client for what no start of the program would send.
int rawClient(const QString &path) {
  const sockaddr_un address = addressOf(path);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// What the server answers on `fd` until it lets the connection go, serving
// meanwhile; "<still open>" marks a connection it kept.
QByteArray answerUntilClosed(int fd, int milliseconds) {
  QByteArray answer;
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) {
    char bytes[64];
    const auto n = ::recv(fd, bytes, sizeof bytes, MSG_DONTWAIT);
    if (n > 0) {
      answer.append(bytes, n);
      continue;
    }
    if (n == 0 || (errno != EAGAIN && errno != EINTR)) return answer;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return answer + "<still open>";
}

TEST_F(ServeurInstanceTest, IgnoresBinaryAndOverlongRequestsAndServesTheNext) {
  QSignalSpy spy(&m_serveur, &ServeurInstance::demandeRecue);
  const QByteArray bad[] = {QByteArray(70 * 1024, 'a') + '\n', QByteArray("\x00\x01\x02\n", 4),
                            QByteArray("\xFF\xFE\xFD\n")};
  for (const auto &bytes : bad) {
    auto written = std::async(std::launch::async, [&] {
      const int fd = rawClient(m_path);
      if (fd < 0) return false;
      const bool ok = ::send(fd, bytes.constData(), static_cast<size_t>(bytes.size()),
                             MSG_NOSIGNAL) == bytes.size();
      ::close(fd);
      return ok;
    });
    while (written.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(written.get());
  }
  EXPECT_EQ(sendWhileServing(m_path, QStringLiteral("bon.KVX")), Remise::Prise);
  ASSERT_TRUE(waitFor([&] { return spy.count() >= 1; }, 2000));
  EXPECT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("bon.KVX"));
}

TEST_F(ServeurInstanceTest, ASilentClientDoesNotHoldUpTheOthers) {
  QSignalSpy spy(&m_serveur, &ServeurInstance::demandeRecue);
  const int silent = rawClient(m_path);
  ASSERT_GE(silent, 0);
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(sendWhileServing(m_path, QStringLiteral("a.KVX")), Remise::Prise);
  ASSERT_TRUE(waitFor([&] { return spy.count() >= 1; }, 2000));
  EXPECT_EQ(spy.count(), 1);
  EXPECT_LT(clock.elapsed(), 1000);
  ::close(silent);
}

// However many clients sit connected and silent, a start gets through.
TEST_F(ServeurInstanceTest, AStartGetsThroughWhateverTheSilentClients) {
  for (const int silent : {8, ServeurInstance::kClientsMax + 36}) {
    QSignalSpy spy(&m_serveur, &ServeurInstance::demandeRecue);
    // Opened while serving: beyond the queue of the listening socket, a
    // connect waits for the server to take the ones before it.
    const std::vector<int> clients = whileServing([&] {
      std::vector<int> fds;
      for (int i = 0; i < silent; ++i) fds.push_back(rawClient(m_path));
      return fds;
    });
    for (const int fd : clients) ASSERT_GE(fd, 0);
    EXPECT_EQ(sendWhileServing(m_path, QStringLiteral("a.KVX")), Remise::Prise) << silent;
    waitFor([&] { return spy.count() >= 1; }, 2000);
    EXPECT_EQ(requestsOf(spy), QStringList{QStringLiteral("a.KVX")}) << silent;
    for (const int fd : clients) ::close(fd);
  }
}

// The answer to a whole line reaches a sender that has shut its writing side;
// a line without its line feed, cut off by the sender or let go by the
// server, is never acted on.
TEST_F(ServeurInstanceTest, AnswersEveryWholeLineAndNeverActsOnACutOne) {
  constexpr int kDelaiCourtMs = 200;
  ServeurInstance serveur(kDelaiCourtMs);
  const QString path = m_folder.filePath(QStringLiteral("court.instance"));
  ASSERT_TRUE(serveur.ecoute(path));
  struct Case {
    QByteArray bytes;
    bool shutsWriting;
    QByteArray answer;
    QStringList requests;
  };
  const Case cases[] = {
      {"a.KVX\n", true, "OK\n", {QStringLiteral("a.KVX")}},
      {"\n", true, "OK\n", {QString()}},
      {"a.KVX\nb.KVX\n", true, "OK\nOK\n", {QStringLiteral("a.KVX"), QStringLiteral("b.KVX")}},
      {"\x01\n", true, "OK\n", {}},
      {"a.KVX\nb.K", true, "OK\n", {QStringLiteral("a.KVX")}},
      {"a.KVX", true, "", {}},
      {"a.KVX\nb.K", false, "OK\n", {QStringLiteral("a.KVX")}},
      {"a.KVX", false, "", {}},
  };
  for (const auto &c : cases) {
    QSignalSpy spy(&serveur, &ServeurInstance::demandeRecue);
    const int fd = rawClient(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::send(fd, c.bytes.constData(), static_cast<size_t>(c.bytes.size()), MSG_NOSIGNAL),
              c.bytes.size());
    if (c.shutsWriting) ::shutdown(fd, SHUT_WR);
    EXPECT_EQ(answerUntilClosed(fd, 2000), c.answer) << c.bytes.constData() << c.shutsWriting;
    EXPECT_EQ(requestsOf(spy), c.requests) << c.bytes.constData() << c.shutsWriting;
    ::close(fd);
  }
}

TEST_F(ServeurInstanceTest, SocketIsForTheUserOnly) {
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(m_serveur.chemin()).constData(), &info), 0);
  EXPECT_TRUE(S_ISSOCK(info.st_mode));
  EXPECT_EQ(info.st_mode & 077, 0u);
}

TEST(EnvoieDemandeInstance, FindsNobodyWhenNoInstanceRuns) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("KVX.instance"));
  EXPECT_EQ(EnvoieDemandeInstance(path, QStringLiteral("a.KVX"), 500), Remise::Personne);
  // A socket file left behind by an instance that was killed.
  {
    ServeurInstance dead;
    ASSERT_TRUE(dead.ecoute(path));
  }
  if (!QFile::exists(path)) {
    ASSERT_TRUE(bindWithoutListening(path));
  }
  EXPECT_EQ(EnvoieDemandeInstance(path, QStringLiteral("a.KVX"), 500), Remise::Personne);
  ServeurInstance next;
  EXPECT_TRUE(next.ecoute(path)) << "the stale socket is replaced";
}

TEST(InstanceUnique, FirstStartServesSecondStartHandsOver) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("KVX.instance"));
  InstanceUnique first(path);
  EXPECT_EQ(first.transmet(QStringLiteral("x.KVX"), 500), Remise::Personne);
  // The second start begins before the first listens, as two starts of a
  // double-click on two files may.
  auto second = std::async(std::launch::async, [&] {
    InstanceUnique start(path);
    return start.transmet(QStringLiteral("/home/eleve/a b.KVX"), 5000);
  });
  auto serveur = first.ecoute();
  ASSERT_NE(serveur, nullptr);
  QSignalSpy spy(serveur.get(), &ServeurInstance::demandeRecue);
  while (second.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_EQ(second.get(), Remise::Prise);
  ASSERT_TRUE(waitFor([&] { return spy.count() >= 1; }, 2000));
  EXPECT_EQ(requestsOf(spy), QStringList{QStringLiteral("/home/eleve/a b.KVX")});
}

TEST(InstanceUnique, TwoStartsAtOnceMakeOneInstance) {
  for (int round = 0; round < 10; ++round) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("KVX.instance"));
    InstanceUnique starts[2] = {InstanceUnique(path), InstanceUnique(path)};
    const QString texts[2] = {QStringLiteral("a.KVX"), QStringLiteral("b.KVX")};
    std::future<Remise> results[2];
    for (int i = 0; i < 2; ++i)
      results[i] =
          std::async(std::launch::async, [&, i] { return starts[i].transmet(texts[i], 5000); });
    Remise got[2] = {Remise::SansReponse, Remise::SansReponse};
    bool ready[2] = {false, false};
    std::unique_ptr<ServeurInstance> serveur;
    std::unique_ptr<QSignalSpy> spy;
    int instance = -1;
    while (!ready[0] || !ready[1]) {
      for (int i = 0; i < 2; ++i) {
        if (ready[i] ||
            results[i].wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
          continue;
        ready[i] = true;
        got[i] = results[i].get();
        if (got[i] != Remise::Personne) continue;
        ASSERT_EQ(instance, -1) << "two instances in round " << round;
        instance = i;
        serveur = starts[i].ecoute();
        ASSERT_NE(serveur, nullptr);
        spy = std::make_unique<QSignalSpy>(serveur.get(), &ServeurInstance::demandeRecue);
      }
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ASSERT_NE(instance, -1) << "round " << round;
    const int other = 1 - instance;
    EXPECT_EQ(got[other], Remise::Prise) << "round " << round;
    ASSERT_TRUE(waitFor([&] { return spy->count() >= 1; }, 2000));
    EXPECT_EQ(requestsOf(*spy), QStringList{texts[other]}) << "round " << round;
  }
}

// A start never takes the place of an instance that runs: that instance
// would never hear from a start again.
TEST(InstanceUnique, NoStartTakesTheSocketOfAnInstanceThatRuns) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("KVX.instance"));
  InstanceUnique first(path);
  auto serveur = first.ecoute();
  ASSERT_NE(serveur, nullptr);
  QSignalSpy spy(serveur.get(), &ServeurInstance::demandeRecue);
  InstanceUnique second(path);
  EXPECT_EQ(second.ecoute(), nullptr);
  ServeurInstance other;
  EXPECT_FALSE(other.ecoute(path));
  EXPECT_EQ(sendWhileServing(path, QStringLiteral("a.KVX")), Remise::Prise);
  ASSERT_TRUE(waitFor([&] { return spy.count() >= 1; }, 2000));
  EXPECT_EQ(requestsOf(spy), QStringList{QStringLiteral("a.KVX")});
}

// Stands in for the socket of a running instance: takes each connection and
// either lets it go at once or answers its line.
class FausseInstance {
 public:
  enum class Conduite { Laisse, Repond };

  FausseInstance(const QString &path, std::vector<Conduite> conduites)
      : m_conduites(std::move(conduites)) {
    const sockaddr_un address = addressOf(path);
    m_fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    m_ecoute = ::bind(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0 &&
               ::listen(m_fd, 16) == 0;
    if (m_ecoute) m_fil = std::thread([this] { sert(); });
  }
  ~FausseInstance() {
    m_fin = true;
    if (m_fil.joinable()) m_fil.join();
    ::close(m_fd);
  }
  bool ecoute() const { return m_ecoute; }
  int connexions() const { return m_connexions; }
  std::vector<std::string> lignes() {
    std::lock_guard<std::mutex> garde(m_mutex);
    return m_lignes;
  }

 private:
  void sert() {
    while (!m_fin) {
      pollfd ready{m_fd, POLLIN, 0};
      if (::poll(&ready, 1, 10) <= 0) continue;
      const int client = ::accept(m_fd, nullptr, nullptr);
      if (client < 0) continue;
      const auto n = static_cast<std::size_t>(m_connexions++);
      if (m_conduites[std::min(n, m_conduites.size() - 1)] == Conduite::Repond) repond(client);
      ::close(client);
    }
  }
  void repond(int client) {
    std::string ligne;
    char c = 0;
    while (::recv(client, &c, 1, 0) == 1 && c != '\n') ligne += c;
    {
      std::lock_guard<std::mutex> garde(m_mutex);
      m_lignes.push_back(ligne);
    }
    (void)::send(client, "OK\n", 3, MSG_NOSIGNAL);
  }

  std::vector<Conduite> m_conduites;
  int m_fd = -1;
  bool m_ecoute = false;
  std::atomic<bool> m_fin{false};
  std::atomic<int> m_connexions{0};
  std::mutex m_mutex;
  std::vector<std::string> m_lignes;
  std::thread m_fil;
};

// A start that reaches the running instance but cannot hand over keeps
// trying for its whole delay, then tells so; it never becomes a second
// instance meanwhile.
TEST(InstanceUnique, ASecondStartThatCannotHandOverTriesAgainThenTellsSo) {
  using Conduite = FausseInstance::Conduite;
  enum class Socket { Occupee, Refuse, Fausse };
  struct Case {
    const char *name;
    Socket socket;
    std::vector<Conduite> conduites;
    Remise expected;
    int minConnections;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"busy: its window does not run", Socket::Occupee, {}, Remise::SansReponse, 0, {}},
      {"its socket refuses", Socket::Refuse, {}, Remise::SansReponse, 0, {}},
      {"lets every start go", Socket::Fausse, {Conduite::Laisse}, Remise::SansReponse, 2, {}},
      {"lets the first try go",
       Socket::Fausse,
       {Conduite::Laisse, Conduite::Repond},
       Remise::Prise,
       2,
       {"b.KVX"}},
  };
  constexpr int kDelaiMs = 300;
  for (const auto &c : cases) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("KVX.instance"));
    InstanceUnique first(path);
    auto serveur = first.ecoute();
    ASSERT_NE(serveur, nullptr) << c.name;
    std::unique_ptr<FausseInstance> fausse;
    if (c.socket != Socket::Occupee) QFile::remove(path);
    if (c.socket == Socket::Refuse) {
      ASSERT_TRUE(bindWithoutListening(path)) << c.name;
    }
    if (c.socket == Socket::Fausse) {
      fausse = std::make_unique<FausseInstance>(path, c.conduites);
      ASSERT_TRUE(fausse->ecoute()) << c.name;
    }
    InstanceUnique second(path);
    QElapsedTimer clock;
    clock.start();
    // On this thread: the window of the running instance does not run meanwhile.
    EXPECT_EQ(second.transmet(QStringLiteral("b.KVX"), kDelaiMs), c.expected) << c.name;
    if (c.expected == Remise::SansReponse) {
      EXPECT_GE(clock.elapsed(), kDelaiMs) << c.name;
    }
    if (fausse) {
      EXPECT_GE(fausse->connexions(), c.minConnections) << c.name;
      EXPECT_EQ(fausse->lignes(), c.lines) << c.name;
    }
    EXPECT_EQ(second.ecoute(), nullptr) << c.name;
    EXPECT_TRUE(QFileInfo(path).exists()) << c.name;
  }
}

// After a crash the next start becomes the instance at once: neither the
// socket file nor the lock of the killed one keep it out.
TEST(InstanceUnique, TakesThePlaceOfAKilledInstance) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("KVX.instance"));
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    InstanceUnique dead(path);
    const bool locked = dead.transmet(QString(), 0) == Remise::Personne;
    // Ends without any clean-up, as a killed instance does.
    ::_exit(locked && bindWithoutListening(path) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(QFileInfo(path).exists());
  InstanceUnique start(path);
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(start.transmet(QStringLiteral("a.KVX"), 2000), Remise::Personne);
  EXPECT_LT(clock.elapsed(), 1000);
  auto serveur = start.ecoute();
  ASSERT_NE(serveur, nullptr);
  QSignalSpy spy(serveur.get(), &ServeurInstance::demandeRecue);
  EXPECT_EQ(sendWhileServing(path, QStringLiteral("b.KVX")), Remise::Prise);
  ASSERT_TRUE(waitFor([&] { return spy.count() >= 1; }, 2000));
  EXPECT_EQ(requestsOf(spy), QStringList{QStringLiteral("b.KVX")});
}

TEST(CheminSocketInstance, LivesInTheUsersRuntimeFolder) {
  EXPECT_EQ(CheminSocketInstance(),
            QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR")) + QStringLiteral("/KVX.instance"));
}

}  // namespace
}  // namespace kvx::platform
