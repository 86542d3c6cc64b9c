// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/veltor_image.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kvx::device {
namespace {

TEST(VeltorImage, ShippedImageHasTheLoadersLayout) {
  const std::vector<std::string> &lines = VeltorProgramLines();
  ASSERT_EQ(lines.size(), 24u);
  std::string why;
  EXPECT_TRUE(CheckVeltorImage(lines, &why)) << why;
  EXPECT_EQ(lines.front().substr(0, 9), ":083E3B00");
  EXPECT_EQ(lines[16].substr(0, 9), ":0F20F000");
  EXPECT_EQ(lines[17].substr(0, 9), ":1020FF00");
  EXPECT_EQ(lines[22].substr(0, 9), ":0D214F00");
  EXPECT_EQ(lines.back(), ":00000001FF");
  for (const std::string &line : lines) EXPECT_LE(line.size(), kMaxHexLineLength);
}

struct BadLine {
  const char *line;
  const char *why;
};

class HexLineRefused : public ::testing::TestWithParam<BadLine> {};

TEST_P(HexLineRefused, SaysWhy) {
  std::string why;
  EXPECT_FALSE(ParseHexLine(GetParam().line, &why).has_value());
  EXPECT_EQ(why, GetParam().why);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HexLineRefused,
    ::testing::Values(BadLine{"", "no colon"}, BadLine{"083E3B0066279A4F3E319918E9", "no colon"},
                      BadLine{":00000001F", "odd or too few digits"},
                      BadLine{":0000001FF", "odd or too few digits"},
                      BadLine{":083E3B0066279A4F3E319918EA", "wrong checksum"},
                      BadLine{":093E3B0066279A4F3E319918E9", "byte count does not match the line"},
                      BadLine{":083E3B0066279A4G3E319918E9", "not a hexadecimal digit"},
                      BadLine{
                          ":10200000000000000000000000000000000000000000000000000000000000000D0",
                          "line too long"}));

TEST(HexLine, ReadsAddressTypeAndData) {
  const auto record = ParseHexLine(":083e3b0066279a4f3e319918e9");  // lower case too
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->address, 0x3E3B);
  EXPECT_EQ(record->type, kHexData);
  EXPECT_EQ(record->data,
            (std::vector<std::uint8_t>{0x66, 0x27, 0x9A, 0x4F, 0x3E, 0x31, 0x99, 0x18}));
  const auto end = ParseHexLine(":00000001FF");
  ASSERT_TRUE(end.has_value());
  EXPECT_EQ(end->type, kHexEndOfFile);
  EXPECT_TRUE(end->data.empty());
}

// A sound line with its checksum, for building images that are wrong only
// in their layout.
std::string Record(unsigned address, unsigned count, unsigned type = 0) {
  static const char *digits = "0123456789ABCDEF";
  std::vector<unsigned> bytes{count, address >> 8 & 0xFF, address & 0xFF, type};
  for (unsigned i = 0; i < count; ++i) bytes.push_back(i);
  unsigned sum = 0;
  for (unsigned b : bytes) sum += b;
  bytes.push_back((0x100 - (sum & 0xFF)) & 0xFF);
  std::string line = ":";
  for (unsigned b : bytes) {
    line.push_back(digits[b >> 4]);
    line.push_back(digits[b & 15]);
  }
  return line;
}

TEST(VeltorImage, RefusesWhatTheLoaderWouldNotTake) {
  const std::vector<std::string> good = VeltorProgramLines();
  struct Case {
    const char *name;
    std::vector<std::string> lines;
  };
  std::vector<Case> cases;
  auto corrupt = good;
  corrupt[5][10] = corrupt[5][10] == 'A' ? 'B' : 'A';
  cases.push_back({"one digit changed", corrupt});
  auto moved = good;
  moved[3] = Record(0x2031, 16);
  cases.push_back({"a record at the wrong address", moved});
  auto shorter = good;
  shorter[16] = Record(0x20F0, 16);
  cases.push_back({"sixteen bytes where fifteen go", shorter});
  auto noEnd = good;
  noEnd.back() = Record(0x2200, 0);
  cases.push_back({"no end-of-file record", noEnd});
  auto missing = good;
  missing.erase(missing.begin() + 7);
  cases.push_back({"a line missing", missing});
  auto typed = good;
  typed[0] = Record(0x3E3B, 8, 4);
  cases.push_back({"not a data record", typed});
  for (const Case &c : cases) {
    std::string why;
    EXPECT_FALSE(CheckVeltorImage(c.lines, &why)) << c.name;
    EXPECT_FALSE(why.empty()) << c.name;
  }
  // The builder itself makes lines the check takes.
  auto rebuilt = good;
  rebuilt[4] = Record(0x2030, 16);
  EXPECT_TRUE(CheckVeltorImage(rebuilt));
}

// The maker's image as the user installs it: the first place that has a file
// is the one read, and a file that is no fork program is refused with why.
class VeltorImageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder =
        std::filesystem::temp_directory_path() / ("kvx-veltor-image-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::string write(const std::string &name, const std::string &text) {
    const std::filesystem::path p = folder / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  static std::string image(const char *end) {
    std::string t;
    for (const std::string &l : VeltorProgramLines()) t += l + end;
    return t;
  }
  std::filesystem::path folder;
};

TEST_F(VeltorImageFileTest, FirstPlaceWithAFileIsReadAndChecked) {
  const std::string missing = (folder / "none.hex").string();
  const struct {
    std::string text;
    bool usable;
    const char *error;  // start of it
  } cases[] = {
      {image("\n"), true, ""},
      {image("\r\n"), true, ""},
      {"\xEF\xBB\xBF" + image("\r\n") + "\r\n\r\n", true, ""},
      {"", false, "ce n'est pas un programme de fourche (0 lines"},
      {image("\n").substr(1), false, "ce n'est pas un programme de fourche (line 1: no colon"},
      {std::string(kMaxVeltorImageFile + 1, ':'), false, "fichier trop grand"},
  };
  for (const auto &c : cases) {
    const std::string path = write("veltor.hex", c.text);
    const VeltorImageFile f = ReadVeltorImageFile({"", missing, path, write("other.hex", "x")});
    EXPECT_EQ(f.path, path);
    EXPECT_EQ(!f.lines.empty(), c.usable) << f.error;
    if (c.usable) {
      EXPECT_EQ(f.lines, VeltorProgramLines());
    }
    EXPECT_EQ(f.error.rfind(c.error, 0), 0u) << f.error;
  }
  const VeltorImageFile none = ReadVeltorImageFile({missing, folder.string()});
  EXPECT_TRUE(none.path.empty()) << "a folder is no file";
  EXPECT_TRUE(none.lines.empty());
}

}  // namespace
}  // namespace kvx::device
