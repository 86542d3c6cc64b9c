// SPDX-License-Identifier: GPL-3.0-or-later
// kvx-record run as a script runs it: against the simulated box over a real
// pseudo-terminal, its data file compared byte for byte with what the text
// builder gives for the same channels and values.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "exchange/atomic_file.h"
#include "exchange/text_encoding.h"
#include "exchange/tableur.h"
#include "exchange/transfert.h"
#include "model/nombres.h"
#include "model/voie.h"
#include "device/scripted_peer.h"
#include "droits_perdus.h"
#include "platform/pty_server.h"

namespace kvx::platform {
namespace {

namespace fs = std::filesystem;

struct Resultat {
  int code = -1;
  std::string sortie;
  std::string erreurs;
};

QStringList Arguments(const std::vector<std::string> &args) {
  QStringList liste;
  for (const auto &a : args) liste << QString::fromStdString(a);
  return liste;
}

// `tailleMax`: a file-size limit for the child, as a full disk gives it.
Resultat Lance(const std::vector<std::string> &args, int limiteMs = 30000, rlim_t tailleMax = 0) {
  QProcess p;
  if (tailleMax > 0)
    p.setChildProcessModifier([tailleMax] {
      struct rlimit limite {};
      ::getrlimit(RLIMIT_FSIZE, &limite);
      limite.rlim_cur = tailleMax;
      ::setrlimit(RLIMIT_FSIZE, &limite);
    });
  p.start(QStringLiteral(KVX_BIN_DIR "/kvx-record"), Arguments(args));
  if (!p.waitForFinished(limiteMs)) p.kill();
  p.waitForFinished();
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

// A configuration as the window saves it (Windows-1252): a timed scan of V1
// and V2 against time, named, with a comment.
std::string Configuration(int mode, int synchro) {
  return "[Constante]\r\nNom=\r\nComm=essai enregistreur\r\n"
         "[Affichage]\r\nAbscisse=1\r\nLigne=1\r\n"
         "[Acquisition]\r\nMode=" +
         std::to_string(mode) +
         "\r\n[Balayage]\r\nDur\xE9"
         "e=100\r\nNombre=50\r\n"
         "[Synchro]\r\nMode=" +
         std::to_string(synchro) +
         "\r\n[V1]\r\nNom=U1\r\nUnite=V\r\nSignif=tension d'entr\xE9"
         "e\r\nActive=1\r\nNumeroNuvex=0\r\n"
         "[V2]\r\nNom=V2\r\nUnite=V\r\nActive=1\r\nNumeroNuvex=1\r\n";
}

constexpr int kTemps = 1, kPointParPoint = 2, kSynchroFront = 0, kSynchroClavier = 2;

class KvxRecord : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_dossier.isValid()); }
  std::string chemin(const std::string &nom) const {
    return QDir(m_dossier.path()).filePath(QString::fromStdString(nom)).toStdString();
  }
  void ecrit(const std::string &nom, const std::string &octets) const {
    exchange::writeFileAtomically(chemin(nom), octets);
  }
  std::string lit(const std::string &nom) const {
    return exchange::readWholeFile(chemin(nom), 1u << 24);
  }

  // What the builder gives for V1 and V2 holding these box codes at every
  // one of `points` points, time steps of `dt` (0: numbered points).
  static std::string Attendu(int mode, int points, double dt, int code1, int code2) {
    model::TbaseDeTemps temps;
    model::Tvoie v1("U1", "V", "tension d'entrée", model::kVoieV1);
    model::Tvoie v2("V2", "V", "", model::kVoieV1 + 1);
    v1.ChoisitEntree(0);
    v2.ChoisitEntree(1);
    v1.Active = v2.Active = true;
    for (int j = 0; j < points; ++j) {
      const auto at = static_cast<std::size_t>(j);
      temps.valeurs[at] = j * dt;
      v1.valeurs[at] = v1.ValeurDeCode(code1);
      v2.valeurs[at] = v2.ValeurDeCode(code2);
    }
    exchange::DonneesTransfert d;
    d.mode = mode;
    d.voies[1] = &temps;
    d.voies[5] = &v1;
    d.voies[6] = &v2;
    d.nbPoints = points;
    d.commentaire = "essai enregistreur";
    return exchange::TexteFichierAscii(d);
  }

  QTemporaryDir m_dossier;
};

