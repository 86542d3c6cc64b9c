// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A box for engine tests whose samples are easy to check: raw sample p of
// its memory holds the code p mod 256, so every value on the graph tells
// where in the box it came from. It can answer a few requests with empty
// lines first (nothing sampled yet) and fall silent after a number of
// requests (switched off without the line going).

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "device/box_facts.h"
#include "device/wire_peer.h"

namespace kvx::device::testing {

class CountingBox : public WirePeer {
 public:
  void receive(std::uint8_t byte, time_point) override {
    if (m_current.empty() && byte == kReadBinaryByte) {
      if (silent()) return;
      m_out.push_back(static_cast<char>(binary));
      return;
    }
    if (byte != kCarriageReturn) {
      m_current.push_back(static_cast<char>(byte));
      return;
    }
    lines.push_back(m_current);
    if (!silent()) answer(m_current);
    m_current.clear();
  }
  void takeOutput(time_point, std::string &out) override {
    out += m_out;
    m_out.clear();
  }

  // Lines heard after identification, in order.
  std::vector<std::string> heard() const {
    std::vector<std::string> result;
    for (const auto &l : lines)
      if (l != "XERR" && l != "XRESET") result.push_back(l);
    return result;
  }
  // Lines it answered (it hears the others without answering).
  int requests() const { return m_requests; }

  std::vector<std::string> lines;
  int inputCodes[8] = {128, 200, 0, 0, 0, 0, 0, 0};
  int binary = 5;
  int emptyAnswers = 0;       // "XRESUL " requests answered by an empty line first
  int silentAfter = 1 << 30;  // lines answered, after which it says nothing
  int garbledReads = 0;       // "XEA " requests answered with noise first
  int mutedReads = 0;         // "XEA " requests left unanswered first

 private:
  bool silent() const { return m_requests >= silentAfter; }
  void answer(const std::string &line) {
    ++m_requests;
    if (line == "XERR") {
      m_out += "NUVEX test box\r";
    } else if (line == ":00000001FF") {
      m_out += "UTIL\r";  // it takes the optical-fork program, whatever came before
    } else if (line.rfind("XEA ", 0) == 0) {
      const int input = std::atoi(line.c_str() + 4) & 7;
      if (mutedReads > 0) {
        --mutedReads;
        return;
      }
      if (garbledReads > 0) {
        --garbledReads;
        m_out += "#\x7f?\r";
        return;
      }
      m_out += std::to_string(inputCodes[input]) + "\r";
    } else if (line.rfind("XRESUL ", 0) == 0) {
      int s = 0, o = 0, u = 0;
      if (std::sscanf(line.c_str() + 7, "%d,%d,%d", &s, &o, &u) != 3) return;
      if (emptyAnswers > 0) {
        --emptyAnswers;
        m_out += "\r";
        return;
      }
      const int p = s * kBlockSize + o;
      for (int i = 0; i < u; ++i) {
        if (i) m_out += ',';
        m_out += std::to_string((p + i) % 256);
      }
      m_out += "\r";
    }
  }

  std::string m_current;
  std::string m_out;
  int m_requests = 0;
};

}  // namespace kvx::device::testing
