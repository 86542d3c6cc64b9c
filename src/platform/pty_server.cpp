// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace kvx::platform {

namespace {

using steady = std::chrono::steady_clock;

// With nothing on the line the thread still looks at the peer this often, in
// case it has something to say unasked.
constexpr std::chrono::milliseconds kIdleWake{20};

bool setNonBlocking(int fd) {
  int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 &&
         ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

std::string systemError(const char *what) {
  return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

PtyServer::PtyServer(std::unique_ptr<device::WirePeer> peer)
    : PtyServer(std::move(peer), Options{}) {}

PtyServer::PtyServer(std::unique_ptr<device::WirePeer> peer, Options options)
    : m_peer(std::move(peer)), m_options(options), m_pacer(options.byteTime) {}

PtyServer::~PtyServer() {
  stop();
}

bool PtyServer::start(std::string *error) {
  auto fail = [&](const std::string &why) {
    if (error) *error = why;
    closeAll();
    return false;
  };
  if (running()) return true;
  m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (m_master < 0) return fail(systemError("posix_openpt"));
  if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) return fail(systemError("grantpt"));
  char name[128];
  if (::ptsname_r(m_master, name, sizeof name) != 0) return fail(systemError("ptsname"));
  m_slavePath = name;
  if (!setNonBlocking(m_master)) return fail(systemError("fcntl"));
  // Our own descriptor of the far end: the line stays up between the
  // program's opens, and it is raw (no echo) before the program sets it.
  m_slaveKeep = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (m_slaveKeep < 0) return fail(systemError("open pty"));
  termios t{};
  if (::tcgetattr(m_slaveKeep, &t) == 0) {
    ::cfmakeraw(&t);
    ::tcsetattr(m_slaveKeep, TCSANOW, &t);
  }
  if (::pipe(m_wake) != 0) return fail(systemError("pipe"));
  setNonBlocking(m_wake[0]);
  setNonBlocking(m_wake[1]);
  m_stop = false;
  m_thread = std::thread([this] { serve(); });
  return true;
}

void PtyServer::stop() {
  if (m_thread.joinable()) {
    m_stop = true;
    char byte = 1;
    // A wake pipe already full wakes the thread all the same.
    const ssize_t written = ::write(m_wake[1], &byte, 1);
    (void)written;
    m_thread.join();
  }
  closeAll();
}

void PtyServer::closeAll() {
  for (int *fd : {&m_master, &m_slaveKeep, &m_wake[0], &m_wake[1]}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
}

void PtyServer::serve() {
  std::vector<std::uint8_t> outgoing;  // crossed the line, not yet taken by the pty
  std::uint8_t buffer[4096];
  while (!m_stop) {
    auto now = steady::now();
    std::optional<steady::time_point> next;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_pacer.run(*m_peer, now);
      std::size_t n = m_pacer.takeArrived(now, buffer, sizeof buffer);
      outgoing.insert(outgoing.end(), buffer, buffer + n);
      next = m_pacer.nextEvent(*m_peer);
    }
    if (!outgoing.empty()) {
      ssize_t n = ::write(m_master, outgoing.data(), outgoing.size());
      if (n > 0) {
        m_bytesOut += static_cast<std::uint64_t>(n);
        outgoing.erase(outgoing.begin(), outgoing.begin() + n);
      }
    }
    auto wake = now + kIdleWake;
    if (next) wake = std::min(wake, std::max(*next, now));
    auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(wake - steady::now());
    left = std::max(left, std::chrono::nanoseconds(0));
    timespec ts{static_cast<time_t>(left.count() / 1'000'000'000),
                static_cast<long>(left.count() % 1'000'000'000)};
    pollfd fds[2] = {{m_master, static_cast<short>(POLLIN | (outgoing.empty() ? 0 : POLLOUT)), 0},
                     {m_wake[0], POLLIN, 0}};
    if (::ppoll(fds, 2, &ts, nullptr) < 0 && errno != EINTR) break;
    if (fds[1].revents) break;
    if (fds[0].revents & POLLIN) {
      ssize_t n = ::read(m_master, buffer, sizeof buffer);
      if (n > 0) {
        m_bytesIn += static_cast<std::uint64_t>(n);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pacer.hostWrote(buffer, static_cast<std::size_t>(n), steady::now());
      }
    }
  }
}

}  // namespace kvx::platform
