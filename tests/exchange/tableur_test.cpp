// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/tableur.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "dossier_temporaire.h"

namespace kvx::exchange {
namespace {

namespace fs = std::filesystem;
using model::Tvoie;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A scan of V1 (volts) and a temperature θ (°C) against time, the second
// point missing on V1.
struct Enregistrement {
  model::TbaseDeTemps temps;
  Tvoie v1{"V1", "V", "", 5};
  Tvoie theta{"θ", "°C", "température", 6};
  DonneesTransfert donnees(int mode = 1) {
    DonneesTransfert d;
    d.mode = mode;
    d.voies[1] = &temps;
    d.voies[5] = &v1;
    d.voies[6] = &theta;
    temps.Active = mode != 2;
    v1.Active = theta.Active = true;
    const double t[] = {0, 0.25, 0.5, 0.75}, u[] = {1.25, kNaN, -0.000012, 12345678.9},
                 c[] = {21.5, 21.6, 0.1 + 0.2, -3};
    for (std::size_t j = 0; j < 4; ++j) {
      temps.valeurs[j] = t[j];
      v1.valeurs[j] = u[j];
      theta.valeurs[j] = c[j];
    }
    d.nbPoints = 4;
    d.commentaire = "Refroidissement; essai \"A\"";
    return d;
  }
};

struct CasCsv {
  const char *nom;
  char separateur;
  int mode;
  std::string attendu;
};

class TableurTexte : public testing::TestWithParam<CasCsv> {};

// Numbers with every digit they hold, in the desktop's format, so a French
// spreadsheet reads "0,25" and a script reads back 0.30000000000000004.
TEST_P(TableurTexte, GivesTheHeaderRowAndOneRowAPoint) {
  Enregistrement e;
  const DonneesTransfert d = e.donnees(GetParam().mode);
  const std::string texte = std::string(GetParam().nom).rfind("Tsv", 0) == 0
                                ? TexteTsv(d, GetParam().separateur)
                                : TexteCsv(d, GetParam().separateur);
  EXPECT_EQ(texte, GetParam().attendu);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, TableurTexte,
    testing::Values(
        CasCsv{"CsvFrancais", ',', 1,
               "t (s);V1 (V);θ (°C)\r\n0;1,25;21,5\r\n0,5;-1,2e-05;0,30000000000000004\r\n"
               "0,75;12345678,9;-3\r\n"},
        CasCsv{"CsvAnglais", '.', 1,
               "t (s),V1 (V),θ (°C)\r\n0,1.25,21.5\r\n0.5,-1.2e-05,0.30000000000000004\r\n"
               "0.75,12345678.9,-3\r\n"},
        CasCsv{"CsvPointParPoint", ',', 2,
               "num;V1 (V);θ (°C)\r\n0;1,25;21,5\r\n2;-1,2e-05;0,30000000000000004\r\n"
               "3;12345678,9;-3\r\n"},
        CasCsv{"TsvFrancais", ',', 1,
               "t (s)\tV1 (V)\tθ (°C)\n0\t1,25\t21,5\n0,5\t-1,2e-05\t0,30000000000000004\n"
               "0,75\t12345678,9\t-3\n"}),
    [](const testing::TestParamInfo<CasCsv> &info) { return std::string(info.param.nom); });

struct CasEntete {
  const char *nom;
  std::string symbole, unite;
  std::string csvVirgule, csvPoint, tsv;
};

class EntetesTableur : public testing::TestWithParam<CasEntete> {};

// What the user typed stays one field: quoted when it holds the separator, a
// quote or a line end, in full UTF-8 (emoji included).
TEST_P(EntetesTableur, StayOneField) {
  Enregistrement e;
  e.v1.Nom = GetParam().symbole;
  e.v1.Unite = GetParam().unite;
  DonneesTransfert d = e.donnees();
  d.nbPoints = 0;
  const auto deuxieme = [](const std::string &texte, char champs) {
    const std::size_t debut = texte.find(champs) + 1;
    return texte.substr(debut, texte.rfind(champs) - debut);
  };
  EXPECT_EQ(deuxieme(TexteCsv(d, ','), ';'), GetParam().csvVirgule);
  EXPECT_EQ(deuxieme(TexteCsv(d, '.'), ','), GetParam().csvPoint);
  EXPECT_EQ(deuxieme(TexteTsv(d, ','), '\t'), GetParam().tsv);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, EntetesTableur,
    testing::Values(CasEntete{"SansUnite", "X", "", "X", "X", "X"},
                    CasEntete{"Grec", "Δθ", "µs", "Δθ (µs)", "Δθ (µs)", "Δθ (µs)"},
                    CasEntete{"PointVirgule", "a;b", "V", "\"a;b (V)\"", "a;b (V)", "a;b (V)"},
                    CasEntete{"Virgule", "a,b", "V", "a,b (V)", "\"a,b (V)\"", "a,b (V)"},
                    CasEntete{"Guillemets", "\"x\"", "V", "\"\"\"x\"\" (V)\"", "\"\"\"x\"\" (V)\"",
                              "\"x\" (V)"},
                    CasEntete{"FinDeLigne", "a\r\nb", "V", "\"a\r\nb (V)\"", "\"a\r\nb (V)\"",
                              "a  b (V)"},
                    CasEntete{"Tabulation", "a\tb", "V", "a\tb (V)", "a\tb (V)", "a b (V)"},
                    CasEntete{"Emoji", "😀", "V", "😀 (V)", "😀 (V)", "😀 (V)"},
                    CasEntete{"PasUtf8", "a\xFF", "V", "a\xEF\xBF\xBD (V)", "a\xEF\xBF\xBD (V)",
                              "a\xEF\xBF\xBD (V)"}),
    [](const testing::TestParamInfo<CasEntete> &info) { return std::string(info.param.nom); });

std::size_t Compte(const std::string &texte, const std::string &motif);

// Spreadsheets take the value from "sdval", written with "." on every
// desktop, and show the text in the user's format.
TEST(TexteHtml, GivesEachValueWithAPointBesideTheShownText) {
  Enregistrement e;
  e.v1.Nom = "<V1>";
  const std::string html = TexteHtml(e.donnees(), ',');
  EXPECT_NE(html.find("<tr><td>t (s)</td><td>&lt;V1&gt; (V)</td><td>θ (°C)</td></tr>\n"
                      "<tr><td sdval=\"0\" sdnum=\"1033;\">0</td>"
                      "<td sdval=\"1.25\" sdnum=\"1033;\">1,25</td>"
                      "<td sdval=\"21.5\" sdnum=\"1033;\">21,5</td></tr>\n<tr>"),
            std::string::npos)
      << html;
  EXPECT_EQ(Compte(html, "<tr>"), 4u);
  EXPECT_NE(html.find("charset=utf-8"), std::string::npos);
}

// A reader of the CSV as RFC 4180 has it, for the full table below.
std::vector<std::vector<std::string>> LitCsv(const std::string &texte, char champs) {
  std::vector<std::vector<std::string>> lignes(1, std::vector<std::string>(1));
  bool cite = false;
  for (std::size_t i = 0; i < texte.size(); ++i) {
    const char c = texte[i];
    if (cite) {
      if (c == '"' && i + 1 < texte.size() && texte[i + 1] == '"') {
        lignes.back().back() += '"';
        ++i;
      } else if (c == '"') {
        cite = false;
      } else {
        lignes.back().back() += c;
      }
    } else if (c == '"') {
      cite = true;
    } else if (c == champs) {
      lignes.back().emplace_back();
    } else if (c == '\r' && i + 1 < texte.size() && texte[i + 1] == '\n') {
      ++i;
      lignes.emplace_back(1);
    } else {
      lignes.back().back() += c;
    }
  }
  if (lignes.back().size() == 1 && lignes.back()[0].empty()) lignes.pop_back();
  return lignes;
}

// Eight channels of 6400 noisy points read back as the very values recorded,
// under either desktop.
TEST(TexteCsv, ReadsBackEveryRecordedValueInBothFormats) {
  std::vector<std::unique_ptr<Tvoie>> voies;
  DonneesTransfert d;
  std::mt19937 hasard(7);
  std::uniform_real_distribution<double> bruit(-5, 5);
  for (int slot = 1; slot <= 8; ++slot) {
    voies.push_back(std::make_unique<Tvoie>("V;" + std::to_string(slot), "mV", "", slot));
    voies.back()->Active = true;
    for (int j = 0; j < model::kMaxPoints; ++j)
      voies.back()->valeurs[static_cast<std::size_t>(j)] =
          slot == 1 ? j * 0.000156 : bruit(hasard) * std::pow(10.0, slot - 5);
    d.voies[static_cast<std::size_t>(slot)] = voies.back().get();
  }
  d.nbPoints = model::kMaxPoints;
  for (const char separateur : {'.', ','}) {
    const char champs = separateur == ',' ? ';' : ',';
    const auto lignes = LitCsv(TexteCsv(d, separateur), champs);
    ASSERT_EQ(lignes.size(), std::size_t(model::kMaxPoints) + 1);
    EXPECT_EQ(lignes[0][2], "V;3 (mV)");
    for (int j = 0; j < model::kMaxPoints; ++j) {
      const auto &ligne = lignes[static_cast<std::size_t>(j) + 1];
      ASSERT_EQ(ligne.size(), 8u);
      for (std::size_t c = 0; c < 8; ++c) {
        std::string champ = ligne[c];
        std::replace(champ.begin(), champ.end(), separateur, '.');
        double x = kNaN;
        std::from_chars(champ.data(), champ.data() + champ.size(), x);
        ASSERT_EQ(x, voies[c]->valeurs[static_cast<std::size_t>(j)]) << ligne[c];
      }
    }
  }
}

// --- The OpenDocument spreadsheet ------------------------------------------

struct Membre {
  std::string nom, octets;
  bool compresse = false;
};

std::vector<Membre> LitZip(const std::string &octets) {
  zip_error_t erreur;
  zip_error_init(&erreur);
  zip_source_t *source = zip_source_buffer_create(octets.data(), octets.size(), 0, &erreur);
  zip_t *zip = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &erreur);
  std::vector<Membre> membres;
  if (!zip) {
    zip_source_free(source);
    ADD_FAILURE() << zip_error_strerror(&erreur);
    return membres;
  }
  for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
    zip_stat_t etat;
    zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &etat);
    Membre m{etat.name, std::string(etat.size, '\0'), etat.comp_method != ZIP_CM_STORE};
    zip_file_t *f = zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0);
    zip_fread(f, m.octets.data(), etat.size);
    zip_fclose(f);
    membres.push_back(m);
  }
  zip_discard(zip);
  return membres;
}

