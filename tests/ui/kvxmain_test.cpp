// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/kvxmain.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "display/graphe.h"
#include "model/voie.h"
#include "ui/panel_courbe.h"
#include "ui/panel_mode.h"
#include "ui/panel_voies.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

class FenetreTest : public testing::Test {
 protected:
  FenetreTest() { test::Application(); }
  void SetUp() override {
    m_form = std::make_unique<TKVXmainForm>(TKVXmainForm::Options{});
    m_form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
  }
  template <class W>
  W *Controle(const char *nom) {
    W *w = m_form->findChild<W *>(QString::fromLatin1(nom));
    EXPECT_NE(w, nullptr) << nom;
    return w;
  }
  std::unique_ptr<TKVXmainForm> m_form;
};

struct CasTexte {
  const char *nom;
  const char *texte;
};

TEST_F(FenetreTest, ToolBarButtonsCarryTheirCaptionsAndHints) {
  const CasTexte boutons[] = {{"EnregistreBtn", "Acquisition"},
                              {"StopBtn", "Stop"},
                              {"ResetBtn", "RàZ"},
                              {"UndoBtn", "Défaire"},
                              {"RegSaveBtn", "Tabulyse"},
                              {"ToolButton1", "Aide"},
                              {"PlusBtn", "Menu"},
                              {"ExitBtn", "Quitter"}};
  for (const CasTexte &c : boutons) {
    auto *b = Controle<QToolButton>(c.nom);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->text(), QString::fromUtf8(c.texte)) << c.nom;
    EXPECT_EQ(b->size(), QSize(75, 50)) << c.nom;
  }
  EXPECT_EQ(Controle<QToolButton>("UndoBtn")->toolTip(), QStringLiteral("Défaire"));
  EXPECT_EQ(Controle<QToolButton>("UndoBtn")->statusTip(),
            QStringLiteral("Supprimer le dernier point"));
  EXPECT_EQ(Controle<QToolButton>("StopBtn")->toolTip(), QStringLiteral("Arrêt de l'acquisition"));
  EXPECT_EQ(Controle<QToolButton>("StopBtn")->statusTip(),
            QStringLiteral("Arrêt de l'acquisition"));
}

TEST_F(FenetreTest, AcquisitionButtonsStartDisabled) {
  for (const char *nom : {"EnregistreBtn", "StopBtn", "ResetBtn", "UndoBtn", "RegSaveBtn"})
    EXPECT_FALSE(Controle<QToolButton>(nom)->isEnabled()) << nom;
  EXPECT_TRUE(Controle<QToolButton>("ExitBtn")->isEnabled());
  EXPECT_TRUE(Controle<QToolButton>("PlusBtn")->isEnabled());
}

TEST_F(FenetreTest, PanelsAndLabelsHaveTheirTexts) {
  const CasTexte boites[] = {{"ClavierGB", "Clavier"},
                             {"ModeGB", "Mode et options"},
                             {"PointGB", "Point par point"},
                             {"SynchroGB", "Synchronisation"},
                             {"BalayageGB", "Balayage"},
                             {"SortieAnaGB", "Sortie analogique"},
                             {"ModeVeltorGB", "Fourche optique"},
                             {"EntreeBinGB", "Entrées binaires"},
                             {"GroupBox3", "Fourche optique"}};
  TKVXmainForm neuve{TKVXmainForm::Options{}};  // as created, before it is shown
  for (const CasTexte &c : boites)
    EXPECT_EQ(neuve.findChild<QGroupBox *>(QString::fromLatin1(c.nom))->title(),
              QString::fromUtf8(c.texte))
        << c.nom;
  // Shown, even with no box, the boxes name their channels.
  EXPECT_EQ(Controle<QGroupBox>("ClavierGB")->title(), QStringLiteral("X=clavier"));
  EXPECT_EQ(Controle<QGroupBox>("SortieAnaGB")->title(), QStringLiteral("Vsa=SA 0-5 V"));
  EXPECT_EQ(Controle<QGroupBox>("ModeGB")->title(), QStringLiteral("Mode et options"));
  EXPECT_EQ(Controle<QCheckBox>("MonocoupCB")->text(), QStringLiteral("Monocoup"));
  EXPECT_EQ(Controle<QCheckBox>("PointAutoCB")->text(), QStringLiteral("Automatique"));
  EXPECT_EQ(Controle<QCheckBox>("VeltorAutoCB")->text(), QStringLiteral("Arrêt auto. après"));
  EXPECT_TRUE(Controle<QCheckBox>("VeltorAutoCB")->isChecked());
  EXPECT_EQ(Controle<QLabel>("Label9")->text(), QStringLiteral("secondes"));
  EXPECT_EQ(Controle<QLabel>("MasseLabel")->text(), QStringLiteral("Ref Alt"));
  m_form->AfficheMasse(false);
  EXPECT_EQ(Controle<QLabel>("MasseLabel")->text(), QStringLiteral("Ref 0V"));
  for (const char *nom : {"ClavierGB", "SortieAnaGB", "ModeVeltorGB"})
    EXPECT_FALSE(Controle<QWidget>(nom)->isVisible()) << nom;
  EXPECT_EQ(Controle<QWidget>("Gauge")->height(), 8);
}