TEST_F(KvxRecord, ATimedScanOfTheSimulatedBoxGivesTheBuildersFile) {
  ecrit("essai.KVX", Configuration(kTemps, kSynchroClavier));
  const Resultat r = Lance({"--simulate", "--signal", "0=constant::200", "--signal",
                            "1=constant::40", chemin("essai.KVX"), "-o", chemin("mesures.txt")});
  ASSERT_EQ(r.code, 0) << r.erreurs;
  EXPECT_EQ(r.sortie, "");
  EXPECT_NE(r.erreurs.find("kvx-record: Acquisition terminée\n"), std::string::npos) << r.erreurs;
  EXPECT_NE(r.erreurs.find("50 points written to " + chemin("mesures.txt")), std::string::npos);
  const std::string octets = lit("mesures.txt");
  // Written in the code page the analysis program reads.
  EXPECT_NE(octets.find("tension d'entr\xE9"
                        "e\t"),
            std::string::npos);
  EXPECT_EQ(exchange::windows1252ToUtf8(octets), Attendu(kTemps, 50, 0.1 / 50, 200, 40));
}

// The extension chooses the spreadsheet forms; the CSV follows the locale
// the environment names, as a script run from a French desktop gets it.
TEST_F(KvxRecord, WritesTheSpreadsheetFormsByTheExtension) {
  ecrit("essai.KVX", Configuration(kTemps, kSynchroClavier));
  const std::string fichier[] = {"m.csv", "m.csv", "m.ods"};
  const char *locale[] = {"fr_FR.UTF-8", "en_GB.UTF-8", "fr_FR.UTF-8"};
  const QByteArray avant = qgetenv("LC_ALL");
  for (int i = 0; i < 3; ++i) {
    qputenv("LC_ALL", locale[i]);
    const Resultat r = Lance({"--simulate", "--signal", "0=constant::200", "--signal",
                              "1=constant::40", chemin("essai.KVX"), "-o", chemin(fichier[i])});
    ASSERT_EQ(r.code, 0) << r.erreurs;
    const std::string octets = lit(fichier[i]);
    if (i == 2) {
      EXPECT_EQ(octets.substr(30, 8), "mimetype");
      continue;
    }
    const std::string entete = i == 0 ? "t (s);U1 (V);V2 (V)\r\n0;" : "t (s),U1 (V),V2 (V)\r\n0,";
    EXPECT_EQ(octets.substr(0, entete.size()), entete) << octets.substr(0, 80);
    EXPECT_EQ(std::count(octets.begin(), octets.end(), '\n'), 51);
  }
  if (avant.isNull())
    qunsetenv("LC_ALL");
  else
    qputenv("LC_ALL", avant);
}

TEST_F(KvxRecord, RecordsFromTheBoxOnANamedPort) {
  QProcess sim;
  sim.start(QStringLiteral(KVX_BIN_DIR "/kvx-sim"),
            {QStringLiteral("--signal"), QStringLiteral("0=constant::90"),
             QStringLiteral("--signal"), QStringLiteral("1=constant::255")});
  ASSERT_TRUE(sim.waitForStarted());
  while (!sim.canReadLine()) ASSERT_TRUE(sim.waitForReadyRead(10000));
  const std::string port = sim.readLine().trimmed().toStdString();
  ecrit("essai.KVX", Configuration(kTemps, kSynchroClavier));
  const Resultat r = Lance({"--port", port, chemin("essai.KVX"), "-o", chemin("m.txt")});
  sim.terminate();
  sim.waitForFinished();
  ASSERT_EQ(r.code, 0) << r.erreurs;
  EXPECT_EQ(exchange::windows1252ToUtf8(lit("m.txt")), Attendu(kTemps, 50, 0.1 / 50, 90, 255));
}

// With steady inputs the automatic test records the first point only, so
// the file is known to the byte.
TEST_F(KvxRecord, PointByPointForAGivenTimeRecordsWhenTheInputsMove) {
  ecrit("essai.KVX", Configuration(kTemps, kSynchroClavier));
  const Resultat r =
      Lance({"--simulate", "--signal", "0=constant::10", "--signal", "1=constant::128",
             chemin("essai.KVX"), "-o", chemin("p.txt"), "--for", "700ms"});
  ASSERT_EQ(r.code, 0) << r.erreurs;
  EXPECT_NE(r.erreurs.find("recording point by point"), std::string::npos) << r.erreurs;
  EXPECT_EQ(exchange::windows1252ToUtf8(lit("p.txt")), Attendu(kPointParPoint, 1, 0, 10, 128));
}

