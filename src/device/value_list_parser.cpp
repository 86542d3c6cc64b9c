// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/value_list_parser.h"

#include <limits>

namespace kvx::device {

void ValueListParser::reset() {
  m_count = 0;
  m_number = 0;
  m_haveDigits = false;
  m_tooLong = false;
  m_lineDone = false;
}

ValueListParser::Event ValueListParser::feed(std::uint8_t byte) {
  // A line that follows a finished one starts from an empty buffer.
  if (m_lineDone) reset();
  if (byte >= '0' && byte <= '9') {
    m_haveDigits = true;
    if (!m_tooLong) {
      m_number = m_number * 10 + (byte - '0');
      if (m_number > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        m_tooLong = true;
    }
    return Event::None;
  }
  if (byte == ',') {
    endNumber();
    return Event::None;
  }
  if (byte == kCarriageReturn) {
    endNumber();
    m_lineDone = true;
    return m_count == 0 ? Event::EmptyLine : Event::Line;
  }
  return Event::None;
}

void ValueListParser::endNumber() {
  if (m_haveDigits && !m_tooLong && m_count < kLineBufferSize) {
    m_line[static_cast<std::size_t>(m_count)] = static_cast<std::uint8_t>(m_number % 256);
    ++m_count;
  }
  m_number = 0;
  m_haveDigits = false;
  m_tooLong = false;
}

}  // namespace kvx::device
