// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/aide.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <set>

#include "dossier_utilisateur.h"
#include "outils_dialogue.h"
#include "platform/fichiers_installes.h"
#include "platform/port_table.h"
#include "ui/aide_fenetre.h"
#include "ui/kvxmain.h"
#include "ui/modedlg.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

const QString kSources = QDir::cleanPath(QStringLiteral(KVX_TEST_DATA "/../.."));
const QString kGuide = kSources + QStringLiteral("/docs/aide");
const QString kGuideConstruit = QStringLiteral(KVX_BIN_DIR "/aide");

QString Lit(const QString &chemin) {
  QFile f(chemin);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList Pages() {
  return QDir(kGuide).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

// The help topics the program's dialogs name: the constants beside them, the
// numbers handed to the dialogs' row of buttons, and direct calls.
std::set<int> RubriquesNommees() {
  const QRegularExpression motifs[] = {
      QRegularExpression(QStringLiteral(R"(k(?:Aide|Rubrique)\w*\s*=\s*(\d+))")),
      QRegularExpression(QStringLiteral(R"(CreeBoutonsDialogue\([^,()]+,\s*(\d+)\))")),
      QRegularExpression(QStringLiteral(R"(MontreAide\((\d+)\))")),
  };
  std::set<int> rubriques;
  QDirIterator it(kSources + QStringLiteral("/src/ui"),
                  {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files);
  while (it.hasNext()) {
    const QString texte = Lit(it.next());
    for (const QRegularExpression &m : motifs) {
      auto trouve = m.globalMatch(texte);
      while (trouve.hasNext()) rubriques.insert(trouve.next().captured(1).toInt());
    }
  }
  return rubriques;
}

struct Lien {
  QString page;     // the page that holds it
  QString cible;    // as written
  QString fichier;  // its file, relative to the guide ("" for the same page)
  QString ancre;
};

std::vector<Lien> Liens(const QString &page) {
  static const QRegularExpression attribut(QStringLiteral(R"re((?:href|src)="([^"]*)")re"));
  std::vector<Lien> liens;
  auto it = attribut.globalMatch(Lit(kGuide + QLatin1Char('/') + page));
  while (it.hasNext()) {
    const QString cible = it.next().captured(1);
    if (cible.startsWith(QStringLiteral("http:")) || cible.startsWith(QStringLiteral("https:")) ||
        cible.startsWith(QStringLiteral("mailto:")))
      continue;
    const qsizetype diese = cible.indexOf(QLatin1Char('#'));
    liens.push_back({page, cible, diese < 0 ? cible : cible.left(diese),
                     diese < 0 ? QString() : cible.mid(diese + 1)});
  }
  return liens;
}

bool EstImage(const Lien &l) {
  return l.fichier.startsWith(QStringLiteral("images/"));
}

TEST(GuideAide, EveryTopicADialogNamesHasItsPage) {
  const std::set<int> rubriques = RubriquesNommees();
  // The contents of "Aide" (0), the dialogs of the mode, the page constant
  // and the fork (3), the trigger (5), an analog input (6), the analog output
  // (8), a sensor (9) and the calibration (10): the scan finds every one.
  EXPECT_EQ(rubriques, (std::set<int>{0, 3, 5, 6, 8, 9, 10}));
  for (int r : rubriques) {
    const QString page = kGuide + QLatin1Char('/') + FichierRubrique(r);
    EXPECT_TRUE(QFileInfo(page).isFile()) << "topic " << r << ": " << page.toStdString();
  }
}

TEST(GuideAide, EveryPageHasATitleTheHelpWindowShows) {
  test::Application();
  static const QRegularExpression titre(QStringLiteral("<title>([^<]+)</title>"));
  ASSERT_GE(Pages().size(), 8);
  for (const QString &page : Pages()) {
    const QString html = Lit(kGuide + QLatin1Char('/') + page);
    EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">"))) << page.toStdString();
    const auto m = titre.match(html);
    ASSERT_TRUE(m.hasMatch()) << page.toStdString();
    QTextDocument document;
    document.setHtml(html);
    EXPECT_EQ(document.metaInformation(QTextDocument::DocumentTitle), m.captured(1).trimmed())
        << page.toStdString();
  }
}

TEST(GuideAide, EveryLinkBetweenPagesLeadsToAPageAndItsAnchor) {
  int liens = 0;
  for (const QString &page : Pages()) {
    for (const Lien &l : Liens(page)) {
      if (EstImage(l)) continue;
      ++liens;
      const QString fichier = l.fichier.isEmpty() ? page : l.fichier;
      ASSERT_TRUE(QFileInfo(kGuide + QLatin1Char('/') + fichier).isFile())
          << page.toStdString() << " -> " << l.cible.toStdString();
      if (!l.ancre.isEmpty()) {
        EXPECT_TRUE(Lit(kGuide + QLatin1Char('/') + fichier)
                        .contains(QStringLiteral("id=\"%1\"").arg(l.ancre)))
            << page.toStdString() << " -> " << l.cible.toStdString();
      }
    }
  }
  EXPECT_GT(liens, 30);
}

TEST(GuideAide, EveryPageCanBeReachedFromTheTableOfContents) {
  std::set<QString> atteintes{QStringLiteral("index.html")};
  std::vector<QString> a_voir{QStringLiteral("index.html")};
  while (!a_voir.empty()) {
    const QString page = a_voir.back();
    a_voir.pop_back();
    for (const Lien &l : Liens(page))
      if (l.fichier.endsWith(QStringLiteral(".html")) && atteintes.insert(l.fichier).second)
        a_voir.push_back(l.fichier);
  }
  for (const QString &page : Pages()) EXPECT_EQ(atteintes.count(page), 1u) << page.toStdString();
}

// The pictures are made by the build; a build of the tests alone has none.
TEST(GuideAide, EveryPictureThePagesShowIsMadeByTheBuild) {
  const QString images = kGuideConstruit + QStringLiteral("/images");
  if (!QFileInfo::exists(images + QStringLiteral("/.captures")))
    GTEST_SKIP() << "the guide's pictures are not built in " << images.toStdString();
  std::set<QString> montrees;
  for (const QString &page : Pages())
    for (const Lien &l : Liens(page))
      if (EstImage(l)) montrees.insert(l.fichier);
  ASSERT_GE(montrees.size(), 6u);
  for (const QString &image : montrees) {
    const QImage photo(kGuideConstruit + QLatin1Char('/') + image);
    EXPECT_FALSE(photo.isNull()) << image.toStdString();
    EXPECT_GT(photo.width(), 100) << image.toStdString();
  }
  // And no picture is made for nobody.
  for (const QString &faite : QDir(images).entryList({QStringLiteral("*.png")}, QDir::Files))
    EXPECT_EQ(montrees.count(QStringLiteral("images/") + faite), 1u) << faite.toStdString();
}

class FenetreAideTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override { FixeDossierAide(kGuide); }
  void TearDown() override { FixeDossierAide(kGuide); }
  TAideFenetre *Ouvre(int rubrique) {
    MontreAide(rubrique);
    TAideFenetre *f = FenetreAide();
    EXPECT_NE(f, nullptr);
    return f;
  }
};

TEST_F(FenetreAideTest, EachTopicOpensItsPageInTheOneHelpWindow) {
  struct Cas {
    int rubrique;
    const char *page;
    const char *titre;
  };
  const Cas cas[] = {
      {0, "index.html", "Aide de KVX - Guide de l'utilisateur de KVX"},
      {6, "aide-6.html", "Aide de KVX - Une entrée analogique et son capteur"},
      {3, "aide-3.html", "Aide de KVX - Mode d'acquisition et options"},
      {77, "index.html", "Aide de KVX - Guide de l'utilisateur de KVX"},  // no such page
  };
  TAideFenetre *premiere = nullptr;
  for (const Cas &c : cas) {
    TAideFenetre *f = Ouvre(c.rubrique);
    ASSERT_NE(f, nullptr);
    if (premiere == nullptr) premiere = f;
    EXPECT_EQ(f, premiere) << c.rubrique;
    EXPECT_EQ(f->PageCourante(), QString::fromLatin1(c.page)) << c.rubrique;
    EXPECT_EQ(f->windowTitle(), QString::fromUtf8(c.titre)) << c.rubrique;
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->windowModality(), Qt::NonModal);
  }
}

TEST_F(FenetreAideTest, ALinkOpensItsPageAndTheButtonsGoBackAndForth) {
  TAideFenetre *f = Ouvre(0);
  ASSERT_NE(f, nullptr);
  EXPECT_FALSE(f->PrecedentBtn->isEnabled());
  // As a user without a mouse follows the first link of the contents.
  f->Navigateur->setFocus();
  QTest::keyClick(f->Navigateur, Qt::Key_Tab);
  QTest::keyClick(f->Navigateur, Qt::Key_Return);
  ASSERT_TRUE(
      test::AttendQue([&] { return f->PageCourante() == QStringLiteral("premiers-pas.html"); }));
  EXPECT_EQ(f->windowTitle(), QStringLiteral("Aide de KVX - Premiers pas"));
  ASSERT_TRUE(f->PrecedentBtn->isEnabled());
  QTest::mouseClick(f->PrecedentBtn, Qt::LeftButton);
  EXPECT_EQ(f->PageCourante(), QStringLiteral("index.html"));
  ASSERT_TRUE(f->SuivantBtn->isEnabled());
  QTest::mouseClick(f->SuivantBtn, Qt::LeftButton);
  EXPECT_EQ(f->PageCourante(), QStringLiteral("premiers-pas.html"));
  QTest::mouseClick(f->SommaireBtn, Qt::LeftButton);
  EXPECT_EQ(f->PageCourante(), QStringLiteral("index.html"));
}

TEST_F(FenetreAideTest, AMissingGuideSaysWhereItShouldBe) {
  QTemporaryDir vide;
  FixeDossierAide(vide.path());
  TAideFenetre *f = Ouvre(6);
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->isVisible());
  EXPECT_TRUE(f->PageCourante().isEmpty());
  const QString texte = f->Navigateur->toPlainText();
  EXPECT_TRUE(texte.contains(QStringLiteral("Aide introuvable")));
  EXPECT_TRUE(texte.contains(QStringLiteral("share/kvx/aide")));
}

