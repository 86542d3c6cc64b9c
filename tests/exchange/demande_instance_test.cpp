// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/demande_instance.h"

#include <gtest/gtest.h>

namespace kvx::exchange {
namespace {

using Demandes = std::vector<std::optional<std::string>>;

TEST(LecteurDemandes, CutsTheStreamAtLineFeedsWhateverTheChunks) {
  const std::string stream = "/tmp/tp 1/chute.KVX\r\n\nessai.KVX\n";
  const Demandes expected = {"/tmp/tp 1/chute.KVX", "", "essai.KVX"};
  for (std::size_t chunk : {1u, 2u, 5u, 100u}) {
    LecteurDemandes lecteur;
    Demandes got;
    for (std::size_t i = 0; i < stream.size(); i += chunk)
      for (auto &demande : lecteur.ajoute(std::string_view(stream).substr(i, chunk)))
        got.push_back(demande);
    EXPECT_EQ(got, expected) << "chunk " << chunk;
    EXPECT_FALSE(lecteur.termine().has_value());
  }
}

// A sender stopped in the middle of a file name must not have the start of
// that name opened.
TEST(LecteurDemandes, NeverTakesALineCutOffByTheEndOfTheConnection) {
  const std::optional<std::string> dropped;
  struct Case {
    std::string bytes;
    Demandes requests;
    std::optional<std::optional<std::string>> atEnd;
  };
  const Case cases[] = {
      {"", {}, std::nullopt},
      {"chute.KVX\n", {"chute.KVX"}, std::nullopt},
      {"chute.KVX", {}, dropped},
      {"/tmp/tp 1/chute.KVX\n/tmp/tp 1/ch", {"/tmp/tp 1/chute.KVX"}, dropped},
      {"chute.KVX\r", {}, dropped},
      {std::string(LecteurDemandes::kTailleMax + 10, 'a'), {}, dropped},
  };
  for (const auto &c : cases) {
    LecteurDemandes lecteur;
    EXPECT_EQ(lecteur.ajoute(c.bytes), c.requests) << c.bytes.substr(0, 40);
    EXPECT_EQ(lecteur.termine(), c.atEnd) << c.bytes.substr(0, 40);
  }
}

TEST(LecteurDemandes, DropsBadRequestsAndKeepsTheNextOne) {
  const std::string overlong(LecteurDemandes::kTailleMax + 1, 'a');
  const std::string longest(LecteurDemandes::kTailleMax, 'b');
  struct Case {
    std::string bytes;
    bool kept;
  };
  const Case cases[] = {
      {longest, true},
      {overlong, false},
      {std::string("a\0b", 3), false},
      {"\x01\x02\x03", false},
      {"caf\xE9.KVX", false},   // Windows-1252, not UTF-8
      {"\xC0\xAF", false},      // overlong "/"
      {"\xED\xA0\x80", false},  // surrogate
      {"\xF4\x90\x80\x80", false},
      {"\xE2\x82", false},  // cut in the middle of a character
      {"r\xC3\xA9sum\xC3\xA9 \xCE\xB1.KVX", true},
      {"a\tb", true},
      {"a\x7F", false},
  };
  for (const auto &c : cases) {
    LecteurDemandes lecteur;
    const auto got = lecteur.ajoute(c.bytes + "\nsuivant\n");
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].has_value(), c.kept) << c.bytes.substr(0, 20);
    if (c.kept) {
      EXPECT_EQ(*got[0], c.bytes);
    }
    EXPECT_EQ(got[1], std::optional<std::string>("suivant"));
  }
}

TEST(LecteurDemandes, NeverHoldsMoreThanOneRequestOfBytes) {
  LecteurDemandes lecteur;
  const std::string block(1 << 20, 'x');
  for (int i = 0; i < 64; ++i) EXPECT_TRUE(lecteur.ajoute(block).empty());
  const auto got = lecteur.ajoute("\nok\n");
  ASSERT_EQ(got.size(), 2u);
  EXPECT_FALSE(got[0].has_value());
  EXPECT_EQ(got[1], std::optional<std::string>("ok"));
}

}  // namespace
}  // namespace kvx::exchange
