// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/configuration.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

#include "exchange/atomic_file.h"
#include "model/separateur_decimal.h"
#include "tube_sans_ecrivain.h"

namespace kvx::exchange {
namespace {

namespace fs = std::filesystem;

// The graph, window and channels as a configuration sees them. Each channel
// keeps an offset and a flag, enough to follow its section through a file.
class FakeObjets : public ObjetsConfiguration {
 public:
  ValeursConfiguration actuelles;
  double offsets[10] = {};
  bool actives[10] = {};
  std::vector<std::string> calls;
  std::string throwAt;  // a section whose reading fails

  ValeursConfiguration valeurs() const override { return actuelles; }
  void appliqueValeurs(const ValeursConfiguration &v) override {
    actuelles = v;
    calls.push_back("applique");
  }
  void litVoie(int slot, const std::string &section, const model::IniSections &doc) override {
    calls.push_back("lit " + section);
    if (section == throwAt) throw std::runtime_error("Erreur unité");
    offsets[slot] = doc.readFloat(section, "Offset", 0.0);
    actives[slot] = doc.readBool(section, "Active", false);
  }
  void ecritVoie(int slot, const std::string &section, model::IniSections &doc) override {
    calls.push_back("ecrit " + section);
    doc.writeFloat(section, "Offset", offsets[slot]);
    doc.writeBool(section, "Active", actives[slot]);
  }
  void finLecture() override { calls.push_back("fin"); }
};

const IniDateTime kMaintenant{2024, 3, 5, 14, 7, 9};

class ConfigurationFile : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kvx-configuration-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    m_folder = pattern;
  }
  void TearDown() override { fs::remove_all(m_folder); }

