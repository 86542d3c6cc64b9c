// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/emplacement_capteurs.h"

#include <gtest/gtest.h>

#include <string>

#include "dossier_temporaire.h"

namespace kvx::exchange {
namespace {

TEST(NomFichierCapteurs, IsTheProgramPathWithItsExtensionReplaced) {
  struct Cas {
    const char *programme;
    const char *bibliotheque;
  } const cas[] = {
      {"/opt/kvx/kvx", "/opt/kvx/kvx.CPT"},
      {"/usr/local/bin/kvx", "/usr/local/bin/kvx.CPT"},
      {"C:\\X\\prog.exe", "C:\\X\\prog.CPT"},
      {"/home/eleve/KVX.EXE", "/home/eleve/KVX.CPT"},
      {"/home/eleve/v1.2/kvx", "/home/eleve/v1.2/kvx.CPT"},
      {"/home/eleve/.kvx", "/home/eleve/.kvx.CPT"},
      {"kvx.bin.old", "kvx.bin.CPT"},
      {"kvx", "kvx.CPT"},
  };
  for (const Cas &c : cas) EXPECT_EQ(NomFichierCapteurs(c.programme).string(), c.bibliotheque);
}

TEST(ChoisitEmplacementCapteurs, BesideTheProgramWhenWritableElseACopyInTheDataFolder) {
  const std::filesystem::path pres = "/opt/kvx/kvx.CPT";
  const std::filesystem::path donnees = "/home/eleve/.local/share/KVX/Tabulyse/kvx.CPT";
  struct Cas {
    bool inscriptible, copieExiste;
    std::filesystem::path fichier;
    bool copier;
  } const cas[] = {
      {true, false, pres, false},
      {true, true, pres, false},
      {false, false, donnees, true},
      {false, true, donnees, false},
  };
  for (const Cas &c : cas) {
    const auto e = ChoisitEmplacementCapteurs(c.inscriptible, pres, donnees, c.copieExiste);
    EXPECT_EQ(e.fichier, c.fichier);
    EXPECT_EQ(e.copier, c.copier);
    if (c.copier) {
      EXPECT_EQ(e.source, pres);
    }
  }
}

class OuvreCapteursTest : public test::DossierTemporaire {
 protected:
  void SetUp() override {
    DossierTemporaire::SetUp();
    std::filesystem::create_directory(chemin("programme"));
    std::filesystem::create_directory(chemin("donnees"));
  }
  std::string premierNom(const EmplacementCapteurs &e, ResultatCapteurs attendu) {
    model::TlisteCapteur liste;
    EXPECT_EQ(OuvreCapteurs(e, liste), attendu);
    return liste.Capteur(0).Nom;
  }
  EmplacementCapteurs copie(const std::string &cible) const {
    return {chemin(cible), chemin("programme/kvx.CPT"), true};
  }
  const std::string livree = "[Capteurs]\r\nNombre=1\r\n[1]\r\nNom=Livré\r\n";
};

TEST_F(OuvreCapteursTest, TheFirstUseCopiesTheShippedLibrary) {
  ecrit("programme/kvx.CPT", livree);
  EXPECT_EQ(premierNom(copie("donnees/kvx.CPT"), ResultatCapteurs::Lu), "Livré");
  EXPECT_EQ(lit("donnees/kvx.CPT"), livree);
}

TEST_F(OuvreCapteursTest, TheUsersCopyIsLoadedWithoutCopying) {
  ecrit("programme/kvx.CPT", livree);
  ecrit("donnees/kvx.CPT", "[Capteurs]\r\nNombre=1\r\n[1]\r\nNom=Mien\r\n");
  const EmplacementCapteurs e{chemin("donnees/kvx.CPT"), chemin("programme/kvx.CPT"), false};
  EXPECT_EQ(premierNom(e, ResultatCapteurs::Lu), "Mien");
  EXPECT_EQ(premierNom({chemin("programme/kvx.CPT"), {}, false}, ResultatCapteurs::Lu), "Livré");
}

TEST_F(OuvreCapteursTest, WhenTheCopyFailsTheShippedSensorsStillServe) {
  ecrit("programme/kvx.CPT", livree);
  EXPECT_EQ(premierNom(copie("manquant/kvx.CPT"), ResultatCapteurs::Lu), "Livré");
  EXPECT_FALSE(std::filesystem::exists(chemin("manquant")));
}

TEST_F(OuvreCapteursTest, WithNothingShippedThereIsOneSensorAndNoCopy) {
  EXPECT_EQ(premierNom(copie("donnees/kvx.CPT"), ResultatCapteurs::Absent), "T");
  EXPECT_FALSE(std::filesystem::exists(chemin("donnees/kvx.CPT")));
}

}  // namespace
}  // namespace kvx::exchange
