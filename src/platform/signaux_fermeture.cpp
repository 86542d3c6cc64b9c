// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/signaux_fermeture.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace kvx::platform {

namespace {

constexpr int kSignaux[] = {SIGTERM, SIGINT, SIGHUP};

// The two ends of the self-pipe; only async-signal-safe calls touch them.
volatile sig_atomic_t gEcriture = -1;
int gLecture = -1;

// A second signal while the close saves must not kill it half-way through
// the user's files; only a third one, from someone who insists on a program
// that seems stuck, ends it at once.
constexpr int kSignauxAvantArret = 3;
volatile sig_atomic_t gRecus = 0;

void handler(int signal) {
  if (++gRecus >= kSignauxAvantArret) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  const int saved = errno;
  const char byte = static_cast<char>(signal);
  if (gEcriture >= 0) (void)!::write(gEcriture, &byte, 1);
  errno = saved;
}

}  // namespace

SignauxFermeture::SignauxFermeture(QObject *parent) : QObject(parent) {
  int ends[2];
  if (gLecture >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return;
  ::fcntl(ends[0], F_SETFL, O_NONBLOCK);
  ::fcntl(ends[1], F_SETFL, O_NONBLOCK);
  gLecture = ends[0];
  gEcriture = ends[1];
  m_notifier = std::make_unique<QSocketNotifier>(gLecture, QSocketNotifier::Read);
  connect(m_notifier.get(), &QSocketNotifier::activated, this, &SignauxFermeture::lit);
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  gRecus = 0;
  for (const int signal : kSignaux) ::sigaction(signal, &action, nullptr);
}

SignauxFermeture::~SignauxFermeture() {
  if (!m_notifier) return;
  for (const int signal : kSignaux) std::signal(signal, SIG_DFL);
  m_notifier.reset();
  const int writeEnd = gEcriture;
  gEcriture = -1;
  ::close(writeEnd);
  ::close(gLecture);
  gLecture = -1;
}

void SignauxFermeture::lit() {
  char bytes[16];
  const auto n = ::read(gLecture, bytes, sizeof bytes);
  for (ssize_t i = 0; i < n; ++i) emit fermetureDemandee(static_cast<unsigned char>(bytes[i]));
}

}  // namespace kvx::platform
