// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The box's serial port on a POSIX system: a termios device (USB adapter,
// on-board port or pseudo-terminal) set to 9600 8N1 raw, no flow control, DTR
// off and RTS on, non-blocking and waited on with poll(). An exclusive flock
// marks it as ours; another program's lock makes it "held". Plain POSIX, no
// Qt, usable from any thread.

#include <string>

#include "device/serial_port.h"

namespace kvx::platform {

class PosixSerialPort final : public device::SerialPort {
 public:
  static device::OpenResult open(const std::string &path);
  ~PosixSerialPort() override;

  std::string name() const override { return m_path; }
  device::PortIo write(const std::uint8_t *data, std::size_t size,
                       std::chrono::nanoseconds timeout) override;
  device::PortRead read(std::uint8_t *buffer, std::size_t capacity) override;
  device::PortIo waitReadable(std::chrono::nanoseconds timeout) override;
  void flushInput() override;
  int nativeHandle() const override { return m_fd; }

 private:
  PosixSerialPort(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
  device::PortIo waitFor(short events, std::chrono::nanoseconds timeout);

  int m_fd;
  std::string m_path;
};

}  // namespace kvx::platform
