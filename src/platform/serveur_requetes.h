// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "platform/instance_unique.h"

// The request server of the running KVX: other programs of the same user
// (the desktop opening a ".KVX" file, the analysis program asking for the
// data, `kvx-send` in a script) send one request a line to the local socket
// "KVX.ServeurDDE" and get "OK" for each, known or not. A request can only
// bring the window to the front and make the next transfer a new page; the
// socket, its limits and its answers are those of the single-instance server,
// so no client can block the window or make it run out of anything.
namespace kvx::platform {

inline constexpr char kServiceKVX[] = "KVX";
inline constexpr char kServiceTabulyse[] = "Tabulyse";

// The socket of a program's request server: "<service>.ServeurDDE" in the
// user's runtime folder. A service that holds a "/" is taken as the path of
// the socket itself (a server started by hand elsewhere).
QString CheminService(const QString &service);

class ServeurRequetes : public QObject {
  Q_OBJECT
 public:
  explicit ServeurRequetes(int delaiClientMs = ServeurInstance::kDelaiClientMs,
                           QObject *parent = nullptr);
  ~ServeurRequetes() override;

  // Listens at `chemin`; false when another running KVX serves it already or
  // the socket cannot be made (the program then runs without the server).
  bool ecoute(const QString &chemin = CheminService(QString::fromLatin1(kServiceKVX)));
  QString chemin() const;

 signals:
  // In this order for "GETDATA": the page first, then the window.
  void nouvellePageDemandee();
  void focusDemande();

 private:
  void traite(const QString &texte);

  std::unique_ptr<ServeurInstance> m_serveur;
};

}  // namespace kvx::platform
