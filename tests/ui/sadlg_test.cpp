// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/sadlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QToolButton>
#include <memory>
#include <vector>

#include "device/acquisition_engine.h"
#include "device/clock.h"
#include "device/simulated_box.h"
#include "device/simulated_port.h"
#include "display/graphe.h"
#include "model/separateur_decimal.h"
#include "outils_dialogue.h"
#include "ui/dialogues_fenetre.h"
#include "ui/kvxmain.h"
#include "ui/panel_mode.h"
#include "ui/spin_buttons.h"
#include "ui_test_app.h"

namespace kvx::ui {
namespace {

// The dialog on the window's link to the simulated box, whose output level
// shows what the dialog told it.
class SortieAnaDlgTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    m_table.addPeer(m_boitier);
    TKVXmainForm::Options o;
    o.ports = &m_table;
    o.lien.traceFolder = QDir::tempPath().toStdString();
    m_form = std::make_unique<TKVXmainForm>(o);
    m_form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    QTRY_VERIFY_WITH_TIMEOUT(m_form->lien().BoxPresent(), 3000);
    // The live reads stop while the dialog speaks to the box.
    m_form->moteur().HaltAcquisition();
    m_dlg = std::make_unique<TSortieAnaDlg>(Sortie(), m_form->lien(), m_form.get());
  }
  model::TsortieAnalogique &Sortie() { return m_form->graphe().sortieAnalogique(); }
  void Ouvre(int debut, int fin) {
    Sortie().Debut = debut;
    Sortie().Fin = fin;
    m_dlg->FormActivate();
    m_dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dlg.get()));
  }
  // The levels sent so far, in order, as the link's trace holds them.
  std::vector<int> Envois() const {
    std::vector<int> niveaux;
    const QString trace = QString::fromStdString(m_form->lien().trace().traceText());
    auto it = QRegularExpression(QStringLiteral("XSA (\\d+)")).globalMatch(trace);
    while (it.hasNext()) niveaux.push_back(it.next().captured(1).toInt());
    return niveaux;
  }
  // Where the box's output is once the command had time to cross the line.
  // The port hands the box its bytes as the link reads, so the link listens.
  void SortieVaA(int code) {
    QElapsedTimer attente;
    attente.start();
    while (m_boitier.outputCode() != code && attente.elapsed() < 2000) m_form->lien().DrainPort();
    EXPECT_EQ(m_boitier.outputCode(), code);
  }

  device::SimulatedBox m_boitier{std::chrono::steady_clock::now()};
  device::SimulatedPortTable m_table{device::SteadyClock::instance()};
  std::unique_ptr<TKVXmainForm> m_form;
  std::unique_ptr<TSortieAnaDlg> m_dlg;
};

TEST_F(SortieAnaDlgTest, ControlsCarryTheirTexts) {
  EXPECT_EQ(m_dlg->windowTitle(), QStringLiteral("Sortie analogique"));
  const struct {
    const char *nom, *texte;
  } rows[] = {{"DebutGB", "&Début"},
              {"FinGB", "&Fin"},
              {"GroupBox1", "&Symbole"},
              {"GroupBox2", "Intervalle de temps"},
              {"InverseCB", "Tension décroissante"},
              {"EtalonCB", "Etalonnage"},
              {"OKBtn", "&OK"},
              {"CancelBtn", "&Fermer"}};
  for (const auto &r : rows) {
    const QWidget *w = m_dlg->findChild<QWidget *>(QString::fromLatin1(r.nom));
    ASSERT_NE(w, nullptr) << r.nom;
    EXPECT_EQ(test::TexteDe(w), QString::fromUtf8(r.texte)) << r.nom;
  }
  EXPECT_EQ(m_dlg->HelpBtn->property("rubriqueAide").toInt(), 8);
  for (const QScrollBar *b : {m_dlg->DebutSAScroll, m_dlg->FinSAScroll}) {
    EXPECT_EQ(b->minimum(), 0);
    EXPECT_EQ(b->maximum(), 255);
    EXPECT_EQ(b->pageStep(), 10);
  }
  EXPECT_TRUE(m_dlg->EditDebutSA->isReadOnly());
  EXPECT_TRUE(m_dlg->EditFinSA->isReadOnly());
  EXPECT_TRUE(m_dlg->DeltatEdit->isReadOnly());
  EXPECT_EQ(m_dlg->EditNomSA->maxLength(), 8);
}

