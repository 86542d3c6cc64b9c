// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fetches a whole timed acquisition from the box as the engine does: the
// acquisition and start commands, then "XRESUL " chunks, each requested as
// soon as the previous line is in, and asked again after an empty line. It
// keeps the raw lines with the point they start at; unpacking them into
// channels is the engine's. Used by the link benchmark and the wire tests, and
// a reference for the engine's own loop.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "device/acquisition_command.h"
#include "device/box_link.h"
#include "device/value_list_parser.h"

namespace kvx::device {

class AcquisitionFetch {
 public:
  struct Line {
    int firstPoint = 0;  // FirstPoint of the request (after any step back)
    int rawStart = 0;    // raw place of the first code
    std::vector<std::uint8_t> codes;
  };

  AcquisitionFetch(BoxLink &link, AcquisitionCommand acquisition);
  ~AcquisitionFetch();

  // Sends the acquisition command and the start command, then the first request.
  void start(const std::string &startCommand);
  // Asks for the next chunk (after an empty line).
  void fetchNext();
  // Runs until every point is in, `limit` has passed or the box has gone.
  // After an empty line the request is repeated `retry` later, like the
  // engine's timer tick. Returns true when the acquisition is complete.
  bool run(Clock::duration retry, Clock::duration limit);

  bool done() const { return m_received >= m_acquisition.points; }
  bool pending() const { return m_pending; }
  int pointsReceived() const { return m_received; }
  int emptyAnswers() const { return m_empty; }
  const std::vector<Line> &lines() const { return m_lines; }

 private:
  void onBytes(const std::uint8_t *data, std::size_t size);

  BoxLink &m_link;
  AcquisitionCommand m_acquisition;
  ValueListParser m_parser;
  FetchRequest m_request;
  std::vector<Line> m_lines;
  int m_FirstPoint = 0;
  int m_received = 0;
  int m_empty = 0;
  bool m_pending = false;
};

}  // namespace kvx::device
