// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/fichier_capteurs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "dossier_temporaire.h"
#include "exchange/atomic_file.h"
#include "exchange/reglages_cles.h"
#include "model/separateur_decimal.h"

namespace kvx::exchange {
namespace {

using model::TCapteur;
using model::TlisteCapteur;

// "0.5" with the program's separator.
std::string local(std::string texte) {
  for (char &c : texte)
    if (c == '.') c = model::SeparateurDecimal();
  return texte;
}

// The library of one sensor made from scratch, as the program writes it:
// Windows-1252, so the degree sign is the one byte B0.
const std::string kBibliothequeParDefaut =
    "[Capteurs]\r\nNombre=1\r\n\r\n"
    "[1]\r\nEtalonnage=0\r\nAmpli=0\r\nAlim=0\r\n0V=0\r\n1V=10\r\nNom=T\r\nUnite=\xB0"
    "C\r\nSignif=\r\nAide=\r\nNumero=0\r\nMasse=0\r\n\r\n";

TCapteur Manometre() {
  TCapteur c;
  c.Etalonnage = true;
  c.Ampli = true;
  c.Alim = true;
  c.Valeur0V = -0.5;
  c.Pente = 1234.5678;
  c.Nom = "P";
  c.Unite = "hPa";
  c.Signif = "Pression à l'entrée";
  c.Aide = "Tuyau = 4 mm; [ne pas] souffler";
  c.Numero = 7;
  c.Masse = true;
  return c;
}

class FichierCapteurs : public test::DossierTemporaire {
 protected:
  TlisteCapteur charge(const std::string &nom, ResultatCapteurs attendu) {
    TlisteCapteur liste;
    liste.Ajoute(Manometre());  // whatever was there goes
    EXPECT_EQ(ChargeCapteurs(chemin(nom), liste), attendu) << nom;
    return liste;
  }
  MemorySettingsStore m_reglages;
};

bool EstLeCapteurParDefaut(const TlisteCapteur &liste) {
  return liste.Nombre() == 1 && liste.Capteur(0) == TCapteur();
}

TEST_F(FichierCapteurs, WithoutAFileTheProgramHasOneThermometer) {
  const auto liste = charge("absent.CPT", ResultatCapteurs::Absent);
  ASSERT_TRUE(EstLeCapteurParDefaut(liste));
  EXPECT_EQ(liste.Capteur(0).Nom, "T");
  EXPECT_EQ(liste.Capteur(0).Unite, "°C");
  EXPECT_EQ(liste.Capteur(0).Pente, 10.0);
}

TEST_F(FichierCapteurs, TheDefaultLibraryIsWrittenExactly) {
  TlisteCapteur liste;
  liste.Ajoute(TCapteur());
  SauveCapteurs(chemin("kvx.CPT"), liste, m_reglages);
  EXPECT_EQ(lit("kvx.CPT"), kBibliothequeParDefaut);
  EXPECT_EQ(m_reglages.value(reglages::kGroupeCapteurs, reglages::kCleFichier),
            chemin("kvx.CPT").string());
}

TEST_F(FichierCapteurs, EveryFieldWritesInOrderAndReadsBack) {
  TlisteCapteur liste;
  liste.Ajoute(TCapteur());
  liste.Ajoute(Manometre());
  SauveCapteurs(chemin("kvx.CPT"), liste, m_reglages);
  std::string debut = kBibliothequeParDefaut;
  debut.replace(debut.find("Nombre=1"), 8, "Nombre=2");
  EXPECT_EQ(lit("kvx.CPT"),
            debut + "[2]\r\nEtalonnage=1\r\nAmpli=1\r\nAlim=1\r\n0V=" + local("-0.5") +
                "\r\n1V=" + local("1234.5678") +
                "\r\nNom=P\r\nUnite=hPa\r\nSignif=Pression \xE0 l'entr\xE9"
                "e\r\nAide=Tuyau = 4 mm; [ne pas] souffler\r\nNumero=7\r\nMasse=1\r\n\r\n");
  const auto relue = charge("kvx.CPT", ResultatCapteurs::Lu);
  ASSERT_EQ(relue.Nombre(), 2u);
  EXPECT_EQ(relue.Capteur(0), TCapteur());
  EXPECT_EQ(relue.Capteur(1), Manometre());
}

TEST_F(FichierCapteurs, ASensorMissingFromTheFileTakesTheFileDefaults) {
  ecrit("kvx.CPT", "[Capteurs]\nNombre=2\n[1]\nNom=F\n1V=4\n[2]\n");
  const auto liste = charge("kvx.CPT", ResultatCapteurs::Lu);
  ASSERT_EQ(liste.Nombre(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const TCapteur &c = liste.Capteur(i);
    EXPECT_EQ(c.Nom, i == 0 ? "F" : "T");
    EXPECT_EQ(c.Unite, "");
    EXPECT_EQ(c.Pente, i == 0 ? 4.0 : 1.0);
    EXPECT_EQ(c.Valeur0V, 0.0);
    EXPECT_TRUE(c.Masse);
    EXPECT_FALSE(c.Etalonnage || c.Ampli || c.Alim);
    EXPECT_EQ(c.Numero, 0);
  }
}

TEST_F(FichierCapteurs, BadValuesReadAsTheirDefaults) {
  struct Cas {
    const char *ligne;
    std::size_t nombre;
    double valeur0V, pente;
    int numero;
    bool masse;
  } const cas[] = {
      {"0V=abc", 1, 0, 7, 3, false},        {"0V=1e999", 1, 0, 7, 3, false},
      {"0V=nan", 1, 0, 7, 3, false},        {"1V=inf", 1, 2, 1, 3, false},
      {"1V=", 1, 2, 1, 3, false},           {"1V=1.5.2", 1, 2, 1, 3, false},
      {"1V=1,5", 1, 2, 1.5, 3, false},      {"1V=1.5", 1, 2, 1.5, 3, false},
      {"1V=-2,5E3", 1, 2, -2500, 3, false}, {"Numero=9", 1, 2, 7, 0, false},
      {"Numero=-1", 1, 2, 7, 0, false},     {"Numero=256", 1, 2, 7, 0, false},
      {"Numero=x", 1, 2, 7, 0, false},      {"Masse=oui", 1, 2, 7, 3, true},
      {"Masse=2", 1, 2, 7, 3, true},
  };
  for (const Cas &c : cas) {
    // The tested key comes first, so it is the value read.
    ecrit("kvx.CPT", std::string("[Capteurs]\r\nNombre=1\r\n[1]\r\n") + c.ligne +
                         "\r\n0V=2\r\n1V=7\r\nNumero=3\r\nMasse=0\r\n");
    const auto liste = charge("kvx.CPT", ResultatCapteurs::Lu);
    ASSERT_EQ(liste.Nombre(), c.nombre) << c.ligne;
    EXPECT_EQ(liste.Capteur(0).Valeur0V, c.valeur0V) << c.ligne;
    EXPECT_EQ(liste.Capteur(0).Pente, c.pente) << c.ligne;
    EXPECT_EQ(liste.Capteur(0).Numero, c.numero) << c.ligne;
    EXPECT_EQ(liste.Capteur(0).Masse, c.masse) << c.ligne;
  }
}

// A damaged count never invents blank sensors nor hides the ones described,
// which a save would then replace or orphan; the user is told.
TEST_F(FichierCapteurs, TheCountBoundsTheSensorsReadButNeverInventsThem) {
  struct Cas {
    const char *nombre;
    std::size_t lus;
    const char *ecart;  // what the user is told, after the file's name
  } const cas[] = {
      {"2", 2, ""},
      {"4", 4, ""},
      {"0x2", 2, ""},
      {" 2 ", 2, ""},
      {"7", 4, "annonce 7 capteurs mais n'en décrit que 4"},
      {"255", 4, "annonce 255 capteurs mais n'en décrit que 4"},
      {"1000000000", 4, "indique un nombre de capteurs impossible (« 1000000000 ») mais en décrit 4"},
      {"99999999999999999999", 4,
       "indique un nombre de capteurs impossible (« 99999999999999999999 ») mais en décrit 4"},
      {"0", 4, "indique un nombre de capteurs impossible (« 0 ») mais en décrit 4"},
      {"-5", 4, "indique un nombre de capteurs impossible (« -5 ») mais en décrit 4"},
      {"abc", 4, "indique un nombre de capteurs impossible (« abc ») mais en décrit 4"},
      {nullptr, 4, "n'indique pas son nombre de capteurs mais en décrit 4"},
  };
  for (const Cas &c : cas) {
    const std::string compte = c.nombre ? std::string("Nombre=") + c.nombre + "\n" : "";
    ecrit("kvx.CPT", "[Capteurs]\n" + compte + "[1]\nNom=A\n[2]\nNom=B\n[3]\nNom=C\n[4]\nNom=D\n");
    TlisteCapteur liste;
    std::string message;
    EXPECT_EQ(ChargeCapteurs(chemin("kvx.CPT"), liste, &message), ResultatCapteurs::Lu);
    const std::string quoi = c.nombre ? c.nombre : "(none)";
    EXPECT_EQ(liste.Nombre(), c.lus) << quoi;
    EXPECT_EQ(liste.Capteur(0).Nom, "A") << quoi;
    EXPECT_EQ(liste.Capteur(c.lus - 1).Nom, c.lus == 4 ? "D" : "B") << quoi;
    if (*c.ecart == 0)
      EXPECT_EQ(message, "") << quoi;
    else
      EXPECT_NE(message.find(chemin("kvx.CPT").string() + " » " + c.ecart), std::string::npos)
          << message;
  }
  // Sections missing in the middle: only those described, no blank "T".
  ecrit("trous.CPT", "[Capteurs]\nNombre=3\n[1]\nNom=A\n[3]\nNom=C\n[5]\nNom=E\n");
  TlisteCapteur liste;
  std::string message;
  ChargeCapteurs(chemin("trous.CPT"), liste, &message);
  ASSERT_EQ(liste.Nombre(), 2u);
  EXPECT_EQ(liste.Capteur(1).Nom, "C");
  EXPECT_NE(message.find("annonce 3 capteurs mais n'en décrit que 2"), std::string::npos);
  // Saved, the count is the truth again: read back with nothing to tell.
  SauveCapteurs(chemin("trous.CPT"), liste, m_reglages);
  ChargeCapteurs(chemin("trous.CPT"), liste, &message);
  EXPECT_EQ(liste.Nombre(), 2u);
  EXPECT_EQ(message, "");
}

TEST_F(FichierCapteurs, NamesMatchInAnyCaseAndBothEncodingsRead) {
  const std::string corps =
      "[capteurs]\r\nNOMBRE=1\r\n[1]\r\nnom=\xCE\xB8\r\nUNITE=\xC2\xB0"
      "C\r\nsignif=Temp\xC3\xA9rature\r\n";
  ecrit("utf8.CPT", corps);
  ecrit("bom.CPT", "\xEF\xBB\xBF" + corps);
  ecrit("cp1252.CPT",
        "[capteurs]\r\nNOMBRE=1\r\n[1]\r\nnom=T\r\nUNITE=\xB0"
        "C\r\nsignif=Temp\xE9rature\r\n");
  for (const char *nom : {"utf8.CPT", "bom.CPT", "cp1252.CPT"}) {
    const auto liste = charge(nom, ResultatCapteurs::Lu);
    ASSERT_EQ(liste.Nombre(), 1u) << nom;
    EXPECT_EQ(liste.Capteur(0).Nom, std::string(nom) == "cp1252.CPT" ? "T" : "θ") << nom;
    EXPECT_EQ(liste.Capteur(0).Unite, "°C") << nom;
    EXPECT_EQ(liste.Capteur(0).Signif, "Température") << nom;
  }
}

TEST_F(FichierCapteurs, WhatIsNotALibraryGivesOneSensor) {
  std::string binaire;
  for (int i = 0; i < 4096; ++i) binaire += static_cast<char>((i * 131 + 7) % 256);
  ecrit("binaire.CPT", binaire);
  EXPECT_TRUE(EstLeCapteurParDefaut(charge("binaire.CPT", ResultatCapteurs::Lu)));
  ecrit("vide.CPT", "");
  EXPECT_TRUE(EstLeCapteurParDefaut(charge("vide.CPT", ResultatCapteurs::Lu)));
  ecrit("enorme.CPT", "[Capteurs]\r\nNombre=1\r\n" + std::string(2u << 20, 'x'));
  EXPECT_TRUE(EstLeCapteurParDefaut(charge("enorme.CPT", ResultatCapteurs::Illisible)));
  std::filesystem::create_directory(chemin("dossier.CPT"));
  EXPECT_TRUE(EstLeCapteurParDefaut(charge("dossier.CPT", ResultatCapteurs::Illisible)));
  // Never opened, so never waited on.
  ASSERT_EQ(::mkfifo(chemin("tube.CPT").c_str(), 0666), 0);
  EXPECT_TRUE(EstLeCapteurParDefaut(charge("tube.CPT", ResultatCapteurs::Illisible)));
}

// A library the user may not read (mode 0200) is not taken for a missing
// one: the start is told which file and why, in French. Root reads every
// file, so there the check runs in a child that drops to "nobody".
TEST_F(FichierCapteurs, AFileTheUserMayNotReadIsToldWithItsReason) {
  ecrit("kvx.CPT", "[Capteurs]\nNombre=1\n[1]\nNom=P\n");
  ASSERT_EQ(::chmod(chemin("kvx.CPT").c_str(), 0200), 0);
  ASSERT_EQ(::chmod(m_dossier.c_str(), 0755), 0);
  const auto essai = [this] {
    TlisteCapteur liste;
    std::string message;
    const ResultatCapteurs r = ChargeCapteurs(chemin("kvx.CPT"), liste, &message);
    return r == ResultatCapteurs::Illisible && EstLeCapteurParDefaut(liste) &&
           message.find("Lecture impossible du fichier « " + chemin("kvx.CPT").string() +
                        " » : accès refusé") != std::string::npos &&
           message.find("par défaut") != std::string::npos;
  };
  if (::geteuid() != 0) {
    EXPECT_TRUE(essai());
    return;
  }
  const pid_t enfant = ::fork();
  ASSERT_GE(enfant, 0);
  if (enfant == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    ::_exit(essai() ? 0 : 1);
  }
  int statut = 0;
  ASSERT_EQ(::waitpid(enfant, &statut, 0), enfant);
  ASSERT_TRUE(WIFEXITED(statut));
  if (WEXITSTATUS(statut) == 2) GTEST_SKIP() << "root cannot drop its rights here";
  EXPECT_EQ(WEXITSTATUS(statut), 0);
}

TEST_F(FichierCapteurs, SavingKeepsWhatTheFileHeldBeyondTheLibrary) {
  ecrit("kvx.CPT",
        "[Autre]\r\nx=1\r\n[Capteurs]\r\nNombre=3\r\nVersion=2\r\n"
        "[1]\r\nNom=A\r\nCouleur=rouge\r\n[2]\r\nNom=B\r\n[3]\r\nNom=C\r\n");
  TlisteCapteur liste;
  liste.Ajoute(TCapteur());
  SauveCapteurs(chemin("kvx.CPT"), liste, m_reglages);
  const std::string octets = lit("kvx.CPT");
  EXPECT_EQ(octets.rfind("[Autre]\r\nx=1\r\n\r\n[Capteurs]\r\nNombre=1\r\nVersion=2\r\n\r\n", 0),
            0u);
  EXPECT_NE(octets.find("[1]\r\nNom=T\r\nCouleur=rouge\r\nEtalonnage=0"), std::string::npos);
  // Older sensors beyond the count stay in the file but are not read.
  EXPECT_NE(octets.find("[3]\r\nNom=C\r\n"), std::string::npos);
  EXPECT_TRUE(EstLeCapteurParDefaut(charge("kvx.CPT", ResultatCapteurs::Lu)));
}

TEST_F(FichierCapteurs, AFailedSaveLeavesTheOldFileWhole) {
  ecrit("kvx.CPT", kBibliothequeParDefaut);
  ::chmod(chemin("kvx.CPT").c_str(), 0444);
  TlisteCapteur liste;
  liste.Ajoute(Manometre());
  EXPECT_THROW(SauveCapteurs(chemin("kvx.CPT"), liste, m_reglages), FileError);
  EXPECT_EQ(lit("kvx.CPT"), kBibliothequeParDefaut);
  EXPECT_FALSE(m_reglages.value(reglages::kGroupeCapteurs, reglages::kCleFichier));
  EXPECT_THROW(SauveCapteurs(chemin("absent/kvx.CPT"), liste, m_reglages), FileError);
}

TEST_F(FichierCapteurs, ASettingThatCannotBeSavedIsReportedAfterTheFile) {
  struct ReglagesEnPanne : MemorySettingsStore {
    bool flush() override { return false; }
  } reglages;
  TlisteCapteur liste;
  liste.Ajoute(TCapteur());
  EXPECT_THROW(SauveCapteurs(chemin("kvx.CPT"), liste, reglages), FileError);
  EXPECT_EQ(lit("kvx.CPT"), kBibliothequeParDefaut);
}

}  // namespace
}  // namespace kvx::exchange
