// SPDX-License-Identifier: GPL-3.0-or-later
// kvx-send: sends one request to the running KVX (or to another program's
// request server) and tells whether it was acknowledged. For scripts and for
// the desktop: `kvx-send FOCUS` brings KVX to the front, `kvx-send GETDATA`
// makes the next transfer a new page of the analysis program's file.
#include <cstdio>
#include <cstring>
#include <string>

#include <QString>

#include "model/version.h"
#include "platform/instance_unique.h"
#include "platform/serveur_requetes.h"

namespace {

// A running KVX answers at once; this only bounds a server that hangs.
constexpr int kDelaiReponseMs = 5000;

void printUsage(std::FILE *out) {
  std::fprintf(out,
               "Usage: kvx-send [--service NAME] REQUEST\n"
               "Sends REQUEST to the running KVX and waits for its \"OK\".\n"
               "\n"
               "  REQUEST         FOCUS, GETDATA, FILE|LOAD(name), CONFIG|LOAD(name),\n"
               "                  FILE|SAVE or CONFIG|SAVE, in any case; any other\n"
               "                  text is acknowledged and ignored\n"
               "  --service NAME  the program to reach (default KVX): the socket\n"
               "                  NAME.ServeurDDE in the user's runtime folder, or\n"
               "                  NAME itself when it holds a \"/\"\n"
               "  --help          show this help\n"
               "  --version       show the version\n"
               "\n"
               "Exit status: 0 when the request was acknowledged, 1 when no server\n"
               "runs or it did not answer, 2 for a usage error.\n");
}

int usageError(const std::string &what) {
  std::fprintf(stderr, "kvx-send: %s\n", what.c_str());
  printUsage(stderr);
  return 2;
}

// The line end ends a request on the socket: line breaks inside the text
// travel as carriage returns, so a text of two lines stays one request, which
// the server acknowledges and ignores.
QString SurUneLigne(QString texte) {
  texte.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
  texte.replace(QLatin1Char('\n'), QLatin1Char('\r'));
  return texte;
}

}  // namespace

int main(int argc, char **argv) {
  QString service = QString::fromLatin1(kvx::platform::kServiceKVX);
  std::string requete;
  bool aRequete = false;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (options && arg == "--help") {
      printUsage(stdout);
      return 0;
    }
    if (options && arg == "--version") {
      std::printf("kvx-send %s\n", kvx::model::kVersion);
      return 0;
    }
    if (options && arg == "--") {
      options = false;
    } else if (options && (arg == "--service" || arg.rfind("--service=", 0) == 0)) {
      std::string nom;
      if (arg == "--service") {
        if (i + 1 >= argc) return usageError("--service needs a name");
        nom = argv[++i];
      } else {
        nom = arg.substr(std::strlen("--service="));
      }
      if (nom.empty()) return usageError("--service needs a name");
      service = QString::fromLocal8Bit(nom.c_str());
    } else if (options && arg.size() > 1 && arg[0] == '-') {
      return usageError("unknown option " + arg);
    } else if (aRequete) {
      return usageError("one request only (quote a request that holds blanks)");
    } else {
      requete = arg;
      aRequete = true;
    }
  }
  if (!aRequete) return usageError("no request given");

  const QString chemin = kvx::platform::CheminService(service);
  const QString texte = SurUneLigne(QString::fromLocal8Bit(requete.c_str()));
  switch (kvx::platform::EnvoieDemandeInstance(chemin, texte, kDelaiReponseMs)) {
    case kvx::platform::Remise::Prise:
      return 0;
    case kvx::platform::Remise::Personne:
      std::fprintf(stderr, "kvx-send: %s is not running (nothing answers at %s)\n",
                   qPrintable(service), qPrintable(chemin));
      return 1;
    case kvx::platform::Remise::SansReponse:
      break;
  }
  std::fprintf(stderr, "kvx-send: %s did not acknowledge the request in time\n",
               qPrintable(service));
  return 1;
}