TEST_F(FenetreTest, ChannelBoxesAndLabelsCarryTheirSlot) {
  const struct {
    const char *boite;
    const char *label;
    int slot;
  } cas[] = {{"GroupBox5", "Label1", 5},      {"GroupBox4", "Label5", 6},
             {"GroupBox1", "Label2", 7},      {"GroupBox2", "Label3", 8},
             {"EntreeBinGB", "EbinLabel", 4}, {"GroupBox3", "Label4", 9}};
  QTRY_COMPARE(m_form->PanelVoies->cadre(5)->width(), m_form->PanelVoies->width() - 4);
  int basPrecedent = 1 << 30;
  for (const auto &c : cas) {
    auto *b = Controle<QGroupBox>(c.boite);
    auto *l = Controle<QLabel>(c.label);
    EXPECT_EQ(b->property("tag").toInt(), c.slot);
    EXPECT_EQ(l->property("tag").toInt(), c.slot);
    EXPECT_EQ(l->parentWidget(), b);
    if (b->isHidden()) continue;  // its place is kept by no one
    // Stacked from the bottom up in this order.
    EXPECT_LT(b->geometry().bottom(), basPrecedent) << c.boite;
    basPrecedent = b->geometry().top();
  }
}

TEST_F(FenetreTest, NotFoundPanelIsRedAtTheTopLeftOfTheGraph) {
  auto *panneau = Controle<QWidget>("NuvexAbsent");
  EXPECT_EQ(panneau->geometry(), QRect(8, 8, 257, 137));
  EXPECT_EQ(panneau->parentWidget()->objectName(), QStringLiteral("PanelCourbe"));
  EXPECT_EQ(panneau->palette().color(QPalette::Window), QColor(Qt::red));
  EXPECT_EQ(Controle<QPushButton>("ComBtn")->text(), QStringLiteral("Verifier puis cliquer ici"));
  EXPECT_EQ(Controle<QPushButton>("ComBtn")->statusTip(),
            QStringLiteral("Recherche Nuvex KVX sur Comi"));
  EXPECT_EQ(Controle<QPushButton>("EscapeBtn")->text(), QStringLiteral("Abandon"));
  EXPECT_EQ(Controle<QLabel>("Label6")->text(), QStringLiteral("Nuvex KVX non trouvé"));
  EXPECT_EQ(Controle<QLabel>("Label7")->text(), QStringLiteral("Eteindre Nuvex KVX puis rallumer"));
  EXPECT_EQ(Controle<QLabel>("Label8")->text(), QStringLiteral("Téléchargement Veltor en cours"));
}

