// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads the box's answer to "XRESUL ": decimal codes separated by "," and
// ended by a carriage return, fed one byte at a time as they arrive. Any other
// byte is ignored. Each number is kept modulo 256 in a 256-byte line buffer;
// a number too long for 32 bits, or one past the buffer's end, is dropped.

#include <array>
#include <cstdint>

#include "device/box_facts.h"

namespace kvx::device {

class ValueListParser {
 public:
  enum class Event {
    None,       // the line goes on
    Line,       // a line with at least one value is complete
    EmptyLine,  // the box had nothing yet: ask again later
  };

  // Before each request: no values, no partial number.
  void reset();
  Event feed(std::uint8_t byte);

  int count() const { return m_count; }
  const std::array<std::uint8_t, kLineBufferSize> &values() const { return m_line; }
  std::uint8_t value(int i) const { return m_line[static_cast<std::size_t>(i)]; }

 private:
  void endNumber();

  std::array<std::uint8_t, kLineBufferSize> m_line{};
  int m_count = 0;
  std::uint64_t m_number = 0;
  bool m_haveDigits = false;
  bool m_tooLong = false;
  bool m_lineDone = false;
};

}  // namespace kvx::device
