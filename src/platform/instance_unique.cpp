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
#include <cerrno>
#include <chrono>
#include <cstring>

#include "exchange/demande_instance.h"

namespace kvx::platform {

namespace {

// A silent client is dropped after this long; a start sends its request at
// once, so only a stuck or hostile client ever waits that much.
constexpr int kDelaiClientMs = 5000;
constexpr int kClientsMax = 8;

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

int millisecondsLeft(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

bool sendAll(int fd, const QByteArray &bytes, std::chrono::steady_clock::time_point deadline) {
  qsizetype sent = 0;
  while (sent < bytes.size()) {
    pollfd ready{fd, POLLOUT, 0};
    if (::poll(&ready, 1, millisecondsLeft(deadline)) <= 0) return false;
    const auto n = ::send(fd, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent),
                          MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += n;
  }
  return true;
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

QString CheminSocketInstance() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder + QStringLiteral("/KVX.instance");
}

bool EnvoieDemandeInstance(const QString &chemin, const QString &texte, int delaiMs) {
  const QByteArray path = QFile::encodeName(chemin);
  sockaddr_un address{};
  if (path.isEmpty() || static_cast<size_t>(path.size()) >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
  Descripteur socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (socket.get() < 0) return false;
  // A local connect succeeds or fails at once: no wait needed here.
  if (::connect(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
    return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(delaiMs);
  if (!sendAll(socket.get(), texte.toUtf8() + '\n', deadline)) return false;
  // The answer only tells that the request was read; the request is taken
  // even when the instance is too busy to answer in time.
  ::shutdown(socket.get(), SHUT_WR);
  char answer[16];
  pollfd ready{socket.get(), POLLIN, 0};
  if (::poll(&ready, 1, millisecondsLeft(deadline)) > 0)
    (void)::recv(socket.get(), answer, sizeof answer, 0);
  return true;
}

ServeurInstance::ServeurInstance(QObject *parent)
    : QObject(parent), m_serveur(std::make_unique<QLocalServer>()) {
  m_serveur->setSocketOptions(QLocalServer::UserAccessOption);
  m_serveur->setMaxPendingConnections(kClientsMax);
  connect(m_serveur.get(), &QLocalServer::newConnection, this, &ServeurInstance::accepte);
}

ServeurInstance::~ServeurInstance() = default;

bool ServeurInstance::ecoute(const QString &chemin) {
  if (m_serveur->listen(chemin)) return true;
  if (m_serveur->serverError() != QAbstractSocket::AddressInUseError) return false;
  // Left behind by an instance that did not end cleanly (the caller found
  // nobody answering there).
  QLocalServer::removeServer(chemin);
  return m_serveur->listen(chemin);
}

QString ServeurInstance::chemin() const {
  return m_serveur->fullServerName();
}

void ServeurInstance::accepte() {
  while (QLocalSocket *client = m_serveur->nextPendingConnection()) {
    if (m_clients >= kClientsMax || !sameUser(client)) {
      client->abort();
      client->deleteLater();
      continue;
    }
    ++m_clients;
    connect(client, &QObject::destroyed, this, [this] { --m_clients; });
    auto lecteur = std::make_shared<exchange::LecteurDemandes>();
    auto *timer = new QTimer(client);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, client, &QLocalSocket::abort);
    timer->start(kDelaiClientMs);
    const auto read = [this, client, lecteur] {
      const QByteArray bytes = client->readAll();
      const auto demandes = lecteur->ajoute(std::string_view(bytes.constData(), bytes.size()));
      repond(client, demandes.size());
      for (const auto &demande : demandes)
        if (demande) emit demandeRecue(QString::fromStdString(*demande));
    };
    connect(client, &QLocalSocket::readyRead, this, read);
    connect(client, &QLocalSocket::disconnected, this, [this, client, lecteur] {
      if (const auto last = lecteur->termine(); last && *last)
        emit demandeRecue(QString::fromStdString(**last));
      client->deleteLater();
    });
    if (client->bytesAvailable() > 0) read();
  }
}

void ServeurInstance::repond(QLocalSocket *client, std::size_t nombre) {
  for (std::size_t i = 0; i < nombre; ++i) client->write("OK\n");
}

InstanceUnique::InstanceUnique(const QString &chemin)
    : m_chemin(chemin), m_verrou(std::make_unique<QLockFile>(chemin + QStringLiteral(".lock"))) {
  // A start that cannot get the lock within this time goes on without it: a
  // rare second instance is better than a program that does not start.
  m_verrou->setStaleLockTime(0);
  m_verrou->tryLock(5000);
}

bool InstanceUnique::transmet(const QString &texte, int delaiMs) {
  return EnvoieDemandeInstance(m_chemin, texte, delaiMs);
}

std::unique_ptr<ServeurInstance> InstanceUnique::ecoute() {
  auto serveur = std::make_unique<ServeurInstance>();
  const bool listening = serveur->ecoute(m_chemin);
  m_verrou->unlock();
  if (!listening) return nullptr;
  return serveur;
}

}  // namespace kvx::platform
