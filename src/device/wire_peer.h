// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Something at the far end of the serial line that talks bytes: the simulated
// box, or a scripted stand-in for odd devices in tests. The pseudo-terminal
// server and the in-process port drive it through this interface, pacing the
// bytes both ways like the real line.

#include <cstdint>
#include <optional>
#include <string>

#include "device/clock.h"

namespace kvx::device {

class WirePeer {
 public:
  using time_point = Clock::time_point;
  virtual ~WirePeer() = default;
  // One byte from the program, wholly arrived at `at`.
  virtual void receive(std::uint8_t byte, time_point at) = 0;
  // Appends what the peer has to send by `now` (answers, or bytes of its own).
  virtual void takeOutput(time_point now, std::string &out) = 0;
  // When the peer will next have something to say unasked, if ever.
  virtual std::optional<time_point> nextOutputTime() const { return std::nullopt; }
};

}  // namespace kvx::device
