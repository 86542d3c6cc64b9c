// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/duree.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "texte_local.h"

namespace kvx::model {
namespace {

using test::Local;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Lecture {
  const char *texte;
  double secondes;  // NaN: not a duration
};

class LitDureeTest : public testing::TestWithParam<Lecture> {};

TEST_P(LitDureeTest, ReadsUnitsAndClockTimes) {
  const Lecture &l = GetParam();
  const double t = LitDuree(l.texte);
  if (std::isnan(l.secondes))
    EXPECT_TRUE(std::isnan(t)) << l.texte << " gave " << t;
  else
    EXPECT_NEAR(t, l.secondes, 1e-9 * std::fabs(l.secondes)) << l.texte;
}

INSTANTIATE_TEST_SUITE_P(
    Textes, LitDureeTest,
    testing::Values(Lecture{"2ms", 0.002}, Lecture{"1h30min", 5400}, Lecture{"90", 90},
                    Lecture{"0", 0.1}, Lecture{"1:30", 90}, Lecture{"12:30", 45000},
                    Lecture{"1j2:30", 95400}, Lecture{"5:30", 330}, Lecture{"1:30:15", 5415},
                    Lecture{"0:00", 0.1}, Lecture{"2.5s", 2.5}, Lecture{"2,5s", 2.5},
                    Lecture{"20µs", 2e-5}, Lecture{"3min", 180}, Lecture{"1j", 86400},
                    Lecture{"2h", 7200}, Lecture{" 1 h 30 min ", 5400}, Lecture{"1min30ms", 60.03},
                    Lecture{"0:1:30.5", 90.5},
                    // A bare number after a marker counts in the next smaller unit,
                    // or in seconds when it ends in "s".
                    Lecture{"1h30", 5400}, Lecture{"2min30", 150}, Lecture{"1min30s", 90},
                    Lecture{"1j2", 93600}, Lecture{"1h30s", 3630},
                    // Garbage is no duration rather than 1 s or 0.1 s.
                    Lecture{"", kNaN}, Lecture{"   ", kNaN}, Lecture{"abc", kNaN},
                    Lecture{"s", kNaN}, Lecture{"h", kNaN}, Lecture{"xh", kNaN},
                    Lecture{"1.5h", kNaN}, Lecture{"1x", kNaN}, Lecture{"nan", kNaN},
                    Lecture{"inf", kNaN}, Lecture{"1e400", kNaN}, Lecture{"25:00", kNaN},
                    Lecture{"1:60", kNaN}, Lecture{"1:2:3:4", kNaN}, Lecture{":", kNaN},
                    Lecture{"::", kNaN}, Lecture{"xj1:00", kNaN}, Lecture{"1:30j", kNaN},
                    Lecture{"1:3x", kNaN}, Lecture{"2µ5", kNaN}, Lecture{"é:é", kNaN}));

TEST(LitDuree, BadInputOfAnySizeHasAnAnswer) {
  EXPECT_TRUE(std::isnan(LitDuree(std::string(1 << 20, 'x'))));
  EXPECT_TRUE(std::isnan(LitDuree(std::string(1 << 20, ':'))));
  EXPECT_TRUE(std::isnan(LitDuree(std::string("1\0h", 3) + "\xFF")));
  EXPECT_DOUBLE_EQ(LitDuree(std::string("1\0h", 3)), 3600);
}

struct Ecriture {
  double secondes;
  const char *texte;
};

class TexteDureeTest : public testing::TestWithParam<Ecriture> {};

TEST_P(TexteDureeTest, WritesSecondsClockTimesAndDays) {
  EXPECT_EQ(TexteDuree(GetParam().secondes), Local(GetParam().texte)) << GetParam().secondes;
}

INSTANTIATE_TEST_SUITE_P(
    Valeurs, TexteDureeTest,
    testing::Values(Ecriture{3600, "01h00"}, Ecriture{90000, "1j 01h"}, Ecriture{0.0025, "2.5 ms"},
                    Ecriture{12, "12 s"}, Ecriture{299, "299 s"}, Ecriture{300, "0:05:00"},
                    Ecriture{330.7, "0:05:30"}, Ecriture{3599, "0:59:59"}, Ecriture{5400, "01h30"},
                    Ecriture{19800, "05h30"}, Ecriture{7207, "02h00"},  // rounded to 15 s: 7200
                    Ecriture{43229, "12h00"}, Ecriture{43231, "12h01"}, Ecriture{86399, "1j 00h"},
                    Ecriture{2 * 86400 + 5 * 3600, "2j 05h"}, Ecriture{1e12, "11574074j 01h"},
                    Ecriture{0, "0s"}, Ecriture{kNaN, ""},
                    Ecriture{std::numeric_limits<double>::infinity(), "???"}));

TEST(Duree, WrittenDurationsReadBack) {
  for (double t : {0.002, 1.5, 90.0, 330.0, 5400.0, 45000.0}) {
    std::string texte = TexteDuree(t);
    if (texte.find('h') != std::string::npos && texte.find('j') == std::string::npos)
      texte.replace(texte.find('h'), 1, ":");  // 01h30 is the clock time 01:30
    EXPECT_NEAR(LitDuree(texte), t, t * 1e-9) << texte;
  }
}

}  // namespace
}  // namespace kvx::model
