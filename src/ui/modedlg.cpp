// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/modedlg.h"
#include "ui/nomme.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "device/configuration_rules.h"
#include "device/mode_dialog_rules.h"
#include "display/graphe.h"
#include "model/masse.h"
#include "ui/boutons_dialogue.h"
#include "ui/dialogue_modal.h"
#include "ui/radio_group.h"

namespace kvx::ui {

TmodeAcqDlg::TmodeAcqDlg(display::TgrapheKVX &graphe, QWidget *parent)
    : QDialog(parent), m_graphe(graphe) {
  setObjectName(QStringLiteral("modeAcqDlg"));
  setWindowTitle(QStringLiteral("Mode d'acquisition"));
  ModeRG = new TRadioGroup("ModeRG", QStringLiteral("&Mode d'acquisition"), 2, this);
  ModeRG->FixeItems({QStringLiteral("&Clavier"), QStringLiteral("&Temporel"),
                     QStringLiteral("&Point par point"), QStringLiteral("&Sortie analogique"),
                     QStringLiteral("&Veltor")});
  AbscisseRG = new TRadioGroup("AbscisseRG", QStringLiteral("&Abscisse"), 2, this);
  CreeTrace();
  CreeAxes();
  MasseRG = new TRadioGroup("MasseRG", QStringLiteral("Référence"), 1, this);
  MasseRG->FixeItems({QStringLiteral("Ref 0V"), QStringLiteral("Ref Alt")});
  BoutonsDialogue boutons = CreeBoutonsDialogue(this, kAideModeAcq);
  OKBtn = boutons.ok;
  CancelBtn = boutons.abandon;
  HelpBtn = boutons.aide;

  auto *haut = new QHBoxLayout;
  haut->addWidget(ModeRG, 1);
  haut->addWidget(AbscisseRG, 1);
  auto *milieu = new QHBoxLayout;
  milieu->addWidget(TraceGB);
  milieu->addWidget(GroupBox1);
  milieu->addWidget(MasseRG);
  auto *l = new QVBoxLayout(this);
  l->addLayout(haut);
  l->addLayout(milieu);
  l->addLayout(boutons.rangee);
  l->setSizeConstraint(QLayout::SetFixedSize);

  connect(ModeRG, &TRadioGroup::clicked, this, &TmodeAcqDlg::ModeRGClick);
  connect(AnalyseurLogiqueCB, &QCheckBox::clicked, this, &TmodeAcqDlg::AnalyseurLogiqueCBClick);
  connect(OKBtn, &QPushButton::clicked, this, &TmodeAcqDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TmodeAcqDlg::CreeTrace() {
  TraceGB = Nomme(new QGroupBox(QStringLiteral("&Données sous forme de"), this), "TraceGB");
  TraceLigneCB = Nomme(new QCheckBox(QStringLiteral("&Ligne"), TraceGB), "TraceLigneCB");
  TracePointsCB = Nomme(new QCheckBox(QStringLiteral("&Motifs"), TraceGB), "TracePointsCB");
  DimPointSE = Nomme(new QSpinBox(TraceGB), "DimPointSE");
  DimPointSE->setRange(device::kDimPointMin, device::kDimPointMax);
  auto *taille = new QLabel(QStringLiteral("Taille motifs"), TraceGB);
  taille->setBuddy(DimPointSE);
  SuperposerCB =
      Nomme(new QCheckBox(QStringLiteral("Superposer les acquisitions"), TraceGB), "SuperposerCB");
  auto *l = new QGridLayout(TraceGB);
  l->addWidget(TraceLigneCB, 0, 0, 1, 2);
  l->addWidget(TracePointsCB, 1, 0, 1, 2);
  l->addWidget(taille, 2, 0);
  l->addWidget(DimPointSE, 2, 1);
  l->addWidget(SuperposerCB, 3, 0, 1, 2);
}

void TmodeAcqDlg::CreeAxes() {
  GroupBox1 = Nomme(new QGroupBox(QStringLiteral("Axes"), this), "GroupBox1");
  AnalyseurLogiqueCB =
      Nomme(new QCheckBox(QStringLiteral("Analyseur logique"), GroupBox1), "AnalyseurLogiqueCB");
  AxeCB = Nomme(new QCheckBox(QStringLiteral("Axe vertical"), GroupBox1), "AxeCB");
  GrilleCB = Nomme(new QCheckBox(QStringLiteral("Grille"), GroupBox1), "GrilleCB");
  // The box keeps its size while the axis choice comes and goes.
  QSizePolicy garde = AxeCB->sizePolicy();
  garde.setRetainSizeWhenHidden(true);
  AxeCB->setSizePolicy(garde);
  auto *l = new QVBoxLayout(GroupBox1);
  l->addWidget(AnalyseurLogiqueCB);
  l->addWidget(AxeCB);
  l->addWidget(GrilleCB);
}

void TmodeAcqDlg::FormActivate() {
  MasseRG->FixeItemIndex(model::Masse() ? 1 : 0);
  ModeRG->FixeItemIndex(m_graphe.Mode);
  TraceLigneCB->setChecked(m_graphe.Ligne);
  TracePointsCB->setChecked(m_graphe.Points);
  AnalyseurLogiqueCB->setChecked(m_graphe.AnalLog);
  GrilleCB->setChecked(m_graphe.Grille);
  m_modeChange = false;
  m_modeActivation = m_graphe.Mode;
  ConstruitAbscisses(m_graphe.Mode);
  AxeCB->setChecked(m_graphe.AxeY);
  // One band per curve has no common vertical axis to label.
  AxeCB->setVisible(!m_graphe.AnalLog);
  DimPointSE->setValue(m_graphe.DimPoint);
  SuperposerCB->setChecked(m_graphe.vue.superposer);
}

bool TmodeAcqDlg::superposer() const {
  return SuperposerCB->isChecked();
}

int TmodeAcqDlg::Execute() {
  FormActivate();
  return ExecuteModal(*this, QDialog::Rejected);
}

void TmodeAcqDlg::ConstruitAbscisses(int mode) {
  const device::ChoiceList liste = device::BuildAbscissaList(
      mode, m_modeActivation, m_graphe.Abscisse, device::EntriesOf(m_graphe));
  AbscisseRG->Vide();
  m_slotsAbscisse.clear();
  for (const device::ListItem &i : liste.items) {
    AbscisseRG->Ajoute(QString::fromStdString(i.texte));
    m_slotsAbscisse.push_back(i.slot);
  }
  AbscisseRG->FixeItemIndex(liste.selection);
  AbscisseRG->setEnabled(liste.enabled);
}

void TmodeAcqDlg::ModeRGClick(int mode) {
  ConstruitAbscisses(mode);
}

void TmodeAcqDlg::AnalyseurLogiqueCBClick() {
  AxeCB->setVisible(!AnalyseurLogiqueCB->isChecked());
}

void TmodeAcqDlg::OKBtnClick() {
  const bool masse = MasseRG->itemIndex() > 0;
  if (masse != model::Masse()) {
    model::FixeMasse(masse);
    // Every input's range follows the reference: ±2.5 V becomes 0..5 V.
    for (int slot = device::kSlotV1; slot <= device::kSlotV4; ++slot) {
      model::Tvoie &v = m_graphe.voie(slot);
      v.ChoisitEntree(v.NumeroNuvex);
    }
  }
  const int mode = ModeRG->itemIndex() < 0 ? m_graphe.Mode : ModeRG->itemIndex();
  m_modeChange = m_graphe.Mode != mode;
  m_graphe.Mode = static_cast<std::uint8_t>(mode);
  const int choisi = AbscisseRG->itemIndex();
  const int slot = choisi < 0 ? 0 : m_slotsAbscisse[static_cast<std::size_t>(choisi)];
  m_graphe.Abscisse =
      static_cast<std::uint8_t>(device::AbscissaOnOk(mode, slot, m_graphe.Abscisse));
  m_graphe.Ligne = TraceLigneCB->isChecked();
  m_graphe.Points = TracePointsCB->isChecked();
  m_graphe.Grille = GrilleCB->isChecked();
  m_graphe.AxeY = AxeCB->isChecked();
  m_graphe.AnalLog = AnalyseurLogiqueCB->isChecked();
  m_graphe.DimPoint = DimPointSE->value();
  if (m_modeChange && mode == display::kModeClavier && m_saisieClavier) m_saisieClavier();
  accept();
}

}  // namespace kvx::ui
