// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace kvx::exchange {
namespace {

struct Utf8Case {
  std::string bytes;
  bool valid;
};

TEST(TextEncoding, AcceptsOnlyStrictUtf8) {
  const Utf8Case cases[] = {
      {"", true},
      {"Unite=mV", true},
      {"Unit\xC3\xA9", true},       // é
      {"\xCE\xB8", true},           // θ
      {"\xF0\x9F\x98\x80", true},   // beyond the first plane
      {"\xE9", false},              // é in Windows-1252
      {"\xC3", false},              // truncated
      {"\xC0\xAF", false},          // overlong "/"
      {"\xE0\x80\xAF", false},      // overlong, three bytes
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"\x80", false},              // lone continuation
      {"\xC3\xA9\xC3", false},      // valid then truncated
  };
  for (const auto &c : cases) EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(TextEncoding, EveryWindows1252ByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = windows1252ToUtf8(all);
  EXPECT_TRUE(isValidUtf8(utf8));
  const auto back = utf8ToWindows1252(utf8);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, all);
}

TEST(TextEncoding, MapsTheSpecialBytesOfWindows1252) {
  EXPECT_EQ(windows1252ToUtf8("\x80"), "\xE2\x82\xAC");  // €
  EXPECT_EQ(windows1252ToUtf8("\x9C"), "\xC5\x93");      // œ
  EXPECT_EQ(windows1252ToUtf8("\xB0"
                              "C"),
            "\xC2\xB0"
            "C");                                           // °C
  EXPECT_EQ(windows1252ToUtf8("\xB5"), "\xC2\xB5");         // µ
  EXPECT_FALSE(utf8ToWindows1252("\xCE\xB8").has_value());  // θ has no byte
  EXPECT_FALSE(utf8ToWindows1252("\xE9").has_value());      // not UTF-8
}

TEST(TextEncoding, ReadsWindows1252OrUtf8) {
  EXPECT_EQ(decodeFileText("Unit\xE9"), "Unit\xC3\xA9");
  EXPECT_EQ(decodeFileText("Unit\xC3\xA9"), "Unit\xC3\xA9");
  EXPECT_EQ(decodeFileText("\xEF\xBB\xBF[V1]"), "[V1]");
  // One stray Windows-1252 byte makes the whole file Windows-1252.
  EXPECT_EQ(decodeFileText("\xC3\xA9 \xE9"), "\xC3\x83\xC2\xA9 \xC3\xA9");
}

TEST(TextEncoding, WritesWindows1252UnlessACharacterWouldBeLost) {
  EXPECT_EQ(encodeFileText("[V1]\r\nUnite=\xC2\xB0"
                           "C"),
            "[V1]\r\nUnite=\xB0"
            "C");
  EXPECT_EQ(encodeFileText("Nom=\xCE\xB8"), "Nom=\xCE\xB8");
  // "Ã©" in Windows-1252 is the UTF-8 of "é": kept in UTF-8 so it reads back.
  EXPECT_EQ(encodeFileText("\xC3\x83\xC2\xA9"), "\xC3\x83\xC2\xA9");
  for (const std::string text : {"plain",
                                 "Dur\xC3\xA9"
                                 "e",
                                 "\xCE\xB8=1", "\xC3\x83\xC2\xA9", "\xC2\x81\xE2\x82\xAC"})
    EXPECT_EQ(decodeFileText(encodeFileText(text)), text);
}

}  // namespace
}  // namespace kvx::exchange