std::size_t Compte(const std::string &texte, const std::string &motif) {
  std::size_t n = 0;
  for (std::size_t p = texte.find(motif); p != std::string::npos; p = texte.find(motif, p + 1)) ++n;
  return n;
}

TEST(DocumentOds, HoldsNumbersAsNumbersUnderTheHeaderRow) {
  Enregistrement e;
  DonneesTransfert d = e.donnees();
  d.commentaire = "Chute <libre> & \"rebond\"\nessai 2";
  const std::string ods = DocumentOds(d, {',', "10/12/2026 14:05", "2026-12-10T14:05:00"});
  const std::vector<Membre> membres = LitZip(ods);
  ASSERT_EQ(membres.size(), 4u);
  // The readers know the kind of file from its first member, stored as is.
  EXPECT_EQ(membres[0].nom, "mimetype");
  EXPECT_FALSE(membres[0].compresse);
  EXPECT_EQ(membres[0].octets, "application/vnd.oasis.opendocument.spreadsheet");
  EXPECT_EQ(ods.substr(30, 8), "mimetype");
  EXPECT_EQ(membres[3].nom, "META-INF/manifest.xml");
  const std::string &contenu = membres[1].octets;
  EXPECT_EQ(membres[1].nom, "content.xml");
  EXPECT_NE(contenu.find("<text:p>Chute &lt;libre&gt; &amp; &quot;rebond&quot;"
                         "<text:line-break/>essai 2</text:p>"),
            std::string::npos);
  EXPECT_NE(contenu.find("<text:p>10/12/2026 14:05</text:p>"), std::string::npos);
  EXPECT_NE(contenu.find("<text:p>t (s)</text:p></table:table-cell><table:table-cell "
                         "office:value-type=\"string\"><text:p>V1 (V)</text:p>"
                         "</table:table-cell><table:table-cell office:value-type=\"string\">"
                         "<text:p>θ (°C)</text:p>"),
            std::string::npos);
  // Three rows of three numbers, with "." whatever the desktop.
  EXPECT_EQ(Compte(contenu, "office:value-type=\"float\""), 9u);
  EXPECT_NE(contenu.find("office:value=\"-1.2e-05\""), std::string::npos);
  EXPECT_NE(contenu.find("office:value=\"0.30000000000000004\""), std::string::npos);
  EXPECT_EQ(Compte(contenu, "<table:table-row>"), 5u);
  EXPECT_NE(membres[2].octets.find("<dc:date>2026-12-10T14:05:00</dc:date>"), std::string::npos);
}

