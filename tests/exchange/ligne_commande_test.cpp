// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/ligne_commande.h"

#include <gtest/gtest.h>

namespace kvx::exchange {
namespace {

using Args = std::vector<std::string>;

TEST(EstInterrupteur, TellsSwitchesFromPaths) {
  for (const char *argument : {"/C", "/c-", "/C+", "/D", "/tp"})
    EXPECT_TRUE(EstInterrupteur(argument)) << argument;
  for (const char *argument : {"/", "C-", "-C", "/Cnon", "//", "/1", "/home/a.KVX", ""})
    EXPECT_FALSE(EstInterrupteur(argument)) << argument;
}

TEST(TexteTransmis, JoinsTheArgumentsBySingleBlanksLeavingSwitchesOut) {
  EXPECT_EQ(TexteTransmis({}), "");
  EXPECT_EQ(TexteTransmis({"essai.KVX"}), "essai.KVX");
  EXPECT_EQ(TexteTransmis({"/home/eleve/TP", "chute.KVX"}), "/home/eleve/TP chute.KVX");
  EXPECT_EQ(TexteTransmis({"/C-", "a", "", "b"}), "a  b");
  EXPECT_EQ(TexteTransmis({"/opt/tp", "1.KVX"}), "/opt/tp 1.KVX");
  EXPECT_EQ(TexteTransmis({"/C-"}), "");
}

TEST(CheminDepuis, MakesRelativePathsAbsoluteForTheRunningInstance) {
  const std::pair<const char *, const char *> cases[] = {
      {"tp/chute.KVX", "/home/eleve/tp/chute.KVX"},
      {"./chute.KVX", "/home/eleve/./chute.KVX"},
      {"../x y/chute.KVX", "/home/eleve/../x y/chute.KVX"},
      {"/tmp/chute.KVX", "/tmp/chute.KVX"},
      {"chute.KVX", "chute.KVX"},
      {"", ""}};
  for (const auto &[given, sent] : cases) {
    EXPECT_EQ(CheminDepuis(given, "/home/eleve"), sent) << given;
    EXPECT_EQ(CheminDepuis(given, "/home/eleve/"), sent) << given;
  }
  EXPECT_EQ(CheminDepuis("tp/a.KVX", ""), "tp/a.KVX");
}

struct NameCase {
  const char *texte;
  const char *resolved;
};

class HandedOverName : public testing::TestWithParam<NameCase> {};

TEST_P(HandedOverName, FollowsTheReceiversRule) {
  EXPECT_EQ(ResoutNomTransmis(GetParam().texte, "/home/eleve/Documents/Tabulyse/"),
            GetParam().resolved);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, HandedOverName,
    testing::Values(NameCase{"chute.KVX", "/home/eleve/Documents/Tabulyse/chute.KVX"},
                    NameCase{"chute libre.KVX", "/home/eleve/Documents/Tabulyse/chute libre.KVX"},
                    NameCase{"  chute.KVX ", "/home/eleve/Documents/Tabulyse/chute.KVX"},
                    NameCase{"/tmp/tp 1/chute.KVX", "/tmp/tp 1/chute.KVX"},
                    NameCase{"TP\\chute.KVX", "TP\\chute.KVX"},
                    NameCase{"../chute.KVX", "../chute.KVX"}, NameCase{"", ""},
                    NameCase{"   ", ""}));

}  // namespace
}  // namespace kvx::exchange