TEST_F(SortieAnaDlgTest, ActivationShowsTheChannelAndPutsTheOutputAtTheStart) {
  const char separateur = model::SeparateurDecimal();
  model::FixeSeparateurDecimal('.');
  const struct {
    int debut, fin;
    bool inverse;
    const char *texteDebut, *texteFin;
  } rows[] = {{51, 204, true, "1 V", "4 V"}, {0, 255, false, "0V", "5 V"}};
  for (const auto &r : rows) {
    Sortie().Nom = "Us";
    Sortie().Inverse = r.inverse;
    const std::size_t avant = Envois().size();
    Ouvre(r.debut, r.fin);
    EXPECT_EQ(m_dlg->DebutSAScroll->value(), r.debut);
    EXPECT_EQ(m_dlg->FinSAScroll->value(), r.fin);
    EXPECT_EQ(m_dlg->EditDebutSA->text(), QString::fromUtf8(r.texteDebut));
    EXPECT_EQ(m_dlg->EditFinSA->text(), QString::fromUtf8(r.texteFin));
    EXPECT_EQ(m_dlg->EditNomSA->text(), QStringLiteral("Us"));
    EXPECT_EQ(m_dlg->InverseCB->isChecked(), r.inverse);
    // Once, at the start level.
    const std::vector<int> envois = Envois();
    ASSERT_FALSE(envois.empty());
    EXPECT_EQ(envois.back(), r.debut);
    EXPECT_EQ(envois.size(), avant + 1);
    SortieVaA(r.debut);
  }
  model::FixeSeparateurDecimal(separateur);
}

TEST_F(SortieAnaDlgTest, StartBarKeepsBelowTheEndAndDrivesTheOutput) {
  const struct {
    int fin, tire, debut;
  } rows[] = {{100, 150, 92}, {255, 30, 30}, {100, 93, 92}};
  for (const auto &r : rows) {
    Ouvre(0, r.fin);
    m_dlg->DebutSAScroll->setValue(r.tire);
    EXPECT_EQ(m_dlg->DebutSAScroll->value(), r.debut) << r.tire;
    EXPECT_EQ(m_dlg->FinSAScroll->value(), r.fin) << r.tire;
    EXPECT_EQ(Envois().back(), r.debut) << r.tire;
    SortieVaA(r.debut);
  }
}

TEST_F(SortieAnaDlgTest, EndBarKeepsAboveTheStartAndLeavesTheOutput) {
  const struct {
    int debut, tire, fin;
  } rows[] = {{200, 150, 208}, {20, 240, 240}};
  for (const auto &r : rows) {
    Ouvre(r.debut, 255);
    const std::size_t envois = Envois().size();
    m_dlg->FinSAScroll->setValue(r.tire);
    EXPECT_EQ(m_dlg->FinSAScroll->value(), r.fin) << r.tire;
    EXPECT_EQ(m_dlg->DebutSAScroll->value(), r.debut) << r.tire;
    // The output stays where the sweep will begin.
    EXPECT_EQ(Envois().size(), envois) << r.tire;
    SortieVaA(r.debut);
  }
}

TEST_F(SortieAnaDlgTest, TimeStepButtonsApplyAtOnceWithinTheirLimits) {
  const char avant = model::SeparateurDecimal();
  model::FixeSeparateurDecimal(',');
  const struct {
    int avant;
    const char *bouton;
    int clics, apres;
    const char *texte;
  } rows[] = {{1000, "DeltatSBtnDown", 5, 500, "0,50 s"},
              {300, "DeltatSBtnDown", 5, 100, "0,10 s"},
              {9800, "DeltatSBtnUp", 5, 10000, "10,00 s"},
              {1000, "DeltatSBtnUp", 2, 1200, "1,20 s"}};
  for (const auto &r : rows) {
    Sortie().Deltat = r.avant;
    Ouvre(0, 255);
    for (int i = 0; i < r.clics; ++i) test::Clique(m_dlg.get(), r.bouton);
    EXPECT_EQ(Sortie().Deltat, r.apres) << r.bouton;
    EXPECT_EQ(m_dlg->DeltatEdit->text(), QString::fromUtf8(r.texte)) << r.bouton;
  }
  // Even when the dialog is then closed without OK.
  test::Clique(m_dlg.get(), "CancelBtn");
  EXPECT_EQ(Sortie().Deltat, 1200);
  model::FixeSeparateurDecimal(avant);
}

