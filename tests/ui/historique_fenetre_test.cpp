// SPDX-License-Identifier: GPL-3.0-or-later
// The recording history through the window and the simulated box: each
// action that used to erase a recording keeps it, and "Acquisitions récentes"
// brings it back with the very table it had.
#include "ui/historique_fenetre.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "device/acquisition_engine.h"
#include "device/simulated_box.h"
#include "device/simulated_port.h"
#include "device/veltor_fork.h"
#include "display/graphe.h"
#include "dossier_utilisateur.h"
#include "exchange/settings_store.h"
#include "exchange/transfert.h"
#include "model/liste_capteurs.h"
#include "outils_dialogue.h"
#include "platform/signaux_fermeture.h"
#include "ui/capteurs_fenetre.h"
#include "ui/configuration_fenetre.h"
#include "ui/demarrage.h"
#include "ui/dialogues_fenetre.h"
#include "ui/kvxmain.h"
#include "ui/modedlg.h"
#include "ui/nuvexkvx.h"
#include "ui/panel_mode.h"
#include "ui/session.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

namespace fs = std::filesystem;
using test::AttendQue;
using test::UtilisateurTemporaire;

// The table the data commands send, as the transfer window builds it.
std::string Tableau(TKVXmainForm &form, TConfigurationFenetre &configuration) {
  display::TgrapheKVX &g = form.graphe();
  exchange::DonneesTransfert d;
  d.mode = g.Mode;
  for (int slot = 1; slot <= 9; ++slot) d.voies[static_cast<std::size_t>(slot)] = &g.voie(slot);
  d.nbPoints = g.nbPoints;
  d.abscisse = g.abscisse();
  d.ligne = g.Ligne;
  d.points = g.Points;
  d.commentaire = configuration.page().constanteComm;
  d.cheminProgramme = "/usr/bin/kvx";
  if (g.Mode == display::kModePointParPoint) exchange::NumerotePoints(g.temps().valeurs);
  return exchange::TexteTransfert(d);
}

// A window on the simulated box with the program's own wiring: the session,
// the settings dialogs, the channel dialog and the history.
class Fenetre {
  // Before the window, which talks to them until it goes.
  device::SimulatedBox m_boitier{std::chrono::steady_clock::now()};
  device::SimulatedPortTable m_table{device::SteadyClock::instance()};
  model::TlisteCapteur m_capteurs;

 public:
  explicit Fenetre(const QString &dossier, platform::SignauxFermeture *signaux = nullptr) {
    // The optical fork plugged in, so its mode can be entered.
    m_boitier.setAccessory(std::make_unique<device::SimulatedFork>(
        device::ForkSpec{}, std::chrono::steady_clock::now()));
    m_table.addPeer(m_boitier);
    TKVXmainForm::Options o;
    o.ports = &m_table;
    o.lien.traceFolder = QDir::tempPath().toStdString();
    o.imageVeltor.ownPort = 1;  // the simulated box of the test
    form = std::make_unique<TKVXmainForm>(o);
    session = std::make_unique<TSession>(
        std::make_unique<exchange::MemorySettingsStore>(),
        TSession::Chemins{platform::DossiersUtilisateur(), platform::DossiersBureauUtilisateur(),
                          QStringLiteral("/usr/bin/kvx")});
    configuration = std::make_unique<TConfigurationFenetre>(*form, Maintenant());
    session->FixeObjets(configuration.get());
    RelieSession(*form, *session, nullptr, signaux);
    RelieDialogues(*form);
    RelieCapteurs(*form, m_capteurs, [] {});
    historique = RelieHistorique(*form, *configuration, dossier);
    historique->FixeMessage([this](const QString &m) { messages << m; });
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_TRUE(AttendQue([&] { return form->lien().BoxPresent(); }));
  }
  ~Fenetre() { TermineModaux(); }

