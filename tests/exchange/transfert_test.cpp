// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/transfert.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "dossier_temporaire.h"
#include "model/separateur_decimal.h"

namespace kvx::exchange {
namespace {

namespace fs = std::filesystem;
using model::Tvoie;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Lines joined with CR LF, each ended by one: the expected texts read as
// the reader's lines.
std::string Lignes(const std::vector<std::string> &lignes) {
  std::string texte;
  for (const auto &l : lignes) texte += l + "\r\n";
  return texte;
}

// The graph's nine slots as the program builds them, none active.
struct Graphe {
  model::TbaseDeTemps temps;
  Tvoie sortie{"Vsa", "V", "Tension sortie analogique", 2};
  model::TentreeClavier clavier;
  Tvoie binaire{"EB", "", "", 4};
  Tvoie v1{"V1", "V", "", 5}, v2{"V2", "V", "", 6}, v3{"V3", "V", "", 7}, v4{"V4", "V", "", 8};
  Tvoie veltor{"Pos", "m", "", 9};

  Tvoie &voie(int slot) {
    Tvoie *voies[] = {nullptr, &temps, &sortie, &clavier, &binaire, &v1, &v2, &v3, &v4, &veltor};
    return *voies[slot];
  }
  // Slot `slot` active with these recorded values.
  void enregistre(int slot, const std::vector<double> &valeurs) {
    Tvoie &v = voie(slot);
    v.Active = true;
    for (std::size_t j = 0; j < valeurs.size(); ++j) v.valeurs[j] = valeurs[j];
  }
  DonneesTransfert donnees(int mode, int nbPoints) {
    DonneesTransfert d;
    d.mode = mode;
    for (int s = 1; s <= 9; ++s) d.voies[static_cast<std::size_t>(s)] = &voie(s);
    d.nbPoints = nbPoints;
    d.cheminProgramme = "/usr/bin/kvx";
    return d;
  }
};

// The example a teacher sees in the analysis program after a two-point scan
// of V1 and V2 against time, lines without markers, comment "essai".
TEST(TexteTransfert, GivesTheTwoPointScanByteForByte) {
  Graphe g;
  g.enregistre(1, {0, 0.01});
  g.temps.Active = false;  // the time base is the first column, active or not
  g.enregistre(5, {1.25, 1.3});
  g.enregistre(6, {-0.5, -0.48});
  DonneesTransfert d = g.donnees(1, 2);
  d.abscisse = 1;
  d.ligne = true;
  d.points = false;
  d.commentaire = "essai";
  EXPECT_EQ(TexteTransfert(d),
            Lignes({"/usr/bin/kvx", "Acquisition par Nuvex KVX", "essai", "t\tV1\tV2\t",
                    "s\tV\tV\t", "durée\t\t\t", "0\t1.25\t-0.5\t", "0.01\t1.3\t-0.48\t", "&2 NOMX",
                    "t", "t", "&2 NOMY", "V1", "V2", "&2 LIGNE", "2", "2"}));
  EXPECT_EQ(CommandeTransfert(d.nouvellePage), "CLIP|LOAD");
  EXPECT_EQ(TexteFichierAscii(d),
            Lignes({"Acquisition par Nuvex KVX-2", "essai", "t\tV1\tV2\t", "s\tV\tV\t",
                    "durée\t\t\t", "0\t1.25\t-0.5\t", "0.01\t1.3\t-0.48\t"}));
}

TEST(TexteTransfert, ANewPageHasAnEmptyTitleAndTheAddCommand) {
  Graphe g;
  g.enregistre(5, {});
  DonneesTransfert d = g.donnees(1, 0);
  d.nouvellePage = true;
  d.abscisse = 1;
  EXPECT_EQ(TexteTransfert(d), Lignes({"/usr/bin/kvx", "", "", "t\tV1\t", "s\tV\t", "durée\t\t",
                                       "&1 NOMX", "t", "&1 NOMY", "V1", "&1 LIGNE", "2"}));
  EXPECT_EQ(CommandeTransfert(true), "CLIP|ADD");
}

// First column and headers by mode; the rows of the points held.
struct CasMode {
  const char *nom;
  int mode;
  std::vector<std::string> attendu;  // header lines and rows of the file
};

class PremiereColonne : public testing::TestWithParam<CasMode> {};

TEST_P(PremiereColonne, FollowsTheMode) {
  Graphe g;
  g.enregistre(1, {10, 20, 30});
  g.enregistre(3, {7, 8, 9});
  g.enregistre(5, {1, kNaN, 3});
  g.clavier.FixeUnite("g");
  DonneesTransfert d = g.donnees(GetParam().mode, 3);
  std::vector<std::string> lignes = {"Acquisition par Nuvex KVX-2", ""};
  lignes.insert(lignes.end(), GetParam().attendu.begin(), GetParam().attendu.end());
  EXPECT_EQ(TexteFichierAscii(d), Lignes(lignes));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PremiereColonne,
    testing::Values(
        // The keyboard value first, then the active time base: point 1 is
        // missing since V1 holds no number there.
        CasMode{
            "Clavier", 0, {"X\tt\tV1\t", "g\ts\tV\t", "\tdurée\t\t", "7\t10\t1\t", "9\t30\t3\t"}},
        CasMode{"Temps", 1, {"t\tX\tV1\t", "s\tg\tV\t", "durée\t\t\t", "10\t7\t1\t", "30\t9\t3\t"}},
        // The point number goes on past the missing point: 0, then 2.
        CasMode{
            "PointParPoint", 2, {"num\tX\tV1\t", "\tg\tV\t", "\t\t\t", "0\t7\t1\t", "2\t9\t3\t"}},
        CasMode{"SortieAnalogique",
                3,
                {"t\tX\tV1\t", "s\tg\tV\t", "durée\t\t\t", "10\t7\t1\t", "30\t9\t3\t"}},
        CasMode{
            "Veltor", 4, {"t\tX\tV1\t", "s\tg\tV\t", "durée\t\t\t", "10\t7\t1\t", "30\t9\t3\t"}}),
    [](const testing::TestParamInfo<CasMode> &info) { return std::string(info.param.nom); });

TEST(TexteTransfert, PointByPointNumbersGoOnAfterASkippedPointFive) {
  Graphe g;
  std::vector<double> v(8);
  for (int j = 0; j < 8; ++j) v[static_cast<std::size_t>(j)] = j == 5 ? kNaN : j * 0.5;
  g.enregistre(5, v);
  // Stale scan times in the time base do not matter: the rows are numbered.
  g.enregistre(1, {kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN});
  g.temps.Active = false;
  const std::string texte = TexteFichierAscii(g.donnees(2, 8));
  EXPECT_NE(texte.find("\r\n4\t2\t\r\n6\t3\t\r\n"), std::string::npos) << texte;
  EXPECT_EQ(texte.find("\r\n5\t"), std::string::npos) << texte;
}

TEST(TexteTransfert, AMissingValueInAnyActiveChannelDropsTheWholeRow) {
  Graphe g;
  g.enregistre(1, {0, 1, 2, 3});
  g.enregistre(5, {1, 2, 3, 4});
  g.enregistre(8, {1, std::numeric_limits<double>::infinity(), 3, 4});
  g.enregistre(9, {1, 2, 3, kNaN});
  // An inactive channel's leftovers never remove a row.
  g.v2.valeurs[0] = kNaN;
  const std::string texte = TexteFichierAscii(g.donnees(1, 4));
  EXPECT_EQ(texte.substr(texte.find("0\t")), "0\t1\t1\t1\t\r\n2\t3\t3\t3\t\r\n");
}

// In sweep mode the time base is not active, yet it is the first column:
// a row without its number would have no abscissa for the reader.
TEST(TexteTransfert, AFirstColumnWithoutANumberDropsTheRowEvenWhenInactive) {
  Graphe g;
  g.enregistre(1, {0, kNaN, 2});
  g.temps.Active = false;
  g.enregistre(2, {1, 2, 3});
  const std::string texte = TexteFichierAscii(g.donnees(3, 3));
  EXPECT_EQ(texte.substr(texte.find("0\t")), "0\t1\t\r\n2\t3\t\r\n");
}

TEST(TexteTransfert, NoPointStillGivesTheHeadersAndTheGraphBlocks) {
  Graphe g;
  g.enregistre(5, {1});
  g.enregistre(6, {2});
  DonneesTransfert d = g.donnees(1, 0);
  d.abscisse = 5;
  d.ligne = false;
  EXPECT_EQ(TexteTransfert(d),
            Lignes({"/usr/bin/kvx", "Acquisition par Nuvex KVX", "", "t\tV1\tV2\t", "s\tV\tV\t",
                    "durée\t\t\t", "&1 NOMX", "V1", "&1 NOMY", "V2", "&1 LIGNE", "1"}));
  EXPECT_EQ(TexteFichierAscii(d),
            Lignes({"Acquisition par Nuvex KVX-2", "", "t\tV1\tV2\t", "s\tV\tV\t", "durée\t\t\t"}));
  d.nbPoints = -3;  // a bad count is no point, not a crash
  EXPECT_EQ(TexteFichierAscii(d),
            Lignes({"Acquisition par Nuvex KVX-2", "", "t\tV1\tV2\t", "s\tV\tV\t", "durée\t\t\t"}));
}

TEST(TexteTransfert, AFullRecordingEndsAtTheLastArrayValue) {
  Graphe g;
  g.enregistre(5, {});
  for (std::size_t j = 0; j < model::kNbValeurs; ++j) g.temps.valeurs[j] = double(j);
  DonneesTransfert d = g.donnees(1, 1000000);
  const std::string texte = TexteFichierAscii(d);
  EXPECT_EQ(texte.substr(texte.size() - 11), "\r\n6400\t0\t\r\n");
}

// Every value goes through one format: 7 significant digits, "." always.
struct CasNombre {
  double x;
  const char *cellule;
};

class FormatDesNombres : public testing::TestWithParam<CasNombre> {};

TEST_P(FormatDesNombres, WritesSevenDigitsWithAPointUnderEitherSeparator) {
  Graphe g;
  g.enregistre(1, {0});
  g.enregistre(5, {GetParam().x});
  const std::string texte = TexteFichierAscii(g.donnees(1, 1));
  EXPECT_EQ(texte.substr(texte.rfind("\r\n0\t") + 2),
            std::string("0\t") + GetParam().cellule + "\t\r\n");
}

INSTANTIATE_TEST_SUITE_P(Valeurs, FormatDesNombres,
                         testing::Values(CasNombre{0.000001234567, "1.234567E-06"},
                                         CasNombre{1234567.8, "1234568"},
                                         CasNombre{12345678, "1.234568E07"}, CasNombre{0.5, "0.5"},
                                         CasNombre{-0.48, "-0.48"}));

TEST(TexteTransfert, OneHalfStaysPointFiveOnACommaDesktop) {
  const char avant = model::SeparateurDecimal();
  model::FixeSeparateurDecimal(',');
  Graphe g;
  g.enregistre(1, {0.5});
  g.enregistre(5, {0.5});
  DonneesTransfert d = g.donnees(1, 1);
  d.constanteNom = "k";
  d.constanteValeur = 0.5;
  const std::string texte = TexteTransfert(d);
  model::FixeSeparateurDecimal(avant);
  EXPECT_NE(texte.find("\r\n0.5\t0.5\t\r\n"), std::string::npos) << texte;
  EXPECT_NE(texte.find("\r\nk\r\n\r\n0.5\r\n&"), std::string::npos) << texte;
}

struct CasConstante {
  const char *nom;
  const char *symbole;
  double valeur;
  bool ecrite;
};

class Constante : public testing::TestWithParam<CasConstante> {};

TEST_P(Constante, IsWrittenOnlyWithASymbolAndANumber) {
  Graphe g;
  g.enregistre(5, {});
  DonneesTransfert d = g.donnees(1, 0);
  d.abscisse = 1;
  d.constanteNom = GetParam().symbole;
  d.constanteUnite = "Ω";
  d.constanteValeur = GetParam().valeur;
  const std::string entetes =
      Lignes({"/usr/bin/kvx", "Acquisition par Nuvex KVX", "", "t\tV1\t", "s\tV\t", "durée\t\t"});
  const std::string constante =
      GetParam().ecrite ? Lignes({"", GetParam().symbole, "\xC2\x9D", "1000"}) : "";
  EXPECT_EQ(TexteTransfert(d),
            entetes + constante + Lignes({"&1 NOMX", "t", "&1 NOMY", "V1", "&1 LIGNE", "2"}));
  EXPECT_EQ(TexteFichierAscii(d).find("1000"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, Constante,
    testing::Values(CasConstante{"Complete", "R", 1000, true},
                    CasConstante{"SansSymbole", "", 1000, false},
                    CasConstante{"SymboleBlanc", "  ", 1000, false},
                    CasConstante{"ValeurIndefinie", "R", kNaN, false},
                    CasConstante{"ValeurInfinie", "R", std::numeric_limits<double>::infinity(),
                                 false}),
    [](const testing::TestParamInfo<CasConstante> &info) { return std::string(info.param.nom); });

struct CasGraphe {
  const char *nom;
  int abscisse;
  bool ligne, points;
  std::vector<int> actives;
  std::vector<std::string> blocs;
};

class BlocsDuGraphe : public testing::TestWithParam<CasGraphe> {};

TEST_P(BlocsDuGraphe, ListTheCurvesAgainstTheAbscissa) {
  Graphe g;
  for (int slot : GetParam().actives) g.enregistre(slot, {});
  DonneesTransfert d = g.donnees(1, 0);
  d.abscisse = GetParam().abscisse;
  d.ligne = GetParam().ligne;
  d.points = GetParam().points;
  const std::string texte = TexteTransfert(d);
  EXPECT_EQ(texte.substr(texte.find("&")), Lignes(GetParam().blocs));
}

INSTANTIATE_TEST_SUITE_P(
    Cas, BlocsDuGraphe,
    testing::Values(CasGraphe{"DeuxOrdonnees",
                              1,
                              true,
                              true,
                              {5, 6},
                              {"&2 NOMX", "t", "t", "&2 NOMY", "V1", "V2", "&2 LIGNE", "3", "3"}},
                    // The time base never is a curve; V1 as abscissa leaves its list.
                    CasGraphe{"V1EnAbscisse",
                              5,
                              false,
                              true,
                              {1, 5, 6, 8},
                              {"&2 NOMX", "V1", "V1", "&2 NOMY", "V2", "V4", "&2 LIGNE", "1", "1"}},
                    CasGraphe{"SortieEtVeltor",
                              1,
                              true,
                              false,
                              {2, 9},
                              {"&2 NOMX", "t", "t", "&2 NOMY", "Vsa", "Pos", "&2 LIGNE", "2", "2"}},
                    // A bad abscissa reads as V1, as the graph takes it.
                    CasGraphe{"AbscisseHorsPlage",
                              0,
                              true,
                              false,
                              {5, 7},
                              {"&1 NOMX", "V1", "&1 NOMY", "V3", "&1 LIGNE", "2"}},
                    CasGraphe{
                        "AucuneCourbe", 5, true, false, {5}, {"&0 NOMX", "&0 NOMY", "&0 LIGNE"}}),
    [](const testing::TestParamInfo<CasGraphe> &info) { return std::string(info.param.nom); });

// Texts the user types never shift a column or a row.
struct CasTexte {
  const char *nom;
  std::string tape;
  std::string ecrit;
};

class TextesUtilisateur : public testing::TestWithParam<CasTexte> {};

TEST_P(TextesUtilisateur, StayInsideTheirCell) {
  Graphe g;
  g.enregistre(1, {0});
  g.enregistre(5, {1});
  g.v1.Nom = GetParam().tape;
  g.v1.Unite = GetParam().tape;
  g.v1.Signif = GetParam().tape;
  DonneesTransfert d = g.donnees(1, 1);
  d.commentaire = GetParam().tape;
  d.abscisse = 1;
  const std::string e = GetParam().ecrit;
  EXPECT_EQ(TexteTransfert(d), Lignes({"/usr/bin/kvx", "Acquisition par Nuvex KVX", e,
                                       "t\t" + e + "\t", "s\t" + e + "\t", "durée\t" + e + "\t",
                                       "0\t1\t", "&1 NOMX", "t", "&1 NOMY", e, "&1 LIGNE", "2"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cas, TextesUtilisateur,
    testing::Values(CasTexte{"Tabulation", "a\tb", "a b"},
                    CasTexte{"FinsDeLigne", "a\r\nb\nc\rd", "a  b c d"},
                    CasTexte{"Controles", std::string("a\0b\x1b\x7f", 5), "a b  "},
                    CasTexte{"HorsWindows1252", "x→y😀", "x?y?"},
                    CasTexte{"PasUtf8", "a\xFF\xC3z", "a??z"},
                    CasTexte{"Accents", "température °C µs", "température °C µs"},
                    // Greek letters become the symbol font's codes, as
                    // the Windows-1252 characters of those bytes.
                    CasTexte{"Grec", "αΩκμ", "\xE2\x82\xAC\xC2\x9Dk\xC2\xB5"},
                    CasTexte{"ControleC1", "a\xC2\x85z", "a z"}),
    [](const testing::TestParamInfo<CasTexte> &info) { return std::string(info.param.nom); });

TEST(NumerotePoints, GivesTheTimeBaseThePointNumbers) {
  model::TableauValeurs temps;
  temps.fill(kNaN);
  NumerotePoints(temps);
  EXPECT_EQ(temps[0], 0);
  EXPECT_EQ(temps[5], 5);
  EXPECT_EQ(temps[model::kMaxPoints], model::kMaxPoints);
}

// --- The data file ---------------------------------------------------------

class SauveDonneesTest : public test::DossierTemporaire {};

TEST_F(SauveDonneesTest, WritesWindows1252WithTheSymbolBytes) {
  const std::string texte = "durée\t\xC2\x9D\t\xE2\x82\xAC\r\n";
  const ResultatSauvegarde r = SauveDonnees(chemin("mesures.Txt"), texte);
  EXPECT_TRUE(r.reussi);
  EXPECT_EQ(r.message, "");
  EXPECT_EQ(lit("mesures.Txt"),
            "dur\xE9"
            "e\t\x9D\t\x80\r\n");
}

TEST_F(SauveDonneesTest, KeepsUtf8WhenTheCodePageCannotHoldTheText) {
  EXPECT_TRUE(SauveDonnees(chemin("a.Txt"), "→\r\n").reussi);
  EXPECT_EQ(lit("a.Txt"), "→\r\n");
}

TEST_F(SauveDonneesTest, ReplacesAnOldFileWhole) {
  ecrit("a.Txt", std::string(10000, 'x'));
  EXPECT_TRUE(SauveDonnees(chemin("a.Txt"), "t\t\r\n").reussi);
  EXPECT_EQ(lit("a.Txt"), "t\t\r\n");
}

struct CasEchec {
  const char *nom;
  const char *raison;  // the end of the message
};

class SauveDonneesEchec : public test::DossierTemporaire,
                          public testing::WithParamInterface<CasEchec> {
 protected:
  // The target for each case, its folder prepared.
  fs::path cible() {
    const std::string nom = GetParam().nom;
    if (nom == "Dossier") {
      fs::create_directory(chemin("d.Txt"));
      return chemin("d.Txt");
    }
    if (nom == "Peripherique") return "/dev/full";
    if (nom == "DossierAbsent") return chemin("absent/a.Txt");
    ecrit("a.Txt", "ancien");
    fs::permissions(chemin("a.Txt"), fs::perms::owner_read);
    return chemin("a.Txt");
  }
};

TEST_P(SauveDonneesEchec, SaysWhyAndLeavesNoFile) {
  const fs::path fichier = cible();
  const ResultatSauvegarde r = SauveDonnees(fichier, "t\t\r\n0\t\r\n");
  EXPECT_FALSE(r.reussi);
  EXPECT_EQ(r.message.rfind("Écriture impossible du fichier « " + fichier.string() + " » : ", 0),
            0u)
      << r.message;
  EXPECT_EQ(r.message.substr(r.message.size() - std::string(GetParam().raison).size()),
            GetParam().raison);
  std::vector<std::string> restes;
  for (const auto &e : fs::recursive_directory_iterator(m_dossier))
    if (e.is_regular_file() && e.path().filename() != "a.Txt") restes.push_back(e.path().string());
  EXPECT_TRUE(restes.empty()) << restes.front();
  if (std::string(GetParam().nom) == "LectureSeule") {
    EXPECT_EQ(lit("a.Txt"), "ancien");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cibles, SauveDonneesEchec,
    testing::Values(CasEchec{"Dossier", "c'est un dossier"},
                    CasEchec{"Peripherique", "ce n'est pas un fichier ordinaire"},
                    CasEchec{"DossierAbsent", "fichier ou dossier introuvable"},
                    CasEchec{"LectureSeule", "le fichier est en lecture seule"}),
    [](const testing::TestParamInfo<CasEchec> &info) { return std::string(info.param.nom); });

TEST_F(SauveDonneesTest, AReadOnlyFolderIsReported) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes in any folder";
  fs::permissions(m_dossier, fs::perms::owner_read | fs::perms::owner_exec);
  const ResultatSauvegarde r = SauveDonnees(chemin("a.Txt"), "t\r\n");
  fs::permissions(m_dossier, fs::perms::owner_all);
  EXPECT_FALSE(r.reussi);
  EXPECT_NE(r.message.find("accès refusé"), std::string::npos) << r.message;
  EXPECT_FALSE(fs::exists(chemin("a.Txt")));
}

// A disk that fills up half-way, as the file-size limit makes it.
TEST_F(SauveDonneesTest, AFullDiskIsReportedAndLeavesNoHalfFile) {
  struct rlimit avant {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &avant), 0);
  const auto signalAvant = ::signal(SIGXFSZ, SIG_IGN);
  const struct rlimit petite = {100, avant.rlim_max};
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &petite), 0);
  const ResultatSauvegarde r = SauveDonnees(chemin("a.Txt"), std::string(5000, '1'));
  ::setrlimit(RLIMIT_FSIZE, &avant);
  ::signal(SIGXFSZ, signalAvant);
  EXPECT_FALSE(r.reussi);
  EXPECT_NE(r.message.find("fichier trop grand"), std::string::npos) << r.message;
  EXPECT_TRUE(fs::is_empty(m_dossier));
}

}  // namespace
}  // namespace kvx::exchange
