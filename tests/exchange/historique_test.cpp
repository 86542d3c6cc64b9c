// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/historique.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <random>

#include "dossier_temporaire.h"
#include "exchange/atomic_file.h"
#include "exchange/transfert.h"
#include "tube_sans_ecrivain.h"

namespace kvx::exchange {
namespace {

namespace fs = std::filesystem;

// 2026-12-10 around noon, local time: the names only need to sort.
constexpr std::int64_t kInstant = 1796900000000;

bool MemesOctets(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// A busy recording: every column full of noisy values with every digit in
// use, and the awkward ones a curve can hold.
Enregistrement Grand(int colonnes, int points, bool fourche = false) {
  Enregistrement e;
  e.instantMs = kInstant;
  e.mode = fourche ? 4 : 2;
  e.nbPoints = points;
  e.configuration = "[Acquisition]\r\nMode=2\r\n\r\n[V1]\r\nNom=θ\r\n\r\n";
  std::mt19937_64 hasard(7);
  std::uniform_real_distribution<double> bruit(-1e3, 1e3);
  for (int k = 0; k < colonnes; ++k) {
    Enregistrement::Colonne c;
    c.slot = k + 1;
    c.mini = -0.1 * (k + 1);
    c.maxi = 1.0 / 3.0 + k;
    for (int i = 0; i < points; ++i) c.valeurs.push_back(bruit(hasard));
    e.colonnes.push_back(c);
    if (k > 0) e.symboles.push_back("V" + std::to_string(k));
  }
  const double horsNormes[] = {std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(),
                              -0.0,
                              std::numeric_limits<double>::denorm_min(),
                              std::numeric_limits<double>::max(),
                              0.1,
                              1.234567e-6};
  for (std::size_t i = 0; i < std::size(horsNormes) && i < static_cast<std::size_t>(points); ++i)
    e.colonnes.back().valeurs[i] = horsNormes[i];
  if (fourche) {
    e.fourche = true;
    e.origineTemps = 4000000000u;
    for (int i = 0; i < points; ++i) e.comptes.push_back(i % 2 ? -i : i);
  }
  return e;
}

void ExpectMeme(const Enregistrement &a, const Enregistrement &b) {
  EXPECT_EQ(a.mode, b.mode);
  EXPECT_EQ(a.nbPoints, b.nbPoints);
  EXPECT_EQ(a.symboles, b.symboles);
  EXPECT_EQ(a.configuration, b.configuration);
  ASSERT_EQ(a.colonnes.size(), b.colonnes.size());
  for (std::size_t k = 0; k < a.colonnes.size(); ++k) {
    EXPECT_EQ(a.colonnes[k].slot, b.colonnes[k].slot);
    EXPECT_TRUE(MemesOctets(a.colonnes[k].mini, b.colonnes[k].mini));
    EXPECT_TRUE(MemesOctets(a.colonnes[k].maxi, b.colonnes[k].maxi));
    ASSERT_EQ(a.colonnes[k].valeurs.size(), b.colonnes[k].valeurs.size());
    for (std::size_t i = 0; i < a.colonnes[k].valeurs.size(); ++i)
      ASSERT_TRUE(MemesOctets(a.colonnes[k].valeurs[i], b.colonnes[k].valeurs[i]))
          << "column " << k << " point " << i;
  }
  EXPECT_EQ(a.fourche, b.fourche);
  EXPECT_EQ(a.comptes, b.comptes);
  EXPECT_EQ(a.origineTemps, b.origineTemps);
}

TEST(EntreeHistorique, EightFullColumnsAndTheForkComeBackBitForBit) {
  for (const bool fourche : {false, true}) {
    SCOPED_TRACE(fourche);
    const Enregistrement e = Grand(8, 6400, fourche);
    ExpectMeme(LitEntree(TexteEntree(e)), e);
  }
}

TEST(EntreeHistorique, TheTransferTextOfARecordingBroughtBackIsTheSame) {
  // Eight channels of 6400 points into the table, through an entry, and
  // back into fresh channels: the text for the analysis program is the same.
  const auto remplit = [](std::vector<std::unique_ptr<model::Tvoie>> &voies, DonneesTransfert &d) {
    voies.push_back(std::make_unique<model::TbaseDeTemps>());
    for (int slot = 2; slot <= 9; ++slot)
      voies.push_back(std::make_unique<model::Tvoie>("V" + std::to_string(slot), "V", "u", slot));
    for (int slot = 1; slot <= 9; ++slot) {
      voies[static_cast<std::size_t>(slot - 1)]->Active = slot != 9;
      d.voies[static_cast<std::size_t>(slot)] = voies[static_cast<std::size_t>(slot - 1)].get();
    }
    d.nbPoints = 6400;
    d.mode = 1;
  };
  std::vector<std::unique_ptr<model::Tvoie>> avant, apres;
  DonneesTransfert da, dr;
  remplit(avant, da);
  remplit(apres, dr);
  const Enregistrement grand = Grand(8, 6400);
  Enregistrement e = grand;
  for (int k = 0; k < 8; ++k)
    std::copy(grand.colonnes[k].valeurs.begin(), grand.colonnes[k].valeurs.end(),
              avant[static_cast<std::size_t>(k)]->valeurs.begin());
  const Enregistrement relu = LitEntree(TexteEntree(e));
  for (const auto &c : relu.colonnes)
    std::copy(c.valeurs.begin(), c.valeurs.end(),
              apres[static_cast<std::size_t>(c.slot - 1)]->valeurs.begin());
  EXPECT_EQ(TexteTransfert(dr), TexteTransfert(da));
  EXPECT_EQ(TexteFichierAscii(dr), TexteFichierAscii(da));
}

TEST(EntreeHistorique, HeaderGivesWhatTheListShows) {
  Enregistrement e = Grand(3, 10);
  e.symboles = {"θ", "a\tb", std::string(100, 'x')};
  const std::string texte = TexteEntree(e);
  const EnteteEntree h = LitEntete(texte.substr(0, 300));
  EXPECT_EQ(h.mode, 2);
  EXPECT_EQ(h.nbPoints, 10);
  ASSERT_EQ(h.symboles.size(), 3u);
  EXPECT_EQ(h.symboles[0], "θ");
  EXPECT_EQ(h.symboles[1], "a b");  // a TAB would split the list
  EXPECT_EQ(h.symboles[2], std::string(64, 'x'));
  EXPECT_GE(h.annee, 2026);
}

TEST(EntreeHistorique, NamesAreOursOnlyInTheirExactForm) {
  EXPECT_TRUE(EstNomEntree(NomEntree(kInstant)));
  EXPECT_EQ(NomEntree(kInstant + 7).substr(20), "007.kvxh");
  for (const char *nom : {"kvx-20261210-120000-000.kvxh"}) EXPECT_TRUE(EstNomEntree(nom)) << nom;
  for (const char *nom : {"kvx-20261210-120000-000.kvx", "kvx-20261210-120000-00.kvxh",
                          "KVX-20261210-120000-000.kvxh", "kvx-2026121a-120000-000.kvxh",
                          "kvx-20261210_120000-000.kvxh", ".kvx-20261210-120000-000.kvxh",
                          "kvx-20261210-120000-000.kvxh~", "notes.txt", ""})
    EXPECT_FALSE(EstNomEntree(nom)) << nom;
}

// Every way an entry can be damaged is refused with a reason, never a crash.
TEST(EntreeHistorique, DamagedEntriesAreRefusedWithAReason) {
  const Enregistrement e = Grand(2, 3);
  const std::string bon = TexteEntree(e);
  const auto remplace = [&](const std::string &de, const std::string &par) {
    std::string t = bon;
    const auto pos = t.find(de);
    EXPECT_NE(pos, std::string::npos) << de;
    return pos == std::string::npos ? t : t.replace(pos, de.size(), par);
  };
  // The whole line that starts with `debut`.
  const auto ligne = [&](const std::string &debut, const std::string &par) {
    std::string t = bon;
    const auto pos = t.find("\n" + debut) + 1;
    return t.replace(pos, t.find('\n', pos) - pos, par);
  };
  const std::string taille = "configuration " + std::to_string(e.configuration.size());
  struct Cas {
    const char *nom;
    std::string texte;
  };
  const Cas cas[] = {
      {"empty", ""},
      {"another file", "[Acquisition]\r\nMode=1\r\n"},
      {"binary", std::string("\x00\xff\x01KVX", 6)},
      {"cut in the header", bon.substr(0, 40)},
      {"cut in the configuration", bon.substr(0, bon.find("colonnes") - 10)},
      {"cut in the values", bon.substr(0, bon.size() - 12)},
      {"no end line", bon.substr(0, bon.size() - 4)},
      {"text after the end", bon + "encore\n"},
      {"no configuration", remplace(taille, "configuration 0")},
      {"configuration longer than the file", remplace(taille, "configuration 99999")},
      {"configuration longer than said", remplace(taille, taille + "0")},
      {"no values line", remplace("valeurs\n", "")},
      {"a missing value", remplace("\t", "")},
      {"a value too many", remplace("\nfin\n", "\t1\nfin\n")},
      {"a word for a number", remplace("mini -0.1", "mini abc")},
      {"points beyond the arrays", remplace("points 3", "points 6402")},
      {"negative points", remplace("points 3", "points -1")},
      {"more points than lines", remplace("points 3", "points 4")},
      {"unknown mode", remplace("mode 2", "mode 7")},
      {"slot 0", remplace("colonnes 1 2", "colonnes 0 2")},
      {"slot twice", remplace("colonnes 1 2", "colonnes 2 2")},
      {"bounds for fewer columns", ligne("maxi", "maxi 1")},
      {"fork outside the fork mode", remplace("valeurs\n", "fourche 3\nvaleurs\n")},
      {"impossible date", remplace("date 20", "date 2x")},
  };
  for (const Cas &c : cas) {
    SCOPED_TRACE(c.nom);
    try {
      LitEntree(c.texte);
      ADD_FAILURE() << "read";
    } catch (const HistoriqueError &erreur) {
      EXPECT_GT(std::strlen(erreur.what()), 5u);
    }
  }
}

class HistoriqueTest : public test::DossierTemporaire {
 protected:
  Enregistrement Petit(std::int64_t instant, double valeur = 1.5) const {
    Enregistrement e;
    e.instantMs = instant;
    e.nbPoints = 2;
    e.configuration = "[Acquisition]\r\nMode=1\r\n\r\n";
    e.symboles = {"V1"};
    e.colonnes = {{1, 0, 1, {0, 0.5}}, {5, -5, 5, {valeur, 2.5}}};
    return e;
  }
  std::vector<std::string> Noms() const {
    std::vector<std::string> noms;
    for (const auto &f : fs::directory_iterator(m_dossier)) noms.push_back(f.path().filename());
    std::sort(noms.begin(), noms.end());
    return noms;
  }
};

TEST_F(HistoriqueTest, TheTwoHundredAndFirstEntryTakesThePlaceOfTheOldest) {
  Historique h(m_dossier);
  for (int i = 0; i < 201; ++i) h.Ecrit(Petit(kInstant + i * 1000));
  const auto noms = Noms();
  ASSERT_EQ(noms.size(), 200u);
  EXPECT_EQ(noms.front(), NomEntree(kInstant + 1000));
  EXPECT_EQ(noms.back(), NomEntree(kInstant + 200 * 1000));
}

TEST_F(HistoriqueTest, TheSizeCapRemovesTheOldestLargeEntries) {
  const Enregistrement grand = Grand(8, 6400);
  const auto taille = TexteEntree(grand).size();
  Historique h(m_dossier, {200, 3 * taille + taille / 2, 20});
  for (int i = 0; i < 5; ++i) {
    Enregistrement e = grand;
    e.instantMs = kInstant + i;
    h.Ecrit(e);
  }
  EXPECT_EQ(Noms(), (std::vector<std::string>{NomEntree(kInstant + 2), NomEntree(kInstant + 3),
                                              NomEntree(kInstant + 4)}));
}

TEST_F(HistoriqueTest, ARepeatingScanKeepsItsLastTwentyAndOtherRecordingsStay) {
  Historique h(m_dossier);
  h.Ecrit(Petit(kInstant));  // an earlier recording of its own
  for (int i = 1; i <= 30; ++i) h.Ecrit(Petit(kInstant + i), 7);
  h.Ecrit(Petit(kInstant + 100), 8);  // the next run starts its own count
  const auto noms = Noms();
  ASSERT_EQ(noms.size(), 22u);
  EXPECT_EQ(noms[0], NomEntree(kInstant));
  EXPECT_EQ(noms[1], NomEntree(kInstant + 11));
  EXPECT_EQ(noms[20], NomEntree(kInstant + 30));
  EXPECT_EQ(noms[21], NomEntree(kInstant + 100));
}

TEST_F(HistoriqueTest, FilesItDidNotWriteAreNeverRemoved) {
  // Our name without our header, another name with our header, a folder and
  // a link with our names, and the user's own file.
  const std::string texte = TexteEntree(Petit(1));
  ecrit("kvx-20000101-000000-000.kvxh", "mes notes\n");
  ecrit("kvx-20000101-000000-001.KVXH", texte);
  ecrit("notes.txt", texte);
  fs::create_directory(chemin("kvx-20000101-000000-002.kvxh"));
  fs::create_symlink(chemin("notes.txt"), chemin("kvx-20000101-000000-003.kvxh"));
  Historique h(m_dossier, {2, 1u << 30, 20});
  for (int i = 0; i < 4; ++i) h.Ecrit(Petit(kInstant + i));
  const auto noms = Noms();
  EXPECT_EQ(noms, (std::vector<std::string>{
                      "kvx-20000101-000000-000.kvxh", "kvx-20000101-000000-001.KVXH",
                      "kvx-20000101-000000-002.kvxh", "kvx-20000101-000000-003.kvxh",
                      NomEntree(kInstant + 2), NomEntree(kInstant + 3), "notes.txt"}));
  EXPECT_EQ(lit("notes.txt"), texte);
}

TEST_F(HistoriqueTest, TwoRecordingsInOneMillisecondGetTwoEntries) {
  Historique h(m_dossier);
  const fs::path a = h.Ecrit(Petit(kInstant, 1));
  const fs::path b = h.Ecrit(Petit(kInstant, 2));
  EXPECT_NE(a, b);
  EXPECT_EQ(h.Lit(a).colonnes[1].valeurs[0], 1);
  EXPECT_EQ(h.Lit(b).colonnes[1].valeurs[0], 2);
}

TEST_F(HistoriqueTest, TheListIsNewestFirstAndShowsWhatCannotBeRead) {
  Historique h(m_dossier);
  for (int i = 0; i < 25; ++i) h.Ecrit(Petit(kInstant + i * 1000));
  // Newer than all of them, in the entries' place: damaged, a pipe, a
  // folder, a huge file, and a name that is not ours.
  ecrit("kvx-29990101-000000-000.kvxh", "KVX historique 1\ndate n'importe\n");
  ASSERT_EQ(::mkfifo(chemin("kvx-29990101-000000-001.kvxh").c_str(), 0600), 0);
  fs::create_directory(chemin("kvx-29990101-000000-002.kvxh"));
  {
    std::ofstream(chemin("kvx-29990101-000000-003.kvxh")) << "";
    fs::resize_file(chemin("kvx-29990101-000000-003.kvxh"), 100u << 20);  // sparse
  }
  ecrit("zzz.kvxh", TexteEntree(Petit(1)));
  std::vector<Historique::Element> liste;
  EXPECT_TRUE(test::finishesWithoutAWriter(chemin("kvx-29990101-000000-001.kvxh"),
                                           [&] { liste = h.Liste(20); }));
  ASSERT_EQ(liste.size(), 20u);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_FALSE(liste[static_cast<std::size_t>(i)].entete);
    EXPECT_FALSE(liste[static_cast<std::size_t>(i)].raison.empty());
  }
  EXPECT_EQ(liste[1].raison, "ce n'est pas un fichier ordinaire");
  ASSERT_TRUE(liste[4].entete);
  EXPECT_EQ(liste[4].chemin.filename(), NomEntree(kInstant + 24 * 1000));
  EXPECT_EQ(liste[4].entete->nbPoints, 2);
  EXPECT_EQ(liste[4].entete->symboles, std::vector<std::string>{"V1"});
  EXPECT_EQ(liste[19].chemin.filename(), NomEntree(kInstant + 9 * 1000));
  // Chosen anyway: a reason, never a wait or a crash.
  for (int i = 0; i < 4; ++i)
    EXPECT_THROW(h.Lit(liste[static_cast<std::size_t>(i)].chemin), HistoriqueError);
  try {
    h.Lit(chemin("kvx-29990101-000000-003.kvxh"));
  } catch (const HistoriqueError &erreur) {
    EXPECT_STREQ(erreur.what(), "le fichier est trop volumineux");
  }
}

TEST_F(HistoriqueTest, AFolderThatCannotBeMadeOrAFullDiskIsReported) {
  ecrit("fichier", "x");
  Historique bloque(chemin("fichier") / "historique");
  EXPECT_THROW(bloque.Ecrit(Petit(kInstant)), FileError);

  Historique h(chemin("h"));
  struct rlimit avant {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &avant), 0);
  const auto signalAvant = ::signal(SIGXFSZ, SIG_IGN);
  const struct rlimit petite = {1000, avant.rlim_max};
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &petite), 0);
  std::string message;
  try {
    h.Ecrit(Grand(2, 100));
  } catch (const FileError &erreur) {
    message = erreur.what();
  }
  ::setrlimit(RLIMIT_FSIZE, &avant);
  ::signal(SIGXFSZ, signalAvant);
  EXPECT_NE(message.find("fichier trop grand"), std::string::npos) << message;
  EXPECT_TRUE(fs::is_empty(chemin("h"))) << "no half entry left";
}

