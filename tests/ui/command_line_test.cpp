// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/command_line.h"

#include <gtest/gtest.h>

namespace kvx::ui {
namespace {

TEST(LitLigneCommande, ReadsOptionsAndKeepsTheRestInOrder) {
  const OptionsLigneCommande o = LitLigneCommande(
      {"--simulate", "--port", "/dev/ttyUSB1", "/C-", "--port=/dev/pts/4", "Mes", "essais.KVX"});
  EXPECT_TRUE(o.erreur.empty());
  EXPECT_TRUE(o.simule);
  EXPECT_EQ(o.ports, (std::vector<std::string>{"/dev/ttyUSB1", "/dev/pts/4"}));
  EXPECT_EQ(o.autres, (std::vector<std::string>{"/C-", "Mes", "essais.KVX"}));
}

struct CasErreur {
  std::vector<std::string> args;
  std::string erreur;
};

class ErreurLigneCommande : public testing::TestWithParam<CasErreur> {};

TEST_P(ErreurLigneCommande, IsReportedAndStopsTheReading) {
  const OptionsLigneCommande o = LitLigneCommande(GetParam().args);
  EXPECT_EQ(o.erreur, GetParam().erreur);
}

INSTANTIATE_TEST_SUITE_P(Cas, ErreurLigneCommande,
                         testing::Values(CasErreur{{"--port"}, "--port needs a device path"},
                                         CasErreur{{"--port", ""}, "--port needs a device path"},
                                         CasErreur{{"--port="}, "--port needs a device path"},
                                         CasErreur{{"--simulte"}, "unknown option --simulte"},
                                         CasErreur{{"-x"}, "unknown option -x"}));

TEST(LitLigneCommande, DoubleDashMakesTheRestFileNames) {
  const OptionsLigneCommande o = LitLigneCommande({"--", "--help", "-x"});
  EXPECT_TRUE(o.erreur.empty());
  EXPECT_FALSE(o.aide);
  EXPECT_EQ(o.autres, (std::vector<std::string>{"--help", "-x"}));
}

TEST(LitLigneCommande, HelpAndVersionNeedNothingElse) {
  EXPECT_TRUE(LitLigneCommande({"--help"}).aide);
  EXPECT_TRUE(LitLigneCommande({"-h"}).aide);
  EXPECT_TRUE(LitLigneCommande({"--version"}).version);
  EXPECT_TRUE(LitLigneCommande({"-"}).autres == std::vector<std::string>{"-"});
}

}  // namespace
}  // namespace kvx::ui
