// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/symbole.h"

#include <gtest/gtest.h>

#include <string>

namespace kvx::model {
namespace {

TEST(TexteSymbole, GivesTheFontCodeOfEachGreekLetter) {
  const std::u32string lettres = U"ΓΔΘΛΞΠΣΦΨΩαβγδεζηθκλμνξπρστφχψω";
  const unsigned char codes[] = {152, 150, 155, 153, 158, 154, 156, 151, 159, 157, 128,
                                 129, 134, 131, 132, 149, 135, 140, 107, 136, 181, 138,
                                 147, 139, 141, 142, 143, 133, 130, 148, 144};
  ASSERT_EQ(lettres.size(), sizeof codes);
  const std::string attendu(reinterpret_cast<const char *>(codes), sizeof codes);
  EXPECT_EQ(TexteSymbole("ΓΔΘΛΞΠΣΦΨΩαβγδεζηθκλμνξπρστφχψω"), attendu);
}

TEST(TexteSymbole, PassesEveryOtherCharacterUnchanged) {
  EXPECT_EQ(TexteSymbole("V1"), "V1");
  EXPECT_EQ(TexteSymbole("µs °C"), "µs °C");  // micro sign is not the Greek mu
  EXPECT_EQ(TexteSymbole("kΩ"), "k\x9D");
  EXPECT_EQ(TexteSymbole("Δt=2"), "\x96t=2");
  EXPECT_EQ(TexteSymbole(""), "");
  EXPECT_EQ(TexteSymbole(std::string("a\0\xFF\xCE", 4)), std::string("a\0\xFF\xCE", 4));
}

}  // namespace
}  // namespace kvx::model
