// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/transfert_fenetre.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <future>
#include <vector>

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "dossier_utilisateur.h"
#include "exchange/settings_store.h"
#include "model/separateur_decimal.h"
#include "model/voie.h"
#include "outils_dialogue.h"
#include "platform/event_pump.h"
#include "platform/instance_unique.h"
#include "platform/serveur_requetes.h"
#include "ui/configuration_fenetre.h"
#include "ui/constante.h"
#include "ui/kvxmain.h"
#include "ui/radio_group.h"
#include "ui/session.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

using platform::ResultatTransfert;
using test::UtilisateurTemporaire;

bool Attend(const std::function<bool()> &fait, int ms) {
  QElapsedTimer horloge;
  horloge.start();
  while (!fait()) {
    if (horloge.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

QStringList Lignes(const QString &texte) {
  return texte.split(QStringLiteral("\r\n"));
}

class TransfertFenetreTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    m_form = std::make_unique<TKVXmainForm>(TKVXmainForm::Options{});
    m_session = std::make_unique<TSession>(
        std::make_unique<exchange::MemorySettingsStore>(),
        TSession::Chemins{platform::DossiersUtilisateur(), platform::DossiersBureauUtilisateur(),
                          QStringLiteral("/usr/bin/kvx")});
    m_session->reglages().dossierConfig = m_utilisateur.chemin(QStringLiteral("tp")).toStdString();
    m_configuration = std::make_unique<TConfigurationFenetre>(*m_form, Maintenant());
    ASSERT_TRUE(m_serveur.ecoute(m_utilisateur.chemin(QStringLiteral("run/KVX.ServeurDDE"))));
    DialoguesTransfert d;
    d.transfere = [this](const std::string &commande) {
      m_commandes.push_back(commande);
      m_presse = QGuiApplication::clipboard()->text();
      m_timerPendant = m_form->Timer->isActive();
      return m_resultat;
    };
    d.message = [this](QWidget *, const QString &message) { m_messages << message; };
    d.sauver = [this](QWidget *, const QString &dossier) {
      m_dossierDialogue = dossier;
      return m_fichier;
    };
    d.installe = [this] { return m_installe; };
    d.exporter = [this](QWidget *, const QString &) { return m_export; };
    d.proposeExport = [this](QWidget *, const QString &question) {
      m_questions << question;
      return m_reponseExport;
    };
    m_transferts = RelieTransferts(*m_form, *m_session, m_configuration->page(), &m_serveur, d);
    m_form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    // The first activation applies the configuration: the points come after.
    QCoreApplication::processEvents();
    Enregistre();
  }
  void TearDown() override { TermineModaux(); }

  // Two points of V1 against time, as after a short scan.
  void Enregistre(int mode = display::kModeTemps) {
    display::TgrapheKVX &g = m_form->graphe();
    g.Mode = static_cast<std::uint8_t>(mode);
    g.Abscisse = model::kVoieTemps;
    g.Ligne = true;
    g.Points = false;
    for (int slot = 1; slot <= 9; ++slot) g.voie(slot).Active = false;
    g.temps().Active = true;
    model::Tvoie &v1 = g.voie(model::kVoieV1);
    v1.Active = true;
    v1.Nom = "V1";
    const double t[] = {0, 0.01, 0.02}, v[] = {1.25, 1.3, -0.5};
    for (int j = 0; j < 3; ++j) {
      g.temps().valeurs[static_cast<std::size_t>(j)] = t[j];
      v1.valeurs[static_cast<std::size_t>(j)] = v[j];
    }
    g.nbPoints = 3;
    m_form->RegSaveBtn->setEnabled(true);
  }

  // "Tabulyse" clicked; `action` runs in the constant dialog, which it closes.
  void Tabulyse(const std::function<void(TConstanteDlg *)> &action) {
    test::QuandOuvert<TConstanteDlg>(m_form.get(), action);
    m_form->RegSaveBtn->click();
  }
  static void Ok(TConstanteDlg *d) { test::Clique(d, "OKBtn"); }

  // The window gets the focus back from the analysis program.
  void RetourFocus() {
    QEvent activation(QEvent::WindowActivate);
    QApplication::sendEvent(m_form.get(), &activation);
  }

  platform::Remise Envoie(const QString &requete) {
    const QString chemin = m_serveur.chemin();
    auto fait = std::async(std::launch::async,
                           [&] { return platform::EnvoieDemandeInstance(chemin, requete, 3000); });
    while (fait.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return fait.get();
  }

  UtilisateurTemporaire m_utilisateur;
  std::unique_ptr<TKVXmainForm> m_form;
  std::unique_ptr<TSession> m_session;
  std::unique_ptr<TConfigurationFenetre> m_configuration;
  platform::ServeurRequetes m_serveur{300};
  TTransfertFenetre *m_transferts = nullptr;
  ResultatTransfert m_resultat = ResultatTransfert::Envoye;
  std::vector<std::string> m_commandes;
  QString m_presse;
  bool m_timerPendant = false;
  QStringList m_messages;
  QString m_fichier, m_dossierDialogue;
  bool m_installe = true;
  QString m_export;
  QStringList m_questions;
  bool m_reponseExport = false;
};

// The clipboard's spreadsheet forms hold numbers in the desktop's format.
QString Forme(const char *type) {
  return QString::fromUtf8(QGuiApplication::clipboard()->mimeData()->data(QString::fromLatin1(type)));
}

QString Nombres(const char *texte) {
  QString s = QString::fromUtf8(texte);
  if (model::SeparateurDecimal() == ',') s.replace(QLatin1Char('.'), QLatin1Char(','));
  return s;
}

TEST_F(TransfertFenetreTest, CopyDataAddsTheSpreadsheetFormsBesideTheUnchangedText) {
  m_form->CopyData->trigger();
  const QMimeData *donnees = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(donnees, nullptr);
  EXPECT_EQ(Lignes(donnees->text())[6], QStringLiteral("0\t1.25\t"));
  EXPECT_EQ(Forme("text/tab-separated-values"),
            Nombres("t (s)\tV1 (V)\n0\t1.25\n0.01\t1.3\n0.02\t-0.5\n"));
  const QString champs = model::SeparateurDecimal() == ',' ? QStringLiteral(";") : QStringLiteral(",");
  EXPECT_EQ(Forme("text/csv"), QStringLiteral("t (s)") + champs + QStringLiteral("V1 (V)\r\n") +
                                   Nombres("0") + champs + Nombres("1.25\r\n") +
                                   Nombres("0.01") + champs + Nombres("1.3\r\n") +
                                   Nombres("0.02") + champs + Nombres("-0.5\r\n"));
  // The form a spreadsheet takes first: each value with "." beside its text.
  EXPECT_TRUE(donnees->html().contains(QStringLiteral("<td sdval=\"-0.5\" sdnum=\"1033;\">") +
                                       Nombres("-0.5") + QStringLiteral("</td>")))
      << donnees->html().toStdString();
}

TEST_F(TransfertFenetreTest, WithoutTabulyseCopyDataCopiesAndSaysSoInTheStatusLine) {
  m_installe = false;
  m_form->CopyData->trigger();
  EXPECT_TRUE(m_commandes.empty()) << "nothing to start";
  EXPECT_TRUE(m_messages.isEmpty()) << "no error box";
  EXPECT_EQ(m_form->Statut(0), QString::fromUtf8(kCopieSansTabulyse));
  EXPECT_EQ(Lignes(QGuiApplication::clipboard()->text())[6], QStringLiteral("0\t1.25\t"));
  EXPECT_FALSE(Forme("text/tab-separated-values").isEmpty());
  EXPECT_FALSE(m_transferts->donneesEnvoyees());
}

TEST_F(TransfertFenetreTest, WithoutTabulyseTheButtonOffersTheSpreadsheetExport) {
  m_installe = false;
  Tabulyse(&Ok);
  EXPECT_EQ(m_questions, QStringList{QString::fromUtf8(kTabulyseAbsent)});
  EXPECT_TRUE(m_messages.isEmpty());
  EXPECT_TRUE(m_commandes.empty());
  // Accepted, the export dialog follows and writes the file chosen.
  m_reponseExport = true;
  m_export = m_utilisateur.chemin(QStringLiteral("tp/mesures.csv"));
  QDir().mkpath(m_utilisateur.chemin(QStringLiteral("tp")));
  Tabulyse(&Ok);
  EXPECT_EQ(m_questions.size(), 2);
  EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(QString::fromUtf8(UtilisateurTemporaire::Lit(m_export)).section(QStringLiteral("\r\n"), 0, 0),
            model::SeparateurDecimal() == ',' ? QStringLiteral("t (s);V1 (V)")
                                              : QStringLiteral("t (s),V1 (V)"));
}

TEST_F(TransfertFenetreTest, CopyForASpreadsheetPutsTheTableAsPlainText) {
  EXPECT_TRUE(m_form->CopieTableurItem->isEnabled());
  m_form->CopieTableurItem->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            Nombres("t (s)\tV1 (V)\n0\t1.25\n0.01\t1.3\n0.02\t-0.5\n"));
  EXPECT_TRUE(m_commandes.empty());
}

TEST_F(TransfertFenetreTest, TheSpreadsheetExportWritesTheFileOrSaysWhyNot) {
  QDir().mkpath(m_utilisateur.chemin(QStringLiteral("tp")));
  m_export = m_utilisateur.chemin(QStringLiteral("tp/mesures.ods"));
  m_form->ExporteTableurItem->trigger();
  EXPECT_TRUE(m_messages.isEmpty());
  EXPECT_EQ(UtilisateurTemporaire::Lit(m_export).mid(30, 8), QByteArray("mimetype"));
  // A folder under the name: the reason, and nothing written.
  m_export = m_utilisateur.chemin(QStringLiteral("tp"));
  m_form->ExporteTableurItem->trigger();
  ASSERT_EQ(m_messages.size(), 1);
  EXPECT_TRUE(m_messages[0].endsWith(QStringLiteral("c'est un dossier"))) << m_messages[0].toStdString();
}

TEST_F(TransfertFenetreTest, TheDataCommandsAreThereFromTheStart) {
  EXPECT_TRUE(m_form->SaveData->isEnabled());
  EXPECT_TRUE(m_form->CopyData->isEnabled());
}

TEST_F(TransfertFenetreTest, TabulyseSendsANewFileFirstThenNewPagesWithTheTableOnTheClipboard) {
  Tabulyse([](TConstanteDlg *d) {
    EXPECT_FALSE(d->nouvellePage());
    d->EditComm->setText(QStringLiteral("essai"));
    Ok(d);
  });
  ASSERT_EQ(m_commandes, std::vector<std::string>{"CLIP|LOAD"});
  const QStringList lignes = Lignes(m_presse);
  ASSERT_GE(lignes.size(), 9) << m_presse.toStdString();
  EXPECT_EQ(lignes[0], QCoreApplication::applicationFilePath());
  EXPECT_EQ(lignes[1], QStringLiteral("Acquisition par Nuvex KVX"));
  EXPECT_EQ(lignes[2], QStringLiteral("essai"));
  EXPECT_EQ(lignes[6], QStringLiteral("0\t1.25\t"));
  EXPECT_EQ(lignes[8], QStringLiteral("0.02\t-0.5\t"));
  EXPECT_TRUE(m_messages.isEmpty());

  bool page = false;
  Tabulyse([&](TConstanteDlg *d) {
    page = d->NewPageCB->bouton(TConstanteDlg::NouvellePage)->isChecked();
    Ok(d);
  });
  EXPECT_TRUE(page) << "after a transfer the dialog offers a new page";
  EXPECT_EQ(m_commandes, (std::vector<std::string>{"CLIP|LOAD", "CLIP|ADD"}));
  EXPECT_EQ(Lignes(m_presse)[1], QString()) << "a new page has no title";
}

TEST_F(TransfertFenetreTest, ATransferThatFailedTellsWhyAndTheNextStillOpensANewFile) {
  const struct {
    ResultatTransfert resultat;
    const char *message;
  } cas[] = {{ResultatTransfert::ImpossibleDeLancer, "Impossible de lancer Tabulyse"},
             {ResultatTransfert::NonExecute, "Transfert non exécuté"}};
  for (const auto &c : cas) {
    m_commandes.clear();
    m_messages.clear();
    m_resultat = c.resultat;
    m_form->EnregistreBtn->setEnabled(false);
    Tabulyse(&Ok);
    EXPECT_EQ(m_messages, QStringList{QString::fromUtf8(c.message)});
    EXPECT_FALSE(m_transferts->constantes().nouvellePage());
    // Nothing went to the analysis program: the acquisition is taken up at
    // once, not when a focus comes back that never left.
    EXPECT_FALSE(m_transferts->donneesEnvoyees());
    EXPECT_TRUE(m_form->EnregistreBtn->isEnabled());
    EXPECT_FALSE(m_presse.isEmpty()) << "the clipboard still holds the table";
    m_resultat = ResultatTransfert::Envoye;
    m_form->CopyData->trigger();
    EXPECT_EQ(m_commandes, (std::vector<std::string>{"CLIP|LOAD", "CLIP|LOAD"}));
    m_transferts->constantes().FixeNouvellePage(false);
    RetourFocus();
  }
}

TEST_F(TransfertFenetreTest, CancellingTheDialogSendsNothingAndGivesTheTimerBack) {
  for (const bool actif : {true, false}) {
    if (actif)
      m_form->Timer->start(200);
    else
      m_form->Timer->stop();
    Tabulyse([](TConstanteDlg *d) { test::Clique(d, "CancelBtn"); });
    EXPECT_TRUE(m_commandes.empty());
    EXPECT_EQ(m_form->Timer->isActive(), actif);
    EXPECT_FALSE(m_transferts->donneesEnvoyees());
  }
}

TEST_F(TransfertFenetreTest, AfterATransferTheWindowTakesTheAcquisitionUpWhenItGetsTheFocusBack) {
  m_form->Timer->start(200);
  Tabulyse(&Ok);
  EXPECT_FALSE(m_form->Timer->isActive()) << "stopped while the analysis program has the data";
  EXPECT_TRUE(m_transferts->donneesEnvoyees());
  m_form->EnregistreBtn->setEnabled(false);
  RetourFocus();
  EXPECT_FALSE(m_transferts->donneesEnvoyees());
  // Timed mode: ready for the next scan, the timer left off.
  EXPECT_TRUE(m_form->EnregistreBtn->isEnabled());
  EXPECT_FALSE(m_form->Timer->isActive());
  // Only once.
  m_form->EnregistreBtn->setEnabled(false);
  RetourFocus();
  EXPECT_FALSE(m_form->EnregistreBtn->isEnabled());
}

TEST_F(TransfertFenetreTest, CopyDataIsTheSameTransferWithoutTheDialogAndTheTimerAsItWas) {
  for (const bool actif : {true, false}) {
    m_commandes.clear();
    if (actif)
      m_form->Timer->start(200);
    else
      m_form->Timer->stop();
    m_resultat = ResultatTransfert::Envoye;
    m_form->CopyData->trigger();
    EXPECT_EQ(m_commandes.size(), 1u);
    EXPECT_FALSE(m_timerPendant) << "no live tick in the middle of the hand-over";
    EXPECT_EQ(m_form->Timer->isActive(), actif);
    EXPECT_TRUE(m_transferts->donneesEnvoyees());
    EXPECT_TRUE(Lignes(m_presse).contains(QStringLiteral("0.01\t1.3\t")));
    RetourFocus();
  }
}

TEST_F(TransfertFenetreTest, SaveDataWritesTheAsciiFileOrSaysWhyNot) {
  QDir().mkpath(m_utilisateur.chemin(QStringLiteral("tp")));
  m_configuration->page().constanteComm = "essai";
  m_fichier = m_utilisateur.chemin(QStringLiteral("tp/mesures.Txt"));
  m_form->SaveData->trigger();
  EXPECT_EQ(m_dossierDialogue, m_utilisateur.chemin(QStringLiteral("tp")));
  EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(UtilisateurTemporaire::Lit(m_fichier),
            QByteArray("Acquisition par Nuvex KVX-2\r\nessai\r\nt\tV1\t\r\ns\tV\t\r\ndur\xe9"
                       "e\t\t\r\n0\t1.25\t\r\n0.01\t1.3\t\r\n0.02\t-0.5\t\r\n"));
  EXPECT_TRUE(m_commandes.empty()) << "a file is not a transfer";

  // A folder in the way: the reason, and nothing written.
  m_fichier = m_utilisateur.chemin(QStringLiteral("tp"));
  m_form->SaveData->trigger();
  ASSERT_EQ(m_messages.size(), 1);
  EXPECT_FALSE(m_messages[0].isEmpty());

  // Cancelled: nothing.
  m_messages.clear();
  m_fichier.clear();
  m_form->SaveData->trigger();
  EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(TransfertFenetreTest, TheDataFileDialogOffersTextFilesInTheConfigurationFolder) {
  const QString dossier = m_utilisateur.chemin(QStringLiteral("tp"));
  QDir().mkpath(dossier);
  QStringList filtres;
  QString suffixe, ouvert;
  test::QuandOuvert<QFileDialog>(m_form.get(), [&](QFileDialog *f) {
    filtres = f->nameFilters();
    suffixe = f->defaultSuffix();
    ouvert = f->directory().absolutePath();
    // Typed as the user does: selectFile leaves alone a name field that has
    // the focus.
    auto *nom = f->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (nom == nullptr) {
      f->reject();
      return;
    }
    nom->setText(QStringLiteral("mesures"));
    QMetaObject::invokeMethod(f, "accept");
  });
  const QString choisi = DialoguesTransfert::Standard().sauver(m_form.get(), dossier);
  EXPECT_EQ(filtres, QStringList{QStringLiteral("Fichier ASCII (*.Txt *.txt)")});
  EXPECT_EQ(suffixe, QStringLiteral("Txt"));
  EXPECT_EQ(ouvert, dossier);
  EXPECT_EQ(choisi, dossier + QStringLiteral("/mesures.Txt"));
}

TEST_F(TransfertFenetreTest, PointByPointSendsPointNumbersAndTheGraphShowsThem) {
  Enregistre(display::kModePointParPoint);
  m_form->CopyData->trigger();
  const QStringList lignes = Lignes(m_presse);
  ASSERT_GE(lignes.size(), 9);
  EXPECT_EQ(lignes[3], QStringLiteral("num\tV1\t"));
  EXPECT_EQ(lignes[8], QStringLiteral("2\t-0.5\t"));
  EXPECT_EQ(m_form->graphe().temps().valeurs[2], 2);
}

TEST_F(TransfertFenetreTest, GetDataFromTheAnalysisProgramMakesTheNextTransferANewPage) {
  EXPECT_EQ(Envoie(QStringLiteral("getdata")), platform::Remise::Prise);
  ASSERT_TRUE(Attend([&] { return m_transferts->constantes().nouvellePage(); }, 2000));
  bool page = false;
  Tabulyse([&](TConstanteDlg *d) {
    page = d->NewPageCB->bouton(TConstanteDlg::NouvellePage)->isChecked();
    Ok(d);
  });
  EXPECT_TRUE(page);
  EXPECT_EQ(m_commandes, std::vector<std::string>{"CLIP|ADD"});
}

TEST_F(TransfertFenetreTest, RequestsWhileTheDialogIsOpenAreAnsweredAndChangeOnlyTheChoice) {
  std::vector<platform::Remise> remises;
  Tabulyse([&](TConstanteDlg *d) {
    remises.push_back(Envoie(QStringLiteral("FOCUS")));
    remises.push_back(Envoie(QStringLiteral("FILE|LOAD(/tmp/x.KVX)")));
    remises.push_back(Envoie(QStringLiteral("GETDATA")));
    Attend([&] { return d->nouvellePage(); }, 2000);
    EXPECT_TRUE(d->isVisible()) << "the dialog stays over the window";
    Ok(d);
  });
  EXPECT_EQ(remises, std::vector<platform::Remise>(3, platform::Remise::Prise));
  EXPECT_EQ(m_commandes, std::vector<std::string>{"CLIP|ADD"});
}

// The whole road on this desktop: no Tabulyse configured, so the one on the
// PATH is started (here the stand-in), while the window keeps painting.
TEST_F(TransfertFenetreTest, CopyDataStartsTabulyseFromThePathWithoutFreezingTheWindow) {
  const QString bin = m_utilisateur.chemin(QStringLiteral("bin"));
  QDir().mkpath(bin);
  ASSERT_TRUE(QFile::link(QStringLiteral(KVX_BIN_DIR "/tabulyse-standin"),
                          bin + QStringLiteral("/tabulyse")));
  const QByteArray ancienPath = qgetenv("PATH");
  qputenv("PATH", QFile::encodeName(bin) + ':' + ancienPath);
  const QString log = m_utilisateur.chemin(QStringLiteral("tabulyse.log"));
  qputenv("TABULYSE_STANDIN_LOG", QFile::encodeName(log));
  qputenv("TABULYSE_STANDIN_DELAY_MS", "600");
  exchange::MemorySettingsStore reglages;
  const platform::ClientTabulyse::Options options =
      platform::ClientTabulyse::OptionsUtilisateur(reglages);
  EXPECT_EQ(options.programme, QStringLiteral("tabulyse"));
  ResultatTransfert resultat{};
  DialoguesTransfert d;
  d.transfere = [&](const std::string &commande) {
    resultat = platform::ClientTabulyse(options).Transfere(commande);
    return resultat;
  };
  d.message = [this](QWidget *, const QString &message) { m_messages << message; };
  TTransfertFenetre *t = RelieTransferts(*m_form, *m_session, m_configuration->page(), nullptr, d);

  QElapsedTimer horloge;
  horloge.start();
  qint64 dernier = 0, gel = 0;
  QTimer sonde;
  QObject::connect(&sonde, &QTimer::timeout, [&] {
    gel = std::max(gel, horloge.elapsed() - dernier);
    dernier = horloge.elapsed();
  });
  sonde.start(10);
  t->CopyDataClick();
  gel = std::max(gel, horloge.elapsed() - dernier);
  std::printf("[ figure   ] Copier données with Tabulyse starting: longest frozen gap %lld ms\n",
              static_cast<long long>(gel));

  EXPECT_EQ(resultat, ResultatTransfert::Envoye);
  EXPECT_TRUE(m_messages.isEmpty());
  EXPECT_LT(gel, 300);
  QStringList journal;
  Attend(
      [&] {
        journal = QString::fromUtf8(UtilisateurTemporaire::Lit(log)).split(QLatin1Char('\n'));
        return journal.filter(QStringLiteral("request\t")).size() == 1;
      },
      3000);
  EXPECT_EQ(journal.filter(QStringLiteral("request\tCLIP|LOAD\t")).size(), 1)
      << journal.join(QLatin1Char('|')).toStdString();
  for (const QString &ligne : journal)
    if (ligne.startsWith(QStringLiteral("start\t")))
      ::kill(static_cast<pid_t>(ligne.section(QLatin1Char('\t'), 1).toLongLong()), SIGKILL);
  qputenv("PATH", ancienPath);
  qunsetenv("TABULYSE_STANDIN_LOG");
  qunsetenv("TABULYSE_STANDIN_DELAY_MS");
}

}  // namespace
}  // namespace kvx::ui