TEST(DocumentOds, KeepsTheRowsOfPointByPointAndAnEmptyRecording) {
  Enregistrement e;
  DonneesTransfert d = e.donnees(2);
  std::string contenu = LitZip(DocumentOds(d, {}))[1].octets;
  EXPECT_NE(contenu.find("<text:p>num</text:p>"), std::string::npos);
  EXPECT_NE(contenu.find("office:value=\"2\"><text:p>2</text:p>"), std::string::npos);
  d.nbPoints = 1;
  contenu = LitZip(DocumentOds(d, {}))[1].octets;
  EXPECT_EQ(Compte(contenu, "<table:table-row>"), 3u);
  EXPECT_EQ(Compte(contenu, "office:value-type=\"float\""), 3u);
  d.nbPoints = 0;
  contenu = LitZip(DocumentOds(d, {}))[1].octets;
  EXPECT_EQ(Compte(contenu, "<table:table-row>"), 2u);
  EXPECT_EQ(Compte(contenu, "float"), 0u);
}

// --- Saving ------------------------------------------------------------------

class ExporteTableurTest : public test::DossierTemporaire {};

TEST_F(ExporteTableurTest, ChoosesTheFormatByTheExtension) {
  Enregistrement e;
  const DonneesTransfert d = e.donnees();
  ASSERT_TRUE(ExporteTableur(chemin("a.CSV"), d, {',', "", ""}).reussi);
  EXPECT_EQ(lit("a.CSV"), TexteCsv(d, ','));
  ASSERT_TRUE(ExporteTableur(chemin("a.ods"), d, {}).reussi);
  EXPECT_EQ(lit("a.ods").substr(30, 47), "mimetypeapplication/vnd.oasis.opendocument.spre");
  EXPECT_EQ(FormatDuFichier("x.Ods"), FormatTableur::Ods);
  EXPECT_EQ(FormatDuFichier("x"), FormatTableur::Ods);
  EXPECT_EQ(FormatDuFichier("x.csv"), FormatTableur::Csv);
}

