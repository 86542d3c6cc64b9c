// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/requete_dde.h"

#include <gtest/gtest.h>

#include <string>

namespace kvx::exchange {
namespace {

struct CasRequete {
  std::string texte;
  CommandeDDE commande;
};

class CommandeDeRequeteTest : public testing::TestWithParam<CasRequete> {};

TEST_P(CommandeDeRequeteTest, ReadsTheCommandOfAOneLineRequest) {
  EXPECT_EQ(CommandeDeRequete(GetParam().texte), GetParam().commande) << GetParam().texte;
}

INSTANTIATE_TEST_SUITE_P(
    Requetes, CommandeDeRequeteTest,
    testing::Values(
        // The six commands, whatever their case.
        CasRequete{"CONFIG|LOAD", CommandeDDE::ConfigLoad},
        CasRequete{"FILE|LOAD", CommandeDDE::FileLoad},
        CasRequete{"CONFIG|SAVE", CommandeDDE::ConfigSave},
        CasRequete{"FILE|SAVE", CommandeDDE::FileSave}, CasRequete{"FOCUS", CommandeDDE::Focus},
        CasRequete{"GETDATA", CommandeDDE::GetData}, CasRequete{"getdata", CommandeDDE::GetData},
        CasRequete{"Focus", CommandeDDE::Focus}, CasRequete{"file|Load", CommandeDDE::FileLoad},
        // What follows the first "(" is not used: a file name loads nothing.
        CasRequete{"FILE|LOAD(/home/eleve/tp 1/chute.KVX)", CommandeDDE::FileLoad},
        CasRequete{"FOCUS(n'importe quoi", CommandeDDE::Focus},
        CasRequete{"FOCUS()(GETDATA)", CommandeDDE::Focus},
        CasRequete{"GETDATA(\xff\xfe)", CommandeDDE::GetData},
        // One line with its line end is still one line.
        CasRequete{"FOCUS\n", CommandeDDE::Focus}, CasRequete{"FOCUS\r\n", CommandeDDE::Focus},
        CasRequete{"FOCUS\r", CommandeDDE::Focus},
        // Two lines, or none, are no command.
        CasRequete{"FOCUS\nGETDATA", CommandeDDE::Aucune},
        CasRequete{"GETDATA\r\nFOCUS\r\n", CommandeDDE::Aucune},
        CasRequete{"GETDATA\rFOCUS", CommandeDDE::Aucune},
        CasRequete{"FOCUS\n\n", CommandeDDE::Aucune}, CasRequete{"", CommandeDDE::Aucune},
        CasRequete{"\n", CommandeDDE::Aucune},
        // Close to a command is not a command.
        CasRequete{" FOCUS", CommandeDDE::Aucune}, CasRequete{"FOCUS ", CommandeDDE::Aucune},
        CasRequete{"FOCUSED", CommandeDDE::Aucune}, CasRequete{"FOCU", CommandeDDE::Aucune},
        CasRequete{"CONFIG", CommandeDDE::Aucune}, CasRequete{"(FOCUS)", CommandeDDE::Aucune},
        CasRequete{"CLIP|LOAD", CommandeDDE::Aucune},
        CasRequete{std::string("FOCUS\0", 6), CommandeDDE::Aucune},
        // Bytes of UTF-8 letters never fold into ASCII ones.
        CasRequete{"FOCUſ", CommandeDDE::Aucune}));

TEST(EffetDeCommande, OnlyGetDataPreparesANewPageAndOnlyTheSavesAndUnknownsLeaveTheFocus) {
  struct Cas {
    CommandeDDE commande;
    EffetRequete effet;
  };
  const Cas cas[] = {
      {CommandeDDE::ConfigLoad, {false, true}},  {CommandeDDE::FileLoad, {false, true}},
      {CommandeDDE::ConfigSave, {false, false}}, {CommandeDDE::FileSave, {false, false}},
      {CommandeDDE::Focus, {false, true}},       {CommandeDDE::GetData, {true, true}},
      {CommandeDDE::Aucune, {false, false}},
  };
  for (const auto &c : cas)
    EXPECT_EQ(EffetDeCommande(c.commande), c.effet) << static_cast<int>(c.commande);
}

}  // namespace
}  // namespace kvx::exchange
