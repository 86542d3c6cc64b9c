// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/ini_values.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace kvx::exchange {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int hexDigit(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::int64_t> parseHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : digits) {
    const int d = hexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + d;
    if (value > 0xFFFFFFFFLL) return std::nullopt;
  }
  return value;
}

std::optional<std::int64_t> parseDecimal(std::string_view digits) {
  if (digits.empty() || !isDigit(digits.front())) return std::nullopt;
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// Reads up to `width` digits (at least one) at text[pos] into value.
bool readNumber(std::string_view text, std::size_t &pos, int width, int &value) {
  const std::size_t start = pos;
  value = 0;
  while (pos < text.size() && pos - start < static_cast<std::size_t>(width) && isDigit(text[pos]))
    value = value * 10 + (text[pos++] - '0');
  return pos > start;
}

bool expect(std::string_view text, std::size_t &pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

int daysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

bool validDate(const IniDateTime &d) {
  return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
         d.day <= daysInMonth(d.year, d.month) && d.hour >= 0 && d.hour <= 23 && d.minute >= 0 &&
         d.minute <= 59 && d.second >= 0 && d.second <= 59;
}

bool readTime(std::string_view text, std::size_t &pos, IniDateTime &d) {
  if (!readNumber(text, pos, 2, d.hour) || !expect(text, pos, ':') ||
      !readNumber(text, pos, 2, d.minute))
    return false;
  if (pos < text.size() && text[pos] == ':') {
    ++pos;
    if (!readNumber(text, pos, 2, d.second)) return false;
  }
  return true;
}

}  // namespace

std::optional<std::int32_t> parseIniInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const bool hex = text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const auto magnitude = hex ? parseHex(text.substr(2)) : parseDecimal(text);
  if (!magnitude) return std::nullopt;
  if (negative) {
    if (*magnitude > 0x80000000LL) return std::nullopt;
    return static_cast<std::int32_t>(-*magnitude);
  }
  if (hex) return static_cast<std::int32_t>(static_cast<std::uint32_t>(*magnitude));
  if (*magnitude > 0x7FFFFFFFLL) return std::nullopt;
  return static_cast<std::int32_t>(*magnitude);
}

std::string formatIniInteger(std::int32_t value) {
  return std::to_string(value);
}

std::optional<bool> parseIniBool(std::string_view text) {
  const auto value = parseIniInteger(text);
  if (!value) return std::nullopt;
  return *value != 0;
}

std::string formatIniBool(bool value) {
  return value ? "1" : "0";
}

std::optional<double> parseIniFloat(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  std::string copy(text);
  if (const auto comma = copy.find(','); comma != std::string::npos) copy[comma] = '.';
  double value = 0;
  const auto [end, ec] = std::from_chars(copy.data(), copy.data() + copy.size(), value);
  if (ec != std::errc() || end != copy.data() + copy.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::string formatIniFloat(double value, char decimalSeparator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";
  // 15 significant digits, "d.dddddddddddddde±x".
  std::array<char, 40> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::scientific, 14);
  std::string_view sci(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
  std::string out;
  if (sci.front() == '-') {
    out += '-';
    sci.remove_prefix(1);
  }
  const std::size_t e = sci.find('e');
  std::string digits;
  for (const char c : sci.substr(0, e))
    if (isDigit(c)) digits += c;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int exponent = 0;
  std::string_view expText = sci.substr(e + 1);
  if (expText.front() == '+') expText.remove_prefix(1);
  std::from_chars(expText.data(), expText.data() + expText.size(), exponent);

  if (exponent >= 15 || exponent < -5) {
    out += digits.substr(0, 1);
    if (digits.size() > 1) (out += decimalSeparator) += digits.substr(1);
    return out + "E" + std::to_string(exponent);
  }
  if (exponent < 0)
    return out + "0" + decimalSeparator +
           std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= integerDigits)
    return out + digits + std::string(integerDigits - digits.size(), '0');
  return out + digits.substr(0, integerDigits) + decimalSeparator + digits.substr(integerDigits);
}

bool IniDateTime::operator==(const IniDateTime &o) const {
  return year == o.year && month == o.month && day == o.day && hour == o.hour &&
         minute == o.minute && second == o.second;
}

std::optional<IniDateTime> parseIniDateTime(std::string_view text) {
  IniDateTime d;
  d.hour = d.minute = d.second = 0;
  std::size_t pos = 0;
  int first = 0;
  if (!readNumber(text, pos, 4, first)) return std::nullopt;
  if (pos == 4 && expect(text, pos, '-')) {
    d.year = first;
    if (!readNumber(text, pos, 2, d.month) || !expect(text, pos, '-') ||
        !readNumber(text, pos, 2, d.day))
      return std::nullopt;
  } else if (pos <= 2 && expect(text, pos, '/')) {
    d.day = first;
    if (!readNumber(text, pos, 2, d.month) || !expect(text, pos, '/') ||
        !readNumber(text, pos, 4, d.year))
      return std::nullopt;
  } else {
    return std::nullopt;
  }
  if (pos < text.size()) {
    if (text[pos] != ' ' && text[pos] != 'T') return std::nullopt;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == 'T')) ++pos;
    if (!readTime(text, pos, d)) return std::nullopt;
  }
  if (pos != text.size() || !validDate(d)) return std::nullopt;
  return d;
}

std::string formatIniDateTime(const IniDateTime &d) {
  std::array<char, 48> buffer{};
  int n = std::snprintf(buffer.data(), buffer.size(), "%04d-%02d-%02d", d.year, d.month, d.day);
  if (d.hour != 0 || d.minute != 0 || d.second != 0)
    n += std::snprintf(buffer.data() + n, buffer.size() - static_cast<std::size_t>(n),
                       " %02d:%02d:%02d", d.hour, d.minute, d.second);
  return std::string(buffer.data(), static_cast<std::size_t>(n));
}

}  // namespace kvx::exchange
