// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/instance_unique.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>

#include "exchange/demande_instance.h"

namespace kvx::platform {

namespace {

// Between two tries of a start whose instance is not ready or let its
// request go: short against the wait of the user, long enough not to spin.
constexpr int kPauseEssaiMs = 50;
constexpr char kReponse[] = "OK\n";

class Descripteur {
 public:
  explicit Descripteur(int fd) : m_fd(fd) {}
  ~Descripteur() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descripteur(const Descripteur &) = delete;
  Descripteur &operator=(const Descripteur &) = delete;
  int get() const { return m_fd; }

 private:
  int m_fd;
};

// Rounded up, so that a wait never ends before its deadline.
int millisecondsLeft(std::chrono::steady_clock::time_point deadline) {
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

bool sendAll(int fd, const QByteArray &bytes, std::chrono::steady_clock::time_point deadline) {
  qsizetype sent = 0;
  while (sent < bytes.size()) {
    pollfd ready{fd, POLLOUT, 0};
    const int n = ::poll(&ready, 1, millisecondsLeft(deadline));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    const auto written = ::send(fd, bytes.constData() + sent,
                                static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
    if (written < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (written <= 0) return false;
    sent += written;
  }
  return true;
}

// True once the whole answer came; false when the server let the connection
// go without it or took too long.
bool recoitReponse(int fd, std::chrono::steady_clock::time_point deadline) {
  const std::string_view expected(kReponse);
  std::string answer;
  while (answer.size() < expected.size()) {
    pollfd ready{fd, POLLIN, 0};
    const int n = ::poll(&ready, 1, millisecondsLeft(deadline));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    char bytes[16];
    const auto got = ::recv(fd, bytes, sizeof bytes, 0);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) return false;
    answer.append(bytes, static_cast<size_t>(got));
  }
  return answer.compare(0, expected.size(), expected) == 0;
}

// Only a process of the same user may hand files to this instance.
bool sameUser(QLocalSocket *client) {
#ifdef SO_PEERCRED
  ucred peer{};
  socklen_t size = sizeof peer;
  const auto fd = static_cast<int>(client->socketDescriptor());
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return false;
  return peer.uid == ::getuid();
#else
  Q_UNUSED(client);
  return true;
#endif
}

}  // namespace

int ConnecteLocal(const QString &chemin) {
  const QByteArray path = QFile::encodeName(chemin);
  sockaddr_un address{};
  if (path.isEmpty() || static_cast<size_t>(path.size()) >= sizeof address.sun_path)
    return -ENAMETOOLONG;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -errno;
  if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
    const int error = errno;
    ::close(fd);
    return -error;
  }
  return fd;
}

QString CheminSocketInstance() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder + QStringLiteral("/KVX.instance");
}

Remise EnvoieDemandeInstance(const QString &chemin, const QString &texte, int delaiMs) {
  const int fd = ConnecteLocal(chemin);
  if (fd == -EAGAIN) return Remise::SansReponse;
  if (fd < 0) return Remise::Personne;
  Descripteur socket(fd);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(delaiMs);
  if (!sendAll(socket.get(), texte.toUtf8() + '\n', deadline)) return Remise::SansReponse;
  // Tells the instance that this start has nothing more to say; the answer
  // still comes back on the other side.
  ::shutdown(socket.get(), SHUT_WR);
  return recoitReponse(socket.get(), deadline) ? Remise::Prise : Remise::SansReponse;
}

ServeurInstance::ServeurInstance(int delaiClientMs, QObject *parent)
    : QObject(parent), m_delaiClientMs(delaiClientMs), m_serveur(std::make_unique<QLocalServer>()) {
  m_serveur->setSocketOptions(QLocalServer::UserAccessOption);
  connect(m_serveur.get(), &QLocalServer::newConnection, this, &ServeurInstance::accepte);
}

ServeurInstance::~ServeurInstance() {
  // The clients go with the server; none may call back into this half-gone
  // object on its way out.
  for (QLocalSocket *client : m_serveur->findChildren<QLocalSocket *>()) client->disconnect(this);
  m_serveur.reset();
}

bool ServeurInstance::ecoute(const QString &chemin) {
  // A socket that a live instance serves is never replaced, or that instance
  // would never hear from a start again. Looked at first, as the user-only
  // socket is made aside and renamed over whatever file has the name.
  const int fd = ConnecteLocal(chemin);
  if (fd >= 0) ::close(fd);
  if (fd >= 0 || fd == -EAGAIN) return false;
  if (m_serveur->listen(chemin)) return true;
  if (m_serveur->serverError() != QAbstractSocket::AddressInUseError) return false;
  // Left behind by an instance that did not end cleanly.
  QLocalServer::removeServer(chemin);
  return m_serveur->listen(chemin);
}

QString ServeurInstance::chemin() const {
  return m_serveur->fullServerName();
}

void ServeurInstance::accepte() {
  while (QLocalSocket *client = m_serveur->nextPendingConnection()) {
    if (!sameUser(client)) {
      client->abort();
      client->deleteLater();
      continue;
    }
    // A start must always get through, whatever other clients do: the one
    // silent for the longest makes room. A start it was is let go unanswered
    // and tries again.
    if (m_clients.size() >= kClientsMax) laisse(m_clients.front());
    m_clients.append(client);
    auto lecteur = std::make_shared<exchange::LecteurDemandes>();
    auto *timer = new QTimer(client);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, client] { laisse(client); });
    timer->start(m_delaiClientMs);
    const auto read = [this, client, timer, lecteur] {
      const QByteArray bytes = client->readAll();
      const auto demandes = lecteur->ajoute(std::string_view(bytes.constData(), bytes.size()));
      if (demandes.empty()) return;
      // A client that sends and never reads would have its answers pile up
      // in the window's memory: past the bound it is let go.
      if (client->bytesToWrite() + static_cast<qint64>(demandes.size() * (sizeof kReponse - 1)) >
          kReponsesEnAttenteMax) {
        laisse(client);
        return;
      }
      // Answered before the requests are acted on, and written out at once:
      // loading a file may take a while, and a sender that has shut its
      // writing side is closed by the next read, with whatever is unsent.
      for (std::size_t i = 0; i < demandes.size(); ++i) client->write(kReponse);
      client->flush();
      timer->start(m_delaiClientMs);
      m_clients.removeOne(client);
      m_clients.append(client);
      for (const auto &demande : demandes)
        if (demande) emit demandeRecue(QString::fromStdString(*demande));
    };
    connect(client, &QLocalSocket::readyRead, this, read);
    // A line cut off by the end of the connection is not acted on: its
    // sender was stopped mid-way, and nobody is left to answer.
    connect(client, &QLocalSocket::disconnected, this, [this, client] {
      m_clients.removeOne(client);
      client->deleteLater();
    });
    if (client->bytesAvailable() > 0) read();
  }
}

