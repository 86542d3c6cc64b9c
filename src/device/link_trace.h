// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The trace (every byte sent and received) and the log (port events) of the
// link, kept in memory and written as "KVXn.trc" and "KVXn.log" when a port
// turns out not to hold the box and at shutdown. Made for a person debugging
// the wire: each line has the time since the port was tried, the direction
// and the bytes, printable ones as they are and the others escaped.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>

namespace kvx::device {

class LinkTrace {
 public:
  using time_point = std::chrono::steady_clock::time_point;

  // At most this many entries each in the trace and in the log; the oldest go.
  static constexpr std::size_t kMaxEntries = 32000;
  // A trace entry holds one burst of one direction, cut after a carriage
  // return or at this many bytes, so that lines stay readable.
  static constexpr std::size_t kMaxBytesPerEntry = 64;
  // Bytes further apart than this are separate bursts (the box paused).
  static constexpr std::chrono::milliseconds kBurstGap{20};

  enum class Direction { Sent, Received };

  // Starts afresh for port n (file names "KVXn.trc" and "KVXn.log").
  void begin(int port, const std::string &deviceName, time_point now);
  void sent(const std::uint8_t *data, std::size_t size, time_point now);
  void received(const std::uint8_t *data, std::size_t size, time_point now);
  void event(std::string_view text, time_point now);

  int port() const { return m_port; }
  std::string traceFileName() const;  // "KVX3.trc"
  std::string logFileName() const;    // "KVX3.log"
  // The two texts as written to the files.
  std::string traceText() const;
  std::string logText() const;
  // Writes both files into `folder`. Returns false when a file could not be
  // written; the link goes on regardless, the trace is only a debugging aid.
  bool writeFiles(const std::filesystem::path &folder) const;

  std::size_t traceEntryCount() const { return m_trace.size(); }
  std::size_t logEntryCount() const { return m_log.size(); }

  // "XERR\r" is shown as "XERR\r"; bytes below 32 or above 126 as \xHH.
  static std::string escape(const std::uint8_t *data, std::size_t size);

 private:
  struct TraceEntry {
    time_point when;  // first byte
    time_point last;  // latest byte
    Direction direction;
    std::string bytes;
  };
  struct LogEntry {
    time_point when;
    std::string text;
  };
  void add(Direction direction, const std::uint8_t *data, std::size_t size, time_point now);
  std::string stamp(time_point when) const;

  int m_port = 0;
  std::string m_deviceName;
  time_point m_start{};
  std::deque<TraceEntry> m_trace;
  std::deque<LogEntry> m_log;
};

}  // namespace kvx::device
