// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Serves a byte-level peer (the simulated box, or a scripted device in tests)
// on a pseudo-terminal, so that the program reaches it through a real
// serial-port path. A thread of its own delivers the program's bytes to the
// peer and sends the peer's answers back, both paced like a 9600-baud line
// (1.0417 ms a byte). Stopping the server closes the pseudo-terminal: the
// program sees the box unplugged. Plain POSIX, no Qt.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "device/box_facts.h"
#include "device/wire_pacer.h"
#include "device/wire_peer.h"

namespace kvx::platform {

class PtyServer {
 public:
  struct Options {
    // Time of one byte on the line each way; tests of logic may shorten it.
    std::chrono::nanoseconds byteTime = device::kByteTime;
  };

  explicit PtyServer(std::unique_ptr<device::WirePeer> peer);
  PtyServer(std::unique_ptr<device::WirePeer> peer, Options options);
  ~PtyServer();  // stops
  PtyServer(const PtyServer &) = delete;
  PtyServer &operator=(const PtyServer &) = delete;

  // Opens the pseudo-terminal and starts serving. On failure returns false
  // and says why in `error`.
  bool start(std::string *error = nullptr);
  // The path the program opens as its serial port ("/dev/pts/4").
  const std::string &slavePath() const { return m_slavePath; }
  // Closes the pseudo-terminal and ends the thread. Safe to call twice.
  void stop();
  bool running() const { return m_thread.joinable(); }

  // Runs f on the peer while the serving thread leaves it alone.
  template <class F>
  auto withPeer(F &&f) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return f(*m_peer);
  }

  std::uint64_t bytesFromProgram() const { return m_bytesIn.load(); }
  std::uint64_t bytesToProgram() const { return m_bytesOut.load(); }

 private:
  void serve();
  void closeAll();

  std::unique_ptr<device::WirePeer> m_peer;
  Options m_options;
  device::WirePacer m_pacer;
  std::mutex m_mutex;
  std::thread m_thread;
  int m_master = -1;
  int m_slaveKeep = -1;  // keeps the line up while the program reopens it
  int m_wake[2] = {-1, -1};
  std::string m_slavePath;
  std::atomic<bool> m_stop{false};
  std::atomic<std::uint64_t> m_bytesIn{0};
  std::atomic<std::uint64_t> m_bytesOut{0};
};

}  // namespace kvx::platform
