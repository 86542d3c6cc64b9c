// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/ini_document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/separateur_decimal.h"

namespace kvx::exchange {
namespace {

using Names = std::vector<std::string>;

TEST(IniDocument, WritesTheExactFileLayout) {
  IniDocument doc;
  doc.writeString("Constante", "Nom", "g");
  doc.writeString("Constante", "Unité", "m.s-2");
  doc.writeInteger("Affichage", "Abscisse", 5);
  doc.writeBool("Affichage", "Ligne", true);
  doc.writeString("Constante", "Comm", "");
  EXPECT_EQ(doc.serialize(),
            "[Constante]\r\nNom=g\r\nUnit\xE9=m.s-2\r\nComm=\r\n\r\n"
            "[Affichage]\r\nAbscisse=5\r\nLigne=1\r\n\r\n");
}

TEST(IniDocument, FloatsUseTheProgramSeparatorAndReadEitherOne) {
  IniDocument doc;
  doc.writeFloat("V1", "Maxi", 2.5);
  const std::string expected = std::string("2") + model::SeparateurDecimal() + "5";
  EXPECT_EQ(doc.value("V1", "Maxi"), expected);
  // A file written on the other kind of desktop reads the same.
  const IniDocument other = IniDocument::parse("[V1]\r\nMaxi=2,5\r\nMini=-2.5\r\n");
  EXPECT_EQ(other.readFloat("V1", "Maxi", 0), 2.5);
  EXPECT_EQ(other.readFloat("V1", "Mini", 0), -2.5);
}

TEST(IniDocument, ReadsLinesTrimmedWithBlanksAroundTheFirstEqualsDropped) {
  const IniDocument doc = IniDocument::parse(
      "  [ Synchro ]  \n"
      "\tSeuil =  127 \r\n"
      "Comm = a = b\r\n"
      "; Mode=4\r\n"
      "\r\n"
      "Voie=\r\n"
      "no equals sign\r\n"
      "=orphan value\r\n");
  EXPECT_EQ(doc.sectionNames(), Names{"Synchro"});
  EXPECT_EQ(doc.keys("Synchro"), (Names{"Seuil", "Comm", "Voie"}));
  EXPECT_EQ(doc.readInteger("Synchro", "Seuil", 0), 127);
  EXPECT_EQ(doc.readString("Synchro", "Comm", ""), "a = b");
  EXPECT_EQ(doc.readString("Synchro", "Voie", "x"), "");
  EXPECT_EQ(doc.readInteger("Synchro", "Voie", 5), 5);
  EXPECT_EQ(doc.readInteger("Synchro", "Mode", 0), 0);
  EXPECT_EQ(doc.serialize(), "[Synchro]\r\nSeuil=127\r\nComm=a = b\r\nVoie=\r\n\r\n");
}

TEST(IniDocument, MatchesNamesWithoutCaseButWithAccents) {
  const IniDocument doc = IniDocument::parse(
      "[veltor]\r\ntaille=0.0018\r\n[BALAYAGE]\r\nDur\xC3\xA9"
      "e=2000\r\n"
      "[\xC3\x89tat]\r\nA=1\r\n");
  EXPECT_EQ(doc.readFloat("Veltor", "Taille", 0), 0.0018);
  EXPECT_EQ(doc.readInteger("Balayage", "DURÉE", 0), 2000);
  EXPECT_EQ(doc.readInteger("balayage", "durée", 0), 2000);
  EXPECT_FALSE(doc.hasKey("Balayage", "Duree"));
  EXPECT_TRUE(doc.hasSection("état"));
  EXPECT_FALSE(doc.hasSection("etat"));
}

TEST(IniDocument, KeepsTheFirstOfRepeatedSectionsAndKeys) {
  const IniDocument doc = IniDocument::parse(
      "Orphan=1\r\n[V1]\r\nNom=a\r\nnom=b\r\n[SA]\r\nFin=250\r\n[v1]\r\nNom=c\r\nMotif=2\r\n");
  EXPECT_EQ(doc.sectionNames(), (Names{"V1", "SA"}));
  EXPECT_EQ(doc.readString("V1", "Nom", ""), "a");
  EXPECT_EQ(doc.readInteger("V1", "Motif", 0), 2);
  EXPECT_EQ(doc.serialize(), "[V1]\r\nNom=a\r\nMotif=2\r\n\r\n[SA]\r\nFin=250\r\n\r\n");
}

TEST(IniDocument, DropsTheKeysOfABrokenHeader) {
  const IniDocument doc =
      IniDocument::parse("[V1]\r\nNom=a\r\n[V2\r\nNom=b\r\n[V3]\r\nNom=c\r\n[\r\nX=1\r\n");
  EXPECT_EQ(doc.sectionNames(), (Names{"V1", "V3"}));
  EXPECT_EQ(doc.readString("V1", "Nom", ""), "a");
  EXPECT_EQ(doc.readString("V3", "Nom", ""), "c");
}

TEST(IniDocument, ReadsAnyBytesToADocumentedResult) {
  // NUL ends a line like a line break.
  IniDocument doc = IniDocument::parse(std::string("[A]\r\nK=va\0lue\r\nL=2", 18));
  EXPECT_EQ(doc.readString("A", "K", ""), "va");
  EXPECT_EQ(doc.readInteger("A", "L", 0), 2);
  // Windows-1252 bytes come out as UTF-8.
  doc = IniDocument::parse(
      "[V1]\r\nUnite=\xB0"
      "C\r\n");
  EXPECT_EQ(doc.readString("V1", "Unite", ""),
            "\xC2\xB0"
            "C");
  // Numbers that are no numbers give the default.
  doc = IniDocument::parse("[N]\r\na=1e999\r\nb=0x\r\nc=inf\r\nd=12abc\r\n");
  EXPECT_EQ(doc.readFloat("N", "a", 7.5), 7.5);
  EXPECT_EQ(doc.readInteger("N", "b", 3), 3);
  EXPECT_EQ(doc.readFloat("N", "c", 1), 1);
  EXPECT_EQ(doc.readBool("N", "d", true), true);
  // Binary garbage: no section, nothing read, nothing thrown.
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 256);
  EXPECT_NO_THROW(doc = IniDocument::parse(garbage));
}

TEST(IniDocument, IgnoresAnOverlongLineAndRefusesAnOverlongFile) {
  const std::string huge(10u << 20, 'x');
  const IniDocument doc = IniDocument::parse("[A]\r\nK=1\r\nL=" + huge + "\r\nM=2\r\n[" +
                                             std::string(2u << 20, 'y') + "]\r\nN=3\r\n");
  EXPECT_EQ(doc.keys("A"), (Names{"K", "M"}));
  EXPECT_EQ(doc.sectionNames(), Names{"A"});
  EXPECT_THROW(IniDocument::parse(std::string(IniDocument::kMaxFileBytes + 1, '\n')), IniError);
  std::string many = "[A]\n";
  for (std::size_t i = 0; i <= IniDocument::kMaxKeys; ++i) many += std::to_string(i) + "=\n";
  EXPECT_THROW(IniDocument::parse(many), IniError);
}

TEST(IniDocument, UpdatingKeepsKeysInPlaceAndAppendsNewOnes) {
  IniDocument doc = IniDocument::parse(
      "; written by hand\r\n[Perso]\r\nnote=ma manip\r\n\r\n"
      "[V1]\r\nFuture=x\r\nmaxi=9\r\nNom=old\r\n");
  doc.writeString("V1", "Nom", "U");
  doc.writeFloat("V1", "Maxi", 5);
  doc.writeInteger("V1", "Motif", 3);
  doc.writeBool("EB", "Active", false);
  EXPECT_EQ(doc.serialize(),
            "[Perso]\r\nnote=ma manip\r\n\r\n"
            "[V1]\r\nFuture=x\r\nmaxi=5\r\nNom=U\r\nMotif=3\r\n\r\n"
            "[EB]\r\nActive=0\r\n\r\n");
}

TEST(IniDocument, ValuesCannotBreakTheLayout) {
  IniDocument doc;
  doc.writeString("Constante", "Comm", "ligne 1\r\n[V1]\nNom=pirate");
  const IniDocument back = IniDocument::parse(doc.serialize());
  EXPECT_EQ(back.sectionNames(), Names{"Constante"});
  EXPECT_EQ(back.readString("Constante", "Comm", ""), "ligne 1  [V1] Nom=pirate");
}

TEST(IniDocument, EveryValueKindRoundTripsThroughBytes) {
  IniDocument doc;
  doc.writeString("S", "Texte",
                  "\xCE\xB8 en \xC2\xB0"
                  "C");  // θ en °C
  doc.writeInteger("S", "Entier", -16777211);
  doc.writeBool("S", "Vrai", true);
  doc.writeFloat("S", "Reel", -0.0123456789012345);
  doc.writeDateTime("S", "Date", {2025, 1, 31, 23, 59, 58});
  const IniDocument back = IniDocument::parse(doc.serialize());
  EXPECT_EQ(back.readString("S", "Texte", ""),
            "\xCE\xB8 en \xC2\xB0"
            "C");
  EXPECT_EQ(back.readInteger("S", "Entier", 0), -16777211);
  EXPECT_EQ(back.readBool("S", "Vrai", false), true);
  EXPECT_DOUBLE_EQ(back.readFloat("S", "Reel", 0), -0.0123456789012345);
  EXPECT_EQ(back.readDateTime("S", "Date", {}), (IniDateTime{2025, 1, 31, 23, 59, 58}));
  EXPECT_EQ(back.serialize(), doc.serialize());
}

}  // namespace
}  // namespace kvx::exchange
