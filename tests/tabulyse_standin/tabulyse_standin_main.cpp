// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the analysis program, for the tests of the transfer only
// (never installed). It serves "Tabulyse.ServeurDDE" as the real program
// does, and writes to a log each start and each request with the clipboard
// text it found then. Set by its environment, which a program started by
// KVX inherits from the test:
//   TABULYSE_STANDIN_LOG      the log (one line an event, tabs escaped)
//   TABULYSE_STANDIN_SOCKET   where to listen (default: as the real one)
//   TABULYSE_STANDIN_DELAY_MS how long it takes to come up
//   TABULYSE_STANDIN_MODE     accept (answers "OK"), refuse (hangs up at the
//                             request) or silent (never answers)
//   TABULYSE_STANDIN_LIFE_MS  it ends by itself after this long
// The request "QUIT" is answered and ends it.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include "platform/serveur_requetes.h"

namespace {

QString Echappe(QString texte) {
  texte.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  texte.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
  texte.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
  texte.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
  return texte;
}

void Note(const QString &ligne) {
  const QString chemin = qEnvironmentVariable("TABULYSE_STANDIN_LOG");
  if (chemin.isEmpty()) return;
  QFile log(chemin);
  if (!log.open(QIODevice::Append)) return;
  log.write((ligne + QLatin1Char('\n')).toUtf8());
}

int Entier(const char *variable, int parDefaut) {
  bool ok = false;
  const int n = qEnvironmentVariableIntValue(variable, &ok);
  return ok ? n : parDefaut;
}

}  // namespace

int main(int argc, char **argv) {
  QGuiApplication app(argc, argv);
  QString socket = qEnvironmentVariable("TABULYSE_STANDIN_SOCKET");
  if (socket.isEmpty())
    socket = kvx::platform::CheminService(QString::fromLatin1(kvx::platform::kServiceTabulyse));
  const QString mode = qEnvironmentVariable("TABULYSE_STANDIN_MODE", QStringLiteral("accept"));
  Note(QStringLiteral("start\t%1").arg(QCoreApplication::applicationPid()));
  QThread::msleep(static_cast<unsigned long>(Entier("TABULYSE_STANDIN_DELAY_MS", 0)));

  // One copy at a time, as the real program.
  QLocalSocket essai;
  essai.connectToServer(socket);
  if (essai.waitForConnected(500)) {
    Note(QStringLiteral("second"));
    return 0;
  }
  QLocalServer serveur;
  serveur.setSocketOptions(QLocalServer::UserAccessOption);
  QLocalServer::removeServer(socket);
  if (!serveur.listen(socket)) {
    Note(QStringLiteral("cannot listen\t") + serveur.errorString());
    return 1;
  }
  Note(QStringLiteral("listening"));
  QObject::connect(&serveur, &QLocalServer::newConnection, &serveur, [&] {
    while (QLocalSocket *client = serveur.nextPendingConnection()) {
      auto *ligne = new QByteArray;
      QObject::connect(client, &QObject::destroyed, [ligne] { delete ligne; });
      QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
      QObject::connect(client, &QLocalSocket::readyRead, client, [&, client, ligne] {
        ligne->append(client->readAll());
        int fin;
        while ((fin = ligne->indexOf('\n')) >= 0) {
          const QString requete = QString::fromUtf8(ligne->left(fin));
          ligne->remove(0, fin + 1);
          Note(QStringLiteral("request\t%1\t%2")
                   .arg(Echappe(requete), Echappe(QGuiApplication::clipboard()->text())));
          if (mode == QLatin1String("refuse")) {
            client->abort();
            return;
          }
          if (mode == QLatin1String("silent")) continue;
          client->write("OK\n");
          client->flush();
          if (requete == QLatin1String("QUIT"))
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
        }
      });
    }
  });
  QTimer::singleShot(Entier("TABULYSE_STANDIN_LIFE_MS", 20000), &app, &QCoreApplication::quit);
  const int resultat = QCoreApplication::exec();
  Note(QStringLiteral("end"));
  return resultat;
}