TEST_F(FenetreAideTest, TheToolBarButtonOpensTheTableOfContents) {
  platform::PortTable aucun({}, "");
  TKVXmainForm::Options o;
  o.ports = &aucun;
  TKVXmainForm form(o);
  EXPECT_FALSE(form.ToolButton1->isEnabled());
  RelieAide(form);
  ASSERT_TRUE(form.ToolButton1->isEnabled());
  form.ToolButton1->click();
  ASSERT_NE(FenetreAide(), nullptr);
  EXPECT_EQ(FenetreAide()->PageCourante(), QStringLiteral("index.html"));
}

// A modal dialog deafens every window that is not its own, so the help it
// asks for is lent to it while it runs, and stands alone again after.
TEST_F(FenetreAideTest, HelpAskedFromAModalDialogAnswersAndOutlivesIt) {
  platform::PortTable aucun({}, "");
  TKVXmainForm::Options o;
  o.ports = &aucun;
  TKVXmainForm form(o);
  QWidget *parentPendant = nullptr;
  QString page;
  bool visible = false;
  {
    TmodeAcqDlg mode(form.graphe(), &form);
    test::QuandOuvert<TmodeAcqDlg>(&form, [&](TmodeAcqDlg *d) {
      test::Clique(d, "HelpBtn");
      if (TAideFenetre *f = FenetreAide()) {
        parentPendant = f->parentWidget();
        page = f->PageCourante();
        visible = f->isVisible();
      }
      test::Clique(d, "CancelBtn");
    });
    mode.Execute();
    EXPECT_EQ(parentPendant, &mode);
    EXPECT_EQ(page, QStringLiteral("aide-3.html"));
    EXPECT_TRUE(visible);
    ASSERT_NE(FenetreAide(), nullptr);
    EXPECT_EQ(FenetreAide()->parentWidget(), nullptr);
  }
  ASSERT_NE(FenetreAide(), nullptr);  // the dialog went, not the help
  EXPECT_TRUE(FenetreAide()->isVisible());
  EXPECT_EQ(FenetreAide()->PageCourante(), QStringLiteral("aide-3.html"));
}

