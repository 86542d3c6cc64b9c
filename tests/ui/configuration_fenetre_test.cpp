// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/configuration_fenetre.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QToolButton>

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "dossier_utilisateur.h"
#include "exchange/atomic_file.h"
#include "model/masse.h"
#include "ui/kvxmain.h"
#include "ui/panel_mode.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

using test::UtilisateurTemporaire;

class ConfigurationFenetreTest : public testing::Test {
 protected:
  ConfigurationFenetreTest() {
    test::Application();
    m_fenetre = std::make_unique<TKVXmainForm>(TKVXmainForm::Options{});
    m_objets = std::make_unique<TConfigurationFenetre>(*m_fenetre, kDemarrage);
  }
  ~ConfigurationFenetreTest() override { model::FixeMasse(model::kMasseDefaut); }

  display::TgrapheKVX &g() { return m_fenetre->graphe(); }
  std::string Fichier(const char *nom) const {
    return m_utilisateur.chemin(QString::fromLatin1(nom)).toStdString();
  }

  static constexpr exchange::IniDateTime kDemarrage{2024, 9, 2, 8, 0, 0};
  UtilisateurTemporaire m_utilisateur;
  std::unique_ptr<TKVXmainForm> m_fenetre;
  std::unique_ptr<TConfigurationFenetre> m_objets;
};

TEST_F(ConfigurationFenetreTest, EveryWindowAndGraphSettingComesBack) {
  m_objets->page() = {"g", "m/s²", "chute libre", {2024, 9, 3, 10, 11, 12}};
  g().Abscisse = 1;
  g().Ligne = false;
  g().Points = true;
  g().Mode = display::kModePointParPoint;
  g().temps().FixeMaxi(2.5);
  g().AxeY = false;
  g().Grille = true;
  g().AnalLog = true;
  g().DimPoint = 5;
  g().ModeSynchro = display::kSynchroSeuil;
  g().Seuil = 200;
  g().Bouge = 7;
  g().VoieSynchro = 6;
  m_fenetre->moteur().setMonocoup(false);
  m_fenetre->moteur().FixeEntreeFront(1);
  m_fenetre->PanelMode->PointAutoCB->setChecked(false);
  model::FixeMasse(false);
  g().voie(6).Active = true;
  g().voie(6).Signif = "tension du condensateur";
  exchange::EcritConfiguration(Fichier("tp"), *m_objets);

  TKVXmainForm autre{TKVXmainForm::Options{}};
  TConfigurationFenetre lu(autre, kDemarrage);
  model::FixeMasse(true);
  ASSERT_EQ(exchange::LitConfiguration(Fichier("tp.KVX"), lu, kDemarrage),
            exchange::ResultatLecture::Lu);
  const display::TgrapheKVX &h = autre.graphe();
  EXPECT_EQ(lu.page().constanteNom, "g");
  EXPECT_EQ(lu.page().constanteUnite, "m/s²");
  EXPECT_EQ(lu.page().constanteComm, "chute libre");
  EXPECT_EQ(lu.page().debutAcq, (exchange::IniDateTime{2024, 9, 3, 10, 11, 12}));
  EXPECT_EQ(h.Abscisse, 1);
  EXPECT_FALSE(h.Ligne);
  EXPECT_TRUE(h.Points);
  EXPECT_EQ(h.Mode, display::kModePointParPoint);
  EXPECT_DOUBLE_EQ(autre.graphe().temps().Maxi, 2.5);
  EXPECT_FALSE(h.AxeY);
  EXPECT_TRUE(h.Grille);
  EXPECT_TRUE(h.AnalLog);
  EXPECT_EQ(h.DimPoint, 5);
  EXPECT_EQ(h.ModeSynchro, display::kSynchroSeuil);
  EXPECT_EQ(h.Seuil, 200);
  EXPECT_EQ(h.Bouge, 7);
  EXPECT_EQ(h.VoieSynchro, 6);
  EXPECT_FALSE(autre.moteur().monocoup());
  EXPECT_FALSE(autre.PanelMode->MonocoupCB->isChecked());
  EXPECT_EQ(autre.moteur().EntreeFront(), 1);
  EXPECT_FALSE(autre.PanelMode->PointAutoCB->isChecked());
  EXPECT_FALSE(model::Masse());
  EXPECT_EQ(h.voie(6).Signif, "tension du condensateur");
  EXPECT_EQ(h.nbPoints, 0);
  EXPECT_FALSE(autre.RegSaveBtn->isEnabled());
}

