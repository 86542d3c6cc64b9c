// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/association.h"

#include <gtest/gtest.h>

namespace kvx::exchange {
namespace {

TEST(CiteCheminExec, QuotesAndEscapesForTheDesktopEntry) {
  struct Case {
    const char *path;
    const char *exec;
  };
  const Case cases[] = {
      {"/usr/bin/kvx", R"("/usr/bin/kvx")"},
      {"/opt/mes programmes/kvx", R"("/opt/mes programmes/kvx")"},
      {"/opt/100%/kvx", R"("/opt/100%%/kvx")"},
      {"/opt/a\"b/kvx", R"("/opt/a\\"b/kvx")"},
      {"/opt/$HOME/`x`/kvx", R"("/opt/\\$HOME/\\`x\\`/kvx")"},
      {"/opt/a\\b/kvx", R"("/opt/a\\\\b/kvx")"},
      {"/opt/été/kvx", "\"/opt/été/kvx\""},
  };
  for (const auto &c : cases) {
    const auto exec = CiteCheminExec(c.path);
    ASSERT_TRUE(exec.has_value()) << c.path;
    EXPECT_EQ(*exec, c.exec) << c.path;
  }
  EXPECT_FALSE(CiteCheminExec("/opt/a\nb/kvx").has_value());
  EXPECT_FALSE(CiteCheminExec("/opt/a\tb/kvx").has_value());
}

TEST(TexteEntreeBureau, StartsTheProgramWithTheFile) {
  EXPECT_EQ(*TexteEntreeBureau("/opt/KVX/kvx"),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=KVX\n"
            "Comment=Acquisition par Nuvex KVX pour Tabulyse\n"
            "Exec=\"/opt/KVX/kvx\" %f\n"
            "Icon=kvx\n"
            "MimeType=application/x-kvx;\n"
            "Terminal=false\n"
            "NoDisplay=true\n");
  EXPECT_FALSE(TexteEntreeBureau("/a\nb").has_value());
}

TEST(TexteTypeMime, GivesBothSpellingsOfTheExtension) {
  const auto text = TexteTypeMime();
  EXPECT_NE(text.find("<mime-type type=\"application/x-kvx\">"), std::string::npos);
  EXPECT_NE(text.find("<glob pattern=\"*.kvx\"/>"), std::string::npos);
  EXPECT_NE(text.find("<glob pattern=\"*.KVX\"/>"), std::string::npos);
  EXPECT_NE(text.find("<comment>Fichier config. KVX</comment>"), std::string::npos);
  EXPECT_NE(text.find("<icon name=\"kvx\"/>"), std::string::npos);
}

TEST(AvecProgrammeParDefaut, SetsOnlyTheKvxLine) {
  struct Case {
    std::string before;
    std::string after;
  };
  const Case cases[] = {
      {"", "[Default Applications]\napplication/x-kvx=kvx-construction.desktop\n"},
      {"[Added Associations]\ntext/plain=gedit.desktop;\n",
       "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
       "[Default Applications]\napplication/x-kvx=kvx-construction.desktop\n"},
      {"[Default Applications]\ntext/html=firefox.desktop\n\n[Added Associations]\nx=y\n",
       "[Default Applications]\ntext/html=firefox.desktop\napplication/x-kvx=kvx-construction.desktop\n\n"
       "[Added Associations]\nx=y\n"},
      {"[Default Applications]\napplication/x-kvx = autre.desktop\ntext/html=f.desktop\n",
       "[Default Applications]\napplication/x-kvx=kvx-construction.desktop\ntext/html=f.desktop\n"},
      {"# mine\n[Default Applications]\n",
       "# mine\n[Default Applications]\n"
       "application/x-kvx=kvx-construction.desktop\n"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(AvecProgrammeParDefaut(c.before), c.after) << c.before;
    // Setting it twice changes nothing more.
    EXPECT_EQ(AvecProgrammeParDefaut(c.after), c.after) << c.before;
  }
}

TEST(ProgrammesParDefaut, ReadsTheKvxDefaultsAndDecidesWhetherTheUserChose) {
  struct Case {
    const char *mimeapps;
    std::vector<std::string> defaults;
    bool noUserChoice;
  };
  const Case cases[] = {
      {"", {}, true},
      {"[Default Applications]\ntext/html=firefox.desktop\n", {}, true},
      {"[Default Applications]\napplication/x-kvx=autre.desktop\n", {"autre.desktop"}, false},
      {"[Default Applications]\n application/x-kvx = a.desktop;b.desktop; \n",
       {"a.desktop", "b.desktop"},
       false},
      // Ours from an earlier close: the user chose nothing, it may be updated.
      {"[Default Applications]\napplication/x-kvx=kvx-construction.desktop\n",
       {"kvx-construction.desktop"},
       true},
      // The installed entry chosen by the user is a choice like any other.
      {"[Default Applications]\napplication/x-kvx=kvx.desktop\n", {"kvx.desktop"}, false},
      // Only the defaults section counts.
      {"[Added Associations]\napplication/x-kvx=autre.desktop;\n", {}, true},
      {"[Default Applications]\napplication/x-kvx=\n", {}, true},
      {"[Default Applications]\napplication/x-kvxz=autre.desktop\n", {}, true},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(ProgrammesParDefaut(c.mimeapps), c.defaults) << c.mimeapps;
    EXPECT_EQ(AucunChoixUtilisateur(ProgrammesParDefaut(c.mimeapps)), c.noUserChoice)
        << c.mimeapps;
  }
}

}  // namespace
}  // namespace kvx::exchange