// "Quitter" with the guide still open ends the program all the same: the
// program's loop ends when its window closes, as in the program itself.
TEST_F(FenetreAideTest, AnOpenHelpWindowDoesNotKeepTheProgramRunning) {
  TAideFenetre *f = Ouvre(5);
  ASSERT_NE(f, nullptr);
  for (QWidget *w : QApplication::topLevelWidgets())
    if (w != f && w->isVisible()) w->hide();
  QWidget fenetre;
  fenetre.show();
  QSignalSpy derniere(qApp, &QGuiApplication::lastWindowClosed);
  bool garde = false;
  QTimer::singleShot(0, &fenetre, [&fenetre] { fenetre.close(); });
  // Only what keeps the loop running past the close gets here.
  QTimer::singleShot(3000, qApp, [&garde] {
    garde = true;
    QCoreApplication::quit();
  });
  QApplication::exec();
  EXPECT_EQ(derniere.count(), 1);
  EXPECT_FALSE(garde);
  EXPECT_EQ(FenetreAide(), nullptr);  // and went with the program
}

// What the package puts under the prefix: every file the program looks for,
// found from the installed program as the program finds it. CI points
// KVX_ARBRE_INSTALLE at the unpacked Debian package; otherwise the build is
// installed into a temporary prefix.
TEST(ArbreInstalle, HoldsEveryFileTheProgramLooksFor) {
  test::Application();
  QString prefixe = qEnvironmentVariable("KVX_ARBRE_INSTALLE");
  QTemporaryDir temporaire;
  if (prefixe.isEmpty()) {
    if (!QFileInfo::exists(QStringLiteral(KVX_BIN_DIR "/kvx")) ||
        !QFileInfo::exists(kGuideConstruit + QStringLiteral("/images/.captures")))
      GTEST_SKIP() << "the programs and the guide are not built";
    QProcess cmake;
    cmake.setProcessChannelMode(QProcess::MergedChannels);
    cmake.start(QStringLiteral("cmake"),
                {QStringLiteral("--install"), QStringLiteral(KVX_BIN_DIR "/.."),
                 QStringLiteral("--prefix"), temporaire.path()});
    ASSERT_TRUE(cmake.waitForFinished(120000));
    ASSERT_EQ(cmake.exitCode(), 0) << cmake.readAll().toStdString();
    prefixe = temporaire.path();
  }
  QStringList attendus = {
      QStringLiteral("bin/kvx"),
      QStringLiteral("bin/kvx-sim"),
      QStringLiteral("share/kvx/kvx.CPT"),
      QStringLiteral("share/applications/kvx.desktop"),
      QStringLiteral("share/mime/packages/kvx.xml"),
      QStringLiteral("share/metainfo/org.kvx_projet.kvx.metainfo.xml"),
      QStringLiteral("share/icons/hicolor/scalable/apps/kvx.svg"),
      QStringLiteral("share/man/man1/kvx.1"),
      QStringLiteral("share/man/man1/kvx-sim.1"),
  };
  for (int cote : {16, 22, 24, 32, 48, 64, 128, 256})
    attendus << QStringLiteral("share/icons/hicolor/%1x%1/apps/kvx.png").arg(cote);
  for (const QString &page : Pages()) attendus << QStringLiteral("share/kvx/aide/") + page;
  for (const QString &page : Pages())
    for (const Lien &l : Liens(page))
      if (!l.fichier.isEmpty()) attendus << QStringLiteral("share/kvx/aide/") + l.fichier;
  attendus.removeDuplicates();
  // The package compresses the manual pages, as Debian wants them.
  for (const QString &f : attendus)
    EXPECT_TRUE(QFileInfo(prefixe + QLatin1Char('/') + f).isFile() ||
                (f.endsWith(QStringLiteral(".1")) &&
                 QFileInfo(prefixe + QLatin1Char('/') + f + QStringLiteral(".gz")).isFile()))
        << f.toStdString();

  const QString programme = prefixe + QStringLiteral("/bin/kvx");
  const QString aide = QDir(prefixe + QStringLiteral("/share/kvx/aide")).canonicalPath();
  EXPECT_EQ(QDir(platform::DossierAide(programme)).canonicalPath(), aide);
  EXPECT_EQ(platform::ProgrammePourCapteurs(programme),
            QDir(prefixe + QStringLiteral("/share/kvx")).canonicalPath() + QStringLiteral("/kvx"));
  FixeDossierAide(platform::DossierAide(programme));
  MontreAide(10);
  ASSERT_NE(FenetreAide(), nullptr);
  EXPECT_EQ(FenetreAide()->windowTitle(), QStringLiteral("Aide de KVX - Étalonnage interactif"));
  FixeDossierAide(kGuide);
}

