// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/nombres.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "model/separateur_decimal.h"
#include "texte_local.h"

namespace kvx::model {
namespace {

using test::Local;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Lecture {
  const char *texte;
  double attendu;  // NaN: not a number
};

class LitNombreTest : public testing::TestWithParam<Lecture> {};

TEST_P(LitNombreTest, ReadsEitherSeparatorAndAFinalPrefix) {
  const Lecture &l = GetParam();
  const double x = LitNombre(l.texte);
  if (std::isnan(l.attendu))
    EXPECT_TRUE(std::isnan(x)) << l.texte << " gave " << x;
  else
    EXPECT_DOUBLE_EQ(x, l.attendu) << l.texte;
}

INSTANTIATE_TEST_SUITE_P(
    Textes, LitNombreTest,
    testing::Values(
        Lecture{"3,5", 3.5}, Lecture{"3.5", 3.5}, Lecture{"1.5k", 1500}, Lecture{"1,5k", 1500},
        Lecture{"2.5m", 0.0025}, Lecture{"4k", 4000}, Lecture{"2y", 2e-24}, Lecture{"2Y", 2e24},
        Lecture{"3µ", 3e-6}, Lecture{"7n", 7e-9}, Lecture{"1E", 1e18}, Lecture{"-2.5e-3", -0.0025},
        Lecture{"+4", 4}, Lecture{" 1 2 \t3\n", 123}, Lecture{"5.", 5}, Lecture{".5", 0.5},
        Lecture{"1e-400", 0}, Lecture{"1e300k", kNaN}, Lecture{"abc", kNaN}, Lecture{"", kNaN},
        Lecture{"   ", kNaN}, Lecture{"nan", kNaN}, Lecture{"inf", kNaN}, Lecture{"-inf", kNaN},
        Lecture{"infinity", kNaN}, Lecture{"1e400", kNaN}, Lecture{"-1e400", kNaN},
        Lecture{"0x10", kNaN}, Lecture{"1,5,3", kNaN}, Lecture{"1.5.3", kNaN}, Lecture{"3e", kNaN},
        Lecture{"3e+", kNaN}, Lecture{"k", kNaN}, Lecture{"1c", kNaN}, Lecture{"1h", kNaN},
        Lecture{"--1", kNaN}, Lecture{"1e3k", kNaN}, Lecture{"é", kNaN}, Lecture{"2\xC2", kNaN},
        Lecture{".", kNaN}, Lecture{"1 000", 1000}));

TEST(LitNombre, NulBytesAreBlanks) {
  EXPECT_DOUBLE_EQ(LitNombre(std::string("1\0"
                                         "2",
                                         3)),
                   12);
}

TEST(LitNombre, UnderflowKeepsItsSign) {
  const double x = LitNombre("-1e-400");
  EXPECT_EQ(x, 0);
  EXPECT_TRUE(std::signbit(x));
}

TEST(LitNombre, ReadsAMegabyteOfDigitsAsTheHugeNumberItIs) {
  EXPECT_TRUE(std::isnan(LitNombre(std::string(1 << 20, '7'))));
  EXPECT_DOUBLE_EQ(LitNombre("0." + std::string(1 << 20, '0') + "1e1048577"), 1);
}

TEST(LitNombre, DoesNotDependOnTheProcessLocale) {
  // A toolkit may set a locale whose separator is ","; the program's own
  // setting must still be the only one that counts.
  const char *avant = std::setlocale(LC_ALL, nullptr);
  const std::string sauve = avant ? avant : "C";
  for (const char *nom : {"fr_FR.UTF-8", "de_DE.UTF-8", "C"}) {
    if (!std::setlocale(LC_ALL, nom)) continue;
    EXPECT_DOUBLE_EQ(LitNombre("3.25"), 3.25) << nom;
    EXPECT_EQ(TexteEdition(3.25), Local("3.25")) << nom;
    EXPECT_EQ(TextePoint(0.5), "0.5") << nom;
  }
  std::setlocale(LC_ALL, sauve.c_str());
}

TEST(LitNombreDefaut, GivesTheDefaultOnlyForNonNumbers) {
  EXPECT_EQ(LitNombreDefaut("x", 7), 7);
  EXPECT_EQ(LitNombreDefaut("", -1), -1);
  EXPECT_EQ(LitNombreDefaut("0", 7), 0);
}

TEST(EssaieNombre, CompletesALeadingExponentOrSeparator) {
  double x = 0;
  EXPECT_TRUE(EssaieNombre("E3", x));
  EXPECT_EQ(x, 1000);
  EXPECT_TRUE(EssaieNombre("e-2", x));
  EXPECT_DOUBLE_EQ(x, 0.01);
  EXPECT_TRUE(EssaieNombre(",25", x));
  EXPECT_DOUBLE_EQ(x, 0.25);
  EXPECT_TRUE(EssaieNombre(".5m", x));
  EXPECT_DOUBLE_EQ(x, 0.0005);
  EXPECT_FALSE(EssaieNombre("E", x) && std::isnan(x));
  EXPECT_FALSE(EssaieNombre("", x));
  EXPECT_FALSE(EssaieNombre("nan", x));
  EXPECT_TRUE(std::isnan(x));
}

struct Ecriture {
  double x;
  int precision;
  const char *attendu;  // with "." for the program's separator
};

class TexteEditionTest : public testing::TestWithParam<Ecriture> {};

TEST_P(TexteEditionTest, WritesGeneralFormatWithTheProgramsSeparator) {
  const Ecriture &e = GetParam();
  EXPECT_EQ(TexteEdition(e.x, e.precision), Local(e.attendu)) << e.x;
}

INSTANTIATE_TEST_SUITE_P(
    Valeurs, TexteEditionTest,
    testing::Values(
        Ecriture{0, 4, "0"}, Ecriture{1.5, 4, "1.5"}, Ecriture{-2.25, 4, "-2.25"},
        Ecriture{1234, 4, "1234"}, Ecriture{12345, 4, "1.235E4"}, Ecriture{9999.7, 4, "1E4"},
        Ecriture{0.0001, 4, "0.0001"}, Ecriture{0.00001, 4, "0.00001"},
        Ecriture{0.000009, 4, "9E-6"}, Ecriture{1e-10, 4, "1E-10"}, Ecriture{1.5e-11, 4, "1.5E-11"},
        Ecriture{2e10, 4, "2E10"}, Ecriture{123.456, 4, "123.5"}, Ecriture{0.1, 4, "0.1"},
        Ecriture{1.0 / 3, 6, "0.333333"}, Ecriture{-1e300, 4, "-1E300"},
        Ecriture{5e-324, 4, "5E-324"}, Ecriture{12345, 4, "1.235E4"}, Ecriture{0.125, 2, "0.13"},
        Ecriture{-0.125, 2, "-0.13"}, Ecriture{100, 1, "1E2"}, Ecriture{42, 0, "4E1"},
        Ecriture{kNaN, 4, " "}, Ecriture{std::numeric_limits<double>::infinity(), 4, " "},
        Ecriture{-std::numeric_limits<double>::infinity(), 4, " "}));

TEST(TexteEdition, ReadsBackToTheSameRoundedValue) {
  for (double x : {0.0123456, 1.0, -987.654, 3e-7, 6.02e23, 1e-300}) {
    const double relu = LitNombre(TexteEdition(x, 15));
    EXPECT_NEAR(relu, x, std::fabs(x) * 1e-14) << x;
  }
}

struct Point {
  double x;
  const char *attendu;
};

class TextePointTest : public testing::TestWithParam<Point> {};

TEST_P(TextePointTest, AlwaysUsesAPointAndTwoExponentDigits) {
  EXPECT_EQ(TextePoint(GetParam().x), GetParam().attendu);
}

INSTANTIATE_TEST_SUITE_P(
    Valeurs, TextePointTest,
    testing::Values(Point{0.000001234567, "1.234567E-06"}, Point{1234567.8, "1234568"},
                    Point{12345678, "1.234568E07"}, Point{0.5, "0.5"}, Point{0, "0"},
                    Point{-0.48, "-0.48"}, Point{0.01, "0.01"}, Point{1.25, "1.25"},
                    Point{1e100, "1E100"}, Point{-3e-5, "-0.00003"}, Point{9999999.6, "1E07"},
                    Point{kNaN, ""}, Point{std::numeric_limits<double>::infinity(), ""}));

struct Fixe {
  double x;
  int decimales, chiffres;
  const char *attendu;
};

class TexteFixeTest : public testing::TestWithParam<Fixe> {};

TEST_P(TexteFixeTest, RoundsToTheFewerOfDecimalsAndSignificantDigits) {
  const Fixe &f = GetParam();
  EXPECT_EQ(TexteFixe(f.x, f.decimales, f.chiffres), Local(f.attendu)) << f.x;
}

INSTANTIATE_TEST_SUITE_P(
    Valeurs, TexteFixeTest,
    testing::Values(Fixe{2.5, 2, 3, "2.50"}, Fixe{15, 2, 3, "15.00"}, Fixe{15.678, 2, 3, "15.70"},
                    Fixe{0.05, 2, 3, "0.05"}, Fixe{0.012345, 2, 3, "0.01"},
                    Fixe{0.006, 2, 3, "0.01"}, Fixe{0.004, 2, 3, "0.00"},
                    Fixe{-0.004, 2, 3, "0.00"}, Fixe{-2.5, 2, 3, "-2.50"},
                    Fixe{12.3456, 2, 3, "12.30"}, Fixe{999.6, 0, 3, "1E3"},
                    Fixe{123.456, 2, 3, "123.00"}, Fixe{1234.5, 2, 3, "1.23E3"},
                    Fixe{0, 2, 3, "0.00"}, Fixe{7, 0, 3, "7"}, Fixe{kNaN, 2, 3, ""},
                    Fixe{std::numeric_limits<double>::infinity(), 2, 3, "???"}));

TEST(CompleteA, CutsOrPadsWholeCharacters) {
  EXPECT_EQ(CompleteA("abc", 5), "abc  ");
  EXPECT_EQ(CompleteA("abcdef", 3), "abc");
  EXPECT_EQ(CompleteA("µΩ°x", 3), "µΩ°");
  EXPECT_EQ(CompleteA("µΩ", 3), "µΩ ");
  EXPECT_EQ(CompleteA("abc", 0), "");
  EXPECT_EQ(CompleteA("abc", -4), "");
  EXPECT_EQ(CompleteA("", 2), "  ");
}

TEST(TexteHexaBinaire, KeepTheLow16Bits) {
  EXPECT_EQ(TexteHexa4(0), "0000");
  EXPECT_EQ(TexteHexa4(0xABCD), "ABCD");
  EXPECT_EQ(TexteHexa4(0x12345), "2345");
  EXPECT_EQ(TexteHexa4(-1), "FFFF");
  EXPECT_EQ(TexteBinaire16(5), "0000000000000101");
  EXPECT_EQ(TexteBinaire16(0x18000), "1000000000000000");
  EXPECT_EQ(TexteBinaire16(-1), "1111111111111111");
}

TEST(FiltreTouche, PassesNumberKeysAndDiscardsTheRest) {
  const char32_t sep = static_cast<char32_t>(SeparateurDecimal());
  EXPECT_EQ(FiltreTouche(U','), sep);
  EXPECT_EQ(FiltreTouche(U'.'), sep);
  for (char32_t c : std::u32string(U"0123456789()+-EGMTefkmnµ\b\t\r"))
    EXPECT_EQ(FiltreTouche(c), c) << static_cast<unsigned>(c);
  for (char32_t c : std::u32string(U"aAxPp*/ ;\n\x1bΩ"))
    EXPECT_EQ(FiltreTouche(c), 0u) << static_cast<unsigned>(c);
  EXPECT_EQ(FiltreTouche(0), 0u);
}

TEST(SupprimeBlancs, RemovesControlCharactersOnly) {
  EXPECT_EQ(SupprimeBlancs(std::string(" a\tb\0c\x1f!\xC2\xB5", 10)), "abc!\xC2\xB5");
}

// The table texts write their numbers without a text each; every byte must
// stay what the analysis program and the ASCII file always got.
TEST(AjouteTextePoint, WritesTheBytesOfTextePointForEveryKindOfValue) {
  std::vector<double> valeurs = {0.0, -0.0, 0.5, -0.48, 1.25, 9999999.4, 9999999.5, 99999995,
                                 0.00001, 0.0000099999995, 0.000009999999, 1234567.8, 12345678,
                                 0.000001234567, 1e-300, 4.9e-324, 1.7976931348623157e308,
                                 0.12345675, 0.99999995, 9.9999995e-6, 1e21, 123456.75,
                                 std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity()};
  // Every magnitude and both halves of the rounding, as recorded channels
  // give them: random bit patterns, random decimals cut at 6 to 9 digits (the
  // halfway cases of the seventh digit among them), noisy values, and the
  // 12-bit codes of the box times the usual ranges.
  std::mt19937_64 hasard(2026);
  for (int i = 0; i < 200000; ++i) {
    const std::uint64_t bits = hasard();
    double x;
    std::memcpy(&x, &bits, sizeof x);
    valeurs.push_back(x);
  }
  std::uniform_real_distribution<double> mantisse(1, 10);
  std::uniform_int_distribution<int> exposant(-12, 12), chiffres(6, 9);
  for (int i = 0; i < 200000; ++i) {
    const double p = std::pow(10.0, chiffres(hasard) - 1);
    valeurs.push_back(std::round(mantisse(hasard) * p) / p * std::pow(10.0, exposant(hasard)));
  }
  std::uniform_real_distribution<double> bruit(-5, 5);
  for (int i = 0; i < 100000; ++i) valeurs.push_back(bruit(hasard) * std::pow(10.0, exposant(hasard)));
  for (int code = 0; code < 4096; ++code)
    for (double pleineEchelle : {10.0, 5.0, 1.0, 0.2, 20e-3})
      valeurs.push_back((code - 2048) * pleineEchelle / 2048);
  for (int j = 0; j <= 6400; ++j) valeurs.push_back(j * 0.000156);
  std::size_t differences = 0;
  for (const double x : valeurs) {
    std::string texte = "a";
    AjouteTextePoint(texte, x);
    if (texte != "a" + TextePoint(x) && ++differences < 10)
      ADD_FAILURE() << "x = " << x << ": " << texte.substr(1) << " instead of " << TextePoint(x);
  }
  EXPECT_EQ(differences, 0u) << "of " << valeurs.size();
}

}  // namespace
}  // namespace kvx::model