// An edge that never comes: the user's Ctrl+C ends the wait and no file is
// written from an acquisition that never ran.
TEST_F(KvxRecord, AnInterruptedScanWritesNoFile) {
  ecrit("essai.KVX", Configuration(kTemps, kSynchroFront));
  QProcess p;
  p.setReadChannel(QProcess::StandardError);
  p.start(
      QStringLiteral(KVX_BIN_DIR "/kvx-record"),
      Arguments({"--simulate", "--signal", "b0=low", chemin("essai.KVX"), "-o", chemin("f.txt")}));
  std::string erreurs;
  while (erreurs.find("Acquisition en cours") == std::string::npos &&
         erreurs.find("front") == std::string::npos) {
    ASSERT_TRUE(p.waitForReadyRead(10000)) << erreurs;
    erreurs += p.readAll().toStdString();
  }
  ::kill(static_cast<pid_t>(p.processId()), SIGINT);
  ASSERT_TRUE(p.waitForFinished(10000));
  erreurs += p.readAll().toStdString();
  EXPECT_EQ(p.exitCode(), 130) << erreurs;
  EXPECT_NE(erreurs.find("interrupted, no file written"), std::string::npos) << erreurs;
  EXPECT_EQ(erreurs.find("Acquisition terminée"), std::string::npos) << erreurs;
  EXPECT_FALSE(fs::exists(chemin("f.txt")));
}

// The box unplugged half-way through a long scan: the points already
// fetched are kept in the file, and the status says the run failed.
TEST_F(KvxRecord, ABoxLostHalfWayKeepsThePointsAndFails) {
  QProcess sim;
  sim.start(QStringLiteral(KVX_BIN_DIR "/kvx-sim"), QStringList{});
  ASSERT_TRUE(sim.waitForStarted());
  while (!sim.canReadLine()) ASSERT_TRUE(sim.waitForReadyRead(10000));
  const std::string port = sim.readLine().trimmed().toStdString();
  std::string longue = Configuration(kTemps, kSynchroClavier);
  longue.replace(longue.find("=100\r\nNombre=50"), 17, "=20000\r\nNombre=6400");
  ecrit("longue.KVX", longue);
  QProcess p;
  p.setReadChannel(QProcess::StandardError);
  p.start(QStringLiteral(KVX_BIN_DIR "/kvx-record"),
          Arguments({"--port", port, chemin("longue.KVX"), "-o", chemin("l.txt")}));
  std::string erreurs;
  while (erreurs.find(" points\n") == std::string::npos) {
    ASSERT_TRUE(p.waitForReadyRead(20000)) << erreurs;
    erreurs += p.readAll().toStdString();
  }
  sim.terminate();
  ASSERT_TRUE(p.waitForFinished(20000));
  sim.waitForFinished();
  erreurs += p.readAll().toStdString();
  EXPECT_EQ(p.exitCode(), 1) << erreurs;
  EXPECT_NE(erreurs.find("the box stopped answering"), std::string::npos) << erreurs;
  const std::string texte = exchange::windows1252ToUtf8(lit("l.txt"));
  const auto lignes = std::count(texte.begin(), texte.end(), '\n');
  EXPECT_GT(lignes, 5) << texte.substr(0, 200);
  EXPECT_LT(lignes, 5 + 6400);
  EXPECT_EQ(texte.rfind("Acquisition par Nuvex KVX-2\r\nessai enregistreur\r\nt\tU1\tV2\t\r\n", 0),
            0u);
}

// A scan whose table cannot fit is refused before the user waits for it,
// with the file and the reason in French; nothing is written.
TEST_F(KvxRecord, AScanWhoseTableCannotFitIsRefusedBeforeItStarts) {
  std::string longue = Configuration(kTemps, kSynchroClavier);
  longue.replace(longue.find("Nombre=50"), 9, "Nombre=6400");
  ecrit("longue.KVX", longue);
  const Resultat r =
      Lance({"--simulate", chemin("longue.KVX"), "-o", chemin("l.txt")}, 30000, 20000);
  EXPECT_EQ(r.code, 1) << r.erreurs;
  EXPECT_NE(r.erreurs.find("Écriture impossible du fichier « " + chemin("l.txt") +
                           " » : fichier trop grand"),
            std::string::npos)
      << r.erreurs;
  EXPECT_EQ(r.erreurs.find("Acquisition"), std::string::npos) << r.erreurs;
  EXPECT_FALSE(fs::exists(chemin("l.txt")));
}

