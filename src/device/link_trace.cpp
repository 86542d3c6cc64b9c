// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/link_trace.h"

#include <cstdio>
#include <fstream>

namespace kvx::device {

void LinkTrace::begin(int port, const std::string &deviceName, time_point now) {
  m_port = port;
  m_deviceName = deviceName;
  m_start = now;
  m_trace.clear();
  m_log.clear();
}

void LinkTrace::sent(const std::uint8_t *data, std::size_t size, time_point now) {
  add(Direction::Sent, data, size, now);
}

void LinkTrace::received(const std::uint8_t *data, std::size_t size, time_point now) {
  add(Direction::Received, data, size, now);
}

void LinkTrace::add(Direction direction, const std::uint8_t *data, std::size_t size,
                    time_point now) {
  for (std::size_t i = 0; i < size; ++i) {
    // A burst goes on in the same entry while the direction stays, the line is
    // not finished, the entry is not full and the box did not pause.
    bool startNew = m_trace.empty() || m_trace.back().direction != direction ||
                    m_trace.back().bytes.size() >= kMaxBytesPerEntry ||
                    static_cast<std::uint8_t>(m_trace.back().bytes.back()) == 13 ||
                    now - m_trace.back().last > kBurstGap;
    if (startNew) {
      if (m_trace.size() >= kMaxEntries) m_trace.pop_front();
      m_trace.push_back({now, now, direction, {}});
    }
    m_trace.back().last = now;
    m_trace.back().bytes.push_back(static_cast<char>(data[i]));
  }
}

void LinkTrace::event(std::string_view text, time_point now) {
  if (m_log.size() >= kMaxEntries) m_log.pop_front();
  m_log.push_back({now, std::string(text)});
}

std::string LinkTrace::traceFileName() const {
  return "KVX" + std::to_string(m_port) + ".trc";
}

std::string LinkTrace::logFileName() const {
  return "KVX" + std::to_string(m_port) + ".log";
}

std::string LinkTrace::stamp(time_point when) const {
  // Integer arithmetic: the trace reads the same whatever the user's locale.
  long long us = std::chrono::duration_cast<std::chrono::microseconds>(when - m_start).count();
  char sign = us < 0 ? '-' : ' ';
  if (us < 0) us = -us;
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%c%5lld.%06lld", sign, us / 1000000, us % 1000000);
  return buffer;
}

std::string LinkTrace::escape(const std::uint8_t *data, std::size_t size) {
  std::string out;
  out.reserve(size + 8);
  for (std::size_t i = 0; i < size; ++i) {
    std::uint8_t b = data[i];
    switch (b) {
      case 13:
        out += "\\r";
        break;
      case 10:
        out += "\\n";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      default:
        if (b >= 32 && b < 127) {
          out.push_back(static_cast<char>(b));
        } else {
          char hex[5];
          std::snprintf(hex, sizeof hex, "\\x%02X", b);
          out += hex;
        }
    }
  }
  return out;
}

std::string LinkTrace::traceText() const {
  std::string out = "KVX trace of COM" + std::to_string(m_port) + " (" + m_deviceName +
                    "), seconds since the port was opened; -> to the box, <- from the box\n";
  for (const auto &e : m_trace) {
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(e.bytes.data());
    out += stamp(e.when);
    out += e.direction == Direction::Sent ? " -> " : " <- ";
    char count[16];
    std::snprintf(count, sizeof count, "%3zu ", e.bytes.size());
    out += count;
    out += '"' + escape(bytes, e.bytes.size()) + "\"\n";
  }
  return out;
}

std::string LinkTrace::logText() const {
  std::string out = "KVX log of COM" + std::to_string(m_port) + " (" + m_deviceName + ")\n";
  for (const auto &e : m_log) out += stamp(e.when) + "  " + e.text + "\n";
  return out;
}

bool LinkTrace::writeFiles(const std::filesystem::path &folder) const {
  bool ok = true;
  for (auto [name, text] :
       {std::pair{traceFileName(), traceText()}, std::pair{logFileName(), logText()}}) {
    std::ofstream file(folder / name, std::ios::binary | std::ios::trunc);
    file << text;
    ok = ok && static_cast<bool>(file);
  }
  return ok;
}

}  // namespace kvx::device
