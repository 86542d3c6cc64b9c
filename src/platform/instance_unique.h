#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace kvx::platform {

// Path of the socket by which a second start reaches the running instance:
// "KVX.instance" in the user's runtime folder, which only the user can enter.
QString CheminSocketInstance();

// Sends one request (its text and a line feed) to the server at `chemin` and
// waits up to `delaiMs` for the answer. True when a server took the request.
// Plain POSIX calls: this runs before the program has any Qt application.
bool EnvoieDemandeInstance(const QString &chemin, const QString &texte, int delaiMs);

// The receiving end in the running instance: accepts connections of the same
// user only, cuts each into requests and answers "OK" to each one. Requests
// that are not text or longer than 64 KiB are answered and dropped. A client
// that stays silent is let go after a few seconds, and at most a handful of
// clients are served at once, so nothing a client does can block the window.
class ServeurInstance : public QObject {
  Q_OBJECT
 public:
  explicit ServeurInstance(QObject *parent = nullptr);
  ~ServeurInstance() override;

  // Listens at `chemin`, replacing a socket file that nobody answers at.
  bool ecoute(const QString &chemin);
  QString chemin() const;

 signals:
  // A request: the text of the other start's arguments; empty when it only
  // asks this instance to come to the front.
  void demandeRecue(const QString &texte);

 private:
  void accepte();
  void lit(QLocalSocket *client);
  void repond(QLocalSocket *client, std::size_t nombre);

  std::unique_ptr<QLocalServer> m_serveur;
  int m_clients = 0;
};

// The single-instance rule at start: a start lock serialises two starts made
// at the same moment (a double-click on two files), so that exactly one of
// them becomes the running instance.
class InstanceUnique {
 public:
  explicit InstanceUnique(const QString &chemin = CheminSocketInstance());

  // True when an instance already runs and took `texte`: this start ends.
  bool transmet(const QString &texte, int delaiMs = 3000);
  // Becomes the running instance (needs the Qt application) and releases the
  // start lock. Nothing when the socket cannot be made: the program then runs
  // without single-instance protection.
  std::unique_ptr<ServeurInstance> ecoute();

 private:
  QString m_chemin;
  std::unique_ptr<QLockFile> m_verrou;
};

}  // namespace kvx::platform
