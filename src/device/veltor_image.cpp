// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/veltor_image.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "device/veltor_image_lines.h"

namespace kvx::device {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool fail(std::string *error, std::string text) {
  if (error) *error = std::move(text);
  return false;
}

std::optional<HexRecord> noRecord(std::string *error, std::string text) {
  fail(error, std::move(text));
  return std::nullopt;
}

constexpr std::string_view kEndOfFileLine = ":00000001FF";

}  // namespace

std::optional<HexRecord> ParseHexLine(std::string_view line, std::string *error) {
  // ":" + count, address, type and checksum: 11 characters at the least.
  if (line.empty() || line[0] != ':') return noRecord(error, "no colon");
  if (line.size() > kMaxHexLineLength) return noRecord(error, "line too long");
  if (line.size() < 11 || (line.size() - 1) % 2 != 0)
    return noRecord(error, "odd or too few digits");
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 1; i + 1 < line.size(); i += 2) {
    const int hi = hexDigit(line[i]);
    const int lo = hexDigit(line[i + 1]);
    if (hi < 0 || lo < 0) return noRecord(error, "not a hexadecimal digit");
    bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
  }
  if (bytes.size() != static_cast<std::size_t>(bytes[0]) + 5)
    return noRecord(error, "byte count does not match the line");
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  if ((sum & 0xFF) != 0) return noRecord(error, "wrong checksum");
  HexRecord record;
  record.address = static_cast<std::uint16_t>(bytes[1] << 8 | bytes[2]);
  record.type = bytes[3];
  record.data.assign(bytes.begin() + 4, bytes.end() - 1);
  return record;
}

const std::vector<HexSpan> &VeltorLayout() {
  static const std::vector<HexSpan> layout = [] {
    std::vector<HexSpan> spans{{0x3E3B, 8}};
    for (int i = 0; i < 15; ++i) spans.push_back({static_cast<std::uint16_t>(0x2000 + 16 * i), 16});
    spans.push_back({0x20F0, 15});
    for (int i = 0; i < 5; ++i) spans.push_back({static_cast<std::uint16_t>(0x20FF + 16 * i), 16});
    spans.push_back({0x214F, 13});
    return spans;
  }();
  return layout;
}

bool CheckVeltorImage(const std::vector<std::string> &lines, std::string *error) {
  const std::vector<HexSpan> &layout = VeltorLayout();
  if (lines.size() != layout.size() + 1)
    return fail(error, std::to_string(lines.size()) + " lines instead of " +
                           std::to_string(layout.size() + 1));
  for (std::size_t i = 0; i < layout.size(); ++i) {
    std::string why;
    const auto record = ParseHexLine(lines[i], &why);
    const std::string where = "line " + std::to_string(i + 1) + ": ";
    if (!record) return fail(error, where + why);
    if (record->type != kHexData) return fail(error, where + "not a data record");
    if (record->address != layout[i].address || record->data.size() != layout[i].count)
      return fail(error, where + "not where the fork program goes");
  }
  if (lines.back() != kEndOfFileLine) return fail(error, "no end-of-file record");
  return true;
}

const std::vector<std::string> &VeltorProgramLines() {
  static const std::vector<std::string> lines(std::begin(kVeltorImageLines),
                                              std::end(kVeltorImageLines));
  return lines;
}

VeltorImageFile ReadVeltorImageFile(const std::vector<std::string> &candidates) {
  VeltorImageFile result;
  for (const std::string &candidate : candidates) {
    std::error_code ec;
    if (candidate.empty() || !std::filesystem::is_regular_file(candidate, ec)) continue;
    result.path = candidate;
    const auto size = std::filesystem::file_size(candidate, ec);
    if (ec || size > kMaxVeltorImageFile) {
      result.error = ec ? "fichier illisible" : "fichier trop grand pour un programme de fourche";
      return result;
    }
    std::ifstream in(candidate, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
      result.error = "fichier illisible";
      return result;
    }
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
      if (!line.empty()) lines.push_back(std::move(line));
      start = end + 1;
    }
    std::string why;
    if (!CheckVeltorImage(lines, &why)) {
      result.error = "ce n'est pas un programme de fourche (" + why + ")";
      return result;
    }
    result.lines = std::move(lines);
    return result;
  }
  return result;
}

}  // namespace kvx::device