// The installed program itself, for a user who never ran it: it comes up
// offscreen with an empty home, and a request to end closes it as "Quitter"
// does, saving the last configuration in the new data folder.
TEST(ArbreInstalle, TheInstalledProgramStartsForANewUser) {
  test::Application();
  const QString prefixe = qEnvironmentVariable("KVX_ARBRE_INSTALLE");
  if (prefixe.isEmpty()) GTEST_SKIP() << "KVX_ARBRE_INSTALLE names no unpacked package";
  test::UtilisateurTemporaire utilisateur;
  QProcess kvx;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  kvx.setProcessEnvironment(env);
  kvx.start(prefixe + QStringLiteral("/bin/kvx"), {QStringLiteral("--simulate")});
  ASSERT_TRUE(kvx.waitForStarted(5000));
  ASSERT_TRUE(test::AttendQue(
      [&] { return QFileInfo::exists(utilisateur.chemin(QStringLiteral("run/KVX.instance"))); },
      10000));
  kvx.terminate();
  ASSERT_TRUE(kvx.waitForFinished(15000));
  EXPECT_EQ(kvx.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(kvx.exitCode(), 0);
  EXPECT_TRUE(QFileInfo::exists(utilisateur.chemin(QStringLiteral("Documents/Tabulyse/KVX.KVX"))));
  // The package's entry and type serve: nothing of the kind in the home,
  // which would hide them and stay after the package is removed.
  for (const char *ecrit :
       {".local/share/applications", ".local/share/mime", ".config/mimeapps.list"})
    EXPECT_FALSE(QFileInfo::exists(utilisateur.chemin(QString::fromLatin1(ecrit)))) << ecrit;
}

}  // namespace
}  // namespace kvx::ui
