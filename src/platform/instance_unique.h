// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
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

// A socket connected to the local server at `chemin`, or minus the error.
// Never waits: a local connect succeeds or fails at once, with -EAGAIN when
// the server has a queue of connections it has not taken yet (a busy
// program), where a blocking connect would wait as long as it is busy.
int ConnecteLocal(const QString &chemin);

// What became of a request sent to a running instance.
enum class Remise {
  Personne,     // nobody listens at the socket
  Prise,        // the instance answered: it has the request
  SansReponse,  // a server was reached but let the request go or did not answer in time
};

// Sends one request (its text and a line feed) to the server at `chemin` and
// waits up to `delaiMs` for its answer. Plain POSIX calls: this runs before
// the program has any Qt application.
Remise EnvoieDemandeInstance(const QString &chemin, const QString &texte, int delaiMs);

// The receiving end in the running instance: accepts connections of the same
// user only, cuts each into requests and answers "OK" to each one, also when
// the sender has already shut its writing side. Requests that are not text
// or longer than 64 KiB are answered and dropped; a line cut off by the end
// of its connection is dropped unanswered. A client that stays silent is let
// go after a while, and when too many are connected the one silent for the
// longest makes room, so nothing a client does can block the window or keep
// a start out.
class ServeurInstance : public QObject {
  Q_OBJECT
 public:
  // A start sends its request as soon as it is connected: a client silent
  // for this long is stuck or hostile.
  static constexpr int kDelaiClientMs = 5000;
  // Only against running out of descriptors: starts come one a double-click.
  static constexpr int kClientsMax = 64;
  // Answers a client has not read yet; a sender reads each "OK" at once, so
  // this many waiting means a client that never reads.
  static constexpr qint64 kReponsesEnAttenteMax = 64 * 1024;

  explicit ServeurInstance(int delaiClientMs = kDelaiClientMs, QObject *parent = nullptr);
  ~ServeurInstance() override;

  // Listens at `chemin`, replacing a socket file that nobody answers at; a
  // socket that another server still serves is left alone.
  bool ecoute(const QString &chemin);
  QString chemin() const;

 signals:
  // A request: the text of the other start's arguments; empty when it only
  // asks this instance to come to the front.
  void demandeRecue(const QString &texte);

 private:
  void accepte();
  void laisse(QLocalSocket *client);

  int m_delaiClientMs;
  // Connected clients, the one silent for the longest first.
  QList<QLocalSocket *> m_clients;
  std::unique_ptr<QLocalServer> m_serveur;
};

// The single-instance rule at start. The start lock is held by the running
// instance for its whole life, so that it proves the instance alive: a start
// that cannot reach the socket and cannot take the lock knows an instance
// runs or is about to, and keeps trying to hand over instead of taking its
// place. Two starts made at the same moment (a double-click on two files)
// thus make exactly one running instance.
class InstanceUnique {
 public:
  // Long enough for a start made at the same moment to come up and listen.
  static constexpr int kDelaiTransmissionMs = 10000;

  explicit InstanceUnique(const QString &chemin = CheminSocketInstance());

  // Hands `texte` to the running instance, trying again for up to `delaiMs`.
  // Prise: this start ends. Personne: no instance runs and this start now
  // holds the lock: it becomes the instance. SansReponse: an instance runs
  // but did not take the text.
  Remise transmet(const QString &texte, int delaiMs = kDelaiTransmissionMs);
  // Becomes the running instance (needs the Qt application). The lock stays
  // held as long as this object lives: keep it for the life of the program.
  // Nothing when another instance runs, or when the socket cannot be made:
  // the program then runs without single-instance protection.
  std::unique_ptr<ServeurInstance> ecoute();

 private:
  bool prendVerrou();

  QString m_chemin;
  std::unique_ptr<QLockFile> m_verrou;
};

}  // namespace kvx::platform
