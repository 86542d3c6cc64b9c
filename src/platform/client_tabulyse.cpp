// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/client_tabulyse.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/event_pump.h"
#include "platform/instance_unique.h"
#include "platform/serveur_requetes.h"

namespace kvx::platform {

namespace {

using Horloge = std::chrono::steady_clock;

// Between two looks at the socket in a wait: the window paints at every
// step, far more often than a user could see it stand still.
constexpr int kPasAttenteMs = 10;
constexpr char kSection[] = "Tabulyse";
constexpr char kSousSection[] = "Tabulyse/Tabulyse";
constexpr char kClePath[] = "Path";
constexpr char kProgrammeParDefaut[] = "tabulyse";
constexpr char kAccuse[] = "OK\n";

int RestantMs(Horloge::time_point fin) {
  const auto reste = std::chrono::ceil<std::chrono::milliseconds>(fin - Horloge::now()).count();
  return reste < 0 ? 0 : static_cast<int>(reste);
}

bool Pret(int fd, short evenement) {
  pollfd p{fd, evenement, 0};
  return ::poll(&p, 1, 0) > 0;
}

}  // namespace

QString CheminTabulyse(const exchange::SettingsStore &reglages) {
  std::string chemin = reglages.value(kSection, kClePath).value_or("");
  const std::string sousCle = reglages.value(kSousSection, kClePath).value_or("");
  if (!sousCle.empty()) chemin = sousCle;
  return chemin.empty() ? QString::fromLatin1(kProgrammeParDefaut) : QString::fromStdString(chemin);
}

bool TabulyseInstalle(const exchange::SettingsStore &reglages) {
  if (!reglages.value(kSection, kClePath).value_or("").empty() ||
      !reglages.value(kSousSection, kClePath).value_or("").empty())
    return true;
  return !QStandardPaths::findExecutable(QString::fromLatin1(kProgrammeParDefaut)).isEmpty();
}

ClientTabulyse::Options ClientTabulyse::OptionsUtilisateur(
    const exchange::SettingsStore &reglages) {
  Options o;
  o.socket = CheminService(QString::fromLatin1(kServiceTabulyse));
  o.programme = CheminTabulyse(reglages);
  o.lance = [](const QString &programme) { return QProcess::startDetached(programme, {}); };
  o.pompe = &PompeEvenements;
  return o;
}

ClientTabulyse::ClientTabulyse(Options options) : m_options(std::move(options)) {
  if (!m_options.pompe) m_options.pompe = [] {};
  if (!m_options.lance) m_options.lance = [](const QString &) { return false; };
}

bool ClientTabulyse::EstLance() const {
  const int fd = ConnecteLocal(m_options.socket);
  if (fd >= 0) ::close(fd);
  // A full queue is a server too, busy with other clients.
  return fd >= 0 || fd == -EAGAIN;
}

int ClientTabulyse::Ouvre() const {
  const int fd = ConnecteLocal(m_options.socket);
  return fd >= 0 ? fd : -1;
}

// Tries again and again until the server answers or the time is up, so that
// a program that is quick to come up is not waited for in full.
int ClientTabulyse::OuvreEnAttendant(int delaiMs) const {
  const auto fin = Horloge::now() + std::chrono::milliseconds(delaiMs);
  for (;;) {
    if (const int fd = Ouvre(); fd >= 0) return fd;
    if (RestantMs(fin) == 0) return -1;
    Attends(std::min(RestantMs(fin), kPasAttenteMs));
  }
}

void ClientTabulyse::Attends(int millisecondes) const {
  const auto fin = Horloge::now() + std::chrono::milliseconds(millisecondes);
  do {
    m_options.pompe();
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(RestantMs(fin), kPasAttenteMs)));
  } while (RestantMs(fin) > 0);
}

bool ClientTabulyse::Envoie(int fd, const std::string &commande) const {
  const auto fin = Horloge::now() + std::chrono::milliseconds(m_options.delaiAccuseMs);
  const std::string ligne = commande + '\n';
  std::size_t envoye = 0;
  while (envoye < ligne.size()) {
    if (Pret(fd, POLLOUT)) {
      const auto n = ::send(fd, ligne.data() + envoye, ligne.size() - envoye, MSG_NOSIGNAL);
      if (n < 0 && errno != EINTR && errno != EAGAIN) return false;
      if (n > 0) envoye += static_cast<std::size_t>(n);
      continue;
    }
    if (RestantMs(fin) == 0) return false;
    Attends(std::min(RestantMs(fin), kPasAttenteMs));
  }
  const std::string attendu(kAccuse);
  std::string recu;
  while (recu.size() < attendu.size()) {
    if (Pret(fd, POLLIN | POLLHUP)) {
      char octets[16];
      const auto n = ::recv(fd, octets, sizeof octets, 0);
      if (n == 0) return false;  // let go without an answer
      if (n < 0 && errno != EINTR && errno != EAGAIN) return false;
      if (n > 0) recu.append(octets, static_cast<std::size_t>(n));
      continue;
    }
    if (RestantMs(fin) == 0) return false;
    Attends(std::min(RestantMs(fin), kPasAttenteMs));
  }
  return recu.compare(0, attendu.size(), attendu) == 0;
}

ResultatTransfert ClientTabulyse::Transfere(const std::string &commande) {
  int fd = -1;
  bool demarre = false;
  const bool dejaLa = EstLance();
  if (!dejaLa && m_options.lance(m_options.programme)) {
    demarre = true;
    fd = OuvreEnAttendant(m_options.attenteDemarrageMs);
  }
  if (fd < 0) fd = Ouvre();
  // Started once more only when no start has been made yet and none runs (a
  // busy one counts): a program slow to come up is given time, not a second
  // copy of itself.
  if (fd < 0 && !demarre && !dejaLa && m_options.lance(m_options.programme)) fd = Ouvre();
  if (fd < 0) fd = OuvreEnAttendant(m_options.attenteReessaiMs);
  if (fd < 0) return ResultatTransfert::ImpossibleDeLancer;
  const bool accepte = Envoie(fd, commande);
  ::close(fd);
  return accepte ? ResultatTransfert::Envoye : ResultatTransfert::NonExecute;
}

}  // namespace kvx::platform
