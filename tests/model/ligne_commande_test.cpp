// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ligne_commande.h"

#include <gtest/gtest.h>

namespace kvx::model {
namespace {

struct Cas {
  std::vector<std::string> arguments;
  bool defaut;
  bool attendu;
};

class OptionTest : public testing::TestWithParam<Cas> {};

TEST_P(OptionTest, ReadsTheSwitchWithoutCase) {
  EXPECT_EQ(OptionLigneCommande(GetParam().arguments, 'C', GetParam().defaut), GetParam().attendu);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, OptionTest,
    testing::Values(Cas{{}, true, true}, Cas{{}, false, false}, Cas{{"/C"}, false, true},
                    Cas{{"/c"}, false, true}, Cas{{"/C+"}, false, true}, Cas{{"/C-"}, true, false},
                    Cas{{"/Cx"}, true, false}, Cas{{"x.kvx", "/c-"}, true, false},
                    Cas{{"/D"}, false, false}, Cas{{"C"}, false, false}, Cas{{"/"}, false, false},
                    Cas{{""}, true, true},
                    // A file path starting with "/C" is no switch.
                    Cas{{"/Cours/tp.kvx"}, true, true}, Cas{{"/C-", "/C+"}, true, false}));

TEST(DossierAvecSeparateur, EndsWithOneSlash) {
  EXPECT_EQ(DossierAvecSeparateur("/home/u/Tabulyse"), "/home/u/Tabulyse/");
  EXPECT_EQ(DossierAvecSeparateur("/home/u/Tabulyse/"), "/home/u/Tabulyse/");
  EXPECT_EQ(DossierAvecSeparateur("/"), "/");
  EXPECT_EQ(DossierAvecSeparateur(""), "");
}

}  // namespace
}  // namespace kvx::model
