// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Serial ports in the process: a port wired to a WirePeer (usually the
// simulated box) through a paced line, and a port table of such ports for the
// search. With a ManualClock every wait passes in no time and the timing of
// the wire is exact, so engine and link tests run fast and the same each time.

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "device/serial_port.h"
#include "device/wire_pacer.h"

namespace kvx::device {

class SimulatedPort final : public SerialPort {
 public:
  // `unplugged` (may be null) turns the line into a gone one when set.
  SimulatedPort(WirePeer &peer, Clock &clock, std::string name,
                Clock::duration byteTime = kByteTime,
                std::shared_ptr<std::atomic<bool>> unplugged = nullptr);

  std::string name() const override { return m_name; }
  PortIo write(const std::uint8_t *data, std::size_t size,
               std::chrono::nanoseconds timeout) override;
  PortRead read(std::uint8_t *buffer, std::size_t capacity) override;
  PortIo waitReadable(std::chrono::nanoseconds timeout) override;
  void flushInput() override;

 private:
  bool gone() const { return m_unplugged && m_unplugged->load(); }

  WirePeer &m_peer;
  Clock &m_clock;
  std::string m_name;
  WirePacer m_pacer;
  std::shared_ptr<std::atomic<bool>> m_unplugged;
};

// Numbered in-process ports: a peer behind each, or one another program
// holds, or one this user may not open, or none at all.
class SimulatedPortTable final : public PortProvider {
 public:
  explicit SimulatedPortTable(Clock &clock, Clock::duration byteTime = kByteTime);

  int addPeer(WirePeer &peer);  // returns the port number
  int addHeld();
  int addRefused();  // a device this user may not open
  int addMissing();
  // The first `count` ports count as named by the user (--port).
  void setNamedPortCount(int count) { m_named = count; }
  // The line of port n goes (open ports see it at once, new opens fail).
  void unplug(int n);
  int openCount(int n) const;  // how often port n was opened

  int portCount() const override { return static_cast<int>(m_entries.size()); }
  std::string portName(int n) const override;
  OpenResult open(int n) override;
  int namedPortCount() const override { return m_named; }

 private:
  enum class Kind { Peer, Held, Refused, Missing };
  struct Entry {
    Kind kind;
    WirePeer *peer;
    std::shared_ptr<std::atomic<bool>> unplugged;
    int opens = 0;
  };
  Clock &m_clock;
  Clock::duration m_byteTime;
  std::vector<Entry> m_entries;
  int m_named = 0;
};

}  // namespace kvx::device
