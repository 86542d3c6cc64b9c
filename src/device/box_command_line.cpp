// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/box_command_line.h"

namespace kvx::device {

std::optional<std::vector<int>> ParseCommandArguments(std::string_view text,
                                                      std::string_view prefix, std::size_t count) {
  if (text.substr(0, prefix.size()) != prefix) return std::nullopt;
  std::string_view rest = text.substr(prefix.size());
  std::vector<int> values;
  std::size_t i = 0;
  while (values.size() < count) {
    int value = 0;
    std::size_t digits = 0;
    while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9') {
      if (++digits > 6) return std::nullopt;
      value = value * 10 + (rest[i] - '0');
      ++i;
    }
    if (digits == 0) return std::nullopt;
    values.push_back(value);
    if (values.size() == count) break;
    if (i >= rest.size() || rest[i] != ',') return std::nullopt;
    ++i;
  }
  if (i != rest.size()) return std::nullopt;
  return values;
}

}  // namespace kvx::device