TEST_F(ConfigurationFenetreTest, PointCountFollowsTheGraphsLimits) {
  for (int slot = 5; slot <= 8; ++slot) g().voie(slot).Active = slot == 5;
  UtilisateurTemporaire::Ecrit(m_utilisateur.chemin("n.KVX"),
                               "[Balayage]\r\nNombre=100000\r\n[V1]\r\nActive=1\r\n");
  exchange::LitConfiguration(Fichier("n"), *m_objets, kDemarrage);
  EXPECT_EQ(g().nombre, 6400);
  UtilisateurTemporaire::Ecrit(m_utilisateur.chemin("n.KVX"),
                               "[Balayage]\r\nNombre=3\r\n[V1]\r\nActive=1\r\n");
  exchange::LitConfiguration(Fichier("n"), *m_objets, kDemarrage);
  EXPECT_EQ(g().nombre, 8);
  // A one-input scan of 6400 points opened while two inputs are in use: the
  // count follows the file's inputs, not those on screen before.
  for (int slot = 5; slot <= 8; ++slot) g().voie(slot).Active = slot <= 6;
  g().FixeNombre(3200);
  UtilisateurTemporaire::Ecrit(m_utilisateur.chemin("n.KVX"),
                               "[Balayage]\r\nNombre=6400\r\n[V1]\r\nActive=1\r\n"
                               "[V2]\r\nActive=0\r\n");
  exchange::LitConfiguration(Fichier("n"), *m_objets, kDemarrage);
  EXPECT_EQ(g().nombre, 6400);
}

TEST_F(ConfigurationFenetreTest, BoxInputKeepsItsRangeKeyboardEntryTakesTheFile) {
  UtilisateurTemporaire::Ecrit(m_utilisateur.chemin("r.KVX"),
                               "[Acquisition]\r\nMasse=1\r\n"
                               "[V1]\r\nNumeroNuvex=0\r\nMini=-40\r\nMaxi=40\r\n"
                               "[Clavier]\r\nNumeroNuvex=-2\r\nMini=-40\r\nMaxi=40\r\n");
  exchange::LitConfiguration(Fichier("r"), *m_objets, kDemarrage);
  EXPECT_DOUBLE_EQ(g().voie(5).Mini, -2.5);
  EXPECT_DOUBLE_EQ(g().voie(5).Maxi, 2.5);
  EXPECT_DOUBLE_EQ(g().voie(3).Mini, -40);
  EXPECT_DOUBLE_EQ(g().voie(3).Maxi, 40);
}

TEST_F(ConfigurationFenetreTest, SavingWithoutCalibrationResetsItInMemoryToo) {
  g().voie(5).Capteur = false;
  g().voie(5).Offset = 3;
  g().voie(5).UnVolt = 9;
  exchange::EcritConfiguration(Fichier("c"), *m_objets);
  EXPECT_EQ(g().voie(5).Offset, 0);
  EXPECT_EQ(g().voie(5).UnVolt, 1);
  const std::string texte = exchange::readWholeFile(Fichier("c.KVX"), 1 << 20);
  EXPECT_NE(texte.find("[V1]\r\nNom=V1\r\nUnite=V\r\n"), std::string::npos) << texte;
  EXPECT_NE(texte.find("Offset=0\r\nUnVolt=1\r\n"), std::string::npos) << texte;
}

}  // namespace
}  // namespace kvx::ui
