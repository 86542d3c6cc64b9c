// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace kvx::platform {

using device::OpenFailure;
using device::OpenResult;
using device::PortIo;
using device::PortRead;

namespace {

OpenResult failure(OpenFailure kind, const std::string &detail) {
  OpenResult r;
  r.failure = kind;
  r.detail = detail;
  return r;
}

std::string systemError(const char *what) {
  return std::string(what) + ": " + std::strerror(errno);
}

bool configure(int fd, std::string &detail) {
  termios t{};
  if (::tcgetattr(fd, &t) != 0) {
    detail = systemError("tcgetattr");
    return false;
  }
  ::cfmakeraw(&t);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  t.c_cflag |= CS8 | CLOCAL | CREAD;
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  // VMIN 1 with O_NONBLOCK: no data gives EAGAIN, so a read of 0 bytes can
  // only mean the line went (with VMIN 0 it would also mean "nothing yet").
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  ::cfsetispeed(&t, B9600);
  ::cfsetospeed(&t, B9600);
  if (::tcsetattr(fd, TCSANOW, &t) != 0) {
    detail = systemError("tcsetattr");
    return false;
  }
  // The box is powered with RTS on and DTR off. A pseudo-terminal has no
  // modem lines, so failures here are expected there and harmless.
  int dtr = TIOCM_DTR, rts = TIOCM_RTS;
  (void)::ioctl(fd, TIOCMBIC, &dtr);
  (void)::ioctl(fd, TIOCMBIS, &rts);
  ::tcflush(fd, TCIOFLUSH);
  return true;
}

}  // namespace

OpenResult PosixSerialPort::open(const std::string &path) {
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    int e = errno;
    std::string detail = systemError("open");
    // Refused: the device is there, but the user is not in its group.
    if (e == EACCES || e == EPERM) return failure(OpenFailure::Refused, detail);
    if (e == EBUSY) return failure(OpenFailure::Held, detail);
    if (e == ENOENT || e == ENODEV || e == ENXIO || e == ENOTDIR)
      return failure(OpenFailure::Missing, detail);
    return failure(OpenFailure::Error, detail);
  }
  if (!::isatty(fd)) {
    ::close(fd);
    return failure(OpenFailure::Error, "not a terminal");
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    ::close(fd);
    return failure(OpenFailure::Held, "locked by another program");
  }
  std::string detail;
  if (!configure(fd, detail)) {
    ::close(fd);
    return failure(OpenFailure::Error, detail);
  }
  OpenResult r;
  r.port.reset(new PosixSerialPort(fd, path));
  return r;
}

PosixSerialPort::~PosixSerialPort() {
  if (m_fd >= 0) ::close(m_fd);  // also releases the lock
}

PortIo PosixSerialPort::waitFor(short events, std::chrono::nanoseconds timeout) {
  using clock = std::chrono::steady_clock;
  const auto deadline = clock::now() + timeout;
  for (;;) {
    auto left =
        std::max(std::chrono::nanoseconds(0),
                 std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - clock::now()));
    timespec ts{static_cast<time_t>(left.count() / 1'000'000'000),
                static_cast<long>(left.count() % 1'000'000'000)};
    pollfd p{m_fd, events, 0};
    int r = ::ppoll(&p, 1, &ts, nullptr);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return PortIo::Gone;
    if (r == 0) return PortIo::Timeout;
    if (p.revents & events) return PortIo::Ok;
    return PortIo::Gone;  // POLLHUP, POLLERR or POLLNVAL alone: the line went
  }
}

PortIo PosixSerialPort::write(const std::uint8_t *data, std::size_t size,
                              std::chrono::nanoseconds timeout) {
  using clock = std::chrono::steady_clock;
  const auto deadline = clock::now() + timeout;
  std::size_t done = 0;
  while (done < size) {
    ssize_t n = ::write(m_fd, data + done, size - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - clock::now());
      if (left <= std::chrono::nanoseconds(0)) return PortIo::Timeout;
      PortIo w = waitFor(POLLOUT, left);
      if (w != PortIo::Ok) return w;
      continue;
    }
    return PortIo::Gone;  // EIO and the like: the adapter or the pty's far end went
  }
  return PortIo::Ok;
}

PortRead PosixSerialPort::read(std::uint8_t *buffer, std::size_t capacity) {
  PortRead r;
  while (r.count < capacity) {
    ssize_t n = ::read(m_fd, buffer + r.count, capacity - r.count);
    if (n > 0) {
      r.count += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return r;
    r.gone = true;  // 0 bytes (hang-up) or an I/O error
    return r;
  }
  return r;
}

PortIo PosixSerialPort::waitReadable(std::chrono::nanoseconds timeout) {
  return waitFor(POLLIN, timeout);
}

void PosixSerialPort::flushInput() {
  ::tcflush(m_fd, TCIFLUSH);
}

}  // namespace kvx::platform
