// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/association.h"

#include <cstdint>
#include <sstream>
#include <vector>

#include "exchange/association_cles.h"

namespace kvx::exchange {

namespace {

std::vector<std::string> linesOf(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::string trimmed(const std::string &text) {
  const auto begin = text.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return std::string();
  const auto end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

bool isSectionHeader(const std::string &line) {
  const auto text = trimmed(line);
  return text.size() >= 2 && text.front() == '[' && text.back() == ']';
}

}  // namespace

std::optional<std::string> CiteCheminExec(const std::string &executable) {
  std::string quoted = "\"";
  for (const char c : executable) {
    if (static_cast<std::uint8_t>(c) < 0x20 || c == 0x7F) return std::nullopt;
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  // The desktop file reads "\\" as one backslash before it splits the line.
  std::string escaped;
  for (const char c : quoted) {
    if (c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

namespace {

std::optional<std::string> entryText(const std::string &executable, const char *lastLine) {
  using namespace association;
  const auto exec = CiteCheminExec(executable);
  if (!exec) return std::nullopt;
  std::string text = "[Desktop Entry]\n";
  text += "Type=Application\n";
  text += std::string("Name=") + kNomProgramme + "\n";
  text += std::string("Comment=") + kCommentaire + "\n";
  text += "Exec=" + *exec + " %f\n";
  // The user's copy takes the place of the installed entry: it keeps the icon.
  text += "Icon=kvx\n";
  text += std::string("MimeType=") + kTypeMime + ";\n";
  text += "Terminal=false\n";
  text += lastLine;
  return text;
}

}  // namespace

std::optional<std::string> TexteEntreeBureau(const std::string &executable) {
  return entryText(executable, "NoDisplay=true\n");
}

std::optional<std::string> TexteEntreeBureauAncienne(const std::string &executable) {
  return entryText(executable, "Categories=Education;Science;\n");
}

std::string TexteTypeMime() {
  using namespace association;
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  text += "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  text += std::string("  <mime-type type=\"") + kTypeMime + "\">\n";
  text += std::string("    <comment>") + kDescriptionType + "</comment>\n";
  // An INI text: editors still offer to open it.
  text += "    <sub-class-of type=\"text/plain\"/>\n";
  text += "    <icon name=\"kvx\"/>\n";
  text += std::string("    <glob pattern=\"") + kGlobMinuscule + "\"/>\n";
  text += std::string("    <glob pattern=\"") + kGlobMajuscule + "\"/>\n";
  text += "  </mime-type>\n";
  text += "</mime-info>\n";
  return text;
}

std::string AvecProgrammeParDefaut(const std::string &existant) {
  using namespace association;
  const std::string header = std::string("[") + kSectionDefauts + "]";
  const std::string entry = std::string(kTypeMime) + "=" + kFichierEntree;
  auto lines = linesOf(existant);
  std::size_t section = 0;
  while (section < lines.size() && trimmed(lines[section]) != header) ++section;
  if (section == lines.size()) {
    if (!lines.empty() && !trimmed(lines.back()).empty()) lines.push_back(std::string());
    lines.push_back(header);
    lines.push_back(entry);
  } else {
    std::size_t lastContent = section;
    bool replaced = false;
    for (std::size_t i = section + 1; i < lines.size() && !isSectionHeader(lines[i]); ++i) {
      const auto line = trimmed(lines[i]);
      const auto equal = line.find('=');
      if (equal != std::string::npos && trimmed(line.substr(0, equal)) == kTypeMime) {
        lines[i] = entry;
        replaced = true;
        break;
      }
      if (!line.empty()) lastContent = i;
    }
    if (!replaced)
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastContent + 1), entry);
  }
  std::string text;
  for (const auto &line : lines) text += line + "\n";
  return text;
}

std::vector<std::string> ProgrammesParDefaut(const std::string &mimeapps) {
  using namespace association;
  const std::string header = std::string("[") + kSectionDefauts + "]";
  std::vector<std::string> ids;
  bool inDefaults = false;
  for (const auto &raw : linesOf(mimeapps)) {
    const auto line = trimmed(raw);
    if (isSectionHeader(line)) {
      inDefaults = line == header;
      continue;
    }
    const auto equal = line.find('=');
    if (!inDefaults || equal == std::string::npos || trimmed(line.substr(0, equal)) != kTypeMime)
      continue;
    std::istringstream list(line.substr(equal + 1));
    std::string id;
    while (std::getline(list, id, ';'))
      if (!trimmed(id).empty()) ids.push_back(trimmed(id));
  }
  return ids;
}

bool AucunChoixUtilisateur(const std::vector<std::string> &defauts) {
  for (const auto &id : defauts)
    if (id != association::kFichierEntree) return false;
  return true;
}

}  // namespace kvx::exchange
