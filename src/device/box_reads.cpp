// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/box_reads.h"

#include <limits>
#include <string>

namespace kvx::device {

namespace {
// A decimal answer longer than this is not a number the box sends.
constexpr std::size_t kMaxNumberText = 32;
}  // namespace

int ReadByte(BoxLink &link, std::uint8_t request) {
  if (!link.BoxPresent()) return 0;
  link.FlushInput();
  link.sendRaw(std::string_view(reinterpret_cast<const char *>(&request), 1));
  const auto deadline = link.clock().now() + link.ticks(kReadByteTicks);
  if (!link.waitForByte(deadline)) return 0;
  return link.GetByte();
}

int ReadNumber(BoxLink &link, std::string_view command) {
  return TryReadNumber(link, command).value_or(0);
}

std::optional<int> TryReadNumber(BoxLink &link, std::string_view command) {
  if (!link.BoxPresent()) return std::nullopt;
  link.FlushInput();
  link.SendCommand(command);
  const auto deadline = link.clock().now() + link.ticks(kReadNumberTicks);
  std::string text;
  bool overlong = false;
  while (link.waitForByte(deadline)) {
    int b = link.GetByte();
    if (b == kCarriageReturn) break;
    if (b > 32) {
      if (text.size() < kMaxNumberText)
        text.push_back(static_cast<char>(b));
      else
        overlong = true;
    }
  }
  if (overlong) return std::nullopt;
  return ParseBoxInteger(text);
}

std::optional<int> ParseBoxInteger(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace kvx::device
