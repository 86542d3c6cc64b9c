// SPDX-License-Identifier: GPL-3.0-or-later
// The closing sequence of the real window against a box on an in-process
// port: the box is stopped before the settings are written, and the files
// of a close are all there.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "device/box_link.h"
#include "device/clock.h"
#include "device/scripted_peer.h"
#include "device/simulated_port.h"
#include "display/graphe.h"
#include "dossier_utilisateur.h"
#include "platform/qsettings_store.h"
#include "ui/configuration_fenetre.h"
#include "ui/demarrage.h"
#include "ui/kvxmain.h"
#include "ui/panel_courbe.h"
#include "ui/session.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

using test::UtilisateurTemporaire;

// Notes what the link had sent when the settings reached their file.
class StoreTemoin : public platform::QSettingsStore {
 public:
  StoreTemoin(const QString &fichier, std::function<std::string()> envoye)
      : QSettingsStore(fichier), m_envoye(std::move(envoye)) {}
  bool flush() override {
    envoyeAvant = m_envoye();
    return QSettingsStore::flush();
  }
  std::string envoyeAvant;

 private:
  std::function<std::string()> m_envoye;
};

class FermetureTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    m_boitier.answer("XERR", "NUVEX KVX V2\r");
    m_table.addPeer(m_boitier);
    TKVXmainForm::Options o;
    o.ports = &m_table;
    o.imageVeltor.ownPort = 1;  // the simulated box of the test
    o.horloge = &m_horloge;
    o.lien.traceFiles = false;
    m_form = std::make_unique<TKVXmainForm>(o);
    auto store = std::make_unique<StoreTemoin>(m_utilisateur.chemin(".config/KVX.conf"), [this] {
      return m_form->lien().trace().traceText();
    });
    m_store = store.get();
    m_session = std::make_unique<TSession>(
        std::move(store),
        TSession::Chemins{platform::DossiersUtilisateur(), platform::DossiersBureauUtilisateur(),
                          QStringLiteral("/usr/bin/kvx")});
    m_configuration = std::make_unique<TConfigurationFenetre>(*m_form, Maintenant());
    m_session->FixeObjets(m_configuration.get());
    RelieSession(*m_form, *m_session, nullptr, nullptr);
    m_form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    QTRY_VERIFY_WITH_TIMEOUT(m_form->lien().BoxPresent(), 2000);
  }

  UtilisateurTemporaire m_utilisateur;
  device::ManualClock m_horloge;
  device::SimulatedPortTable m_table{m_horloge};
  device::ScriptedPeer m_boitier;
  std::unique_ptr<TKVXmainForm> m_form;
  StoreTemoin *m_store = nullptr;
  std::unique_ptr<TSession> m_session;
  std::unique_ptr<TConfigurationFenetre> m_configuration;
};

TEST_F(FermetureTest, TimedModeStopsTheBoxBeforeTheSettingsAreWritten) {
  ASSERT_EQ(m_form->graphe().Mode, display::kModeTemps);
  m_form->close();
  ASSERT_TRUE(m_session->fermee());
  EXPECT_NE(m_store->envoyeAvant.find("XPEA0 0,1"), std::string::npos) << m_store->envoyeAvant;
  const QByteArray reglages = UtilisateurTemporaire::Lit(m_utilisateur.chemin(".config/KVX.conf"));
  EXPECT_TRUE(reglages.contains("[COM]\nDevice=sim1\nNum=1\n") || reglages.contains("Num=1\n"))
      << reglages.constData();
  const QByteArray derniere =
      UtilisateurTemporaire::Lit(m_utilisateur.chemin("Documents/Tabulyse/KVX.KVX"));
  for (const char *section :
       {"[Constante]", "[Affichage]", "[Acquisition]", "[Balayage]", "[Synchro]", "[Point]", "[EB]",
        "[Veltor]", "[SA]", "[Clavier]", "[V1]", "[V2]", "[V3]", "[V4]"})
    EXPECT_TRUE(derniere.contains(section)) << section;
  EXPECT_TRUE(derniere.contains("Mode=1\r\n"));
}

TEST_F(FermetureTest, OpticalForkModeResetsTheBox) {
  m_form->graphe().Mode = display::kModeVeltor;
  m_form->close();
  EXPECT_NE(m_store->envoyeAvant.find("XRESET"), std::string::npos);
  EXPECT_EQ(m_store->envoyeAvant.find("XPEA0 0,1"), std::string::npos);
}

// "Abandon" ends the application's event loops for good, so it runs in a
// test program of its own, started by the test below.
TEST_F(FermetureTest, EscapeInAChildProgram) {
  if (!qEnvironmentVariableIsSet("KVX_TEST_ABANDON")) GTEST_SKIP() << "run by the test below";
  QTimer::singleShot(0, m_form->PanelCourbe->EscapeBtn, &QPushButton::click);
  QEventLoop boucle;
  QTimer::singleShot(2000, &boucle, [&] { boucle.exit(1); });
  EXPECT_EQ(boucle.exec(), 0);
  EXPECT_FALSE(m_session->fermee());
  EXPECT_FALSE(QFileInfo::exists(m_utilisateur.chemin(".config/KVX.conf")));
  EXPECT_FALSE(QFileInfo::exists(m_utilisateur.chemin("Documents/Tabulyse/KVX.KVX")));
}

TEST(Abandon, EscapeEndsWithoutTheClosingSequence) {
  QProcess enfant;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("KVX_TEST_ABANDON"), QStringLiteral("1"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  enfant.setProcessEnvironment(env);
  enfant.setProcessChannelMode(QProcess::MergedChannels);
  enfant.start(QStringLiteral(KVX_BIN_DIR "/test_ui"),
               {QStringLiteral("--gtest_filter=FermetureTest.EscapeInAChildProgram")});
  ASSERT_TRUE(enfant.waitForFinished(20000));
  const QByteArray sortie = enfant.readAll();
  EXPECT_EQ(enfant.exitCode(), 0) << sortie.constData();
  EXPECT_TRUE(sortie.contains("[  PASSED  ] 1 test")) << sortie.constData();
}

}  // namespace
}  // namespace kvx::ui
