// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/graphe_fenetre.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QTemporaryDir>
#include <QTest>

#include "display/graphe.h"
#include "outils_dialogue.h"
#include "ui/configuration_fenetre.h"
#include "ui/kvxmain.h"
#include "ui/oscillo.h"
#include "ui/panel_courbe.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

class GrapheFenetreTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dossier.isValid());
    m_form = std::make_unique<TKVXmainForm>(TKVXmainForm::Options{});
    m_page.constanteComm = "Pendule; essai \"court\"";
    DialoguesGraphe d;
    d.enregistrer = [this](QWidget *, QSize &taille) {
      m_tailleProposee = taille;
      if (m_tailleChoisie.isValid()) taille = m_tailleChoisie;
      return m_fichier;
    };
    d.imprimer = [this](QWidget *, const std::function<bool(QPagedPaintDevice &)> &imprime) {
      QBuffer tampon(&m_impression);
      tampon.open(QIODevice::WriteOnly);
      QPdfWriter page(&tampon);
      return imprime(page);
    };
    d.message = [this](QWidget *, const QString &message) { m_messages << message; };
    m_graphe = RelieGraphe(*m_form, m_page, d);
    m_form->resize(900, 650);
    m_form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    QCoreApplication::processEvents();
    // A scan of V1 against time.
    display::TgrapheKVX &g = m_form->graphe();
    g.Abscisse = model::kVoieTemps;
    g.voie(model::kVoieV1).Active = true;
    g.voie(model::kVoieV1).Nom = "θ1";
    for (int j = 0; j < 200; ++j) {
      g.temps().valeurs[static_cast<std::size_t>(j)] = j * 0.01;
      g.voie(model::kVoieV1).valeurs[static_cast<std::size_t>(j)] = 4 * std::sin(j * 0.1);
    }
    g.nbPoints = 200;
    // The window's own full redraw of that graph.
    m_form->PanelCourbe->Oscillo->Invalide();
    m_form->PanelCourbe->Oscillo->MetAJour();
  }
  void TearDown() override { TermineModaux(); }

  QString Chemin(const char *nom) const { return m_dossier.filePath(QString::fromUtf8(nom)); }

  QTemporaryDir m_dossier;
  std::unique_ptr<TKVXmainForm> m_form;
  TPage m_page;
  TGrapheFenetre *m_graphe = nullptr;
  QString m_fichier;
  QSize m_tailleProposee, m_tailleChoisie;
  QByteArray m_impression;
  QStringList m_messages;
};

TEST_F(GrapheFenetreTest, APngHasTheWindowsSizeOrTheOneChosen) {
  for (QAction *a :
       {m_form->EnregistreGrapheItem, m_form->CopieGrapheItem, m_form->ImprimeGrapheItem})
    EXPECT_TRUE(a->isEnabled());
  m_fichier = Chemin("graphe.png");
  m_form->EnregistreGrapheItem->trigger();
  EXPECT_EQ(m_tailleProposee, m_form->PanelCourbe->Oscillo->size());
  EXPECT_EQ(QImage(m_fichier).size(), m_tailleProposee);
  m_tailleChoisie = QSize(1600, 1000);
  m_form->EnregistreGrapheItem->trigger();
  const QImage image(m_fichier);
  ASSERT_EQ(image.size(), QSize(1600, 1000));
  // A white ground with the curve and the axes drawn on it.
  int encre = 0;
  for (int y = 0; y < image.height(); y += 3)
    for (int x = 0; x < image.width(); x += 3) encre += image.pixel(x, y) != qRgb(255, 255, 255);
  EXPECT_GT(encre, 500);
  EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), qRgb(255, 255, 255));
  EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(GrapheFenetreTest, SvgAndPdfAreDrawingsWithTheCaption) {
  m_fichier = Chemin("graphe.svg");
  m_form->EnregistreGrapheItem->trigger();
  QFile svg(m_fichier);
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray dessin = svg.readAll();
  EXPECT_TRUE(dessin.contains("<polyline") || dessin.contains("<path")) << "vector lines";
  EXPECT_FALSE(dessin.contains("<image")) << "no bitmap inside";
  EXPECT_TRUE(dessin.contains("Pendule; essai &quot;court&quot;")) << "the caption";
  EXPECT_TRUE(dessin.contains("θ1")) << "the axis title";

  m_fichier = Chemin("graphe.pdf");
  m_form->EnregistreGrapheItem->trigger();
  QFile pdf(m_fichier);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray document = pdf.readAll();
  EXPECT_TRUE(document.startsWith("%PDF-"));
  EXPECT_FALSE(document.contains("/Subtype /Image")) << "no bitmap inside";
  EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(GrapheFenetreTest, CopyPutsThePictureOfTheWindowsSizeOnTheClipboard) {
  QGuiApplication::clipboard()->clear();
  m_form->CopieGrapheItem->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->image().size(), m_form->PanelCourbe->Oscillo->size());
}

TEST_F(GrapheFenetreTest, PrintingDrawsOnThePageAndLeavesTheWindowsScales) {
  display::TgrapheKVX &g = m_form->graphe();
  const display::Rect cadre = g.cadre, zone = g.zone;
  m_form->ImprimeGrapheItem->trigger();
  EXPECT_TRUE(m_impression.startsWith("%PDF-"));
  EXPECT_GT(m_impression.size(), 2000);
  EXPECT_EQ(g.cadre, cadre);
  EXPECT_EQ(g.zone, zone) << "the window's next points land where its graph is";
}

// Printing with the system's dialog, no printer installed: the dialog opens
// (offering a PDF file) and closes; nothing waits.
TEST_F(GrapheFenetreTest, TheSystemPrintDialogOpensAndCloses) {
  TGrapheFenetre *standard = RelieGraphe(*m_form, m_page);
  bool ouvert = false, pdf = false;
  test::QuandOuvert<QPrintDialog>(m_form.get(), [&](QPrintDialog *d) {
    ouvert = true;
    for (const QComboBox *liste : d->findChildren<QComboBox *>())
      for (int i = 0; i < liste->count(); ++i)
        pdf = pdf || liste->itemText(i).contains(QStringLiteral("PDF"));
    d->reject();
  });
  standard->ImprimeGrapheClick();
  EXPECT_TRUE(ouvert);
  EXPECT_TRUE(pdf) << "the dialog offers a PDF file";
}

TEST_F(GrapheFenetreTest, ABadTargetSaysWhyAndLeavesNoFile) {
  QDir(m_dossier.path()).mkdir(QStringLiteral("d.png"));
  ASSERT_EQ(::mkfifo(Chemin("tube.svg").toLocal8Bit().constData(), 0600), 0);
  const struct {
    const char *nom, *raison;
  } cas[] = {{"d.png", "c'est un dossier"},
             {"tube.svg", "ce n'est pas un fichier ordinaire"},
             {"absent/g.pdf", "fichier ou dossier introuvable"}};
  for (const auto &c : cas) {
    m_messages.clear();
    m_fichier = Chemin(c.nom);
    m_form->EnregistreGrapheItem->trigger();
    ASSERT_EQ(m_messages.size(), 1) << c.nom;
    EXPECT_TRUE(m_messages[0].endsWith(QString::fromUtf8(c.raison))) << m_messages[0].toStdString();
  }
  EXPECT_EQ(QDir(m_dossier.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

}  // namespace
}  // namespace kvx::ui