// A long recording whose disk fills up half-way keeps the rows saved so far
// and fails with the reason.
TEST_F(KvxRecord, ALongRecordingOnAFullDiskKeepsTheRowsWrittenSoFar) {
  ecrit("essai.KVX", Configuration(kTemps, kSynchroClavier));
  const Resultat r = Lance({"--simulate", "--signal", "0=sine:80:128:2", "--signal",
                            "1=triangle:80:128:1", chemin("essai.KVX"), "-o", chemin("p.txt"),
                            "--for", "20s"},
                           40000, 1000);
  EXPECT_EQ(r.code, 1) << r.erreurs;
  EXPECT_NE(r.erreurs.find("fichier trop grand"), std::string::npos) << r.erreurs;
  EXPECT_NE(r.erreurs.find("restent dans le fichier"), std::string::npos) << r.erreurs;
  const std::string texte = exchange::windows1252ToUtf8(lit("p.txt"));
  EXPECT_EQ(texte.rfind("Acquisition par Nuvex KVX-2\r\nessai enregistreur\r\n", 0), 0u);
  EXPECT_GT(std::count(texte.begin(), texte.end(), '\n'), 6) << texte;
  EXPECT_LE(texte.size(), 1000u);
}

// A user outside the dialout group is told so, with the device and the
// remedy, once, and not that the box is off.
TEST_F(KvxRecord, ARefusedPortIsToldOnceWithItsRemedy) {
  if (const std::string pourquoi = test::SansRefusPossible(); !pourquoi.empty())
    GTEST_SKIP() << pourquoi;
  auto peer = std::make_unique<device::ScriptedPeer>();
  peer->answer("XERR", "NUVEX KVX\r");
  PtyServer boitier(std::move(peer));
  std::string erreur;
  ASSERT_TRUE(boitier.start(&erreur)) << erreur;
  ASSERT_EQ(::chmod(boitier.slavePath().c_str(), 0), 0);
  // "nobody" reads the configuration and may write beside it.
  ecrit("essai.KVX", Configuration(kTemps, kSynchroClavier));
  ::chmod(m_dossier.path().toLocal8Bit().constData(), 0777);
  ::chmod(chemin("essai.KVX").c_str(), 0644);

  QProcess p;
  p.setChildProcessModifier([] {
    if (!test::PerdDroitsRoot()) ::_exit(125);
  });
  p.start(QStringLiteral(KVX_BIN_DIR "/kvx-record"),
          Arguments({"--port", boitier.slavePath(), "--port", chemin("absent"), chemin("essai.KVX"),
                     "-o", chemin("f.txt")}));
  ASSERT_TRUE(p.waitForFinished(30000));
  const std::string erreurs = p.readAllStandardError().toStdString();
  EXPECT_EQ(p.exitCode(), 1) << erreurs;
  const std::string refus = "kvx-record: Accès refusé à " + boitier.slavePath() +
                            " : rejoindre le groupe dialout, puis se reconnecter\n";
  const auto premier = erreurs.find(refus);
  EXPECT_NE(premier, std::string::npos) << erreurs;
  EXPECT_EQ(erreurs.find(refus, premier + 1), std::string::npos) << erreurs;
  EXPECT_EQ(erreurs.find("Erreur  gestion voie série"), std::string::npos) << erreurs;
  EXPECT_FALSE(fs::exists(chemin("f.txt")));
}

