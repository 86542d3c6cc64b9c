// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A box that plays the optical fork from a script, for what the simulated
// fork never does by itself: counts chosen tick by tick, result lines with
// odd fields, endless lines, announcements of a million events.

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "device/wire_peer.h"

namespace kvx::device::testing {

class VeltorPeer final : public WirePeer {
 public:
  // What the box answers to the end of the program image.
  std::string uploadAnswer = "UTIL\r";
  // The answers to "XUTIL4", one a poll; the last one repeats.
  std::deque<std::string> counts{"0\r"};
  // The answer to "XUTIL3 32".
  std::string results;
  std::vector<std::string> lines;
  // Told each whole line as it arrives (a test may unplug the box there).
  std::function<void(const std::string &)> onLine;

  int countLines(const std::string &line) const {
    int n = 0;
    for (const std::string &l : lines) n += l == line;
    return n;
  }

  void receive(std::uint8_t byte, time_point at) override {
    if (byte != '\r') {
      m_line.push_back(static_cast<char>(byte));
      return;
    }
    lines.push_back(m_line);
    if (onLine) onLine(m_line);
    if (m_line == "XERR") m_out += "NUVEX KVX\r";
    if (m_line == ":00000001FF") m_out += uploadAnswer;
    if (m_line == "XUTIL4") {
      m_out += counts.front();
      if (counts.size() > 1) counts.pop_front();
    }
    if (m_line == "XUTIL3 32") {
      if (m_out.empty()) m_since = at;
      m_out += results;
    }
    m_line.clear();
  }
  // No faster than the line takes them, so that a long answer is not lost
  // in the line's own buffer.
  void takeOutput(time_point now, std::string &out) override {
    if (m_out.empty()) {
      m_since = now;
      return;
    }
    const auto budget = static_cast<std::size_t>((now - m_since) / std::chrono::milliseconds(1));
    const std::size_t n = std::min(m_out.size(), budget);
    out.append(m_out, 0, n);
    m_out.erase(0, n);
    m_since += std::chrono::milliseconds(n);
  }

 private:
  std::string m_line;
  std::string m_out;
  time_point m_since{};
};

}  // namespace kvx::device::testing