  device::AcquisitionEngine &moteur() { return form->moteur(); }
  display::TgrapheKVX &graphe() { return form->graphe(); }
  std::string tableau() { return Tableau(*form, *configuration); }

  // As the mode dialog does: the points of the old mode are dropped.
  void Mode(int mode) {
    moteur().HaltAcquisition();
    graphe().Mode = static_cast<std::uint8_t>(mode);
    graphe().nbPoints = 0;
    // Point by point plots V2 against V1: both on, so nothing is asked.
    if (mode == display::kModePointParPoint)
      graphe().voie(5).Active = graphe().voie(6).Active = true;
    moteur().ApplyConfiguration();
  }
  // A timed scan of V1 and V2 started with the space bar, to its end.
  void Balayage() {
    QTest::keyClick(form->PanelMode->NbreEdit, Qt::Key_Space);
    ASSERT_EQ(moteur().state(), device::AcqState::Acquiring);
    ASSERT_TRUE(AttendQue([&] { return moteur().state() != device::AcqState::Acquiring; }, 10000));
    ASSERT_EQ(graphe().nbPoints, 128);
  }
  // Five points by hand, a little apart so the signals move.
  void PointParPoint() {
    Mode(display::kModePointParPoint);
    for (int i = 0; i < 5; ++i) {
      QTest::qWait(120);
      form->EnregistreBtn->click();
    }
    ASSERT_EQ(graphe().nbPoints, 5);
  }
  // What "Acquisitions récentes" shows, newest first.
  QList<QAction *> Elements() {
    historique->RemplitMenu();
    QList<QAction *> liste;
    for (QAction *a : historique->menu()->actions())
      if (a->data().isValid()) liste << a;
    return liste;
  }
  // The newest entry chosen in the menu, once the history has written it.
  void RappelleDerniere() {
    ASSERT_TRUE(historique->Attend(5000));
    const auto elements = Elements();
    ASSERT_FALSE(elements.isEmpty());
    elements.front()->trigger();
  }

  QStringList messages;
  std::unique_ptr<TKVXmainForm> form;
  std::unique_ptr<TSession> session;
  std::unique_ptr<TConfigurationFenetre> configuration;
  THistoriqueFenetre *historique = nullptr;
};

class HistoriqueFenetreTest : public testing::Test, test::AvecApplication {
 protected:
  QString Dossier() const { return m_utilisateur.chemin(QStringLiteral("historique")); }
  std::size_t Entrees() const {
    std::size_t n = 0;
    std::error_code e;
    for (const auto &f : fs::directory_iterator(Dossier().toStdString(), e))
      n += exchange::EstNomEntree(f.path().filename().string());
    return n;
  }

  UtilisateurTemporaire m_utilisateur;
};

// The channel dialog of V1, with `action` run in it.
void DialogueV1(Fenetre &f, std::function<void(TNuvexKvxDlg *)> action) {
  test::QuandOuvert<TNuvexKvxDlg>(f.form.get(), std::move(action));
  QTest::mouseClick(f.form->findChild<QGroupBox *>(QStringLiteral("GroupBox5")), Qt::LeftButton, {},
                    QPoint(5, 5));
}

