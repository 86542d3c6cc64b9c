// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paces the bytes between the program and a peer as a 9600-baud 8N1 line
// does: each byte takes 1.0417 ms on the wire, one after the other, in each
// direction. A command therefore reaches the box only when its last byte has
// crossed, and an answer of 1000 bytes takes a second to come back.
// Used by the pseudo-terminal server and the in-process port.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "device/box_facts.h"
#include "device/wire_peer.h"

namespace kvx::device {

class WirePacer {
 public:
  using time_point = Clock::time_point;
  using duration = Clock::duration;

  // Bytes the line holds in flight each way at most; more is lost, as with an
  // overrun (only a runaway writer gets there).
  static constexpr std::size_t kMaxInFlight = 1 << 16;

  explicit WirePacer(duration byteTime = kByteTime) : m_byteTime(byteTime) {}

  // The program wrote these bytes at `now`.
  void hostWrote(const std::uint8_t *data, std::size_t size, time_point now);
  // Hands the peer every byte that has arrived by `now` and puts its answers
  // on the line behind whatever it is already sending.
  void run(WirePeer &peer, time_point now);
  // Moves to `buffer` the bytes from the peer that have crossed by `now`.
  std::size_t takeArrived(time_point now, std::uint8_t *buffer, std::size_t capacity);
  bool hasArrived(time_point now) const { return !m_out.empty() && m_out.front().due <= now; }
  // The next time something happens on the line (a byte arrives either way).
  std::optional<time_point> nextEvent(const WirePeer &peer) const;
  std::size_t inFlightToPeer() const { return m_in.size(); }
  std::size_t inFlightFromPeer() const { return m_out.size(); }

 private:
  struct Timed {
    std::uint8_t byte;
    time_point due;
  };
  void queueOut(const std::string &bytes, time_point at);

  duration m_byteTime;
  std::deque<Timed> m_in;
  std::deque<Timed> m_out;
  time_point m_inFree{};
  time_point m_outFree{};
};

}  // namespace kvx::device
