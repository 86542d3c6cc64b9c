// SPDX-License-Identifier: GPL-3.0-or-later
// The recorder of kvx-record, on the simulated box without a port: what it
// writes and when, and how a run ends.
#include "device/enregistreur.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/simulated_box.h"
#include "device/simulated_port.h"

namespace kvx::device {
namespace {

// A timed scan of V1 and V2 against time, 50 points over 0.1 s, started by
// the key (so at once), or point by point with V1 moving.
std::string Configuration(int mode) {
  return "[Constante]\r\nComm=essai\r\n[Affichage]\r\nAbscisse=1\r\n[Acquisition]\r\nMode=" +
         std::to_string(mode) +
         "\r\n[Balayage]\r\nDur\xE9"
         "e=100\r\nNombre=50\r\n[Synchro]\r\nMode=2\r\n"
         "[V1]\r\nActive=1\r\nNumeroNuvex=0\r\n[V2]\r\nActive=1\r\nNumeroNuvex=1\r\n";
}

class Enregistrement : public ::testing::Test {
 protected:
  void SetUp() override {
    char modele[] = "/tmp/kvx-enregistreur-XXXXXX";
    ASSERT_NE(::mkdtemp(modele), nullptr);
    m_dossier = modele;
    SignalSpec sinus;
    sinus.kind = SignalSpec::Kind::Sine;
    sinus.amplitude = 80;
    sinus.offset = 128;
    sinus.frequency = 2;
    m_boitier.setSignal(0, sinus);
    m_table.addPeer(m_boitier);
  }
  void TearDown() override { std::filesystem::remove_all(m_dossier); }

  ResultatEnregistrement Lance(int mode, double duree, int echecApres = 1 << 30) {
    const std::string config = (m_dossier / "essai.KVX").string();
    std::ofstream(config, std::ios::binary) << Configuration(mode);
    Enregistreur enregistreur(
        m_table,
        [this, echecApres](const std::string &, const exchange::DonneesTransfert &table) {
          m_ecrits.push_back(table.nbPoints);
          if (static_cast<int>(m_ecrits.size()) > echecApres)
            return exchange::ResultatSauvegarde{false, "plus de place sur le disque"};
          return exchange::ResultatSauvegarde{true, {}};
        },
        [this](const std::string &ligne) { m_journal.push_back(ligne); },
        [this] { return m_interrompre; });
    DemandeEnregistrement demande;
    demande.configuration = config;
    demande.sortie = (m_dossier / "mesures.txt").string();
    demande.duree = duree;
    return enregistreur.Enregistre(demande);
  }
  bool Journal(const std::string &ligne) const {
    for (const std::string &l : m_journal)
      if (l.find(ligne) != std::string::npos) return true;
    return false;
  }

  std::filesystem::path m_dossier;
  SimulatedBox m_boitier{SteadyClock::instance().now()};
  SimulatedPortTable m_table{SteadyClock::instance()};
  std::vector<int> m_ecrits;  // the points of each table written
  std::vector<std::string> m_journal;
  bool m_interrompre = false;
};

TEST_F(Enregistrement, AScanIsWrittenOnceWhole) {
  const ResultatEnregistrement r = Lance(1, std::nan(""));
  EXPECT_EQ(r.statut, 0) << r.message;
  EXPECT_EQ(m_ecrits, std::vector<int>{50});
  EXPECT_TRUE(Journal("Acquisition terminée"));
  EXPECT_TRUE(Journal("50 points written to "));
}

// The rows of a long run reach the file as they come; a save that fails
// half-way ends the run with the reason, the earlier rows kept.
TEST_F(Enregistrement, PointByPointSavesAsItGoesAndStopsOnAFailedSave) {
  ResultatEnregistrement r = Lance(2, 2.5);
  EXPECT_EQ(r.statut, 0) << r.message;
  ASSERT_GE(m_ecrits.size(), 3u);
  for (std::size_t i = 1; i < m_ecrits.size(); ++i) EXPECT_GT(m_ecrits[i], m_ecrits[i - 1]);
  m_ecrits.clear();
  r = Lance(2, 30, 1);
  EXPECT_EQ(r.statut, 1);
  EXPECT_EQ(m_ecrits.size(), 2u);
  EXPECT_NE(r.message.find("plus de place sur le disque ; les points enregistrés jusque-là "
                           "restent dans le fichier"),
            std::string::npos)
      << r.message;
}

// Ctrl+C during a scan: nothing written, and no "Acquisition terminée" for
// a scan that did not end.
TEST_F(Enregistrement, AnInterruptedScanWritesNothing) {
  m_interrompre = true;
  const ResultatEnregistrement r = Lance(1, std::nan(""));
  EXPECT_EQ(r.statut, 130);
  EXPECT_TRUE(m_ecrits.empty());
  EXPECT_FALSE(Journal("Acquisition terminée"));
  EXPECT_TRUE(Journal("interrupted, no file written"));
}

}  // namespace
}  // namespace kvx::device