// Each action that clears the graph, on a recording of the simulated box;
// then the menu brings the recording back with the table it had.
TEST_F(HistoriqueFenetreTest, EveryActionThatClearsARecordingLetsItComeBackAsItWas) {
  struct Cas {
    const char *nom;
    bool balayage;  // a timed scan, else points recorded by hand
    std::function<void(Fenetre &)> action;
  };
  const QString configuration = m_utilisateur.chemin(QStringLiteral("autre.KVX"));
  const Cas cas[] = {
      {"a new duration typed after a scan", true,
       [](Fenetre &f) {
         QLineEdit *duree = f.form->PanelMode->DureeEdit;
         duree->setFocus();
         duree->selectAll();
         QTest::keyClicks(duree, QStringLiteral("2 s"));
         QTest::keyClick(duree, Qt::Key_Return);
       }},
      {"another mode chosen", true,
       [](Fenetre &f) {
         test::QuandOuvert<TmodeAcqDlg>(f.form.get(), [](TmodeAcqDlg *d) {
           d->ModeRG->bouton(display::kModePointParPoint)->click();
           test::Clique(d, "OKBtn");
         });
         QTest::mouseClick(f.form->PanelMode->ModeGB, Qt::LeftButton, {}, QPoint(5, 5));
       }},
      {"a channel's dialog closed with a change", false,
       [](Fenetre &f) {
         DialogueV1(f, [](TNuvexKvxDlg *d) {
           // Another input: the points taken on the first mean nothing now.
           const int autre = d->EntreeCB->currentIndex() == 3 ? 2 : 3;
           d->EntreeCB->setCurrentIndex(autre);
           emit d->EntreeCB->activated(autre);  // as the user's choice
           test::Clique(d, "OKBtn");
         });
       }},
      {"Escape in a channel's dialog", true,
       [](Fenetre &f) {
         // V1 was on the horizontal axis: "Activer la voie : V1" is answered No.
         test::QuandOuvert<QMessageBox>(
             f.form.get(), [](QMessageBox *m) { m->button(QMessageBox::No)->click(); });
         DialogueV1(f, [](TNuvexKvxDlg *d) { QTest::keyClick(d, Qt::Key_Escape); });
       }},
      {"RàZ", false,
       [](Fenetre &f) {
         test::QuandOuvert<QMessageBox>(
             f.form.get(), [](QMessageBox *m) { m->button(QMessageBox::Yes)->click(); });
         f.form->ResetBtn->click();
       }},
      {"a configuration opened", false,
       [configuration](Fenetre &f) {
         f.session->OuvreConfiguration([configuration] { return configuration; });
       }},
      {"a configuration handed over by another start", false,
       [configuration](Fenetre &f) {
         f.session->RecoitDemande(configuration);
         ASSERT_TRUE(AttendQue([&] { return f.graphe().nbPoints == 0; }));
       }},
  };
  for (const Cas &c : cas) {
    SCOPED_TRACE(c.nom);
    ReprendModaux();  // the window before ended its dialogs as it went
    Fenetre f(Dossier());
    // A configuration of another lab, to open over the recording.
    ASSERT_TRUE(f.session->Sauve(configuration).isEmpty());
    if (c.balayage)
      f.Balayage();
    else
      f.PointParPoint();
    if (HasFatalFailure()) return;
    const int mode = f.graphe().Mode;
    const std::string avant = f.tableau();
    const std::size_t entrees = Entrees();
    c.action(f);
    ASSERT_EQ(f.graphe().nbPoints, 0) << "the action cleared the graph";
    f.RappelleDerniere();
    EXPECT_EQ(f.graphe().Mode, mode);
    EXPECT_EQ(f.tableau(), avant);
    EXPECT_TRUE(f.form->RegSaveBtn->isEnabled());
    EXPECT_TRUE(f.form->Statut(0).startsWith(QStringLiteral("Acquisition du ")))
        << f.form->Statut(0).toStdString();
    EXPECT_TRUE(f.messages.isEmpty());
    // Kept once, whatever number of moments saw it.
    EXPECT_LE(Entrees(), entrees + 1);
  }
}

