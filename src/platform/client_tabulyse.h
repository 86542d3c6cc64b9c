// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "exchange/settings_store.h"

// The conversation with the analysis program Tabulyse, which takes the table
// KVX has put on the clipboard when it is told to over its request server
// ("Tabulyse.ServeurDDE"): "CLIP|LOAD" opens it as a new file, "CLIP|ADD"
// adds it as a new page. The program is started when it does not run. Every
// wait here pumps the window's paint and timer events, so the window keeps
// painting while Tabulyse comes up; clicks and keys wait until the transfer
// is over.
namespace kvx::platform {

inline constexpr char kCommandeNouveauFichier[] = "CLIP|LOAD";
inline constexpr char kCommandeNouvellePage[] = "CLIP|ADD";
inline constexpr char kImpossibleDeLancer[] = "Impossible de lancer Tabulyse";
inline constexpr char kTransfertNonExecute[] = "Transfert non exécuté";

// Where the settings say Tabulyse is: "Tabulyse/Path", replaced by
// "Tabulyse/Tabulyse/Path" when that one is set; "tabulyse", looked for on
// the PATH, when neither is.
QString CheminTabulyse(const exchange::SettingsStore &reglages);

// Whether Tabulyse is installed at all: a path in the settings, or
// "tabulyse" on the PATH. Without it a transfer has nothing to start.
bool TabulyseInstalle(const exchange::SettingsStore &reglages);

enum class ResultatTransfert {
  Envoye,              // Tabulyse acknowledged the command
  ImpossibleDeLancer,  // no Tabulyse answered, even after starting it
  NonExecute,          // Tabulyse answered the connection but not the command
};

class ClientTabulyse {
 public:
  // A program just started needs time to open its window and its server.
  static constexpr int kAttenteDemarrageMs = 2000;
  // The last chance of a program that is slow to come up.
  static constexpr int kAttenteReessaiMs = 1000;
  // Tabulyse acknowledges a command before it reads the clipboard.
  static constexpr int kDelaiAccuseMs = 2000;

  struct Options {
    QString socket;     // Tabulyse's request server
    QString programme;  // what is started when it does not run
    int attenteDemarrageMs = kAttenteDemarrageMs;
    int attenteReessaiMs = kAttenteReessaiMs;
    int delaiAccuseMs = kDelaiAccuseMs;
    // Starts the program detached; false when it could not be started.
    std::function<bool(const QString &programme)> lance;
    // One step of the window's event pump, run between the tries of a wait.
    std::function<void()> pompe;
  };

  // The real program: the socket in the user's runtime folder, the program
  // from the settings, a detached start and the window's event pump.
  static Options OptionsUtilisateur(const exchange::SettingsStore &reglages);

  explicit ClientTabulyse(Options options);

  // True when Tabulyse's server answers a connection.
  bool EstLance() const;
  // Sends `commande` ("CLIP|LOAD" or "CLIP|ADD"), starting Tabulyse first
  // when it does not run.
  ResultatTransfert Transfere(const std::string &commande);

 private:
  int Ouvre() const;
  int OuvreEnAttendant(int delaiMs) const;
  bool Envoie(int fd, const std::string &commande) const;
  void Attends(int millisecondes) const;

  Options m_options;
};

}  // namespace kvx::platform
