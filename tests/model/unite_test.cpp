// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/unite.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "model/formes_unite.h"
#include "model/table_unites.h"
#include "texte_local.h"

namespace kvx::model {
namespace {

using test::Local;
using Exposants = std::array<std::int8_t, kNbBasesSI>;

Tunite Unite(const std::string &texte) {
  Tunite u;
  u.FixeUnite(texte);
  return u;
}

TEST(Tunite, StartsEmptyAndCorrect) {
  const Tunite u;
  EXPECT_EQ(u.Unite, "");
  EXPECT_EQ(u.Nom, "");
  EXPECT_TRUE(u.correcte);
  EXPECT_FALSE(u.avecUnite);
  EXPECT_EQ(u.genre, 0);
  EXPECT_EQ(u.exposants, Exposants{});
  EXPECT_EQ(u.puissance, 0);
}

TEST(Tunite, CopieUniteKeepsTheSymbolOfTheQuantity) {
  Tunite source = Unite("mV");
  source.Nom = "V1";
  Tunite u;
  u.Nom = "t";
  u.CopieUnite(source);
  EXPECT_EQ(u.Nom, "t");
  EXPECT_EQ(u.Unite, "mV");
  EXPECT_EQ(u.puissance, -3);
  EXPECT_EQ(u.exposants, source.exposants);
}

TEST(TableUnites, HoldsFortyEntriesInSearchOrder) {
  for (const EntreeUnite &e : kEntreesUnites) EXPECT_LE(e.symbole.size(), 8u) << e.symbole;
  const auto &t = TableUnites();
  ASSERT_EQ(t.size(), 40u);
  EXPECT_EQ(t[0].Unite, "m");
  EXPECT_EQ(t[30].Unite, "N.m");
  EXPECT_EQ(t[31].Unite, "L");
  EXPECT_EQ(t[39].Unite, "%");
  EXPECT_EQ(t[ChercheSymbole("W/(m.K))")].exposants, (Exposants{1, 1, -3, 0, -1, 0, 0}));
  EXPECT_EQ(t[ChercheSymbole("bar")].puissance, 5);
  EXPECT_EQ(t[ChercheSymbole("dB")].genre, kGenreDecibel);
  EXPECT_EQ(UniteSeconde().Unite, "s");
  EXPECT_EQ(UniteSeconde().exposants, (Exposants{0, 0, 1, 0, 0, 0, 0}));
}

struct Decomposition {
  const char *texte;
  Exposants exposants;
  int puissance;
};

class FixeUniteTest : public testing::TestWithParam<Decomposition> {};

TEST_P(FixeUniteTest, DecomposesIntoBaseUnitsAndPowerOfTen) {
  const Decomposition &d = GetParam();
  const Tunite u = Unite(d.texte);
  EXPECT_TRUE(u.correcte);
  EXPECT_TRUE(u.avecUnite);
  EXPECT_EQ(u.Unite, d.texte);
  EXPECT_EQ(u.exposants, d.exposants) << d.texte;
  EXPECT_EQ(u.puissance, d.puissance) << d.texte;
}

INSTANTIATE_TEST_SUITE_P(
    Textes, FixeUniteTest,
    testing::Values(Decomposition{"mV", {2, 1, -3, -1, 0, 0, 0}, -3},
                    Decomposition{"kg", {0, 1, 0, 0, 0, 0, 0}, 0},
                    Decomposition{"g", {0, 1, 0, 0, 0, 0, 0}, -3},
                    Decomposition{"ms", {0, 0, 1, 0, 0, 0, 0}, -3},
                    Decomposition{"m.s-2", {1, 0, -2, 0, 0, 0, 0}, 0},
                    Decomposition{"m/s²", {1, 0, -2, 0, 0, 0, 0}, 0},
                    Decomposition{"m/s^2", {1, 0, -2, 0, 0, 0, 0}, 0},
                    Decomposition{"m.s^-2", {1, 0, -2, 0, 0, 0, 0}, 0},
                    Decomposition{"J/(kg.K)", {2, 0, -2, 0, -1, 0, 0}, 0},
                    Decomposition{"mol/l", {-3, 0, 0, 0, 0, 1, 0}, 3},
                    Decomposition{"1E-3 m", {1, 0, 0, 0, 0, 0, 0}, -3},
                    Decomposition{"1E+6m", {1, 0, 0, 0, 0, 0, 0}, 6},
                    Decomposition{"Nm", {2, 1, -2, 0, 0, 0, 0}, 0},
                    Decomposition{"kgm", {1, 1, 0, 0, 0, 0, 0}, 0},
                    Decomposition{"µs", {0, 0, 1, 0, 0, 0, 0}, -6},
                    Decomposition{"kHz", {0, 0, -1, 0, 0, 0, 0}, 3},
                    Decomposition{"Ω.m", {3, 1, -3, -2, 0, 0, 0}, 0},
                    Decomposition{"kΩ", {2, 1, -3, -2, 0, 0, 0}, 3},
                    Decomposition{"m°C", {0, 0, 0, 0, 1, 0, 0}, -3},
                    Decomposition{"mΩ", {2, 1, -3, -2, 0, 0, 0}, -3},
                    Decomposition{"m.°C", {1, 0, 0, 0, 1, 0, 0}, 0},
                    Decomposition{"m³", {3, 0, 0, 0, 0, 0, 0}, 0},
                    Decomposition{"m¹", {1, 0, 0, 0, 0, 0, 0}, 0},
                    Decomposition{"m¥", {4, 0, 0, 0, 0, 0, 0}, 0},
                    Decomposition{"m©", {5, 0, 0, 0, 0, 0, 0}, 0},
                    Decomposition{"m¬", {6, 0, 0, 0, 0, 0, 0}, 0},
                    Decomposition{"m\u00AD", {7, 0, 0, 0, 0, 0, 0}, 0},
                    Decomposition{"m®", {8, 0, 0, 0, 0, 0, 0}, 0},
                    Decomposition{"m¼", {9, 0, 0, 0, 0, 0, 0}, 0},
                    Decomposition{"m0", {0, 0, 0, 0, 0, 0, 0}, 0},
                    // A prefix is raised with its factor: a square kilometre is 1E6 m2.
                    Decomposition{"km2", {2, 0, 0, 0, 0, 0, 0}, 6},
                    Decomposition{"/ms", {0, 0, -1, 0, 0, 0, 0}, 3},
                    Decomposition{"g-1", {0, -1, 0, 0, 0, 0, 0}, 3},
                    // A run that is a symbol is not split into prefix and symbol.
                    Decomposition{"mol.s-1", {0, 0, -1, 0, 0, 1, 0}, 0},
                    Decomposition{"Pa.s", {-1, 1, -1, 0, 0, 0, 0}, 0},
                    Decomposition{"cd/m2", {-2, 0, 0, 0, 0, 0, 1}, 0},
                    Decomposition{"kmol", {0, 0, 0, 0, 0, 1, 0}, 3}));

class RefusTest : public testing::TestWithParam<const char *> {};

TEST_P(RefusTest, RefusesWithErreurUniteAndKeepsTheText) {
  Tunite u;
  try {
    u.FixeUnite(GetParam());
    FAIL() << GetParam() << " was accepted";
  } catch (const EUniteError &e) {
    EXPECT_STREQ(e.what(), "Erreur unité");
  }
  EXPECT_FALSE(u.correcte);
  EXPECT_EQ(u.Unite, GetParam());
  EXPECT_TRUE(u.avecUnite);
  EXPECT_EQ(u.exposants, Exposants{});
  EXPECT_EQ(u.puissance, 0);
}

INSTANTIATE_TEST_SUITE_P(Textes, RefusTest,
                         testing::Values("min", "kg/(m.s)", "W/(m.K)", "m^", "m.", "m..s", "m-",
                                         "m^x", "x", "1E", "1E--3 m", "1E3-m", "1E99999 m", "µ",
                                         "mmol/l", "m/", "2", " m", "m s", "m\xFF", "nan", "inf",
                                         "\xC2\xB5\xC2\xB5"));

TEST(FixeUnite, EmptyTextIsAUnitWithoutText) {
  Tunite u = Unite("V");
  u.FixeUnite("");
  EXPECT_TRUE(u.correcte);
  EXPECT_FALSE(u.avecUnite);
  EXPECT_EQ(u.exposants, Exposants{});
}

TEST(FixeUnite, ATableSymbolCopiesItsEntryAndKind) {
  Tunite u = Unite("°");
  EXPECT_EQ(u.genre, kGenreDegre);
  u.FixeUnite("rad");
  EXPECT_EQ(u.genre, kGenreRadian);
  // Leaving an angle for a composed unit forgets the kind of the angle.
  u.FixeUnite("m/s");
  EXPECT_EQ(u.genre, kGenreAucun);
  EXPECT_EQ(u.TexteUnite(3), "kms-1");
}

TEST(FixeUnite, ExponentsThatOverflowAreRefused) {
  std::string texte;
  for (int i = 0; i < 20; ++i) texte += "m9.";
  texte += "m";
  EXPECT_THROW(Unite(texte), EUniteError);
}

TEST(FixeUnite, AMegabyteTextEndsInTime) {
  std::string texte;
  while (texte.size() < (1u << 20)) texte += "m.m-1.";
  texte += "s";
  EXPECT_EQ(Unite(texte).exposants, (Exposants{0, 0, 1, 0, 0, 0, 0}));
  EXPECT_THROW(Unite(std::string(1 << 20, 'N')), EUniteError);
  std::string longue;
  while (longue.size() < (1u << 20)) longue += "SV";  // one long run of letters
  EXPECT_THROW(Unite(longue), EUniteError);
  EXPECT_THROW(Unite(std::string(1 << 20, 'x')), EUniteError);
}

struct Echelle {
  const char *texte;
  int p;
  const char *attendu;
};

class TexteUniteTest : public testing::TestWithParam<Echelle> {};

TEST_P(TexteUniteTest, GivesTheUnitForTheScale) {
  const Echelle &e = GetParam();
  Tunite u;
  try {
    u.FixeUnite(e.texte);
  } catch (const EUniteError &) {
    // refused texts are shown with the power-of-ten form
  }
  EXPECT_EQ(u.TexteUnite(e.p), e.attendu) << e.texte << " p=" << e.p;
}

INSTANTIATE_TEST_SUITE_P(
    Textes, TexteUniteTest,
    testing::Values(Echelle{"mV", 0, "mV"}, Echelle{"mV", 3, "V"}, Echelle{"mV", 6, "kV"},
                    Echelle{"V", -3, "mV"}, Echelle{"V", 1, "101 V"}, Echelle{"V", 3, "kV"},
                    Echelle{"V", -6, "µV"}, Echelle{"V", 24, "1024 V"}, Echelle{"V", -2, "cV"},
                    Echelle{"g", 3, "kg"}, Echelle{"kg", -3, "g"}, Echelle{"kg", 3, "Mg"},
                    Echelle{"kHz", -3, "Hz"}, Echelle{"Hz", 3, "kHz"}, Echelle{"m/s", 3, "kms-1"},
                    Echelle{"m/s", 0, "m/s"}, Echelle{"m2", -6, "mm2"}, Echelle{"m2", -4, "cm2"},
                    Echelle{"m2", -3, "10-3 m2"}, Echelle{"m3", 9, "km3"}, Echelle{"L", -3, "cm3"},
                    Echelle{"L", 3, "m3"}, Echelle{"%", -3, "m%"}, Echelle{"dB", 3, "kdB"},
                    Echelle{"rad", -3, "mrad"}, Echelle{"°C", 3, "k°C"}, Echelle{"bar", -3, "mbar"},
                    Echelle{"", 0, ""}, Echelle{"", 3, "k"}, Echelle{"min", 0, "min"},
                    Echelle{"min", 3, "103 min"}, Echelle{"kg/(m.s)", -4, "10-4 kg/(m.s)"},
                    Echelle{"kg/(m.s2.K.mol)", -4, "10-4 S.I."}, Echelle{"mm/s2", 3, "103 mm/s2"},
                    Echelle{"mm/s2", 0, "mm/s2"}, Echelle{"m.s-2", 3, "103 m.s-2"},
                    Echelle{"Ω", 3, "kΩ"}, Echelle{"N.m", 3, "kN.m"}, Echelle{"J", 3, "kJ"},
                    Echelle{"C.m", 3, "kC.m"},
                    Echelle{"A.s", 3, "kC"}, Echelle{"W/(m.K))", 3, "kW/(m.K))"},
                    // "cd" is the candela, not a centi-"d".
                    Echelle{"cd", 3, "kcd"}, Echelle{"km2", 3, "103 km2"},
                    Echelle{"km2", 6, "Mm2"}));

TEST(TexteUnite, AUnitWithoutTextShowsItsComposition) {
  Tunite u;
  u.exposants = {1, 0, -2, 0, 0, 0, 0};
  EXPECT_EQ(u.TexteUnite(0), "m.s-2");
  EXPECT_EQ(u.TexteUnite(3), "103 m.s-2");
  u.exposants = {2, 1, -3, -1, 0, 0, 0};
  u.genre = kGenreDegre;  // not an ordinary unit: no named symbol
  EXPECT_EQ(u.TexteUnite(0), "m2.kg.s-3.A-1");
  // Showing it does not change the unit.
  EXPECT_EQ(u.Unite, "");
  u.genre = kGenreAucun;
  u.puissance = -3;
  EXPECT_EQ(u.TexteUnite(3), "V");
}

TEST(TexteUnite, UnitsWithoutDimensionShowTheirKind) {
  Tunite u;
  for (auto [genre, texte] : {std::pair{kGenreDegre, "m°"}, std::pair{kGenreRadian, "mrad"},
                              std::pair{kGenreDecibel, "mdB"}, std::pair{kGenreAucun, "m"}}) {
    u.genre = genre;
    EXPECT_EQ(u.TexteUnite(-3), texte);
  }
}

TEST(TexteUnite, ARefusedUnitWithoutTextIsAQuestionMark) {
  Tunite u;
  u.correcte = false;
  EXPECT_EQ(u.TexteUnite(0), "?");
  EXPECT_EQ(u.TexteUnite(-3), "10-3 ?");
}

TEST(FormesUnite, PrefixAndPowerOfTen) {
  EXPECT_EQ(FormePrefixee("V", 1), "101 V");
  EXPECT_EQ(FormePrefixee("V", -3), "mV");
  EXPECT_EQ(FormePrefixee("kHz", -3), "Hz");
  EXPECT_EQ(FormePrefixee("kHz", 1), "104 Hz");
  EXPECT_EQ(FormePrefixee("ms", 3), "s");
  EXPECT_EQ(FormePrefixee("mol", 3), "kmol");
  EXPECT_EQ(FormePrefixee("V", 21), "1021 V");
  EXPECT_EQ(FormePuissance("V", 0), "V");
  EXPECT_EQ(FormePuissance("V", -4), "10-4 V");
  EXPECT_EQ(FormePuissance("abcdefghijkl", 3), "103 abcdefghijkl");  // 16 characters
  EXPECT_EQ(FormePuissance("abcdefghijklm", 3), "103 S.I.");         // would be 17
  EXPECT_EQ(FormePuissance("ΩΩΩΩΩΩΩΩΩΩΩΩ", 3), "103 ΩΩΩΩΩΩΩΩΩΩΩΩ");  // counted in characters
}

struct Valeur {
  const char *unite;
  double x;
  const char *attendu;
};

class TexteValeurTest : public testing::TestWithParam<Valeur> {};

TEST_P(TexteValeurTest, ShowsTheValueWithPrefixAndUnit) {
  const Valeur &v = GetParam();
  EXPECT_EQ(Unite(v.unite).TexteValeur(v.x), Local(v.attendu)) << v.x;
}

INSTANTIATE_TEST_SUITE_P(
    Valeurs, TexteValeurTest,
    testing::Values(Valeur{"V", 0.0123456, "12.35 mV"}, Valeur{"Hz", 1500, "1.5 kHz"},
                    Valeur{"V", 998.6, "998.6 V"}, Valeur{"A", -0.5, "-500 mA"},
                    Valeur{"V", 1e-14, "0V"}, Valeur{"V", 0, "0V"}, Valeur{"V", 999, "0.999 kV"},
                    Valeur{"V", 1, "1 V"}, Valeur{"V", 0.9995, "0.9995 V"},
                    Valeur{"V", 0.99996, "1 V"}, Valeur{"V", 0.0009999, "0.9999 mV"},
                    Valeur{"V", 998.96, "999 V"}, Valeur{"mV", 1500, "1.5 V"},
                    Valeur{"s", 2.5e-3, "2.5 ms"}, Valeur{"V", 1e-12, "1 pV"},
                    Valeur{"V", 2e25, "20 1024 V"}, Valeur{"V", 2e28, "???"},
                    Valeur{"V", std::numeric_limits<double>::infinity(), "???"},
                    Valeur{"V", -std::numeric_limits<double>::infinity(), "???"},
                    Valeur{"V", std::numeric_limits<double>::quiet_NaN(), ""},
                    Valeur{"", 1.5, "1.5 "}, Valeur{"g", 1500, "1.5 kg"}));

TEST(TexteValeurFixe, TwoDecimalsAndTheUnitWithoutBlank) {
  EXPECT_EQ(Unite("V").TexteValeurFixe(2.5), Local("2.50V"));
  EXPECT_EQ(Unite("mV").TexteValeurFixe(50), Local("50.00mV"));
  EXPECT_EQ(Unite("V").TexteValeurFixe(0.0123), Local("0.01V"));
}

TEST(TexteAxe, TitlesTheAxisWithTheUnitOfItsScale) {
  Tunite u = Unite("V");
  u.Nom = "V1";
  EXPECT_EQ(u.TexteAxe(1), "V1(V)");
  EXPECT_EQ(u.TexteAxe(0.001), "V1(mV)");
  EXPECT_EQ(u.TexteAxe(1000), "V1(kV)");
  EXPECT_EQ(u.TexteAxe(0), "V1(V)");
  EXPECT_EQ(u.TexteAxe(-5), "V1(V)");
  EXPECT_EQ(u.TexteAxe(std::numeric_limits<double>::quiet_NaN()), "V1(V)");
  EXPECT_EQ(u.TexteAxe(1e300), "V1(10127 V)");
  Tunite sans;
  sans.Nom = "X";
  EXPECT_EQ(sans.TexteAxe(1), "X");
}

TEST(TexteNomValeur, JoinsTheSymbolAndTheValue) {
  Tunite u = Unite("V");
  u.Nom = "V1";
  EXPECT_EQ(u.TexteNomValeur(0.0123456), Local("V1=12.35 mV"));
}

TEST(Tunite, CopiesAsAValueThroughItsBase) {
  struct Derivee : Tunite {
    std::string TexteNomValeur(double) const override { return "derivee"; }
  };
  Derivee d;
  d.FixeUnite("mV");
  const Tunite &base = d;
  EXPECT_EQ(base.TexteNomValeur(1), "derivee");
  Tunite copie = base;
  EXPECT_EQ(copie.puissance, -3);
}

}  // namespace
}  // namespace kvx::model