// A fork run comes back with its events: positions, times and counts.
TEST_F(HistoriqueFenetreTest, AForkRunComesBackWithItsEvents) {
  Fenetre f(Dossier());
  f.Mode(display::kModeVeltor);
  ASSERT_EQ(f.graphe().Mode, display::kModeVeltor);
  display::TgrapheKVX &g = f.graphe();
  model::Tveltor &fourche = g.veltor();
  const int n = 40;
  for (int i = 0; i < n; ++i) {
    fourche.comptes[static_cast<std::size_t>(i)] = i * i / 7 - 3;
    g.temps().valeurs[static_cast<std::size_t>(i)] = i * 0.0123 + 1e-7 * i * i;
  }
  fourche.origineTemps = 123456789;
  fourche.nbEvenements = n;
  fourche.CalculePositions();
  g.temps().FixeMaxi(g.temps().valeurs[n - 1]);
  g.nbPoints = n;
  const std::string avant = f.tableau();
  const double mini = fourche.Mini, maxi = fourche.Maxi;
  f.historique->Garde();
  f.Mode(display::kModePointParPoint);
  f.RappelleDerniere();
  EXPECT_EQ(g.Mode, display::kModeVeltor);
  EXPECT_EQ(f.tableau(), avant);
  EXPECT_EQ(fourche.Mini, mini);
  EXPECT_EQ(fourche.Maxi, maxi);
  EXPECT_EQ(fourche.origineTemps, 123456789u);
  EXPECT_EQ(fourche.comptes[39], 39 * 39 / 7 - 3);
}

TEST_F(HistoriqueFenetreTest, TheMenuListsTheNewestTwentyAndBadEntriesSayWhy) {
  Fenetre f(Dossier());
  f.PointParPoint();
  for (int i = 0; i < 22; ++i) {
    f.historique->Garde(true);
    QTest::qWait(2);  // a millisecond apart
  }
  ASSERT_TRUE(f.historique->Attend(5000));
  // Newer than those: a damaged entry and a pipe in an entry's place.
  const std::string dossier = Dossier().toStdString();
  std::ofstream(dossier + "/kvx-29990101-000000-000.kvxh") << "KVX historique 1\ndate cassée\n";
  ASSERT_EQ(::mkfifo((dossier + "/kvx-29990101-000000-001.kvxh").c_str(), 0600), 0);
  const auto elements = f.Elements();
  ASSERT_EQ(elements.size(), 20);
  EXPECT_EQ(elements[0]->text(), QStringLiteral("kvx-29990101-000000-001.kvxh – illisible"));
  EXPECT_EQ(elements[1]->text(), QStringLiteral("kvx-29990101-000000-000.kvxh – illisible"));
  EXPECT_TRUE(
      elements[2]->text().endsWith(QStringLiteral(" – Point par point – 5 points – V1, V2")))
      << elements[2]->text().toStdString();
  EXPECT_NE(f.historique->menu()->findChild<QAction *>(QStringLiteral("DossierHistoriqueItem")),
            nullptr);
  const std::string avant = f.tableau();
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    f.messages.clear();
    elements[i]->trigger();
    ASSERT_EQ(f.messages.size(), 1);
    EXPECT_TRUE(
        f.messages[0].startsWith(QStringLiteral("Cette acquisition ne peut pas être rappelée : ")));
    EXPECT_EQ(f.tableau(), avant) << "nothing changed";
  }
  // The pipe, chosen first, was never waited on.
  f.messages.clear();
  elements[0]->trigger();
  EXPECT_EQ(f.messages,
            QStringList{QStringLiteral("Cette acquisition ne peut pas être rappelée : ce n'est "
                                       "pas un fichier ordinaire.")});
}

TEST_F(HistoriqueFenetreTest, AHistoryThatCannotBeWrittenSaysSoOnceAndTheRecordingStays) {
  UtilisateurTemporaire::Ecrit(Dossier(), "un fichier à la place du dossier");
  Fenetre f(Dossier() + QStringLiteral("/sous-dossier"));
  f.PointParPoint();
  f.historique->Garde();
  const QString dit = QStringLiteral("L'historique des acquisitions n'a pas pu être écrit : ");
  ASSERT_TRUE(AttendQue([&] { return f.form->Statut(0).startsWith(dit); }));
  EXPECT_EQ(f.graphe().nbPoints, 5);
  f.form->AfficheStatut(QStringLiteral("autre chose"));
  f.form->EnregistreBtn->click();
  f.historique->Garde();
  f.historique->Attend(5000);
  QTest::qWait(50);
  EXPECT_FALSE(f.form->Statut(0).startsWith(dit)) << "said once";
  EXPECT_EQ(f.graphe().nbPoints, 6);
}

