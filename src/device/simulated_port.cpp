// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/simulated_port.h"

#include <algorithm>

namespace kvx::device {

SimulatedPort::SimulatedPort(WirePeer &peer, Clock &clock, std::string name,
                             Clock::duration byteTime, std::shared_ptr<std::atomic<bool>> unplugged)
    : m_peer(peer),
      m_clock(clock),
      m_name(std::move(name)),
      m_pacer(byteTime),
      m_unplugged(std::move(unplugged)) {}

PortIo SimulatedPort::write(const std::uint8_t *data, std::size_t size, std::chrono::nanoseconds) {
  if (gone()) return PortIo::Gone;
  m_pacer.hostWrote(data, size, m_clock.now());
  return PortIo::Ok;
}

PortRead SimulatedPort::read(std::uint8_t *buffer, std::size_t capacity) {
  PortRead r;
  if (gone()) {
    r.gone = true;
    return r;
  }
  auto now = m_clock.now();
  m_pacer.run(m_peer, now);
  r.count = m_pacer.takeArrived(now, buffer, capacity);
  return r;
}

PortIo SimulatedPort::waitReadable(std::chrono::nanoseconds timeout) {
  const auto deadline = m_clock.now() + timeout;
  for (;;) {
    if (gone()) return PortIo::Gone;
    auto now = m_clock.now();
    m_pacer.run(m_peer, now);
    if (m_pacer.hasArrived(now)) return PortIo::Ok;
    if (now >= deadline) return PortIo::Timeout;
    auto next = m_pacer.nextEvent(m_peer);
    auto until = next && *next < deadline ? std::max(*next, now) : deadline;
    // Sleeping on a manual clock moves it to the next byte at once.
    if (until > now)
      m_clock.sleepFor(until - now);
    else
      m_clock.sleepFor(std::chrono::microseconds(1));
  }
}

void SimulatedPort::flushInput() {
  auto now = m_clock.now();
  m_pacer.run(m_peer, now);
  std::uint8_t sink[256];
  while (m_pacer.takeArrived(now, sink, sizeof sink) > 0) {
  }
}

SimulatedPortTable::SimulatedPortTable(Clock &clock, Clock::duration byteTime)
    : m_clock(clock), m_byteTime(byteTime) {}

int SimulatedPortTable::addPeer(WirePeer &peer) {
  m_entries.push_back({Kind::Peer, &peer, std::make_shared<std::atomic<bool>>(false)});
  return portCount();
}

int SimulatedPortTable::addHeld() {
  m_entries.push_back({Kind::Held, nullptr, nullptr});
  return portCount();
}

int SimulatedPortTable::addRefused() {
  m_entries.push_back({Kind::Refused, nullptr, nullptr});
  return portCount();
}

int SimulatedPortTable::addMissing() {
  m_entries.push_back({Kind::Missing, nullptr, nullptr});
  return portCount();
}

void SimulatedPortTable::unplug(int n) {
  if (n < 1 || n > portCount()) return;
  auto &e = m_entries[static_cast<std::size_t>(n - 1)];
  if (e.unplugged) e.unplugged->store(true);
}

int SimulatedPortTable::openCount(int n) const {
  if (n < 1 || n > portCount()) return 0;
  return m_entries[static_cast<std::size_t>(n - 1)].opens;
}

std::string SimulatedPortTable::portName(int n) const {
  if (n < 1 || n > portCount()) return {};
  return "sim:" + std::to_string(n);
}

OpenResult SimulatedPortTable::open(int n) {
  OpenResult r;
  if (n < 1 || n > portCount()) {
    r.failure = OpenFailure::Missing;
    return r;
  }
  auto &e = m_entries[static_cast<std::size_t>(n - 1)];
  ++e.opens;
  if (e.kind == Kind::Held) {
    r.failure = OpenFailure::Held;
    r.detail = "held";
  } else if (e.kind == Kind::Refused) {
    r.failure = OpenFailure::Refused;
    r.detail = "open: Permission denied";
  } else if (e.kind == Kind::Missing || (e.unplugged && e.unplugged->load())) {
    r.failure = OpenFailure::Missing;
  } else {
    r.port =
        std::make_unique<SimulatedPort>(*e.peer, m_clock, portName(n), m_byteTime, e.unplugged);
  }
  return r;
}

}  // namespace kvx::device
