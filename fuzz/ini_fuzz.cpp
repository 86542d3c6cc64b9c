// SPDX-License-Identifier: GPL-3.0-or-later
// Loads any bytes as an INI document, reads every key as every kind of
// value, and checks that writing the document and loading it again gives the
// same document: what the program saves, it reads back.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exchange/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  using kvx::exchange::IniDocument;
  using kvx::exchange::IniError;
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  IniDocument doc;
  try {
    doc = IniDocument::parse(bytes);
  } catch (const IniError &) {
    return 0;  // refused as too large: a documented result
  }
  for (const std::string &section : doc.sectionNames()) {
    for (const std::string &key : doc.keys(section)) {
      if (!doc.hasKey(section, key)) std::abort();
      (void)doc.readString(section, key, "");
      (void)doc.readInteger(section, key, 0);
      (void)doc.readFloat(section, key, 0.0);
      (void)doc.readBool(section, key, false);
      (void)doc.readDateTime(section, key, {});
    }
  }
  doc.writeFloat("Fuzz", "Reel", static_cast<double>(size) / 7.0);
  const std::string first = doc.serialize();
  try {
    const std::string second = IniDocument::parse(first).serialize();
    if (second != first) std::abort();
  } catch (const IniError &) {
    // Line ends and blank lines can make the written file larger than the
    // limit that the read one just met.
  }
  return 0;
}