// "Quitter" keeps what the graph shows; the next run brings it back.
TEST_F(HistoriqueFenetreTest, QuitterKeepsTheRecordingForTheNextRun) {
  std::string avant;
  {
    Fenetre f(Dossier());
    f.Balayage();
    if (HasFatalFailure()) return;
    f.Mode(display::kModePointParPoint);  // the scan is in the history already
    for (int i = 0; i < 3; ++i) f.form->EnregistreBtn->click();
    avant = f.tableau();
    f.form->ExitBtn->click();
    EXPECT_FALSE(f.form->isVisible());
  }
  ReprendModaux();
  Fenetre f(Dossier());
  f.RappelleDerniere();
  EXPECT_EQ(f.tableau(), avant);
}

// Overlays reach back to the runs of earlier sessions that recorded the
// curves shown now; this session's runs come first, from memory.
TEST_F(HistoriqueFenetreTest, OverlaysBringBackEarlierSessionsRunsOfTheChannelsShown) {
  Fenetre f(Dossier());
  const display::TgrapheKVX &g = f.graphe();
  const std::string abscisse = g.voie(g.abscisse()).Nom;
  std::string nom;
  for (int slot = 2; slot <= display::kNbCourbes && nom.empty(); ++slot)
    if (g.estOrdonnee(slot)) nom = g.voie(slot).Nom;
  ASSERT_FALSE(nom.empty());
  exchange::Historique h(Dossier().toStdString());
  const std::int64_t hier = QDateTime::currentMSecsSinceEpoch() - 86'400'000;
  // Yesterday: the curve shown at 1, then a channel not shown, then the
  // curve shown at 2; one dated after the start belongs to this session.
  const std::pair<std::string, double> entrees[] = {{nom, 1}, {"V7", 5}, {nom, 2}, {nom, 9}};
  for (std::size_t i = 0; i < std::size(entrees); ++i) {
    exchange::Enregistrement e;
    e.instantMs = i == 3 ? hier + 2 * 86'400'000 : hier + static_cast<std::int64_t>(i) * 60'000;
    e.nbPoints = 3;
    e.configuration = "[Mode]\r\n";
    e.colonnes = {{1, 0, 1, {0, 0.5, 1}}};
    if (g.abscisse() != 1) {
      e.symboles.push_back(abscisse);
      e.colonnes.push_back({5, 0, 2, {0, 1, 2}});
    }
    e.symboles.push_back(entrees[i].first);
    e.colonnes.push_back({6, -5, 5, std::vector<double>(3, entrees[i].second)});
    h.Ecrit(e);
  }
  QAction *superposer = f.form->findChild<QAction *>(QStringLiteral("SuperposerItem"));
  superposer->trigger();
  auto runs = g.Superpositions();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0]->valeurs(nom)->at(0), 2);
  EXPECT_EQ(runs[1]->valeurs(nom)->at(2), 1);
  EXPECT_EQ(runs[1]->valeurs(g.voie(1).Nom)->at(1), 0.5);
  // A run of this session goes before them; turning the overlays off and on
  // again reads nothing twice.
  f.Balayage();
  superposer->trigger();
  superposer->trigger();
  f.graphe().NouvelleAcquisition();
  runs = g.Superpositions();
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0]->valeurs(nom)->size(), 128u);
  EXPECT_EQ(runs[1]->valeurs(nom)->at(0), 2);
}

