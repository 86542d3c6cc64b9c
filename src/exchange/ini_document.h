// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "exchange/ini_values.h"
#include "model/ini_sections.h"

namespace kvx::exchange {

// The content of an INI file cannot be taken as a document (too large).
class IniError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An INI file held in memory while a configuration or the sensor library is
// read or written in one pass: load the file, read or replace values, write
// the whole document back. Saving over a file keeps what the program does not
// write (sections and keys of other versions, the user's own additions) in
// place and in order; new sections and keys are appended in writing order.
//
// Reading rules, for any bytes:
// - Windows-1252 or valid UTF-8 (with or without byte-order mark); in memory
//   everything is UTF-8.
// - Lines end at CR, LF or NUL; each is trimmed of blanks and control
//   characters at both ends. Empty lines and lines beginning with ";" are
//   ignored and not written back, and so are lines longer than kMaxLineBytes,
//   lines without "=" or with nothing before it, and keys before any section.
// - "[name]" starts a section (the name is trimmed). A line beginning with "["
//   but not ending with "]" is a broken header: the keys after it, up to the
//   next header, belong to no section and are dropped, so they cannot slip
//   into the section before.
// - Names of sections and keys match without regard to letter case (ASCII and
//   the accented Latin letters); accents matter ("Unité" is not "Unite").
// - Blanks around the first "=" are dropped; the value is the rest of the line.
// - A repeated section adds its new keys to the first one; for a repeated key
//   the first value wins.
// Writing: every section as "[name]", its "key=value" lines and one empty
// line, CR LF line ends, Windows-1252 (UTF-8 when a character has no
// Windows-1252 byte). Line breaks inside names or values are written as blanks
// so a value can never forge a new key.
class IniDocument final : public model::IniSections {
 public:
  static constexpr std::size_t kMaxFileBytes = 16u << 20;
  static constexpr std::size_t kMaxLineBytes = 1u << 20;
  static constexpr std::size_t kMaxKeys = 100000;

  IniDocument() = default;

  // Throws IniError when the bytes exceed kMaxFileBytes or hold more than
  // kMaxKeys keys and sections.
  static IniDocument parse(std::string_view bytes);
  // Nothing when the file does not exist. Throws FileError when it exists but
  // cannot be read, IniError when its content is refused.
  static std::optional<IniDocument> loadFile(const std::filesystem::path &file);

  std::string serialize() const;
  // Replaces the file atomically (see writeFileAtomically); throws FileError.
  void saveFile(const std::filesystem::path &file) const;

  bool hasSection(std::string_view section) const;
  bool hasKey(std::string_view section, std::string_view key) const;
  // Section names in file order, and the keys of one section in order.
  std::vector<std::string> sectionNames() const;
  std::vector<std::string> keys(std::string_view section) const;

  // The text of a key, as read or last written.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  void setValue(std::string_view section, std::string_view key, std::string_view text);

  std::string readString(const std::string &section, const std::string &key,
                         const std::string &fallback) const override;
  std::int32_t readInteger(const std::string &section, const std::string &key,
                           std::int32_t fallback) const override;
  double readFloat(const std::string &section, const std::string &key,
                   double fallback) const override;
  bool readBool(const std::string &section, const std::string &key, bool fallback) const override;
  IniDateTime readDateTime(const std::string &section, const std::string &key,
                           const IniDateTime &fallback) const;

  void writeString(const std::string &section, const std::string &key,
                   const std::string &value) override;
  void writeInteger(const std::string &section, const std::string &key,
                    std::int32_t value) override;
  // With the program's decimal separator.
  void writeFloat(const std::string &section, const std::string &key, double value) override;
  void writeBool(const std::string &section, const std::string &key, bool value) override;
  void writeDateTime(const std::string &section, const std::string &key, const IniDateTime &value);

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
    std::unordered_map<std::string, std::size_t> index;  // folded key -> entry
  };

  const Section *findSection(std::string_view name) const;
  Section &sectionFor(std::string_view name);
  const Entry *findEntry(std::string_view section, std::string_view key) const;
  void parseLine(std::string_view line, std::size_t &current);

  std::vector<Section> m_sections;
  std::unordered_map<std::string, std::size_t> m_index;  // folded name -> section
  std::size_t m_count = 0;                               // sections and keys
};

}  // namespace kvx::exchange