TEST_F(FenetreTest, MenuHoldsEveryItemAndOnlyTheLayoutsAreReadyYet) {
  const CasTexte articles[] = {{"SaveConfigItem", "&Sauver configuration"},
                               {"OpenConfigItem", "&Ouvrir configuration"},
                               {"SaveData", "Sauver données"},
                               {"CopyData", "Copier données"},
                               {"ExporteTableurItem", "Exporter pour tableur…"},
                               {"CopieTableurItem", "Copier pour tableur"},
                               {"EnregistreGrapheItem", "Enregistrer le graphe…"},
                               {"CopieGrapheItem", "Copier le graphe"},
                               {"ImprimeGrapheItem", "Imprimer le graphe…"},
                               {"AproposItem", "&A propos..."},
                               {"CapteursItem", "&Capteurs"},
                               {"PleinEcranItem", "&Graphe plein écran F5"},
                               {"VoltmetreItem", "&Voltmètre plein écran F6"},
                               {"GrapheVolt", "Graphe &et voltmètre"},
                               {"SuperposerItem", "Superposer les acquisitions"},
                               {"ExporterSuperpositionsItem", "Exporter avec les superpositions"}};
  auto *menu = Controle<QMenu>("Menu");
  ASSERT_NE(menu, nullptr);
  QStringList ordre;
  for (QAction *a : menu->actions())
    if (!a->isSeparator()) ordre << a->objectName();
  QStringList attendu;
  for (const CasTexte &c : articles) {
    attendu << QString::fromLatin1(c.nom);
    auto *a = Controle<QAction>(c.nom);
    EXPECT_EQ(a->text(), QString::fromUtf8(c.texte));
  }
  EXPECT_EQ(ordre, attendu);
  EXPECT_FALSE(m_form->SaveConfigItem->isEnabled());
  EXPECT_FALSE(m_form->ExporteTableurItem->isEnabled()) << "until the data commands are wired";
  EXPECT_TRUE(m_form->CapteursItem->isVisible());
  EXPECT_TRUE(m_form->GrapheVolt->isChecked());
  EXPECT_EQ(m_form->PlusBtn->menu(), menu);
}

TEST(FenetreOptions, SensorItemHiddenOnRequest) {
  test::Application();
  TKVXmainForm::Options options;
  options.capteurs = false;
  TKVXmainForm form(options);
  EXPECT_FALSE(form.CapteursItem->isVisible());
}

TEST_F(FenetreTest, F5AndF6ToggleTheirFullScreenLayouts) {
  QTest::keyClick(m_form.get(), Qt::Key_F5);
  EXPECT_EQ(m_form->ecran(), TKVXmainForm::Ecran::GraphePleinEcran);
  EXPECT_TRUE(m_form->PleinEcranItem->isChecked());
  EXPECT_FALSE(m_form->PanelCommande->isVisible());
  QTest::keyClick(m_form.get(), Qt::Key_F5);
  EXPECT_EQ(m_form->ecran(), TKVXmainForm::Ecran::GrapheEtVoltmetre);
  EXPECT_TRUE(m_form->GrapheVolt->isChecked());
  // 256 pixels, or more when the captions of either column need it.
  EXPECT_EQ(m_form->PanelCommande->width(),
            std::max(128, m_form->PanelMode->LargeurNecessaire()) +
                std::max(128, m_form->PanelVoies->LargeurNecessaire()));
  EXPECT_GE(m_form->PanelMode->width(),
            m_form->PanelMode->ModeVeltorGB->findChild<QCheckBox *>()->minimumSizeHint().width());

  // F6 from a focused control: the window sees the key first.
  Controle<QLineEdit>("NbreEdit")->setFocus();
  QTest::keyClick(Controle<QLineEdit>("NbreEdit"), Qt::Key_F6);
  EXPECT_EQ(m_form->ecran(), TKVXmainForm::Ecran::VoltmetrePleinEcran);
  EXPECT_TRUE(m_form->VoltmetreItem->isChecked());
  EXPECT_FALSE(m_form->PanelMode->isVisible());
  EXPECT_EQ(m_form->PanelCommande->width(), m_form->centralWidget()->width());
  EXPECT_FALSE(m_form->PanelCourbe->isVisible()) << "no sliver of the graph at the edge";
  QTest::keyClick(m_form.get(), Qt::Key_F5);
  EXPECT_EQ(m_form->ecran(), TKVXmainForm::Ecran::GraphePleinEcran);
  QTest::keyClick(m_form.get(), Qt::Key_F6);
  QTest::keyClick(m_form.get(), Qt::Key_F6);
  EXPECT_EQ(m_form->ecran(), TKVXmainForm::Ecran::GrapheEtVoltmetre);
  EXPECT_TRUE(m_form->PanelMode->isVisible());
  EXPECT_TRUE(m_form->PanelCourbe->isVisible());
}