// SIGTERM from the desktop with a full 6400-point scan on the graph: kept
// within the close's two seconds.
TEST_F(HistoriqueFenetreTest, SigtermKeepsA6400PointRecordingWithinTheClose) {
  std::string avant;
  {
    platform::SignauxFermeture signaux;
    Fenetre f(Dossier(), &signaux);
    display::TgrapheKVX &g = f.graphe();
    g.voie(6).Active = false;
    f.moteur().HaltAcquisition();
    g.FixeNombre(6400);
    f.moteur().ApplyConfiguration();
    ASSERT_EQ(g.nombre, 6400);
    for (int i = 0; i < 6400; ++i)
      g.voie(5).valeurs[static_cast<std::size_t>(i)] = std::sin(i * 0.001) * 4.9 + i * 1e-9;
    g.nbPoints = 6400;
    avant = f.tableau();
    QElapsedTimer horloge;
    horloge.start();
    ::raise(SIGTERM);
    ASSERT_TRUE(AttendQue([&] { return f.session->fermee(); }, 2000));
    EXPECT_LT(horloge.elapsed(), 2000);
    EXPECT_EQ(Entrees(), 1u);
  }
  ReprendModaux();
  Fenetre f(Dossier());
  f.RappelleDerniere();
  EXPECT_EQ(f.graphe().nbPoints, 6400);
  EXPECT_EQ(f.tableau(), avant);
}

}  // namespace
}  // namespace kvx::ui

namespace kvx::ui {
namespace {

// Pictures to look at, made only when KVX_CAPTURES_HISTORIQUE names a folder:
// the menu, then a brought-back point-by-point recording and fork run.
TEST_F(HistoriqueFenetreTest, Captures) {
  const QString sortie = qEnvironmentVariable("KVX_CAPTURES_HISTORIQUE");
  if (sortie.isEmpty()) GTEST_SKIP() << "KVX_CAPTURES_HISTORIQUE not set";
  QDir().mkpath(sortie);
  Fenetre f(Dossier());
  f.PointParPoint();
  if (HasFatalFailure()) return;
  f.historique->Garde();
  const std::string point = f.tableau();
  f.Mode(display::kModeVeltor);
  display::TgrapheKVX &g = f.graphe();
  model::Tveltor &fourche = g.veltor();
  for (int i = 0; i < 60; ++i) {
    fourche.comptes[static_cast<std::size_t>(i)] = -(i * i) / 12;
    g.temps().valeurs[static_cast<std::size_t>(i)] = 0.004 * i;
  }
  fourche.nbEvenements = 60;
  fourche.CalculePositions();
  g.temps().FixeMaxi(g.temps().valeurs[59]);
  g.nbPoints = 60;
  f.historique->Garde();
  f.Mode(display::kModeTemps);
  f.Balayage();
  ASSERT_TRUE(f.historique->Attend(5000));
  const auto elements = f.Elements();
  ASSERT_GE(elements.size(), 3);
  f.form->Menu->popup(f.form->mapToGlobal(QPoint(400, 60)));
  f.historique->menu()->popup(f.form->mapToGlobal(QPoint(200, 120)));
  QTest::qWait(100);
  EXPECT_TRUE(f.form->Menu->grab().save(sortie + QStringLiteral("/menu.png")));
  EXPECT_TRUE(
      f.historique->menu()->grab().save(sortie + QStringLiteral("/acquisitions-recentes.png")));
  f.historique->menu()->hide();
  f.form->Menu->hide();
  const auto choix = f.Elements();  // shown, the menu made its items anew
  choix[1]->trigger();              // the fork run
  QTest::qWait(200);
  EXPECT_EQ(g.Mode, display::kModeVeltor);
  EXPECT_TRUE(f.form->grab().save(sortie + QStringLiteral("/rappel-fourche.png")));
  choix[2]->trigger();  // the points taken by hand
  QTest::qWait(200);
  EXPECT_EQ(f.tableau(), point);
  EXPECT_TRUE(f.form->grab().save(sortie + QStringLiteral("/rappel-point-par-point.png")));
}

}  // namespace
}  // namespace kvx::ui
