// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kvx::model {
namespace {

struct Calcul {
  const char *texte;
  double valeur;
};

class EvalueTest : public testing::TestWithParam<Calcul> {};

TEST_P(EvalueTest, ComputesTheValue) {
  EXPECT_DOUBLE_EQ(Evalue(GetParam().texte), GetParam().valeur) << GetParam().texte;
}

INSTANTIATE_TEST_SUITE_P(
    Textes, EvalueTest,
    testing::Values(Calcul{"2*PI", 6.283185307179586}, Calcul{"2*pi", 6.283185307179586},
                    Calcul{"π/2", 1.5707963267948966}, Calcul{"Π", 3.141592653589793},
                    Calcul{"Pi", 3.141592653589793}, Calcul{"1,5+1", 2.5}, Calcul{"1.5+1", 2.5},
                    Calcul{"-3*2", -6}, Calcul{"+3", 3}, Calcul{"(1+2", 3}, Calcul{"1+(2", 3},
                    Calcul{"10m/2", 0.005}, Calcul{"3E2", 300}, Calcul{"3e-2", 0.03},
                    Calcul{"3E", 3e18}, Calcul{"5k", 5000}, Calcul{"2µ", 2e-6},
                    Calcul{"1/0.05", 20}, Calcul{"2*PI/100", 0.06283185307179587},
                    Calcul{"8-2-1", 5}, Calcul{"8/2/2", 2}, Calcul{"2+3*4", 14},
                    Calcul{"(2+3)*4", 20}, Calcul{"-(2+3)", -5}, Calcul{" 1 + 2 ", 3},
                    Calcul{".5", 0.5}, Calcul{"((((((1))))))", 1}, Calcul{"1e-400", 0},
                    Calcul{"-2-3", -5}, Calcul{"(-2)*3", -6}, Calcul{"((1+2", 3}));

struct Erreur {
  std::string texte;
  const char *message;
};

class EvalueErreurTest : public testing::TestWithParam<Erreur> {};

TEST_P(EvalueErreurTest, RaisesTheFrenchMessage) {
  try {
    const double x = Evalue(GetParam().texte);
    FAIL() << GetParam().texte.substr(0, 40) << " gave " << x;
  } catch (const EGetFloatError &e) {
    EXPECT_STREQ(e.what(), GetParam().message) << GetParam().texte.substr(0, 40);
  }
}

std::string Repete(const std::string &motif, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += motif;
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Textes, EvalueErreurTest,
    testing::Values(Erreur{"2*-3", kErreurNombre}, Erreur{"(1+2))", kErreurNombre},
                    Erreur{"2(3)", kErreurNombre}, Erreur{"PIE", kErreurNombre},
                    Erreur{"PPPPPPPPP", kErreurIdentificateur}, Erreur{"PPPPPPPP", kErreurNombre},
                    Erreur{"3e", kErreurNombre}, Erreur{"ππ", kErreurNombre},
                    Erreur{"1+", kErreurParentheseOuvrante},
                    Erreur{"1*", kErreurParentheseOuvrante}, Erreur{"x", kErreurParentheseOuvrante},
                    Erreur{"()", kErreurParentheseOuvrante},
                    Erreur{"(1]", kErreurParentheseFermante}, Erreur{"--1", kErreurNombre},
                    Erreur{"1..2", kErreurNombre}, Erreur{"nan", kErreurParentheseOuvrante},
                    Erreur{"inf", kErreurParentheseOuvrante}, Erreur{"1e400", kErreurNombre},
                    Erreur{"2PI", kErreurNombre}, Erreur{"é", kErreurParentheseOuvrante},
                    Erreur{"1\xFF", kErreurNombre}, Erreur{"1/0", kErreurDivisionParZero},
                    Erreur{"0/0", kErreurDivisionParZero},
                    Erreur{"1e300*1e300", kErreurDepassement},
                    Erreur{"-1e308-1e308", kErreurDepassement},
                    Erreur{Repete("1+(", 10) + "1", kErreurComplexe},
                    Erreur{Repete("(", 101) + "1", kErreurImbrication},
                    Erreur{Repete("(", 100000) + "1", kErreurTropLongue},
                    Erreur{std::string(1001, '1'), kErreurTropLongue},
                    Erreur{std::string(1 << 20, '7'), kErreurTropLongue}));

TEST(Evalue, PendingValuesUpToTheStackSizeAreAccepted) {
  // Nine pending left operands and the last number fill the ten places.
  EXPECT_DOUBLE_EQ(Evalue(Repete("1+(", 9) + "1"), 10);
  EXPECT_DOUBLE_EQ(Evalue(Repete("(", 100) + "1" + Repete(")", 100)), 1);
  EXPECT_DOUBLE_EQ(Evalue(Repete("1+", 499) + "1"), 500);
}

TEST(Evalue, EmptyOrBlankTextIsNaN) {
  EXPECT_TRUE(std::isnan(Evalue("")));
  EXPECT_TRUE(std::isnan(Evalue("  \t ")));
  EXPECT_TRUE(std::isnan(Evalue(std::string(1 << 20, ' '))));
  EXPECT_TRUE(std::isnan(Evalue(std::string(5, '\0'))));
}

TEST(Evalue, NulBytesAreBlanks) {
  EXPECT_DOUBLE_EQ(Evalue(std::string("1\0+2", 4)), 3);
}

}  // namespace
}  // namespace kvx::model