TEST_F(HistoriqueTest, AWriteKilledHalfWayLeavesNoEntryAndItsRestGoesLater) {
  // A second signal during the close: the entry's temporary file stays,
  // under a name the list skips; a later write clears it once it is old.
  Historique h(m_dossier);
  const std::string reste = "." + NomEntree(kInstant) + ".tmpAb12Cd";
  ecrit(reste, "KVX historique 1\ndate");
  EXPECT_TRUE(h.Liste(20).empty());
  h.Ecrit(Petit(kInstant + 1));
  EXPECT_TRUE(fs::exists(chemin(reste))) << "may be a write still going on";
  const auto vieux = fs::file_time_type::clock::now() - std::chrono::minutes(5);
  fs::last_write_time(chemin(reste), vieux);
  h.Ecrit(Petit(kInstant + 2));
  EXPECT_FALSE(fs::exists(chemin(reste)));
  EXPECT_EQ(h.Liste(20).size(), 2u);
}

TEST_F(HistoriqueTest, TheWriterWritesOffTheCallersThreadAndReportsFailures) {
  Historique h(m_dossier);
  std::vector<std::string> rapports;
  std::mutex verrou;
  {
    EcrivainHistorique ecrivain(h, [&](const std::string &m) {
      std::lock_guard<std::mutex> v(verrou);
      rapports.push_back(m);
    });
    for (int i = 0; i < 5; ++i) ecrivain.Ajoute(Petit(kInstant + i));
    EXPECT_TRUE(ecrivain.Attend(std::chrono::seconds(10)));
    EXPECT_EQ(ecrivain.ecrites(), 5u);
  }
  EXPECT_TRUE(rapports.empty());
  EXPECT_EQ(h.Liste(20).size(), 5u);

  ecrit("plein", "x");
  Historique impossible(chemin("plein") / "h");
  EcrivainHistorique ecrivain(impossible, [&](const std::string &m) {
    std::lock_guard<std::mutex> v(verrou);
    rapports.push_back(m);
  });
  ecrivain.Ajoute(Petit(kInstant));
  EXPECT_TRUE(ecrivain.Attend(std::chrono::seconds(10)));
  std::lock_guard<std::mutex> v(verrou);
  ASSERT_EQ(rapports.size(), 1u);
  EXPECT_NE(rapports[0].find("Écriture impossible"), std::string::npos) << rapports[0];
}

}  // namespace
}  // namespace kvx::exchange