TEST(KvxRecordAide, HelpAndVersionGoToStandardOutput) {
  const Resultat aide = Lance({"--help"});
  EXPECT_EQ(aide.code, 0);
  EXPECT_EQ(aide.sortie.rfind("Usage: kvx-record [--port PATH | --simulate] CONFIG.KVX -o "
                              "FILE.txt [--for DURATION]\n",
                              0),
            0u);
  EXPECT_EQ(aide.erreurs, "");
  const Resultat version = Lance({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.sortie.rfind("kvx-record ", 0), 0u);
}

// Every fault says what is wrong, on standard error, with its status, and
// leaves no data file.
struct CasEchec {
  const char *nom;
  std::vector<std::string> args;  // "@x" is the test folder's file x
  int code;
  const char *message;
};

class KvxRecordEchec : public KvxRecord, public testing::WithParamInterface<CasEchec> {};

TEST_P(KvxRecordEchec, SaysWhyWithItsStatus) {
  ecrit("essai.KVX", Configuration(kTemps, kSynchroClavier));
  ecrit("pp.KVX", Configuration(kPointParPoint, kSynchroClavier));
  ecrit("clavier.KVX", Configuration(0, kSynchroClavier));
  ecrit("texte.KVX", "des notes de cours\r\n");
  fs::create_directory(chemin("dossier.KVX"));
  fs::create_directory(chemin("sortie"));
  std::vector<std::string> args;
  for (const std::string &a : GetParam().args)
    args.push_back(a[0] == '@' ? chemin(a.substr(1)) : a);
  const Resultat r = Lance(args);
  EXPECT_EQ(r.code, GetParam().code) << r.erreurs;
  EXPECT_EQ(r.sortie, "");
  EXPECT_EQ(r.erreurs.rfind("kvx-record: ", 0), 0u) << r.erreurs;
  EXPECT_NE(r.erreurs.find(GetParam().message), std::string::npos) << r.erreurs;
  EXPECT_EQ(r.erreurs.find("Usage:") != std::string::npos, GetParam().code == 2) << r.erreurs;
  EXPECT_FALSE(fs::exists(chemin("f.txt")));
  EXPECT_TRUE(fs::is_empty(chemin("sortie")));
}

INSTANTIATE_TEST_SUITE_P(
    Cas, KvxRecordEchec,
    testing::Values(
        CasEchec{"BoitierAbsent",
                 {"--port", "@absent", "@essai.KVX", "-o", "@f.txt"},
                 1,
                 "no Nuvex KVX box answered"},
        CasEchec{"PortQuiNEnEstPasUn",
                 {"--port", "@essai.KVX", "@essai.KVX", "-o", "@f.txt"},
                 1,
                 "no Nuvex KVX box answered"},
        CasEchec{
            "ConfigurationAbsente", {"--simulate", "@rien.KVX", "-o", "@f.txt"}, 1, "no such file"},
        CasEchec{"PasUneConfiguration",
                 {"--simulate", "@texte.KVX", "-o", "@f.txt"},
                 1,
                 "is not a KVX configuration"},
        CasEchec{"ConfigurationDossier",
                 {"--simulate", "@dossier.KVX", "-o", "@f.txt"},
                 1,
                 "is not a regular file"},
        CasEchec{"SortieDansUnDossierAbsent",
                 {"--simulate", "@essai.KVX", "-o", "@non/f.txt"},
                 1,
                 "Écriture impossible du fichier"},
        CasEchec{
            "SortieDossier", {"--simulate", "@essai.KVX", "-o", "@sortie"}, 1, "c'est un dossier"},
        CasEchec{"ModeClavier",
                 {"--simulate", "@clavier.KVX", "-o", "@f.txt"},
                 1,
                 "needs someone at the window"},
        CasEchec{"PointParPointSansDuree",
                 {"--simulate", "@pp.KVX", "-o", "@f.txt"},
                 2,
                 "give --for DURATION"},
        CasEchec{"SansArgument", {}, 2, "no configuration file given"},
        CasEchec{"SansFichier", {"--simulate", "@essai.KVX"}, 2, "no data file given"},
        CasEchec{"DureeIllisible",
                 {"--simulate", "@essai.KVX", "-o", "@f.txt", "--for", "bof"},
                 2,
                 "is not a duration"},
        CasEchec{"DureeNulle",
                 {"--simulate", "@essai.KVX", "-o", "@f.txt", "--for", "0s"},
                 2,
                 "--for: \"0s\" is"},
        CasEchec{"DureeSousUnPoint",
                 {"--simulate", "@essai.KVX", "-o", "@f.txt", "--for", "0.0001s"},
                 2,
                 "is shorter than one point"},
        CasEchec{"DureeHorsHorloge",
                 {"--simulate", "@essai.KVX", "-o", "@f.txt", "--for", "2562048h"},
                 2,
                 "is longer than the clock can count"},
        CasEchec{"PortEtSimulation",
                 {"--simulate", "--port", "@p", "@essai.KVX", "-o", "@f.txt"},
                 2,
                 "exclude each other"},
        CasEchec{"SignalSansSimulation",
                 {"--signal", "0=sine", "@essai.KVX", "-o", "@f.txt"},
                 2,
                 "--signal needs --simulate"},
        CasEchec{"SignalIllisible",
                 {"--simulate", "--signal", "9=sine", "@essai.KVX", "-o", "@f.txt"},
                 2,
                 "input number must be 0 to 7"},
        CasEchec{"OptionInconnue",
                 {"--vite", "@essai.KVX", "-o", "@f.txt"},
                 2,
                 "unknown option \"--vite\""}),
    [](const testing::TestParamInfo<CasEchec> &info) { return std::string(info.param.nom); });

}  // namespace
}  // namespace kvx::platform
