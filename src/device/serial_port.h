// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The byte stream to the box: one open serial port. The link reads and writes
// through this interface only, so the same code runs on a termios device, a
// pseudo-terminal or the in-process simulated box.
//
// A port never blocks longer than the time-out it is given. A line that has
// gone (hang-up, end of file, I/O error: the box or its adapter unplugged)
// answers Gone from then on, which is not the same as "no data yet".

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kvx::device {

enum class PortIo {
  Ok,       // done / a byte is ready
  Timeout,  // nothing within the time allowed
  Gone,     // the line has gone: hang-up, end of file or I/O error
};

struct PortRead {
  std::size_t count = 0;  // bytes placed in the buffer
  bool gone = false;      // the line went (bytes read before that still count)
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;  // closes the port

  // The device this port is, for the log ("/dev/ttyUSB0").
  virtual std::string name() const = 0;
  // Writes all the bytes, waiting at most `timeout` for room on the way out.
  virtual PortIo write(const std::uint8_t *data, std::size_t size,
                       std::chrono::nanoseconds timeout) = 0;
  // Takes what has arrived, without waiting.
  virtual PortRead read(std::uint8_t *buffer, std::size_t capacity) = 0;
  // Waits until a byte can be read, the time-out passes or the line goes.
  // It must really wait (or move the clock it shares with the link): the
  // link's time-outs pass only through these waits.
  virtual PortIo waitReadable(std::chrono::nanoseconds timeout) = 0;
  // Forgets the bytes received and not yet read.
  virtual void flushInput() = 0;
  // A file descriptor the shell can watch for incoming bytes, or -1.
  virtual int nativeHandle() const { return -1; }
};

enum class OpenFailure {
  None,
  Held,     // the port exists but another program holds it
  Refused,  // the port exists but this user may not open it (not in its group)
  Missing,  // no such port
  Error,    // it exists but is no usable serial port
};

struct OpenResult {
  std::unique_ptr<SerialPort> port;  // set exactly when failure is None
  OpenFailure failure = OpenFailure::None;
  std::string detail;  // the system's reason, for the log
};

// The numbered ports the search walks through (1 to count). The platform
// builds it from the command line and the system's devices; tests give ptys
// or in-process ports.
class PortProvider {
 public:
  virtual ~PortProvider() = default;
  virtual int portCount() const = 0;
  // Device name of port n (1-based), empty when there is no port n.
  virtual std::string portName(int n) const = 0;
  // Opens port n at 9600 8N1 raw, no flow control, DTR off, RTS on.
  virtual OpenResult open(int n) = 0;
  // How many of the first ports the user named (--port): where they expect
  // the box, so a search that failed names them rather than the system's last.
  virtual int namedPortCount() const { return 0; }
};

}  // namespace kvx::device
