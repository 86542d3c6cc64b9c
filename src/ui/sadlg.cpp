// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/sadlg.h"
#include "ui/nomme.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <string>

#include "device/box_facts.h"
#include "device/box_link.h"
#include "device/output_dialog_rules.h"
#include "model/sortie_analogique.h"
#include "ui/boutons_dialogue.h"
#include "ui/dialogue_modal.h"
#include "ui/spin_buttons.h"

namespace kvx::ui {

namespace {

constexpr int kLongueurSymbole = 8;

QScrollBar *Barre(const char *nom, QWidget *parent) {
  auto *b = Nomme(new QScrollBar(Qt::Horizontal, parent), nom);
  b->setRange(0, device::kCodeSortieMax);
  b->setPageStep(device::kPasScrollSortie);
  b->setMinimumWidth(180);
  return b;
}

QLineEdit *Affichage(const char *nom, QWidget *parent) {
  auto *e = Nomme(new QLineEdit(parent), nom);
  e->setReadOnly(true);
  e->setFocusPolicy(Qt::NoFocus);
  // Wide enough for "19.61 mV" in any desktop font.
  e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("888.88 mV")) + 12);
  return e;
}

}  // namespace

TSortieAnaDlg::TSortieAnaDlg(model::TsortieAnalogique &sortie, device::BoxLink &lien,
                             QWidget *parent)
    : QDialog(parent), m_sortie(sortie), m_lien(lien) {
  setObjectName(QStringLiteral("SortieAnaDlg"));
  setWindowTitle(QStringLiteral("Sortie analogique"));
  CreeNiveaux();
  CreeNomEtDeltat();
  InverseCB = Nomme(new QCheckBox(QStringLiteral("Tension décroissante"), this), "InverseCB");
  // Shown as on the box's other dialogs; the output has no calibration.
  EtalonCB = Nomme(new QCheckBox(QStringLiteral("Etalonnage"), this), "EtalonCB");
  BoutonsDialogue boutons = CreeBoutonsDialogue(this, kAideSortieAna);
  OKBtn = boutons.ok;
  CancelBtn = boutons.abandon;
  CancelBtn->setText(QStringLiteral("&Fermer"));
  HelpBtn = boutons.aide;

  auto *options = new QHBoxLayout;
  options->addWidget(InverseCB);
  options->addWidget(EtalonCB);
  options->addStretch(1);
  auto *bas = new QHBoxLayout;
  bas->addWidget(GroupBox1);
  bas->addWidget(GroupBox2);
  auto *l = new QVBoxLayout(this);
  l->addWidget(DebutGB);
  l->addWidget(FinGB);
  l->addLayout(bas);
  l->addLayout(options);
  l->addLayout(boutons.rangee);
  l->setSizeConstraint(QLayout::SetFixedSize);

  connect(DebutSAScroll, &QScrollBar::valueChanged, this, &TSortieAnaDlg::DebutSAScrollChange);
  connect(FinSAScroll, &QScrollBar::valueChanged, this, &TSortieAnaDlg::FinSAScrollChange);
  connect(DeltatSBtn, &TSpinButtons::descend, this, [this] {
    m_sortie.Deltat = device::DeltatDown(m_sortie.Deltat);
    AfficheDeltat();
  });
  connect(DeltatSBtn, &TSpinButtons::monte, this, [this] {
    m_sortie.Deltat = device::DeltatUp(m_sortie.Deltat);
    AfficheDeltat();
  });
  connect(OKBtn, &QPushButton::clicked, this, &TSortieAnaDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TSortieAnaDlg::CreeNiveaux() {
  DebutGB = Nomme(new QGroupBox(QStringLiteral("&Début"), this), "DebutGB");
  DebutSAScroll = Barre("DebutSAScroll", DebutGB);
  EditDebutSA = Affichage("EditDebutSA", DebutGB);
  auto *ld = new QHBoxLayout(DebutGB);
  ld->addWidget(DebutSAScroll, 1);
  ld->addWidget(EditDebutSA);
  // The mnemonic of the box's title moves to the bar it names.
  DebutGB->setFocusProxy(DebutSAScroll);

  FinGB = Nomme(new QGroupBox(QStringLiteral("&Fin"), this), "FinGB");
  FinSAScroll = Barre("FinSAScroll", FinGB);
  EditFinSA = Affichage("EditFinSA", FinGB);
  auto *lf = new QHBoxLayout(FinGB);
  lf->addWidget(FinSAScroll, 1);
  lf->addWidget(EditFinSA);
  FinGB->setFocusProxy(FinSAScroll);
}

void TSortieAnaDlg::CreeNomEtDeltat() {
  GroupBox1 = Nomme(new QGroupBox(QStringLiteral("&Symbole"), this), "GroupBox1");
  EditNomSA = Nomme(new QLineEdit(GroupBox1), "EditNomSA");
  EditNomSA->setMaxLength(kLongueurSymbole);
  auto *ls = new QVBoxLayout(GroupBox1);
  ls->addWidget(EditNomSA);
  GroupBox1->setFocusProxy(EditNomSA);

  GroupBox2 = Nomme(new QGroupBox(QStringLiteral("Intervalle de temps"), this), "GroupBox2");
  DeltatEdit = Affichage("DeltatEdit", GroupBox2);
  DeltatSBtn = new TSpinButtons(QStringLiteral("DeltatSBtn"), GroupBox2);
  auto *lt = new QHBoxLayout(GroupBox2);
  lt->addWidget(DeltatEdit, 1);
  lt->addWidget(DeltatSBtn);
}

void TSortieAnaDlg::FormActivate() {
  PlaceBarres(m_sortie.Debut, m_sortie.Fin);
  EditNomSA->setText(QString::fromStdString(m_sortie.Nom));
  // The output waits at the level the sweep starts from.
  EnvoieDebut();
  InverseCB->setChecked(m_sortie.Inverse);
  AfficheDeltat();
}

int TSortieAnaDlg::Execute() {
  FormActivate();
  return ExecuteModal(*this, QDialog::Rejected);
}

void TSortieAnaDlg::PlaceBarres(int debut, int fin) {
  // Both bars first, then the rules as if the user had set the end and the
  // start in turn: a level from a file that breaks them is mended here.
  device::OutputLevels l = device::EndMoved({0, fin});
  l.debut = debut;
  l = device::StartMoved(l);
  const QSignalBlocker bd(DebutSAScroll);
  const QSignalBlocker bf(FinSAScroll);
  DebutSAScroll->setValue(l.debut);
  FinSAScroll->setValue(l.fin);
  EditDebutSA->setText(QString::fromStdString(device::OutputLevelText(m_sortie, l.debut)));
  EditFinSA->setText(QString::fromStdString(device::OutputLevelText(m_sortie, l.fin)));
}

void TSortieAnaDlg::DebutSAScrollChange() {
  const device::OutputLevels l =
      device::StartMoved({DebutSAScroll->value(), FinSAScroll->value()});
  PlaceBarres(l.debut, l.fin);
  EnvoieDebut();
}

void TSortieAnaDlg::FinSAScrollChange() {
  const int debut = DebutSAScroll->value();
  const device::OutputLevels l = device::EndMoved({debut, FinSAScroll->value()});
  PlaceBarres(l.debut, l.fin);
  // The output stays at the start of the sweep while its end is set, unless
  // the start had to move down to make room.
  if (l.debut != debut) EnvoieDebut();
}

void TSortieAnaDlg::EnvoieDebut() {
  m_lien.SendCommand(std::string(device::cmd::kSetOutput) +
                     std::to_string(DebutSAScroll->value()));
}

void TSortieAnaDlg::AfficheDeltat() {
  DeltatEdit->setText(QString::fromStdString(device::DeltatText(m_sortie.Deltat)));
}

void TSortieAnaDlg::OKBtnClick() {
  m_sortie.Active = true;
  m_sortie.Nom = EditNomSA->text().toStdString();
  m_sortie.Fin = FinSAScroll->value();
  m_sortie.Debut = DebutSAScroll->value();
  m_sortie.Inverse = InverseCB->isChecked();
  m_sortie.CalculeRampe();
  accept();
}

}  // namespace kvx::ui