struct CasCible {
  const char *nom;
  const char *raison;
};

class ExporteTableurEchec : public test::DossierTemporaire,
                            public testing::WithParamInterface<CasCible> {};

// A bad target says why, never waits on a pipe, and leaves nothing behind.
TEST_P(ExporteTableurEchec, SaysWhyAndLeavesNoFile) {
  const std::string nom = GetParam().nom;
  fs::path cible = chemin("m.ods");
  if (nom == "Tube") {
    ASSERT_EQ(::mkfifo(cible.c_str(), 0600), 0);
  }
  if (nom == "Dossier") fs::create_directory(cible);
  if (nom == "Peripherique") cible = "/dev/null";
  if (nom == "DossierAbsent") cible = chemin("absent/m.csv");
  struct rlimit avant {};
  const auto signalAvant = ::signal(SIGXFSZ, SIG_IGN);
  ::getrlimit(RLIMIT_FSIZE, &avant);
  if (nom == "DisquePlein") {
    const struct rlimit petite = {200, avant.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &petite);
  }
  Enregistrement e;
  const ResultatSauvegarde r = ExporteTableur(cible, e.donnees(), {});
  ::setrlimit(RLIMIT_FSIZE, &avant);
  ::signal(SIGXFSZ, signalAvant);
  EXPECT_FALSE(r.reussi);
  EXPECT_NE(r.message.find(GetParam().raison), std::string::npos) << r.message;
  std::vector<std::string> fichiers;
  for (const auto &f : fs::recursive_directory_iterator(m_dossier))
    if (f.is_regular_file()) fichiers.push_back(f.path().string());
  EXPECT_TRUE(fichiers.empty()) << fichiers.front();
}

INSTANTIATE_TEST_SUITE_P(
    Cibles, ExporteTableurEchec,
    testing::Values(CasCible{"Tube", "ce n'est pas un fichier ordinaire"},
                    CasCible{"Dossier", "c'est un dossier"},
                    CasCible{"Peripherique", "ce n'est pas un fichier ordinaire"},
                    CasCible{"DossierAbsent", "fichier ou dossier introuvable"},
                    CasCible{"DisquePlein", "fichier trop grand"}),
    [](const testing::TestParamInfo<CasCible> &info) { return std::string(info.param.nom); });

TEST_F(ExporteTableurTest, AReadOnlyFolderIsReported) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes in any folder";
  fs::permissions(m_dossier, fs::perms::owner_read | fs::perms::owner_exec);
  Enregistrement e;
  const ResultatSauvegarde r = ExporteTableur(chemin("a.csv"), e.donnees(), {});
  fs::permissions(m_dossier, fs::perms::owner_all);
  EXPECT_FALSE(r.reussi);
  EXPECT_NE(r.message.find("accès refusé"), std::string::npos) << r.message;
}

TEST(SeparateurDeLaLangue, FollowsTheLanguageOfTheLocaleName) {
  const std::pair<const char *, char> cas[] = {
      {"fr_FR.UTF-8", ','}, {"fr_BE", ','},       {"de_DE.UTF-8@euro", ','},
      {"de_CH.UTF-8", '.'}, {"en_GB.UTF-8", '.'}, {"en_US", '.'},
      {"es_MX", '.'},       {"es_ES", ','},       {"C", '.'},
      {"C.UTF-8", '.'},     {"POSIX", '.'},       {"", '.'},
      {"zh_CN.UTF-8", '.'}, {"pt_BR", ','}};
  for (const auto &[locale, separateur] : cas) {
    EXPECT_EQ(SeparateurDeLaLangue(locale), separateur) << locale;
  }
}

}  // namespace
}  // namespace kvx::exchange