TEST_F(FenetreTest, NothingIsCutFromTheSmallestWindowToTheScreen) {
  const QString attente =
      QStringLiteral("Attente de déclenchement (barre d'espace ou clic sur \"Acquisition\")");
  m_form->AfficheStatut(attente);
  for (auto *c : m_form->PanelVoies->findChildren<QGroupBox *>()) c->setTitle(c->title());
  const QSize ecran = m_form->maximumSize();
  for (const QSize taille : {QSize(550, 380), QSize(643, 594), QSize(700, 601), ecran}) {
    SCOPED_TRACE(QStringLiteral("%1x%2").arg(taille.width()).arg(taille.height()).toStdString());
    m_form->resize(taille);
    // The column widens first, the boxes in it at the next layout pass.
    QTRY_COMPARE(m_form->PanelVoies->cadre(5)->width(), m_form->PanelVoies->width() - 4);
    QTRY_VERIFY(m_form->ExitBtn->isVisible());
    for (const auto *c : m_form->PanelVoies->findChildren<QGroupBox *>()) {
      if (c->isHidden()) continue;
      const int titre = QFontMetrics(c->font()).horizontalAdvance(c->title());
      EXPECT_LE(titre + 8, c->width()) << c->title().toStdString();
    }
    const auto *statut = m_form->findChild<QLabel *>(QStringLiteral("Header0"));
    EXPECT_LE(QFontMetrics(statut->font()).horizontalAdvance(attente),
              statut->contentsRect().width());
    for (const auto *b : m_form->ToolBar1->findChildren<QToolButton *>()) {
      if (b->objectName() == QLatin1String("qt_toolbar_ext_button")) {
        EXPECT_FALSE(b->isVisible()) << "every button shows on the tool bar";
        continue;
      }
      EXPECT_TRUE(b->isVisible()) << b->objectName().toStdString();
      EXPECT_LE(QFontMetrics(b->font()).horizontalAdvance(b->text()), b->width())
          << b->objectName().toStdString();
    }
  }
}

TEST_F(FenetreTest, MenuItemsSwitchTheLayout) {
  m_form->VoltmetreItem->trigger();
  EXPECT_EQ(m_form->ecran(), TKVXmainForm::Ecran::VoltmetrePleinEcran);
  m_form->GrapheVolt->trigger();
  EXPECT_EQ(m_form->ecran(), TKVXmainForm::Ecran::GrapheEtVoltmetre);
}

TEST_F(FenetreTest, FullScreenVoltmeterGrowsTheReadOuts) {
  auto *v1 = Controle<QGroupBox>("GroupBox5");
  const int normale = v1->height();
  m_form->resize(900, 700);
  m_form->FixeEcran(TKVXmainForm::Ecran::VoltmetrePleinEcran);
  QCoreApplication::processEvents();
  EXPECT_GT(v1->height(), 2 * normale);
  EXPECT_TRUE(v1->findChild<QLabel *>(QStringLiteral("Label1"))->font().pixelSize() > 30);
}

TEST_F(FenetreTest, ReadOutFontFollowsTheWindowHeight) {
  auto *v1 = Controle<QGroupBox>("GroupBox5");
  auto *v3 = Controle<QGroupBox>("GroupBox1");
  for (const auto &[hauteur, s] : {std::pair{480, 10}, std::pair{481, 12}, std::pair{601, 14}}) {
    m_form->resize(700, hauteur);
    QCoreApplication::processEvents();
    ASSERT_EQ(m_form->height(), hauteur);
    EXPECT_EQ(v1->font().pointSize(), s) << hauteur;
    EXPECT_EQ(v1->height(), 4 * s) << hauteur;
    EXPECT_EQ(v3->height(), 2 * s) << hauteur;
  }
}

