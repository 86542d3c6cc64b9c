// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/value_list_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvx::device {
namespace {

struct Parsed {
  ValueListParser::Event last = ValueListParser::Event::None;
  std::vector<int> values;
};

Parsed parse(const std::string &bytes) {
  ValueListParser p;
  p.reset();
  Parsed out;
  for (char c : bytes) {
    auto e = p.feed(static_cast<std::uint8_t>(c));
    if (e != ValueListParser::Event::None) out.last = e;
  }
  for (int i = 0; i < p.count(); ++i) out.values.push_back(p.value(i));
  return out;
}

struct ListCase {
  const char *what;
  std::string bytes;
  std::vector<int> values;
  ValueListParser::Event event;
};

class ValueListTest : public testing::TestWithParam<ListCase> {};

TEST_P(ValueListTest, StoresTheCodes) {
  Parsed p = parse(GetParam().bytes);
  EXPECT_EQ(p.values, GetParam().values);
  EXPECT_EQ(p.last, GetParam().event);
}

using E = ValueListParser::Event;
INSTANTIATE_TEST_SUITE_P(
    Lines, ValueListTest,
    testing::Values(ListCase{"plain", "12,255,0\r", {12, 255, 0}, E::Line},
                    ListCase{"modulo", "300\r", {44}, E::Line},
                    ListCase{"empty line", "\r", {}, E::EmptyLine},
                    ListCase{"line feed and blanks", "\n1, 2 ,3\r", {1, 2, 3}, E::Line},
                    ListCase{"garbage ignored",
                             "1x2\xff,\x01"
                             "7\r",
                             {12, 7},
                             E::Line},
                    ListCase{"empty fields", ",,5,,\r", {5}, E::Line},
                    // 2147483647 fits in 32 bits, one more does not and is dropped.
                    ListCase{"largest", "2147483647\r", {255}, E::Line},
                    ListCase{
                        "beyond 32 bits", "1,2147483648,99999999999999999999,2\r", {1, 2}, E::Line},
                    ListCase{"only too long", "4294967296\r", {}, E::EmptyLine},
                    ListCase{"leading zeros", "000000000000000007\r", {7}, E::Line},
                    ListCase{"no end yet", "1,2,3", {1, 2}, E::None}));

TEST(ValueList, DropsValuesPastTheLineBuffer) {
  std::string line;
  for (int i = 0; i < 300; ++i) line += std::to_string(i % 256) + ",";
  line += "\r";
  Parsed p = parse(line);
  ASSERT_EQ(p.values.size(), 256u);
  EXPECT_EQ(p.values.front(), 0);
  EXPECT_EQ(p.values.back(), 255);
}

TEST(ValueList, ALineAfterAFinishedOneStartsAfresh) {
  ValueListParser p;
  for (char c : std::string("1,2\r7\r")) p.feed(static_cast<std::uint8_t>(c));
  ASSERT_EQ(p.count(), 1);
  EXPECT_EQ(p.value(0), 7);
}

}  // namespace
}  // namespace kvx::device
