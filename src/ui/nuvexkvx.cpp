// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/nuvexkvx.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "device/lecture_entree.h"
#include "display/couleurs.h"
#include "display/marqueur.h"
#include "model/capteur.h"
#include "model/entree_analogique.h"
#include "model/erreurs.h"
#include "model/expression.h"
#include "model/masse.h"
#include "model/nombres.h"
#include "platform/qpainter_canvas.h"
#include "ui/boutons_dialogue.h"
#include "ui/capteurs_dlg.h"
#include "ui/champs_lus.h"
#include "ui/dialogue_modal.h"
#include "ui/etalonne_inter.h"
#include "ui/filtre_saisie.h"
#include "ui/formulaire.h"
#include "ui/nomme.h"
#include "ui/radio_group.h"

namespace kvx::ui {

namespace {

constexpr int kPeriodeLecture = 220;  // ms
constexpr int kRubriqueAide = 6;
constexpr int kCodeMax = 255;
constexpr int kEntreesGain6 = 4;  // EA0..EA3 go through the connection module

// The colours offered, as channels store them (0x00BBGGRR).
struct CouleurNommee {
  const char *nom;
  std::int32_t valeur;
};
constexpr CouleurNommee kCouleurs[] = {
    {"Noir", 0x000000},     {"Marron", 0x000080},       {"Vert", 0x008000},
    {"Olive", 0x008080},    {"Marine", 0x800000},       {"Pourpre", 0x800080},
    {"Sarcelle", 0x808000}, {"Gris", 0x808080},         {"Argent", 0xC0C0C0},
    {"Rouge", 0x0000FF},    {"Citron vert", 0x00FF00},  {"Jaune", 0x00FFFF},
    {"Bleu", 0xFF0000},     {"Fuchsia", 0xFF00FF},      {"Aqua", 0xFFFF00},
    {"Blanc", 0xFFFFFF},    {"Vert monnaie", 0xC0DCC0}, {"Bleu ciel", 0xF0CAA6},
    {"Crème", 0xF0FBFF},    {"Gris moyen", 0xA4A0A0},
};
constexpr const char *kMotifs[] = {"Croix", "Croix diag.", "Cercle", "Carré", "Losange"};

QIcon Echantillon(std::int32_t couleur) {
  QPixmap p(16, 12);
  const display::Rgb c = display::CouleurRgb(couleur);
  p.fill(QColor(c.r, c.g, c.b));
  QPainter peintre(&p);
  peintre.setPen(Qt::darkGray);
  peintre.drawRect(0, 0, 15, 11);
  return QIcon(p);
}

QIcon ImageMotif(std::uint8_t motif) {
  QPixmap p(16, 16);
  p.fill(Qt::white);
  {
    QPainter peintre(&p);
    platform::QPainterCanvas toile(peintre, {16, 16}, false);
    toile.setPen(display::Pen{});
    toile.setBrush(display::Brush{{0, 0, 0}, display::BrushStyle::Solid});
    display::DessineMarqueur(toile, motif, {8, 8}, 5);
  }
  return QIcon(p);
}

QString Texte(const std::string &s) {
  return QString::fromStdString(s);
}

}  // namespace

TNuvexKvxDlg::TNuvexKvxDlg(model::TlisteCapteur &capteurs, QWidget *parent)
    : QDialog(parent), m_capteurs(capteurs) {
  setObjectName(QStringLiteral("NuvexKvxDlg"));
  setWindowTitle(QStringLiteral("DUv Nuvex KVX"));
  Timer = Nomme(new QTimer(this), "Timer");
  Timer->setInterval(kPeriodeLecture);

  auto *gauche = new QVBoxLayout;
  gauche->addWidget(CreeGrandeur());
  gauche->addWidget(CreeEntree());
  gauche->addWidget(CreeAffichage());
  gauche->addStretch(1);

  // The bar of the raw code, its zero line under "Ref Alt" across it.
  Gauge1 = Nomme(new QProgressBar(this), "Gauge1");
  Gauge1->setOrientation(Qt::Vertical);
  Gauge1->setRange(0, kCodeMax);
  Gauge1->setTextVisible(false);
  Gauge1->setMinimumHeight(180);
  BevelZero = Nomme(new QFrame(Gauge1), "BevelZero");
  BevelZero->setFrameShape(QFrame::HLine);
  BevelZero->setFrameShadow(QFrame::Sunken);
  BevelZero->setToolTip(QStringLiteral("Zéro"));

  auto *haut = new QHBoxLayout;
  haut->addLayout(gauche, 1);
  haut->addWidget(Gauge1);

  OKBtn = Nomme(new QPushButton(QStringLiteral("&Activer"), this), "OKBtn");
  OKBtn->setDefault(true);
  DesactiveBtn = Nomme(new QPushButton(QStringLiteral("&Désactiver"), this), "DesactiveBtn");
  BoutonsDialogue boutons = CreeBoutonsDialogue(this, kRubriqueAide);
  HelpBtn = boutons.aide;
  boutons.rangee->removeWidget(boutons.ok);
  boutons.rangee->removeWidget(boutons.abandon);
  delete boutons.ok;
  delete boutons.abandon;
  boutons.rangee->insertWidget(1, OKBtn);
  boutons.rangee->insertWidget(2, DesactiveBtn);
  DesactiveBtn->setAutoDefault(false);

  auto *l = new QVBoxLayout(this);
  l->addLayout(haut);
  l->addWidget(CreeEtalonnage());
  l->addLayout(boutons.rangee);
  l->setSizeConstraint(QLayout::SetFixedSize);

  connect(Timer, &QTimer::timeout, this, &TNuvexKvxDlg::TimerTimer);
  connect(OKBtn, &QPushButton::clicked, this, &TNuvexKvxDlg::OKBtnClick);
  connect(DesactiveBtn, &QPushButton::clicked, this, &TNuvexKvxDlg::DesactiveBtnClick);
}

TNuvexKvxDlg::~TNuvexKvxDlg() = default;

QWidget *TNuvexKvxDlg::CreeGrandeur() {
  GrandeurGB = Nomme(new QGroupBox(QStringLiteral("&Grandeur physique"), this), "GrandeurGB");
  EditNom = Nomme(new QLineEdit(GrandeurGB), "EditNom");
  EditNom->setMaxLength(static_cast<int>(model::kNomCapteurMax));
  FiltreSymbole(EditNom);
  EditUnite = Nomme(new QLineEdit(GrandeurGB), "EditUnite");
  EditUnite->setMaxLength(static_cast<int>(model::kUniteCapteurMax));
  EditSignif = Nomme(new QLineEdit(GrandeurGB), "EditSignif");
  EditValeur = Nomme(new QLineEdit(GrandeurGB), "EditValeur");
  EditValeur->setEnabled(false);
  GrandeurGB->setFocusProxy(EditNom);
  RangeChamps(GrandeurGB, {{"LabelNom", "&Symbole", EditNom},
                           {"LabelUnite", "&Unité", EditUnite},
                           {"LabelSignif", "&Signif.", EditSignif},
                           {"LabelValeur", "Valeur", EditValeur}});
  connect(EditNom, &QLineEdit::textEdited, this, &TNuvexKvxDlg::NomOuUniteChange);
  connect(EditUnite, &QLineEdit::textEdited, this, &TNuvexKvxDlg::NomOuUniteChange);
  return GrandeurGB;
}

QWidget *TNuvexKvxDlg::CreeEntree() {
  GroupBox1 = Nomme(new QGroupBox(QStringLiteral("&Entrée analogique"), this), "GroupBox1");
  EntreeCB = Nomme(new QComboBox(GroupBox1), "EntreeCB");
  EntreeCB->setMaxVisibleItems(16);
  Gain6CB = Nomme(new QCheckBox(QStringLiteral("Calibre x6 (module de raccordement)"), GroupBox1),
                  "Gain6CB");
  ModuleRaccordLabel =
      Nomme(new QLabel(QStringLiteral("Si module de raccordement Re = 100 kΩ"), GroupBox1),
            "ModuleRaccordLabel");
  EtalonCB =
      Nomme(new QCheckBox(QStringLiteral("Avec capteurs ou étalonnage"), GroupBox1), "EtalonCB");
  CapteursBtn = Nomme(new QPushButton(QStringLiteral("&Capteurs"), GroupBox1), "CapteursBtn");
  CapteursBtn->setAutoDefault(false);
  MasseRG = new TRadioGroup("MasseRG", QStringLiteral("Référence"), 2, GroupBox1);
  MasseRG->FixeItems({QStringLiteral("Ref 0V"), QStringLiteral("Ref Alt")});
  auto *v = new QVBoxLayout(GroupBox1);
  v->addWidget(EntreeCB);
  v->addWidget(Gain6CB);
  v->addWidget(ModuleRaccordLabel);
  auto *ligne = new QHBoxLayout;
  ligne->addWidget(EtalonCB, 1);
  ligne->addWidget(CapteursBtn);
  v->addLayout(ligne);
  v->addWidget(MasseRG);
  connect(EntreeCB, qOverload<int>(&QComboBox::activated), this, &TNuvexKvxDlg::EntreeCBChange);
  connect(Gain6CB, &QCheckBox::clicked, this, &TNuvexKvxDlg::Gain6CBClick);
  connect(EtalonCB, &QCheckBox::clicked, this, &TNuvexKvxDlg::EtalonCBClick);
  connect(CapteursBtn, &QPushButton::clicked, this, &TNuvexKvxDlg::CapteursBtnClick);
  connect(MasseRG, &TRadioGroup::clicked, this, &TNuvexKvxDlg::MasseRGClick);
  return GroupBox1;
}

QWidget *TNuvexKvxDlg::CreeEtalonnage() {
  EtalonnageGB = Nomme(new QGroupBox(QStringLiteral("&Etalonnage"), this), "EtalonnageGB");
  Label0V = Nomme(new QLabel(QStringLiteral("Valeur0V"), EtalonnageGB), "Label0V");
  val0Edit = Nomme(new QLineEdit(EtalonnageGB), "val0Edit");
  PenteLabel = Nomme(new QLabel(EtalonnageGB), "PenteLabel");
  PenteEdit = Nomme(new QLineEdit(EtalonnageGB), "PenteEdit");
  Label0V->setBuddy(val0Edit);
  PenteLabel->setBuddy(PenteEdit);
  EtalonneInterBtn = Nomme(new QPushButton(QStringLiteral("Etalonnage interactif"), EtalonnageGB),
                           "EtalonneInterBtn");
  EtalonneInterBtn->setAutoDefault(false);
  AvecPotarLabel =
      Nomme(new QLabel(QStringLiteral("Régler d'abord le zéro avec le potentiomètre du capteur"),
                       EtalonnageGB),
            "AvecPotarLabel");
  AvecPotarLabel->setAccessibleName(QStringLiteral("AidePotar"));
  AideLabel = Nomme(new QLabel(QStringLiteral("Aide :"), EtalonnageGB), "AideLabel");
  LabelAide = Nomme(new QLabel(EtalonnageGB), "LabelAide");
  LabelAide->setWordWrap(true);
  LabelAide->setMinimumWidth(320);
  auto *g = new QGridLayout(EtalonnageGB);
  g->addWidget(Label0V, 0, 0);
  g->addWidget(val0Edit, 0, 1);
  g->addWidget(EtalonneInterBtn, 0, 2);
  g->addWidget(PenteLabel, 1, 0);
  g->addWidget(PenteEdit, 1, 1);
  g->addWidget(AvecPotarLabel, 2, 0, 1, 3);
  g->addWidget(AideLabel, 3, 0, Qt::AlignTop);
  g->addWidget(LabelAide, 3, 1, 1, 2);
  for (QLineEdit *e : {val0Edit, PenteEdit}) {
    FiltreNombre(e);
    e->installEventFilter(this);  // Enter applies the numbers, not "&Activer"
    connect(e, &QLineEdit::editingFinished, this, &TNuvexKvxDlg::EtalonnageEdite);
  }
  connect(EtalonneInterBtn, &QPushButton::clicked, this, &TNuvexKvxDlg::EtalonneInterBtnClick);
  return EtalonnageGB;
}

QWidget *TNuvexKvxDlg::CreeAffichage() {
  AffichageGB = Nomme(new QGroupBox(QStringLiteral("Affichage"), this), "AffichageGB");
  CouleurCombo = Nomme(new QComboBox(AffichageGB), "CouleurCombo");
  for (const CouleurNommee &c : kCouleurs)
    CouleurCombo->addItem(Echantillon(c.valeur), QString::fromUtf8(c.nom), c.valeur);
  PointCombo = Nomme(new QComboBox(AffichageGB), "PointCombo");
  for (std::uint8_t i = 0; i < model::kNbMotifs; ++i)
    PointCombo->addItem(ImageMotif(i), QString::fromUtf8(kMotifs[i]));
  auto *h = new QHBoxLayout(AffichageGB);
  h->addWidget(CouleurCombo, 1);
  h->addWidget(PointCombo, 1);
  return AffichageGB;
}

void TNuvexKvxDlg::FixeVoie(model::Tvoie &voie, device::BoxLink *lien) {
  m_voie = &voie;
  m_lien = lien;
}

void TNuvexKvxDlg::ChoisitCouleur(std::int32_t couleur) {
  int i = CouleurCombo->findData(couleur);
  if (i < 0) {
    // A colour of a configuration file that the list does not name.
    CouleurCombo->addItem(Echantillon(couleur), QStringLiteral("Personnalisée"), couleur);
    i = CouleurCombo->count() - 1;
  }
  CouleurCombo->setCurrentIndex(i);
}

void TNuvexKvxDlg::FormActivate() {
  model::Tvoie &v = *m_voie;
  EditNom->setText(Texte(v.Nom));
  EditUnite->setText(Texte(v.Unite));
  EditSignif->setText(Texte(v.Signif));
  LabelAide->setText(Texte(v.aide));
  m_entreeAuDebut = v.NumeroNuvex;
  m_gain6AuDebut = v.gain6;
  m_activeAuDebut = v.Active;
  EtalonCB->setChecked(v.Capteur);
  ChoisitCouleur(v.Couleur);
  PointCombo->setCurrentIndex(v.Motif < model::kNbMotifs ? v.Motif : 0);
  val0Edit->setText(Texte(model::TexteEdition(v.Offset)));
  PenteEdit->setText(Texte(model::TexteEdition(v.UnVolt)));
  m_textesLus = val0Edit->text() + QChar(0) + PenteEdit->text();
  Gain6CB->setChecked(v.gain6);
  NomOuUniteChange();
  // The shadow of the side shown takes the channel. The other keeps what
  // it had, unless it was another channel's: then it starts from this one.
  model::Tvoie &ombre = v.Capteur ? m_ombreCapteur : m_ombreBrute;
  ombre = v;
  if (m_voiePrecedente != m_voie) {
    (v.Capteur ? m_ombreBrute : m_ombreCapteur) = v;
    if (v.Capteur) m_ombreBrute.Signif.clear();
  }
  m_voiePrecedente = m_voie;
  const bool module = v.NumeroNuvex >= 0 && v.NumeroNuvex < kEntreesGain6;
  ModuleRaccordLabel->setVisible(module);
  Gain6CB->setVisible(module);
  MasseRG->FixeItemIndex(model::Masse() ? 1 : 0);
  AppliqueEtalonnage();
  RemplitEntrees();
  m_change = false;
  DemarreLecture();
}

int TNuvexKvxDlg::Execute() {
  FormActivate();
  return ExecuteModal(*this, QDialog::Rejected);
}

void TNuvexKvxDlg::RemplitEntrees() {
  const bool refAlt = model::Masse();
  EntreeCB->clear();
  for (int n = 0; n < model::kNbEntreesBoitier; ++n)
    EntreeCB->addItem(
        Texte(model::TexteEntreeAnalogique(n, refAlt, Gain6CB->isChecked(), m_voie->alim)));
  EntreeCB->setCurrentIndex(std::clamp(m_voie->NumeroNuvex, 0, model::kNbEntreesBoitier - 1));
  BevelZero->setVisible(refAlt);
  BevelZero->setGeometry(0, Gauge1->height() / 2 - 1, Gauge1->width(), 2);
}

void TNuvexKvxDlg::AppliqueEtalonnage() {
  model::Tvoie &v = *m_voie;
  EtalonnageGB->setVisible(EtalonCB->isChecked());
  if (EtalonCB->isChecked() != v.Capteur) {
    v.Capteur = EtalonCB->isChecked();
    if (v.Capteur) {
      m_ombreBrute.Mini = v.Mini;
      m_ombreBrute.Maxi = v.Maxi;
      m_ombreBrute.Signif = EditSignif->text().toStdString();
      EditUnite->setText(Texte(m_ombreCapteur.Unite));
      EditSignif->setText(Texte(m_ombreCapteur.Signif));
      LitEtalonnage();
    } else {
      m_ombreCapteur.Mini = v.Mini;
      m_ombreCapteur.Maxi = v.Maxi;
      m_ombreCapteur.Unite = EditUnite->text().toStdString();
      m_ombreCapteur.Signif = EditSignif->text().toStdString();
      EditUnite->setText(QStringLiteral("V"));
      EditSignif->setText(Texte(m_ombreBrute.Signif));
    }
    v.CalculeEchelle();
    NomOuUniteChange();
  }
  MontreEtalonnage();
}

void TNuvexKvxDlg::MontreEtalonnage() {
  AvecPotarLabel->setVisible(m_voie->Etalonnage && m_voie->Capteur);
  LabelAide->setText(Texte(m_voie->aide));
  const bool aide = !m_voie->aide.empty();
  AideLabel->setVisible(aide);
  LabelAide->setVisible(aide);
}

void TNuvexKvxDlg::EtalonCBClick() {
  m_change = true;
  AppliqueEtalonnage();
}

void TNuvexKvxDlg::EntreeCBChange(int index) {
  m_voie->ChoisitEntree(index);
  // Points taken on the other input mean nothing now, however the dialog ends.
  if (index != m_entreeAuDebut) m_change = true;
  const bool module = index < kEntreesGain6;
  ModuleRaccordLabel->setVisible(module);
  Gain6CB->setVisible(module);
  if (m_lecture) m_lecture->FixeEntree(index);
}

void TNuvexKvxDlg::Gain6CBClick() {
  RemplitEntrees();
  m_voie->FixeGain6(Gain6CB->isChecked() && m_voie->NumeroNuvex < kEntreesGain6);
  if (m_voie->gain6 != m_gain6AuDebut) m_change = true;
}

void TNuvexKvxDlg::MasseRGClick(int index) {
  // The box has one reference for all its inputs: the caller re-applies it
  // to the other channels since the change is reported.
  model::FixeMasse(index > 0);
  m_voie->ChoisitEntree(m_voie->NumeroNuvex);
  m_change = true;
  RemplitEntrees();
}

bool TNuvexKvxDlg::LitEtalonnage() {
  m_textesLus = val0Edit->text() + QChar(0) + PenteEdit->text();
  double valeurs[2] = {0, 0};
  if (!LitExpressions(this, {val0Edit, PenteEdit}, valeurs,
                      QStringLiteral("Nombre mal écrit (%1)")))
    return false;
  m_voie->Offset = valeurs[0];
  m_voie->UnVolt = valeurs[1];
  m_voie->CalculeEchelle();
  return true;
}

void TNuvexKvxDlg::EtalonnageEdite() {
  // Leaving the field for a message box must not read it a second time.
  QWidget *modal = QApplication::activeModalWidget();
  if (!isVisible() || !EtalonCB->isChecked() || (modal != nullptr && modal != this)) return;
  // Focus leaving a field already read (for a message box, or twice) reads
  // nothing new.
  if (val0Edit->text() + QChar(0) + PenteEdit->text() == m_textesLus) return;
  LitEtalonnage();
}

void TNuvexKvxDlg::EtalonnageValide() {
  if (!LitEtalonnage()) return;
  // The activation's view of the calibration, without losing what the user
  // typed elsewhere in the dialog.
  val0Edit->setText(Texte(model::TexteEdition(m_voie->Offset)));
  PenteEdit->setText(Texte(model::TexteEdition(m_voie->UnVolt)));
  m_textesLus = val0Edit->text() + QChar(0) + PenteEdit->text();
  TimerTimer();
}

bool TNuvexKvxDlg::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::KeyPress && (watched == val0Edit || watched == PenteEdit)) {
    const int cle = static_cast<QKeyEvent *>(event)->key();
    if (cle == Qt::Key_Return || cle == Qt::Key_Enter) {
      EtalonnageValide();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TNuvexKvxDlg::NomOuUniteChange() {
  const std::string unite = EditUnite->text().toStdString();
  PenteLabel->setText(Texte(model::TextePente(EditNom->text().toStdString(), unite)));
  AffichageGB->setTitle(QStringLiteral("Affichage (%1)").arg(Texte(unite)));
}

void TNuvexKvxDlg::DemarreLecture() {
  if (m_lien != nullptr && !m_lecture)
    m_lecture = std::make_unique<device::LectureEntree>(*m_lien, EntreeCB->currentIndex(),
                                                        std::chrono::milliseconds(kPeriodeLecture));
  Timer->start();
}

void TNuvexKvxDlg::ArreteLecture() {
  Timer->stop();
  m_lecture.reset();  // the link goes back to the window, or to a nested dialog
}

void TNuvexKvxDlg::TimerTimer() {
  const int code = m_lecture ? m_lecture->DernierCode() : -1;
  if (code < 0) {
    Gauge1->setValue(0);
    EditValeur->clear();
    return;
  }
  Gauge1->setValue(code);
  EditValeur->setText(Texte(model::TexteEdition(m_voie->ValeurDeCode(code))));
}

void TNuvexKvxDlg::OKBtnClick() {
  model::Tvoie &v = *m_voie;
  if (EtalonCB->isChecked() && !LitEtalonnage()) {
    MontreMessage(this, QMessageBox::Warning, windowTitle(),
                  QStringLiteral("Points d'étalonnage non définis"));
    return;
  }
  const bool capteur = EtalonCB->isChecked();
  const std::string unite = capteur ? EditUnite->text().toStdString() : "V";
  // The user corrects the unit; nothing is stored half-way.
  if (capteur && !UniteLisible(this, EditUnite)) return;
  ArreteLecture();
  m_change = m_change || !m_activeAuDebut;
  v.Capteur = capteur;
  v.Nom = EditNom->text().toStdString();
  v.FixeUnite(unite);
  v.ChoisitEntree(EntreeCB->currentIndex());
  v.Signif = EditSignif->text().toStdString();
  v.Active = true;
  v.Couleur = CouleurCombo->currentData().toInt();
  v.Motif = static_cast<std::uint8_t>(std::max(0, PointCombo->currentIndex()));
  v.CalculeEchelle();
  accept();
}

void TNuvexKvxDlg::DesactiveBtnClick() {
  ArreteLecture();
  m_change = m_change || m_activeAuDebut;
  m_voie->Active = false;
  accept();
}

void TNuvexKvxDlg::CapteursBtnClick() {
  ArreteLecture();
  TListeCapteursDlg liste(m_capteurs, *m_voie, this);
  if (liste.Execute() == QDialog::Accepted) {
    if (!liste.message().isEmpty())
      MontreMessage(this, QMessageBox::Information, windowTitle(), liste.message());
    FormActivate();
    m_change = true;
  }
  DemarreLecture();
}

void TNuvexKvxDlg::EtalonneInterBtnClick() {
  ArreteLecture();
  m_voie->Nom = EditNom->text().toStdString();
  m_voie->Unite = EditUnite->text().toStdString();
  TEtalonneInterDlg etalonne(*m_voie, m_lien, this);
  if (etalonne.Execute() == QDialog::Accepted) {
    val0Edit->setText(Texte(model::TexteEdition(m_voie->Offset)));
    PenteEdit->setText(Texte(model::TexteEdition(m_voie->UnVolt)));
    EtalonCB->setChecked(true);
    AppliqueEtalonnage();
    m_voie->CalculeEchelle();
    m_change = true;
  }
  DemarreLecture();
}

void TNuvexKvxDlg::keyPressEvent(QKeyEvent *event) {
  // Escape is "Désactiver", as the button says; the window's close button
  // applies nothing.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    DesactiveBtnClick();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TNuvexKvxDlg::done(int r) {
  ArreteLecture();
  QDialog::done(r);
}

}  // namespace kvx::ui