TEST_F(FenetreTest, HintsShowInTheTitleBar) {
  QStatusTipEvent survol(QStringLiteral("Arrêt de l'acquisition"));
  QCoreApplication::sendEvent(m_form->StopBtn, &survol);
  EXPECT_EQ(m_form->windowTitle(), QStringLiteral("Arrêt de l'acquisition"));
  QStatusTipEvent sortie{QString()};
  QCoreApplication::sendEvent(m_form->StopBtn, &sortie);
  EXPECT_EQ(m_form->windowTitle(), QString::fromUtf8(kTitreFenetre));
  EXPECT_NE(m_form->Statut(0), QStringLiteral("Arrêt de l'acquisition"));
  // As the pointer does it: over a control, off it, then out of the window.
  QEnterEvent entre(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QCoreApplication::sendEvent(m_form->ResetBtn, &entre);
  EXPECT_EQ(m_form->windowTitle(), QStringLiteral("Nouvelle acquisition"));
  QEvent quitte(QEvent::Leave);
  QCoreApplication::sendEvent(m_form->ResetBtn, &quitte);
  EXPECT_EQ(m_form->windowTitle(), QString::fromUtf8(kTitreFenetre));
  QCoreApplication::sendEvent(m_form->UndoBtn, &entre);
  EXPECT_EQ(m_form->windowTitle(), QStringLiteral("Supprimer le dernier point"));
  QCoreApplication::sendEvent(m_form.get(), &quitte);
  EXPECT_EQ(m_form->windowTitle(), QString::fromUtf8(kTitreFenetre));
  EXPECT_EQ(m_form->ResetBtn->toolTip(), QStringLiteral("Nouvelle acquisition"));
}

TEST_F(FenetreTest, MinimumSizeAndStatusPanels) {
  // 550 x 380 at the least, more when the panels of the mode need it.
  EXPECT_GE(m_form->minimumWidth(), 550);
  EXPECT_GE(m_form->minimumHeight(), 380);
  m_form->resize(300, 200);
  QTRY_COMPARE(m_form->size(), m_form->minimumSize());
  m_form->resize(800, 600);
  QCoreApplication::processEvents();
  // The messages take what the figure and the size grip leave.
  EXPECT_GT(m_form->findChild<QLabel *>(QStringLiteral("Header0"))->width(), 700);
  EXPECT_EQ(m_form->findChild<QLabel *>(QStringLiteral("Header1"))->width(), 50);
  m_form->AfficheStatut(QStringLiteral("Acquisition en cours"));
  EXPECT_EQ(m_form->Statut(0), QStringLiteral("Acquisition en cours"));
}

TEST_F(FenetreTest, PanelClicksReachTheirHandlerWithTheSlot) {
  std::vector<int> recus;
  m_form->RelieClic({QStringLiteral("GroupBox5"), QStringLiteral("GroupBox4")},
                    [&](int slot) { recus.push_back(slot); });
  QTest::mouseClick(Controle<QLabel>("Label5"), Qt::LeftButton);
  QTest::mouseClick(Controle<QGroupBox>("GroupBox5"), Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseClick(Controle<QGroupBox>("GroupBox1"), Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseClick(Controle<QLabel>("Label1"), Qt::RightButton);
  EXPECT_EQ(recus, (std::vector<int>{6, 5}));
}

TEST_F(FenetreTest, ChannelBoxesFollowTheirChannelsAndKeepTheirPlace) {
  display::TgrapheKVX &g = m_form->graphe();
  std::vector<int> recus;
  m_form->RelieClic({QStringLiteral("GroupBox1"), QStringLiteral("GroupBox4")},
                    [&](int slot) { recus.push_back(slot); });
  // V2 off and V3 on: V3 moves to slot 6 with its box, V2 to slot 7 with its.
  g.voie(6).Active = false;
  g.voie(7).Active = true;
  g.FixeNombre(128);
  ASSERT_EQ(g.voie(6).Nom, "V3");
  m_form->RafraichitPanneaux();
  auto *v2 = Controle<QGroupBox>("GroupBox4");
  auto *v3 = Controle<QGroupBox>("GroupBox1");
  EXPECT_EQ(v3->property("tag").toInt(), 6);
  EXPECT_EQ(Controle<QLabel>("Label2")->property("tag").toInt(), 6);
  EXPECT_EQ(v2->property("tag").toInt(), 7);
  EXPECT_EQ(m_form->PanelVoies->cadre(6), v3);
  EXPECT_TRUE(v3->title().startsWith(QStringLiteral("V3=EA2"))) << v3->title().toStdString();
  EXPECT_TRUE(v2->title().startsWith(QStringLiteral("V2=EA1"))) << v2->title().toStdString();
  // The column keeps V1, V2, V3, V4 from the bottom up: only sizes change.
  QTRY_VERIFY(v3->height() > v2->height());
  QTRY_VERIFY(v3->geometry().bottom() < v2->geometry().top());
  EXPECT_LT(Controle<QGroupBox>("GroupBox2")->geometry().bottom(), v3->geometry().top());
  // A click on a box opens its own channel, thin or not.
  QTest::mouseClick(v3, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseClick(v2, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(recus, (std::vector<int>{6, 7}));
  // A calibrated input names the unit of its read-out, not a span no sensor reaches.
  model::Tvoie &v1 = g.voie(5);
  v1.Nom = "T";
  v1.FixeUnite("°C");
  v1.Capteur = true;
  v1.UnVolt = 227.04;
  v1.CalculeEchelle();
  m_form->RafraichitPanneaux();
  EXPECT_EQ(Controle<QGroupBox>("GroupBox5")->title(), QStringLiteral("T=EA0 (°C)"));
}

TEST_F(FenetreTest, ARepaintShowsTheReadOutsWithTheCrosses) {
  display::TgrapheKVX &g = m_form->graphe();
  g.Mode = display::kModePointParPoint;
  g.voie(5).Active = true;
  g.voie(5).valeurLue = 1.25;
  m_form->RafraichitPanneaux();  // clears the read-outs, as every settings change does
  auto *l1 = Controle<QLabel>("Label1");
  ASSERT_TRUE(l1->text().isEmpty());
  m_form->RedessineGraphe();
  QTRY_COMPARE(l1->text(), QString::fromStdString(g.voie(5).TexteValeurCourante()));
  EXPECT_DOUBLE_EQ(g.voie(5).valeurCourante, 1.25) << "the value read, not mid-range";
  // In a timed scan the read-outs are the scan's to fill.
  g.Mode = display::kModeTemps;
  m_form->RafraichitPanneaux();
  m_form->RedessineGraphe();
  QTest::qWait(50);
  EXPECT_TRUE(l1->text().isEmpty());
}

TEST_F(FenetreTest, AtItsMinimumSizeNoPanelOfAnyModeOverlapsAnother) {
  display::TgrapheKVX &g = m_form->graphe();
  for (int mode = 0; mode <= 4; ++mode) {
    SCOPED_TRACE(mode);
    g.Mode = static_cast<std::uint8_t>(mode);
    m_form->RafraichitPanneaux();
    m_form->resize(300, 200);
    QTRY_COMPARE(m_form->size(), m_form->minimumSize());
    EXPECT_GE(m_form->width(), 550);
    EXPECT_GE(m_form->height(), 380);
    QCoreApplication::processEvents();
    QList<QWidget *> boites;
    for (QWidget *w :
         m_form->PanelMode->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
      if (w->isVisible()) boites << w;
    for (QWidget *b : boites) {
      EXPECT_TRUE(m_form->PanelMode->rect().contains(b->geometry()))
          << b->objectName().toStdString();
      for (QWidget *autre : boites) {
        if (autre != b) {
          EXPECT_FALSE(b->geometry().intersects(autre->geometry()));
        }
      }
      QList<QWidget *> dedans;
      for (QWidget *w : b->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (w->isVisible()) dedans << w;
      for (QWidget *w : dedans) {
        EXPECT_TRUE(b->rect().contains(w->geometry()))
            << w->objectName().toStdString() << " cut in " << b->objectName().toStdString();
        for (QWidget *autre : dedans) {
          if (autre != w) {
            EXPECT_FALSE(w->geometry().intersects(autre->geometry()))
                << w->objectName().toStdString() << " over " << autre->objectName().toStdString();
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace kvx::ui
