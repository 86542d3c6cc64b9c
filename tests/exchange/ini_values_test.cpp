// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/ini_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace kvx::exchange {
namespace {

TEST(IniValues, ReadsIntegersInDecimalAndHexadecimal) {
  const struct {
    const char *text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"0", 0},
      {"127", 127},
      {"-5", -5},
      {"+7", 7},
      {"0x1F", 31},
      {"0XfF", 255},
      {"0xFF000005", static_cast<std::int32_t>(0xFF000005u)},  // a system colour
      {"-0x10", -16},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"2147483648", std::nullopt},
      {"0x100000000", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"0x", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"12a", std::nullopt},
      {"1.5", std::nullopt},
      {"--1", std::nullopt},
      {"0xG", std::nullopt},
  };
  for (const auto &c : cases) EXPECT_EQ(parseIniInteger(c.text), c.value) << c.text;
  EXPECT_EQ(formatIniInteger(-42), "-42");
  EXPECT_EQ(formatIniInteger(std::numeric_limits<std::int32_t>::min()), "-2147483648");
}

TEST(IniValues, BooleansAreNonZeroIntegers) {
  EXPECT_EQ(parseIniBool("1"), true);
  EXPECT_EQ(parseIniBool("0"), false);
  EXPECT_EQ(parseIniBool("-1"), true);
  EXPECT_EQ(parseIniBool("0x0"), false);
  EXPECT_EQ(parseIniBool("true"), std::nullopt);
  EXPECT_EQ(parseIniBool(""), std::nullopt);
  EXPECT_EQ(formatIniBool(true), "1");
  EXPECT_EQ(formatIniBool(false), "0");
}

TEST(IniValues, ReadsFloatsWithEitherSeparator) {
  const struct {
    const char *text;
    std::optional<double> value;
  } cases[] = {
      {"1.5", 1.5},
      {"1,5", 1.5},
      {"-0,25", -0.25},
      {"+2", 2.0},
      {"1E3", 1000.0},
      {"1,5E-3", 0.0015},
      {".5", 0.5},
      {",5", 0.5},
      {"0.0018", 0.0018},
      {"7", 7.0},
      {"1e999", std::nullopt},
      {"-1e999", std::nullopt},
      {"inf", std::nullopt},
      {"INF", std::nullopt},
      {"nan", std::nullopt},
      {"NAN", std::nullopt},
      {"0x", std::nullopt},
      {"0x10", std::nullopt},
      {"", std::nullopt},
      {",", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1,2,3", std::nullopt},
      {"1.5 V", std::nullopt},
      {"e5", std::nullopt},
      {"--1", std::nullopt},
  };
  for (const auto &c : cases) EXPECT_EQ(parseIniFloat(c.text), c.value) << c.text;
}

TEST(IniValues, WritesShortestGeneralFloats) {
  const struct {
    double value;
    const char *text;  // with "." as separator
  } cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {5.0, "5"},
      {100.0, "100"},
      {1.5, "1.5"},
      {-2.5, "-2.5"},
      {0.0018, "0.0018"},
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {0.00001, "0.00001"},
      {0.0000015, "1.5E-6"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E15"},
      {1e20, "1E20"},
      {-1.25e-10, "-1.25E-10"},
      {1e300, "1E300"},
      {0.1 + 0.2, "0.3"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(formatIniFloat(c.value, '.'), c.text) << c.value;
    std::string comma = c.text;
    for (char &ch : comma)
      if (ch == '.') ch = ',';
    EXPECT_EQ(formatIniFloat(c.value, ','), comma) << c.value;
    EXPECT_EQ(parseIniFloat(comma), parseIniFloat(c.text));
  }
  EXPECT_EQ(formatIniFloat(std::nan(""), '.'), "NAN");
  EXPECT_EQ(formatIniFloat(-HUGE_VAL, '.'), "-INF");
  EXPECT_EQ(parseIniFloat(formatIniFloat(HUGE_VAL, '.')), std::nullopt);
}

TEST(IniValues, FloatsOfFifteenDigitsRoundTrip) {
  for (const double v : {0.0018, 2.5, -15.0, 6400.0, 0.196078431372549, 1e-12, 9.87654321e9}) {
    EXPECT_DOUBLE_EQ(*parseIniFloat(formatIniFloat(v, '.')), v);
    EXPECT_DOUBLE_EQ(*parseIniFloat(formatIniFloat(v, ',')), v);
  }
}

TEST(IniValues, DateTimesReadAndWrite) {
  const IniDateTime afternoon{2024, 3, 9, 14, 5, 7};
  EXPECT_EQ(formatIniDateTime(afternoon), "2024-03-09 14:05:07");
  EXPECT_EQ(formatIniDateTime({2024, 3, 9, 0, 0, 0}), "2024-03-09");
  EXPECT_EQ(parseIniDateTime("2024-03-09 14:05:07"), afternoon);
  EXPECT_EQ(parseIniDateTime("09/03/2024 14:05:07"), afternoon);
  EXPECT_EQ(parseIniDateTime("9/3/2024 14:05"), (IniDateTime{2024, 3, 9, 14, 5, 0}));
  EXPECT_EQ(parseIniDateTime("2024-03-09"), (IniDateTime{2024, 3, 9, 0, 0, 0}));
  EXPECT_EQ(parseIniDateTime("2024-02-29"), (IniDateTime{2024, 2, 29, 0, 0, 0}));
  for (const char *bad : {"", "2023-02-29", "2024-13-01", "2024-00-10", "2024-01-32",
                          "2024-01-01 24:00", "2024-01-01 12:60", "2024-01-01 12", "2024-01-01x",
                          "31/04/2024", "12345-01-01", "1/1/1 1:1:1:1", "2024/01/01"})
    EXPECT_EQ(parseIniDateTime(bad), std::nullopt) << bad;
}

}  // namespace
}  // namespace kvx::exchange
