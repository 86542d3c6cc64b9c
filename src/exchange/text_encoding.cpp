// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/text_encoding.h"

#include <array>
#include <cstdint>

namespace kvx::exchange {

namespace {

// Code points of the bytes 0x80..0x9F; the undefined ones keep their number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string &out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at bytes[i]; returns its length, 0 when invalid.
std::size_t decodeOne(std::string_view bytes, std::size_t i, char32_t &cp) {
  const auto b0 = static_cast<unsigned char>(bytes[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t len = 0;
  char32_t min = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, min = 0x80, cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, min = 0x800, cp = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, min = 0x10000, cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (bytes.size() - i < len) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(bytes[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

std::optional<char> windows1252Byte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t k = 0; k < kHighControls.size(); ++k)
    if (kHighControls[k] == cp) return static_cast<char>(0x80 + k);
  return std::nullopt;
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
  char32_t cp = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t len = decodeOne(bytes, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::string windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80 && b < 0xA0)
      appendUtf8(out, kHighControls[b - 0x80]);
    else
      appendUtf8(out, b);
  }
  return out;
}

std::optional<std::string> utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  char32_t cp = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t len = decodeOne(utf8, i, cp);
    if (len == 0) return std::nullopt;
    const auto byte = windows1252Byte(cp);
    if (!byte) return std::nullopt;
    out += *byte;
    i += len;
  }
  return out;
}

std::string decodeFileText(std::string_view bytes) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
  if (isValidUtf8(bytes)) return std::string(bytes);
  return windows1252ToUtf8(bytes);
}

std::string encodeFileText(std::string_view utf8) {
  if (auto single = utf8ToWindows1252(utf8)) {
    // A Windows-1252 text that happens to form valid UTF-8 (such as "Ã©")
    // would read back as different characters: keep those in UTF-8.
    const bool ascii = single->size() == utf8.size();
    if (ascii || !isValidUtf8(*single)) return *std::move(single);
  }
  if (isValidUtf8(utf8)) return std::string(utf8);
  // Not UTF-8 at all: the caller broke its own rule; keep the bytes as they
  // are rather than guessing.
  return std::string(utf8);
}

}  // namespace kvx::exchange
