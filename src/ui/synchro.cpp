// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/synchro.h"
#include "ui/nomme.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <initializer_list>

#include "device/acquisition_engine.h"
#include "device/configuration_rules.h"
#include "device/trigger_dialog_rules.h"
#include "display/graphe.h"
#include "ui/boutons_dialogue.h"
#include "ui/dialogue_modal.h"
#include "ui/hints.h"
#include "ui/radio_group.h"

namespace kvx::ui {

namespace {

// A page's explanation, one label a line as the user reads it.
void AjouteLignes(QVBoxLayout *l, QWidget *page, std::initializer_list<const char *> lignes) {
  for (const char *ligne : lignes) l->addWidget(new QLabel(QString::fromUtf8(ligne), page));
}

QScrollBar *Barre(const char *nom, int mini, int maxi, QWidget *parent) {
  auto *b = Nomme(new QScrollBar(Qt::Horizontal, parent), nom);
  b->setRange(mini, maxi);
  b->setPageStep(device::kPasScrollSynchro);
  b->setMinimumWidth(140);
  return b;
}

}  // namespace

TSynchroDlg::TSynchroDlg(display::TgrapheKVX &graphe, device::AcquisitionEngine &moteur,
                         QWidget *parent)
    : QDialog(parent), m_graphe(graphe), m_moteur(moteur) {
  setObjectName(QStringLiteral("SynchroDlg"));
  setWindowTitle(QStringLiteral("Synchronisation"));
  SynchroRG = new TRadioGroup("SynchroRG", QStringLiteral("&Mode de synchronisation"), 3, this);
  SynchroRG->FixeItems({QStringLiteral("&Front"), QStringLiteral("&Relaxé (sans)"),
                        QStringLiteral("&Clavier"), QStringLiteral("&Seuil"),
                        QStringLiteral("&Bouge")});
  CreePages();
  BoutonsDialogue boutons = CreeBoutonsDialogue(this, kAideSynchro);
  OKBtn = boutons.ok;
  CancelBtn = boutons.abandon;
  HelpBtn = boutons.aide;
  auto *l = new QVBoxLayout(this);
  l->addWidget(SynchroRG);
  l->addWidget(Notebook);
  l->addLayout(boutons.rangee);
  l->setSizeConstraint(QLayout::SetFixedSize);

  connect(SynchroRG, &TRadioGroup::clicked, this, &TSynchroDlg::SynchroRGClick);
  connect(AbscisseRG, &TRadioGroup::clicked, this, &TSynchroDlg::VoieClick);
  connect(BougeRG, &TRadioGroup::clicked, this, &TSynchroDlg::VoieClick);
  connect(SeuilScroll, &QScrollBar::valueChanged, this, &TSynchroDlg::SeuilScrollChange);
  connect(BougeScroll, &QScrollBar::valueChanged, this, &TSynchroDlg::BougeScrollChange);
  connect(RazSeuilBtn, &QPushButton::clicked, this,
          [this] { SeuilScroll->setValue(device::kSeuilMilieu); });
  connect(OKBtn, &QPushButton::clicked, this, &TSynchroDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TSynchroDlg::CreePages() {
  // The pages follow the mode; the user never picks one by a tab.
  Notebook = Nomme(new QStackedWidget(this), "Notebook");
  FrontTS = Nomme(new QWidget(Notebook), "FrontTS");
  EFRG = new TRadioGroup("EFRG", QStringLiteral("Entrée &front"), 1, FrontTS);
  // The box's labels mark input 0 with the falling glyph and input 1 with the
  // rising one, the same glyphs as the graph's slope mark.
  EFRG->FixeItems({QStringLiteral("EF&0 ") + QString::fromUtf8(display::kMarqueDescendante),
                   QStringLiteral("EF&1 ") + QString::fromUtf8(display::kMarqueMontante)});
  auto *lf = new QVBoxLayout(FrontTS);
  lf->addWidget(EFRG, 0, Qt::AlignLeft);
  lf->addStretch(1);

  RelaxeTS = Nomme(new QWidget(Notebook), "RelaxeTS");
  auto *lr = new QVBoxLayout(RelaxeTS);
  AjouteLignes(lr, RelaxeTS, {"Acquisition en continu"});
  lr->addStretch(1);

  ClavierTS = Nomme(new QWidget(Notebook), "ClavierTS");
  auto *lc = new QVBoxLayout(ClavierTS);
  AjouteLignes(lc, ClavierTS,
               {"Synchronisation", "par frappe de la barre d'espace ", "ou ",
                "clic sur le bouton acquisition"});
  lc->addStretch(1);

  SeuilTS = CreeSeuil();
  BougeTS = CreeBouge();
  for (QWidget *page : {FrontTS, RelaxeTS, ClavierTS, SeuilTS, BougeTS}) Notebook->addWidget(page);
}

QWidget *TSynchroDlg::CreeSeuil() {
  auto *page = Nomme(new QWidget(Notebook), "SeuilTS");
  SensSeuilRG = new TRadioGroup("SensSeuilRG", QStringLiteral("&Seuil"), 1, page);
  SensSeuilRG->FixeItems({QStringLiteral("&Montant"), QStringLiteral("&Descendant")});
  auto *valeur = Nomme(new QGroupBox(QStringLiteral("Valeur du seuil"), page), "SeuilGB");
  SeuilScroll = Barre("SeuilScroll", device::kSeuilMin, device::kSeuilMax, valeur);
  LabelSeuil = Nomme(new QLabel(valeur), "LabelSeuil");
  LabelSeuil->setMinimumWidth(90);
  RazSeuilBtn = Nomme(new QPushButton(QStringLiteral("RàZ"), valeur), "RazSeuilBtn");
  RazSeuilBtn->setAutoDefault(false);
  FixeHint(RazSeuilBtn, QStringLiteral("RàZ|Seuil à zéro"));
  auto *lv = new QGridLayout(valeur);
  lv->addWidget(SeuilScroll, 0, 0, 1, 2);
  lv->addWidget(LabelSeuil, 1, 0);
  lv->addWidget(RazSeuilBtn, 1, 1);
  AbscisseRG = new TRadioGroup("AbscisseRG", QStringLiteral("&Voie"), 1, page);

  auto *rangee = new QHBoxLayout;
  rangee->addWidget(SensSeuilRG, 0, Qt::AlignTop);
  rangee->addWidget(valeur, 0, Qt::AlignTop);
  rangee->addWidget(AbscisseRG, 0, Qt::AlignTop);
  rangee->addStretch(1);
  auto *l = new QVBoxLayout(page);
  l->addLayout(rangee);
  AjouteLignes(l, page,
               {"L'acquisition démarre au passage du ", "seuil ", "avec un retard de qqs ms"});
  l->addStretch(1);
  return page;
}

QWidget *TSynchroDlg::CreeBouge() {
  auto *page = Nomme(new QWidget(Notebook), "BougeTS");
  auto *ecart = Nomme(new QGroupBox(QStringLiteral("Ecart significatif en bits"), page), "BougeGB");
  BougeScroll = Barre("BougeScroll", device::kBougeMin, device::kBougeMax, ecart);
  LabelBouge = Nomme(new QLabel(ecart), "LabelBouge");
  auto *le = new QVBoxLayout(ecart);
  le->addWidget(BougeScroll);
  le->addWidget(LabelBouge);
  BougeRG = new TRadioGroup("BougeRG", QStringLiteral("&Voie"), 1, page);

  auto *rangee = new QHBoxLayout;
  rangee->addWidget(ecart, 0, Qt::AlignTop);
  rangee->addWidget(BougeRG, 0, Qt::AlignTop);
  rangee->addStretch(1);
  auto *l = new QVBoxLayout(page);
  l->addLayout(rangee);
  AjouteLignes(
      l, page,
      {"L'acquisition démarre lorsque l'entrée ", "varie de", "N bits avec un retard de qqs ms"});
  l->addStretch(1);
  return page;
}

void TSynchroDlg::FormActivate() {
  SynchroRG->FixeItemIndex(m_graphe.ModeSynchro);
  SensSeuilRG->FixeItemIndex(m_graphe.PenteSynchro == 1 ? 1 : 0);
  EFRG->FixeItemIndex(m_moteur.EntreeFront());
  Notebook->setCurrentIndex(m_graphe.ModeSynchro);

  const device::TriggerChannels voies =
      device::BuildTriggerChannelList(device::EntriesOf(m_graphe), m_graphe.VoieSynchro);
  AbscisseRG->Vide();
  BougeRG->Vide();
  m_slots.clear();
  for (const device::ListItem &i : voies.list.items) {
    AbscisseRG->Ajoute(QString::fromStdString(i.texte));
    BougeRG->Ajoute(QString::fromStdString(i.texte));
    m_slots.push_back(i.slot);
  }
  AbscisseRG->FixeItemIndex(voies.list.selection);
  BougeRG->FixeItemIndex(voies.list.selection);
  m_graphe.VoieSynchro = voies.voie;

  m_voieAffichee = voies.voie;
  SeuilScroll->setValue(m_graphe.Seuil);
  BougeScroll->setValue(m_graphe.Bouge);
  // Also when the positions did not move since the last opening.
  SeuilScrollChange();
  BougeScrollChange();
}

int TSynchroDlg::Execute() {
  FormActivate();
  return ExecuteModal(*this, QDialog::Rejected);
}

void TSynchroDlg::SynchroRGClick(int mode) {
  Notebook->setCurrentIndex(mode);
}

void TSynchroDlg::VoieClick(int indice) {
  if (indice < 0 || indice >= static_cast<int>(m_slots.size())) return;
  m_voieAffichee = m_slots[static_cast<std::size_t>(indice)];
  // The threshold is a code; its value is read in the newly chosen input.
  SeuilScrollChange();
}

void TSynchroDlg::SeuilScrollChange() {
  int slot = m_voieAffichee;
  if (slot < device::kSlotV1 || slot > device::kSlotV4) slot = device::kSlotV1;
  LabelSeuil->setText(
      QString::fromStdString(device::ThresholdText(m_graphe.voie(slot), SeuilScroll->value())));
}

void TSynchroDlg::BougeScrollChange() {
  LabelBouge->setText(QString::number(BougeScroll->value()));
}

int TSynchroDlg::SlotDe(const TRadioGroup *liste) const {
  const int i = liste->itemIndex();
  return i < 0 || i >= static_cast<int>(m_slots.size()) ? 0 : m_slots[static_cast<std::size_t>(i)];
}

void TSynchroDlg::OKBtnClick() {
  const int mode = SynchroRG->itemIndex() < 0 ? m_graphe.ModeSynchro : SynchroRG->itemIndex();
  m_graphe.ModeSynchro = static_cast<std::uint8_t>(mode);
  m_moteur.FixeEntreeFront(EFRG->itemIndex() == 1 ? 1 : 0);
  m_graphe.PenteSynchro = static_cast<std::uint8_t>(SensSeuilRG->itemIndex() == 1 ? 1 : 0);
  m_graphe.Seuil = SeuilScroll->value();
  m_graphe.Bouge = BougeScroll->value();
  m_graphe.VoieSynchro =
      device::TriggerChannelOnOk(mode, SlotDe(AbscisseRG), SlotDe(BougeRG), m_graphe.VoieSynchro);
  accept();
}

}  // namespace kvx::ui
