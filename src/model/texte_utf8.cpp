// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/texte_utf8.h"

namespace kvx::model {

namespace {

bool EstSuite(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

}  // namespace

char32_t LitCodePoint(std::string_view text, std::size_t pos, std::size_t &longueur) {
  if (pos >= text.size()) {
    longueur = 0;
    return 0;
  }
  const auto b0 = static_cast<unsigned char>(text[pos]);
  longueur = 1;
  if (b0 < 0x80) return b0;
  std::size_t n = 0;
  char32_t c = 0;
  char32_t mini = 0;
  if ((b0 & 0xE0) == 0xC0) {
    n = 2, c = b0 & 0x1F, mini = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    n = 3, c = b0 & 0x0F, mini = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    n = 4, c = b0 & 0x07, mini = 0x10000;
  } else {
    return kOctetInvalide + b0;
  }
  if (pos + n > text.size()) return kOctetInvalide + b0;
  for (std::size_t i = 1; i < n; ++i) {
    const auto b = static_cast<unsigned char>(text[pos + i]);
    if (!EstSuite(b)) return kOctetInvalide + b0;
    c = (c << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  if (c < mini || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kOctetInvalide + b0;
  longueur = n;
  return c;
}

void AjouteCodePoint(std::string &text, char32_t c) {
  if (c >= kOctetInvalide) {
    text += static_cast<char>(c - kOctetInvalide);
  } else if (c < 0x80) {
    text += static_cast<char>(c);
  } else if (c < 0x800) {
    text += static_cast<char>(0xC0 | (c >> 6));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    text += static_cast<char>(0xE0 | (c >> 12));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (c >> 18));
    text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::size_t NombreCaracteres(std::string_view text) {
  std::size_t n = 0;
  std::size_t longueur = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += longueur) {
    LitCodePoint(text, pos, longueur);
    ++n;
  }
  return n;
}

}  // namespace kvx::model
