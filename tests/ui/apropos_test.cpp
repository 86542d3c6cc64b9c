// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/apropos.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <memory>
#include <vector>

#include "model/version.h"
#include "outils_dialogue.h"
#include "platform/port_table.h"
#include "ui/aide_fenetre.h"
#include "ui/kvxmain.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

// The about box on the link of a window that is never shown, so no search
// runs: the port in use is the one the test sets.
class AboutBoxTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    TKVXmainForm::Options o;
    o.ports = &m_ports;
    m_form = std::make_unique<TKVXmainForm>(o);
    m_boite = std::make_unique<TAboutBox>(m_form->lien(), m_form.get());
    m_boite->FixeOuvreAdresse([this](const QUrl &url) {
      m_ouvertes.push_back(url);
      return m_navigateurRepond;
    });
  }
  void TearDown() override { m_boite->hide(); }

  platform::PortTable m_ports{{"/dev/ttyKVXessai0", "/dev/ttyKVXessai1"}, ""};
  std::unique_ptr<TKVXmainForm> m_form;
  std::unique_ptr<TAboutBox> m_boite;
  std::vector<QUrl> m_ouvertes;
  bool m_navigateurRepond = true;
};

TEST_F(AboutBoxTest, ShowsTheProductItsVersionsAndItsButtons) {
  struct Controle {
    const char *nom;
    const char *texte;
  };
  const Controle attendus[] = {
      {"ProductName", "Acquisition par Nuvex KVX"},
      {"Version", "Version 2.19 20/05/2013"},
      {"Comments", "Pour Tabulyse Windows Unicode"},
      {"OKButton", "&OK"},
      {"BitBtn1", "Version à jour"},
  };
  for (const Controle &c : attendus) {
    const QWidget *w = m_boite->findChild<QWidget *>(QString::fromLatin1(c.nom));
    ASSERT_NE(w, nullptr) << c.nom;
    EXPECT_EQ(test::TexteDe(w), QString::fromUtf8(c.texte)) << c.nom;
  }
  EXPECT_EQ(m_boite->windowTitle(), QStringLiteral("A propos de KVX"));
  // The build's own version beside the box's, so a report names both.
  EXPECT_EQ(m_boite->VersionKVX->text(),
            QStringLiteral("KVX ") + QString::fromLatin1(model::kVersion));
  EXPECT_FALSE(m_boite->ProgramIcon->pixmap().isNull());
  // Addresses of the project, never a maker's.
  EXPECT_EQ(m_boite->Label1->text(), QStringLiteral("KVX developers <kvx@kvx-projet.org>"));
  EXPECT_EQ(QString::fromLatin1(kAdresseMiseAJour), QStringLiteral("https://kvx-projet.org/"));
}

TEST_F(AboutBoxTest, NamesThePortInUseByNumberAndDevicePathEachTimeItOpens) {
  struct Cas {
    int port;
    const char *texte;
  };
  const Cas cas[] = {
      {1, "COM1 (/dev/ttyKVXessai0)"},
      {2, "COM2 (/dev/ttyKVXessai1)"},
      {7, "COM7"},  // a stored number the table no longer has
  };
  for (const Cas &c : cas) {
    m_form->lien().setComNumber(c.port);
    m_boite->show();
    EXPECT_EQ(m_boite->VoieSerieL->text(), QString::fromLatin1(c.texte)) << c.port;
    m_boite->hide();
  }
}

TEST_F(AboutBoxTest, AnUpdatePageThatCannotBeOpenedSaysWhichAddress) {
  m_navigateurRepond = false;
  m_boite->show();
  QString message;
  test::QuandOuvert<QMessageBox>(m_boite.get(), [&message](QMessageBox *m) {
    message = m->text();
    m->accept();
  });
  test::Clique(m_boite.get(), "BitBtn1");
  EXPECT_EQ(message, QStringLiteral("Impossible d'accéder à https://kvx-projet.org/"));
  ASSERT_EQ(m_ouvertes.size(), 1u);
  EXPECT_EQ(m_ouvertes[0], QUrl(QStringLiteral("https://kvx-projet.org/")));
  EXPECT_TRUE(m_boite->isVisible());
}

TEST_F(AboutBoxTest, AnUpdatePageThatOpensSaysNothing) {
  m_boite->show();
  test::Clique(m_boite.get(), "BitBtn1");
  ASSERT_EQ(m_ouvertes.size(), 1u);
  EXPECT_EQ(m_ouvertes[0].toString(), QString::fromLatin1(kAdresseMiseAJour));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(ModauxOuverts(), 0);
}

TEST_F(AboutBoxTest, TheMenuItemShowsTheBoxModallyUntilOK) {
  EXPECT_FALSE(m_form->AproposItem->isEnabled());
  RelieAide(*m_form);
  ASSERT_TRUE(m_form->AproposItem->isEnabled());
  m_form->lien().setComNumber(2);
  QString port;
  bool modale = false;
  test::QuandOuvert<TAboutBox>(m_form.get(), [&](TAboutBox *b) {
    port = b->VoieSerieL->text();
    modale = b->isModal();
    test::Clique(b, "OKButton");
  });
  m_form->AproposItem->trigger();
  EXPECT_TRUE(modale);
  EXPECT_EQ(port, QStringLiteral("COM2 (/dev/ttyKVXessai1)"));
  EXPECT_EQ(ModauxOuverts(), 0);
  // Made for one showing: only the fixture's own box is left.
  EXPECT_EQ(m_form->findChildren<TAboutBox *>().size(), 1);
}

TEST(IconeKVX, ComesInEverySizeTheDesktopDrawsIt) {
  test::Application();
  const QIcon icone = IconeKVX();
  for (int cote : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QPixmap image = icone.pixmap(cote, cote);
    ASSERT_FALSE(image.isNull()) << cote;
    EXPECT_EQ(image.width(), cote) << cote;
    // Drawn, not blank: the box's blue is in the middle of every size.
    const QColor centre = image.toImage().pixelColor(cote / 2, cote * 7 / 8);
    EXPECT_GT(centre.alpha(), 0) << cote;
    EXPECT_GT(centre.blue(), centre.red()) << cote;
  }
}

}  // namespace
}  // namespace kvx::ui