  fs::path path(const std::string &name) const { return m_folder / name; }
  void write(const std::string &name, const std::string &bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  std::string read(const std::string &name) const { return readWholeFile(path(name), 1u << 30); }

  fs::path m_folder;
};

using test::finishesWithoutAWriter;

TEST(NomConfiguration, ReplacesOrAddsTheExtension) {
  const std::pair<const char *, const char *> cases[] = {
      {"essai.txt", "essai.KVX"},
      {"essai", "essai.KVX"},
      {"essai.", "essai.KVX"},
      {"/home/eleve/TP 1/chute.libre.dat", "/home/eleve/TP 1/chute.libre.KVX"},
      {"/home/a.b/essai", "/home/a.b/essai.KVX"},
      {"essai.KVX", "essai.KVX"},
      {"essai.kvx", "essai.kvx"},
      {"essai.Kvx", "essai.Kvx"},
      {"essai.kvx2", "essai.KVX"},
      {".cache", ".cache.KVX"},
      {"/tmp/.cache", "/tmp/.cache.KVX"},
      {"/home/eleve/Documents/Tabulyse/KVX", "/home/eleve/Documents/Tabulyse/KVX.KVX"},
  };
  for (const auto &[given, used] : cases) EXPECT_EQ(NomConfiguration(given), used) << given;
}

TEST_F(ConfigurationFile, FileWrittenFromScratchHasEveryKeyInOrder) {
  FakeObjets objets;
  objets.actuelles.debutAcq = kMaintenant;
  objets.actuelles.constanteUnite = "m/s²";
  objets.offsets[5] = 0.25;
  objets.actives[5] = true;
  EcritConfiguration(path("essai").string(), objets);
  const char s = model::SeparateurDecimal();
  const std::string expected =
      "[Constante]\r\nNom=\r\nComm=\r\nUnit\xE9=m/s\xB2\r\n\r\n"
      "[Affichage]\r\nAbscisse=5\r\nLigne=1\r\nPoints=0\r\nAxeY=1\r\nGrille=0\r\nAnalLog=0\r\n"
      "DimPoint=3\r\n\r\n"
      "[Acquisition]\r\nMode=1\r\nMasse=1\r\n\r\n"
      "[Balayage]\r\nDur\xE9"
      "e=1000\r\nNombre=128\r\nDebutAcq=2024-03-05 14:07:09\r\n\r\n"
      "[Synchro]\r\nMonocoup=1\r\nMode=0\r\nFront=0\r\nSeuil=127\r\nBouge=3\r\nVoie=5\r\n\r\n"
      "[Point]\r\nAuto=1\r\n\r\n"
      "[EB]\r\nOffset=0\r\nActive=0\r\n\r\n"
      "[Veltor]\r\nOffset=0\r\nActive=0\r\n\r\n"
      "[SA]\r\nOffset=0\r\nActive=0\r\n\r\n"
      "[Clavier]\r\nOffset=0\r\nActive=0\r\n\r\n"
      "[V1]\r\nOffset=0" +
      std::string(1, s) +
      "25\r\nActive=1\r\n\r\n"
      "[V2]\r\nOffset=0\r\nActive=0\r\n\r\n"
      "[V3]\r\nOffset=0\r\nActive=0\r\n\r\n"
      "[V4]\r\nOffset=0\r\nActive=0\r\n\r\n";
  EXPECT_EQ(read("essai.KVX"), expected);
  const std::vector<std::string> order = {"ecrit EB", "ecrit Veltor", "ecrit SA", "ecrit Clavier",
                                          "ecrit V1", "ecrit V2",     "ecrit V3", "ecrit V4"};
  EXPECT_EQ(objets.calls, order);
}

TEST_F(ConfigurationFile, EveryKeyComesBack) {
  FakeObjets written;
  auto &v = written.actuelles;
  v.constanteNom = "g";
  v.constanteComm = "chute libre, 2de B";
  v.constanteUnite = "m/s²";
  v.abscisse = 6;
  v.ligne = false;
  v.points = true;
  v.mode = 2;
  v.duree = 2.5;
  v.nombre = 500;
  v.debutAcq = {2023, 12, 31, 23, 59, 58};
  v.monocoup = false;
  v.axeY = false;
  v.grille = true;
  v.analLog = true;
  v.dimPoint = 7;
  v.pointAuto = false;
  v.masse = false;
  v.synchroMode = 3;
  v.front = 1;
  v.seuil = 200;
  v.bouge = 9;
  v.voie = 8;
  for (int slot = 2; slot <= 9; ++slot) {
    written.offsets[slot] = slot * 1.5;
    written.actives[slot] = slot % 2 == 0;
  }
  EcritConfiguration(path("tp.KVX").string(), written);

  FakeObjets lu;
  EXPECT_EQ(LitConfiguration(path("tp.txt").string(), lu, kMaintenant), ResultatLecture::Lu);
  const auto &r = lu.actuelles;
  EXPECT_EQ(r.constanteNom, "g");
  EXPECT_EQ(r.constanteComm, "chute libre, 2de B");
  EXPECT_EQ(r.constanteUnite, "m/s²");
  EXPECT_EQ(r.abscisse, 6);
  EXPECT_FALSE(r.ligne);
  EXPECT_TRUE(r.points);
  EXPECT_EQ(r.mode, 2);
  EXPECT_DOUBLE_EQ(r.duree, 2.5);
  EXPECT_EQ(r.nombre, 500);
  EXPECT_EQ(r.debutAcq, (IniDateTime{2023, 12, 31, 23, 59, 58}));
  EXPECT_FALSE(r.monocoup);
  EXPECT_FALSE(r.axeY);
  EXPECT_TRUE(r.grille);
  EXPECT_TRUE(r.analLog);
  EXPECT_EQ(r.dimPoint, 7);
  EXPECT_FALSE(r.pointAuto);
  EXPECT_FALSE(r.masse);
  EXPECT_EQ(r.synchroMode, 3);
  EXPECT_EQ(r.front, 1);
  EXPECT_EQ(r.seuil, 200);
  EXPECT_EQ(r.bouge, 9);
  EXPECT_EQ(r.voie, 8);
  for (int slot = 2; slot <= 9; ++slot) {
    EXPECT_DOUBLE_EQ(lu.offsets[slot], slot * 1.5) << slot;
    EXPECT_EQ(lu.actives[slot], slot % 2 == 0) << slot;
  }
  const std::vector<std::string> order = {"applique",    "lit SA", "lit Veltor", "lit EB",
                                          "lit Clavier", "lit V1", "lit V2",     "lit V3",
                                          "lit V4",      "fin"};
  EXPECT_EQ(lu.calls, order);
}

struct ClampCase {
  std::string lines;  // keys of the file, section by section
  double duree;
  std::int32_t nombre, voie, mode, abscisse, synchroMode, front, seuil, bouge, dimPoint;
};

class ReadValues : public testing::TestWithParam<ClampCase> {};

TEST_P(ReadValues, ClampsWhatAFileCanHold) {
  const auto &c = GetParam();
  const auto document = IniDocument::parse(c.lines);
  ValeursConfiguration actuelles;
  actuelles.dimPoint = 4;
  const auto v = LitValeurs(document, actuelles, kMaintenant);
  EXPECT_DOUBLE_EQ(v.duree, c.duree);
  EXPECT_EQ(v.nombre, c.nombre);
  EXPECT_EQ(v.voie, c.voie);
  EXPECT_EQ(v.mode, c.mode);
  EXPECT_EQ(v.abscisse, c.abscisse);
  EXPECT_EQ(v.synchroMode, c.synchroMode);
  EXPECT_EQ(v.front, c.front);
  EXPECT_EQ(v.seuil, c.seuil);
  EXPECT_EQ(v.bouge, c.bouge);
  EXPECT_EQ(v.dimPoint, c.dimPoint);
}

INSTANTIATE_TEST_SUITE_P(
    Configuration, ReadValues,
    testing::Values(
        // Nothing in the file: the defaults (and the current marker size).
        ClampCase{"", 1.0, 128, 5, 1, 5, 0, 0, 127, 3, 4},
        ClampCase{"[Balayage]\nDurée=0\nNombre=3\n[Synchro]\nVoie=9\n", 0.001, 8, 5, 1, 5, 0, 0,
                  127, 3, 4},
        ClampCase{"[Balayage]\nDurée=5000000\nNombre=100000\n[Synchro]\nVoie=2\n", 1000.0, 6400, 5,
                  1, 5, 0, 0, 127, 3, 4},
        ClampCase{"[Balayage]\nDurée=-40\nNombre=-7\n[Synchro]\nVoie=7\n", 0.001, 8, 7, 1, 5, 0, 0,
                  127, 3, 4},
        ClampCase{"[BALAYAGE]\ndurée=2500\nNOMBRE=0x100\n", 2.5, 256, 5, 1, 5, 0, 0, 127, 3, 4},
        ClampCase{"[Balayage]\nDurée=1,5\nNombre=abc\n", 1.0, 128, 5, 1, 5, 0, 0, 127, 3, 4},
        ClampCase{"[Acquisition]\nMode=4\n[Balayage]\nNombre=3\n", 1.0, 3, 5, 4, 5, 0, 0, 127, 3,
                  4},
        ClampCase{"[Acquisition]\nMode=99\n[Affichage]\nAbscisse=0\nDimPoint=1000\n"
                  "[Synchro]\nMode=-1\nFront=2\nSeuil=300\nBouge=0\n",
                  1.0, 128, 5, 1, 5, 0, 0, 253, 1, 20},
        ClampCase{"[Affichage]\nAbscisse=10\nDimPoint=-3\n[Synchro]\nMode=5\nSeuil=-9\nBouge=99\n",
                  1.0, 128, 5, 1, 5, 0, 0, 2, 16, 1},
        ClampCase{"[Affichage]\nAbscisse=9\nDimPoint=6\n[Synchro]\nMode=4\nFront=1\nSeuil=2\n"
                  "Bouge=16\nVoie=8\n",
                  1.0, 128, 8, 1, 9, 4, 1, 2, 16, 6}));

TEST_F(ConfigurationFile, MissingFileChangesNothing) {
  FakeObjets objets;
  EXPECT_EQ(LitConfiguration(path("absent.txt").string(), objets, kMaintenant),
            ResultatLecture::Absent);
  EXPECT_TRUE(objets.calls.empty());
}

TEST_F(ConfigurationFile, LowerCaseExtensionIsReadAsGiven) {
  write("chute.kvx", "[Synchro]\r\nSeuil=99\r\n");
  FakeObjets objets;
  EXPECT_EQ(LitConfiguration(path("chute.kvx").string(), objets, kMaintenant), ResultatLecture::Lu);
  EXPECT_EQ(objets.actuelles.seuil, 99);
}

TEST_F(ConfigurationFile, BadFilesLoadWhatTheyCanAndStayUntouched) {
  std::string garbage;
  unsigned seed = 12345;
  for (int i = 0; i < 200000; ++i) {
    seed = seed * 1103515245u + 12345u;
    garbage += static_cast<char>(seed >> 16);
  }
  const std::string whole = "[Synchro]\r\nSeuil=99\r\nVoie=6\r\n[V1]\r\nOffset=2\r\n";
  const std::pair<std::string, std::string> files[] = {
      {"garbage", garbage},
      {"truncated", whole.substr(0, whole.size() - 6)},
      {"nul", std::string("[Synchro]\0Seuil=99\0", 19)},
      {"ranges",
       "[Synchro]\nSeuil=99999999999999999\nVoie=-2147483648\n[Balayage]\n"
       "Durée=2147483647\nNombre=-2147483648\n[V1]\nOffset=1e999\n"},
  };
  for (const auto &[name, bytes] : files) {
    write(name + ".KVX", bytes);
    FakeObjets objets;
    const auto resultat = LitConfiguration(path(name).string(), objets, kMaintenant);
    EXPECT_EQ(read(name + ".KVX"), bytes) << name;
    EXPECT_GE(objets.actuelles.nombre, 8) << name;
    EXPECT_LE(objets.actuelles.nombre, 6400) << name;
    EXPECT_GE(objets.actuelles.voie, 5) << name;
    EXPECT_LE(objets.actuelles.voie, 8) << name;
    if (name == "garbage") {
      EXPECT_EQ(resultat, ResultatLecture::PasUneConfiguration);
      EXPECT_TRUE(objets.calls.empty());
      continue;
    }
    EXPECT_EQ(resultat, ResultatLecture::Lu) << name;
    ASSERT_FALSE(objets.calls.empty()) << name;
    EXPECT_EQ(objets.calls.back(), "fin") << name;
  }
  FakeObjets truncated;
  LitConfiguration(path("truncated").string(), truncated, kMaintenant);
  EXPECT_EQ(truncated.actuelles.seuil, 99);
  EXPECT_EQ(truncated.actuelles.voie, 6);
}

TEST_F(ConfigurationFile, AFileWithoutAnySectionOfAConfigurationChangesNothing) {
  const std::string png = std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0", 20) +
                          std::string(300, '\xff') + "[\x01]\n=\n[]\n";
  const std::pair<const char *, std::string> others[] = {
      {"vide", ""},
      {"blancs", " \r\n\t\r\n"},
      {"compte-rendu", "Chute libre\r\ng = 9,81 m/s²\r\n[voir la figure 2]\r\n"},
      {"image", png},
      {"autre-programme", "[Perso]\r\nSeuil=99\r\n[Fenetre]\r\nVoie=7\r\n"},
      // Accents matter in names: these are not the program's sections.
      {"accent", "[Synchró]\r\nSeuil=99\r\n"},
      {"en-tete-casse", "[Synchro\r\nSeuil=99\r\n"},
      {"trop-long", "[" + std::string(2u << 20, 'V') + "]\r\nSeuil=99\r\n"},
  };
  for (const auto &[name, bytes] : others) {
    write(std::string(name) + ".KVX", bytes);
    FakeObjets objets;
    objets.actuelles.seuil = 42;
    EXPECT_EQ(LitConfiguration(path(name).string(), objets, kMaintenant),
              ResultatLecture::PasUneConfiguration)
        << name;
    EXPECT_TRUE(objets.calls.empty()) << name;
    EXPECT_EQ(objets.actuelles.seuil, 42) << name;
    EXPECT_EQ(read(std::string(name) + ".KVX"), bytes) << name;
  }
}

TEST_F(ConfigurationFile, OneKnownSectionIsEnoughToReadTheFile) {
  const std::pair<const char *, const char *> files[] = {
      {"constante", "[Constante]\r\nNom=g\r\n"},
      {"affichage", "[affichage]\r\n"},
      {"acquisition", "[ACQUISITION]\r\nMode=2\r\n"},
      {"balayage", "[Balayage]\r\n"},
      {"synchro", "; notes\r\n[Perso]\r\nA=1\r\n[ Synchro ]\r\n"},
      {"point", "[Point]\r\n"},
      {"voie", "[V3]\r\nOffset=2\r\n"},
      {"veltor", "[veltor]\r\n"},
      {"clavier", "[Clavier]\r\n"},
      {"eb", "[EB]\r\n"},
      {"sa", "[SA]\r\n"},
  };
  for (const auto &[name, bytes] : files) {
    write(std::string(name) + ".KVX", bytes);
    FakeObjets objets;
    objets.actuelles.seuil = 42;
    EXPECT_EQ(LitConfiguration(path(name).string(), objets, kMaintenant), ResultatLecture::Lu)
        << name;
    ASSERT_EQ(objets.calls.size(), 10u) << name;
    EXPECT_EQ(objets.calls.front(), "applique") << name;
    EXPECT_EQ(objets.actuelles.seuil, 127) << name << ": read as today, defaults included";
  }
}

TEST_F(ConfigurationFile, APipeOrADeviceIsNeitherReadNorWaitedOn) {
  ASSERT_EQ(::mkfifo(path("tube.KVX").c_str(), 0666), 0);
  fs::create_symlink("/dev/null", path("lien.KVX"));
  for (const char *name : {"tube", "lien"}) {
    FakeObjets objets;
    ResultatLecture resultat = ResultatLecture::Lu;
    EXPECT_TRUE(finishesWithoutAWriter(path("tube.KVX"), [&] {
      resultat = LitConfiguration(path(name).string(), objets, kMaintenant);
    })) << name;
    EXPECT_EQ(resultat, ResultatLecture::PasUnFichier) << name;
    EXPECT_EQ(objets.calls, std::vector<std::string>{}) << name;
  }
  EXPECT_TRUE(fs::is_fifo(path("tube.KVX")));
  EXPECT_TRUE(fs::is_symlink(path("lien.KVX")));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(ConfigurationFile, SavingOverWhatIsNotAFileSaysTheWritingFailed) {
  fs::create_directory(path("dossier.KVX"));
  ASSERT_EQ(::mkfifo(path("tube.KVX").c_str(), 0666), 0);
  const std::pair<const char *, const char *> targets[] = {
      {"dossier", "c'est un dossier"},
      {"tube", "ce n'est pas un fichier ordinaire"},
  };
  for (const auto &target : targets) {
    const char *name = target.first;
    const char *reason = target.second;
    FakeObjets objets;
    std::string message;
    EXPECT_TRUE(finishesWithoutAWriter(path("tube.KVX"), [&] {
      try {
        EcritConfiguration(path(name).string(), objets);
      } catch (const FileError &error) {
        message = error.what();
      }
    })) << name;
    EXPECT_EQ(message,
              "Écriture impossible du fichier « " + path(name).string() + ".KVX » : " + reason);
  }
  EXPECT_TRUE(fs::is_directory(path("dossier.KVX")));
  EXPECT_TRUE(fs::is_fifo(path("tube.KVX")));
}

TEST_F(ConfigurationFile, HugeFileIsRefusedQuicklyAndKept) {
  {
    std::ofstream out(path("huge.KVX"), std::ios::binary);
    out << "[Synchro]\r\nSeuil=99\r\n";
    const std::string line = "[X]\r\nCle=" + std::string(1000, 'v') + "\r\n";
    for (int i = 0; i < 50 * 1000; ++i) out << line;
  }
  const auto size = fs::file_size(path("huge.KVX"));
  const auto start = std::chrono::steady_clock::now();
  FakeObjets objets;
  EXPECT_EQ(LitConfiguration(path("huge.KVX").string(), objets, kMaintenant),
            ResultatLecture::Interrompu);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(objets.calls, std::vector<std::string>{"fin"});
  EXPECT_EQ(fs::file_size(path("huge.KVX")), size);
}

TEST_F(ConfigurationFile, AChannelThatFailsStopsTheReadingButNotTheEnd) {
  write("essai.KVX", "[Synchro]\r\nSeuil=99\r\n[V1]\r\nOffset=2\r\n[V2]\r\nOffset=3\r\n");
  FakeObjets objets;
  objets.throwAt = "V1";
  EXPECT_EQ(LitConfiguration(path("essai").string(), objets, kMaintenant),
            ResultatLecture::Interrompu);
  EXPECT_EQ(objets.actuelles.seuil, 99);
  EXPECT_EQ(objets.offsets[6], 0.0) << "V2 comes after the failure";
  EXPECT_EQ(objets.calls.back(), "fin");
}

TEST_F(ConfigurationFile, SavingOverAFileKeepsWhatOthersWrote) {
  write("essai.KVX",
        "; written by hand\r\n[Perso]\r\nA=1\r\n\r\n[Synchro]\r\nSeuil=5\r\nCouleurFond=12\r\n"
        "\r\n[V1]\r\nNote=capteur de Paul\r\nOffset=9\r\n");
  FakeObjets objets;
  EcritConfiguration(path("essai.KVX").string(), objets);
  const std::string text = read("essai.KVX");
  EXPECT_EQ(text.rfind("[Perso]\r\nA=1\r\n\r\n[Synchro]\r\nSeuil=127\r\nCouleurFond=12\r\n"
                       "Monocoup=1\r\n",
                       0),
            0u)
      << text;
  EXPECT_NE(text.find("[V1]\r\nNote=capteur de Paul\r\nOffset=0\r\nActive=0\r\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("written by hand"), std::string::npos);
}

TEST_F(ConfigurationFile, FailedSaveKeepsTheOldFileAndSaysWhy) {
  FakeObjets objets;
  EXPECT_THROW(EcritConfiguration(path("absent/essai").string(), objets), FileError);
  write("protege.KVX", "[Perso]\r\nA=1\r\n");
  ::chmod(path("protege.KVX").c_str(), 0444);
  EXPECT_THROW(EcritConfiguration(path("protege").string(), objets), FileError);
  EXPECT_EQ(read("protege.KVX"), "[Perso]\r\nA=1\r\n");
}

TEST_F(ConfigurationFile, DurationIsWrittenInWholeMillisecondsHalvesToEven) {
  const std::pair<double, const char *> cases[] = {
      {0.0125, "12"}, {0.0135, "14"}, {1000.0, "1000000"}, {0.001, "1"}, {2.0004, "2000"}};
  for (const auto &[seconds, text] : cases) {
    IniDocument document;
    ValeursConfiguration v;
    v.duree = seconds;
    EcritValeurs(document, v);
    EXPECT_EQ(*document.value("Balayage", "Durée"), text) << seconds;
  }
}

}  // namespace
}  // namespace kvx::exchange