void ServeurInstance::laisse(QLocalSocket *client) {
  m_clients.removeOne(client);
  client->abort();
  client->deleteLater();
}

InstanceUnique::InstanceUnique(const QString &chemin)
    : m_chemin(chemin), m_verrou(std::make_unique<QLockFile>(chemin + QStringLiteral(".lock"))) {
  // Held for the life of an instance: never stale by age. A lock left by an
  // instance that was killed is still taken over, as its process is gone.
  m_verrou->setStaleLockTime(0);
}

Remise InstanceUnique::transmet(const QString &texte, int delaiMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(delaiMs);
  for (;;) {
    const Remise remise = EnvoieDemandeInstance(m_chemin, texte, millisecondsLeft(deadline));
    if (remise == Remise::Prise) return remise;
    if (remise == Remise::Personne && prendVerrou()) return remise;
    // An instance is coming up, or let the request go: try again.
    const int left = millisecondsLeft(deadline);
    if (left == 0) return Remise::SansReponse;
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(left, kPauseEssaiMs)));
  }
}

// True when no live instance holds the start lock: this start holds it now,
// or it cannot be made at all (a runtime folder that cannot be written). In
// that case the start goes on without it: a rare second instance is better
// than a program that does not start.
bool InstanceUnique::prendVerrou() {
  if (m_verrou->isLocked() || m_verrou->tryLock(0)) return true;
  return m_verrou->error() != QLockFile::LockFailedError;
}

std::unique_ptr<ServeurInstance> InstanceUnique::ecoute() {
  if (!prendVerrou()) return nullptr;
  auto serveur = std::make_unique<ServeurInstance>();
  if (serveur->ecoute(m_chemin)) return serveur;
  // Unreachable without its socket: let a later start serve in its place.
  if (m_verrou->isLocked()) m_verrou->unlock();
  return nullptr;
}

}  // namespace kvx::platform
