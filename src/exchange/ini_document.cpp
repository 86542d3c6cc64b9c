// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/ini_document.h"

#include "exchange/atomic_file.h"
#include "exchange/text_encoding.h"
#include "model/separateur_decimal.h"

namespace kvx::exchange {

namespace {

constexpr std::size_t kNoSection = static_cast<std::size_t>(-1);

bool isBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Case folding for name matching: ASCII letters and the Latin-1 capitals
// À..Þ (UTF-8 C3 80..C3 9E, except the multiplication sign) become small.
std::string fold(std::string_view name) {
  std::string out(name);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c + 32);
    } else if (c == 0xC3 && i + 1 < out.size()) {
      const auto next = static_cast<unsigned char>(out[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 32);
      ++i;
    }
  }
  return out;
}

// A line break inside a name or value would start a new line in the file.
std::string oneLine(std::string_view text) {
  std::string out(text);
  for (char &c : out)
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  return out;
}

}  // namespace

IniDocument IniDocument::parse(std::string_view bytes) {
  if (bytes.size() > kMaxFileBytes)
    throw IniError("Fichier de configuration trop grand (plus de 16 Mio)");
  const std::string text = decodeFileText(bytes);
  IniDocument document;
  std::size_t current = kNoSection;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(std::string_view("\r\n\0", 3), start);
    if (end == std::string::npos) end = text.size();
    document.parseLine(std::string_view(text).substr(start, end - start), current);
    start = end + 1;
  }
  return document;
}

void IniDocument::parseLine(std::string_view line, std::size_t &current) {
  if (line.size() > kMaxLineBytes) {
    // Too long to be a setting of this program; a long header still ends the
    // section before it, so its keys cannot fall into that one.
    if (!trim(line).empty() && trim(line).front() == '[') current = kNoSection;
    return;
  }
  line = trim(line);
  if (line.empty() || line.front() == ';') return;
  if (line.front() == '[') {
    if (line.size() < 2 || line.back() != ']') {
      current = kNoSection;
      return;
    }
    const std::string_view name = trim(line.substr(1, line.size() - 2));
    if (!findSection(name) && ++m_count > kMaxKeys)
      throw IniError("Fichier de configuration trop grand (trop de sections)");
    Section &section = sectionFor(name);
    current = static_cast<std::size_t>(&section - m_sections.data());
    return;
  }
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || current == kNoSection) return;
  const std::string_view key = trim(line.substr(0, equals));
  if (key.empty()) return;
  Section &section = m_sections[current];
  std::string folded = fold(key);
  if (section.index.count(folded)) return;  // the first value wins
  if (++m_count > kMaxKeys) throw IniError("Fichier de configuration trop grand (trop de clés)");
  section.index.emplace(std::move(folded), section.entries.size());
  section.entries.push_back({std::string(key), std::string(trim(line.substr(equals + 1)))});
}

std::optional<IniDocument> IniDocument::loadFile(const std::filesystem::path &file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return std::nullopt;
  // One byte more than the document takes, so that too large is told apart.
  return parse(readWholeFile(file, kMaxFileBytes + 1));
}

std::string IniDocument::serialize() const {
  std::string text;
  for (const Section &section : m_sections) {
    text += "[" + oneLine(section.name) + "]\r\n";
    for (const Entry &entry : section.entries)
      text += oneLine(entry.key) + "=" + oneLine(entry.value) + "\r\n";
    text += "\r\n";
  }
  return encodeFileText(text);
}

void IniDocument::saveFile(const std::filesystem::path &file) const {
  writeFileAtomically(file, serialize());
}

const IniDocument::Section *IniDocument::findSection(std::string_view name) const {
  const auto found = m_index.find(fold(name));
  return found == m_index.end() ? nullptr : &m_sections[found->second];
}

IniDocument::Section &IniDocument::sectionFor(std::string_view name) {
  std::string folded = fold(name);
  if (const auto found = m_index.find(folded); found != m_index.end())
    return m_sections[found->second];
  m_index.emplace(std::move(folded), m_sections.size());
  m_sections.push_back({std::string(name), {}, {}});
  return m_sections.back();
}

const IniDocument::Entry *IniDocument::findEntry(std::string_view section,
                                                 std::string_view key) const {
  const Section *found = findSection(section);
  if (!found) return nullptr;
  const auto entry = found->index.find(fold(key));
  return entry == found->index.end() ? nullptr : &found->entries[entry->second];
}

bool IniDocument::hasSection(std::string_view section) const {
  return findSection(section);
}

bool IniDocument::hasKey(std::string_view section, std::string_view key) const {
  return findEntry(section, key);
}

std::vector<std::string> IniDocument::sectionNames() const {
  std::vector<std::string> names;
  for (const Section &section : m_sections) names.push_back(section.name);
  return names;
}

std::vector<std::string> IniDocument::keys(std::string_view section) const {
  std::vector<std::string> names;
  if (const Section *found = findSection(section))
    for (const Entry &entry : found->entries) names.push_back(entry.key);
  return names;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
  const Entry *entry = findEntry(section, key);
  if (!entry) return std::nullopt;
  return entry->value;
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view text) {
  Section &target = sectionFor(section);
  std::string folded = fold(key);
  if (const auto found = target.index.find(folded); found != target.index.end()) {
    target.entries[found->second].value = std::string(text);
    return;
  }
  target.index.emplace(std::move(folded), target.entries.size());
  target.entries.push_back({std::string(key), std::string(text)});
}

std::string IniDocument::readString(const std::string &section, const std::string &key,
                                    const std::string &fallback) const {
  const Entry *entry = findEntry(section, key);
  return entry ? entry->value : fallback;
}

std::int32_t IniDocument::readInteger(const std::string &section, const std::string &key,
                                      std::int32_t fallback) const {
  const Entry *entry = findEntry(section, key);
  return entry ? parseIniInteger(entry->value).value_or(fallback) : fallback;
}

double IniDocument::readFloat(const std::string &section, const std::string &key,
                              double fallback) const {
  const Entry *entry = findEntry(section, key);
  return entry ? parseIniFloat(entry->value).value_or(fallback) : fallback;
}

bool IniDocument::readBool(const std::string &section, const std::string &key,
                           bool fallback) const {
  const Entry *entry = findEntry(section, key);
  return entry ? parseIniBool(entry->value).value_or(fallback) : fallback;
}

IniDateTime IniDocument::readDateTime(const std::string &section, const std::string &key,
                                      const IniDateTime &fallback) const {
  const Entry *entry = findEntry(section, key);
  return entry ? parseIniDateTime(entry->value).value_or(fallback) : fallback;
}

void IniDocument::writeString(const std::string &section, const std::string &key,
                              const std::string &value) {
  setValue(section, key, value);
}

void IniDocument::writeInteger(const std::string &section, const std::string &key,
                               std::int32_t value) {
  setValue(section, key, formatIniInteger(value));
}

void IniDocument::writeFloat(const std::string &section, const std::string &key, double value) {
  setValue(section, key, formatIniFloat(value, model::SeparateurDecimal()));
}

void IniDocument::writeBool(const std::string &section, const std::string &key, bool value) {
  setValue(section, key, formatIniBool(value));
}

void IniDocument::writeDateTime(const std::string &section, const std::string &key,
                                const IniDateTime &value) {
  setValue(section, key, formatIniDateTime(value));
}

}  // namespace kvx::exchange
