#include "platform/instance_unique.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <future>

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

// Runs a client on its own thread while this thread serves the requests.
bool sendWhileServing(const QString &path, const QString &text) {
  auto sent =
      std::async(std::launch::async, [&] { return EnvoieDemandeInstance(path, text, 3000); });
  while (sent.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return sent.get();
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
  for (const auto &text : texts) EXPECT_TRUE(sendWhileServing(m_path, text));
  ASSERT_TRUE(waitFor([&] { return spy.count() >= 4; }, 2000));
  EXPECT_EQ(spy.count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(spy.at(i).at(0).toString(), texts[i]);
}

// A raw client for what no start of the program would send.
int rawClient(const QString &path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray name = QFile::encodeName(path);
  std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
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
  EXPECT_TRUE(sendWhileServing(m_path, QStringLiteral("bon.KVX")));
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
  EXPECT_TRUE(sendWhileServing(m_path, QStringLiteral("a.KVX")));
  ASSERT_TRUE(waitFor([&] { return spy.count() >= 1; }, 2000));
  EXPECT_EQ(spy.count(), 1);
  EXPECT_LT(clock.elapsed(), 1000);
  ::close(silent);
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
  EXPECT_FALSE(EnvoieDemandeInstance(path, QStringLiteral("a.KVX"), 500));
  // A socket file left behind by an instance that was killed.
  {
    ServeurInstance dead;
    ASSERT_TRUE(dead.ecoute(path));
  }
  QFile stale(path);
  if (!stale.exists()) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, QFile::encodeName(path).constData(),
                static_cast<size_t>(QFile::encodeName(path).size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ::close(fd);
  }
  EXPECT_FALSE(EnvoieDemandeInstance(path, QStringLiteral("a.KVX"), 500));
  ServeurInstance next;
  EXPECT_TRUE(next.ecoute(path)) << "the stale socket is replaced";
}

TEST(InstanceUnique, FirstStartServesSecondStartHandsOver) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("KVX.instance"));
  InstanceUnique first(path);
  EXPECT_FALSE(first.transmet(QStringLiteral("x.KVX"), 500));
  auto serveur = first.ecoute();
  ASSERT_NE(serveur, nullptr);
  QSignalSpy spy(serveur.get(), &ServeurInstance::demandeRecue);
  auto second = std::async(std::launch::async, [&] {
    InstanceUnique start(path);
    return start.transmet(QStringLiteral("/home/eleve/a b.KVX"));
  });
  while (second.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_TRUE(second.get());
  ASSERT_TRUE(waitFor([&] { return spy.count() >= 1; }, 2000));
  EXPECT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("/home/eleve/a b.KVX"));
}

TEST(CheminSocketInstance, LivesInTheUsersRuntimeFolder) {
  EXPECT_EQ(CheminSocketInstance(),
            QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR")) + QStringLiteral("/KVX.instance"));
}

}  // namespace
}  // namespace kvx::platform