TEST_F(SortieAnaDlgTest, OkStoresTheSweepAndRebuildsTheRamp) {
  Sortie().Active = false;
  Sortie().Inverse = false;
  Ouvre(0, 255);
  m_dlg->FinSAScroll->setValue(60);
  m_dlg->DebutSAScroll->setValue(50);
  m_dlg->EditNomSA->setText(QStringLiteral("E"));
  test::Clique(m_dlg.get(), "InverseCB");
  test::Clique(m_dlg.get(), "OKBtn");
  EXPECT_EQ(m_dlg->result(), QDialog::Accepted);
  EXPECT_TRUE(Sortie().Active);
  EXPECT_EQ(Sortie().Nom, "E");
  EXPECT_EQ(Sortie().Debut, 50);
  EXPECT_EQ(Sortie().Fin, 60);
  EXPECT_TRUE(Sortie().Inverse);
  // Downwards from the end: 60, 59, ... 50.
  EXPECT_DOUBLE_EQ(Sortie().valeurs[0], 60 * 5.0 / 255);
  EXPECT_DOUBLE_EQ(Sortie().valeurs[10], 50 * 5.0 / 255);
}

TEST_F(SortieAnaDlgTest, CancelKeepsTheChannelAndTheOutputAtTheLastLevelSent) {
  Sortie().Nom = "Vsa";
  Ouvre(10, 255);
  m_dlg->DebutSAScroll->setValue(120);
  m_dlg->FinSAScroll->setValue(200);
  m_dlg->EditNomSA->setText(QStringLiteral("X"));
  test::Clique(m_dlg.get(), "CancelBtn");
  EXPECT_EQ(m_dlg->result(), QDialog::Rejected);
  EXPECT_EQ(Sortie().Debut, 10);
  EXPECT_EQ(Sortie().Fin, 255);
  EXPECT_EQ(Sortie().Nom, "Vsa");
  EXPECT_EQ(Envois().back(), 120);
  SortieVaA(120);
}

// Through the main window: the analog-output panel halts, opens a dialog
// made for this opening, and applies the configuration whatever the answer.
TEST(SortieAnaFenetre, PanelOpensTheDialogAndTheCaptionFollows) {
  test::AvecApplication application;
  TKVXmainForm form(TKVXmainForm::Options{});
  RelieDialogues(form);
  form.graphe().Mode = display::kModeSortieAnalogique;
  form.graphe().sortieAnalogique().Nom = "Vsa";
  form.moteur().ApplyConfiguration();
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_TRUE(form.PanelMode->SortieAnaGB->isVisible());
  const struct {
    QWidget *panneau;
    const char *fin;
    const char *titre;
  } rows[] = {{form.PanelMode->SortieAnaGB, "CancelBtn", "Vsa=SA 0-5 V"},
              {form.PanelMode->LabelSA, "OKBtn", "U=SA 0-5 V"}};
  for (const auto &r : rows) {
    form.Timer->start();
    bool arrete = false;
    test::QuandOuvert<TSortieAnaDlg>(&form, [&](TSortieAnaDlg *d) {
      arrete = !form.Timer->isActive();
      d->EditNomSA->setText(QStringLiteral("U"));
      d->findChild<QAbstractButton *>(QString::fromLatin1(r.fin))->click();
    });
    QTest::mouseClick(r.panneau, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(arrete) << r.fin;
    EXPECT_EQ(form.PanelMode->SortieAnaGB->title(), QString::fromUtf8(r.titre));
    EXPECT_EQ(form.findChild<TSortieAnaDlg *>(), nullptr) << "the dialog goes with its opening";
  }
}

}  // namespace
}  // namespace kvx::ui
