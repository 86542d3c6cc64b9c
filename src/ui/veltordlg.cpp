// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/veltordlg.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "model/expression.h"
#include "model/nombres.h"
#include "model/veltor.h"
#include "ui/boutons_dialogue.h"
#include "ui/dialogue_modal.h"
#include "ui/hints.h"
#include "ui/nomme.h"
#include "ui/radio_group.h"

namespace kvx::ui {

TVeltorCfg::TVeltorCfg(model::Tveltor &fourche, QWidget *parent)
    : QDialog(parent), m_fourche(fourche) {
  setObjectName(QStringLiteral("VeltorCfg"));
  setWindowTitle(QStringLiteral("Fourche optique"));
  NomVeltorEdit = Nomme(new QLineEdit(this), "NomVeltorEdit");
  NomVeltorEdit->setMaxLength(kLongueurNomVeltor);
  ModeRG = new TRadioGroup("ModeRG", QStringLiteral("Type de capteur"), 1, this);
  ModeRG->FixeItems({QStringLiteral("Linéaire"), QStringLiteral("Angulaire")});
  UniteRG = new TRadioGroup("UniteRG", QStringLiteral("&Unité"), 1, this);
  UniteRG->FixeItems({QStringLiteral("degré"), QStringLiteral("radian")});
  TailleTraitEdit = Nomme(new QLineEdit(this), "TailleTraitEdit");
  NegatifCB =
      Nomme(new QCheckBox(QStringLiteral("Chute : z varie de 0 à -zmax"), this), "NegatifCB");
  NbreMaxSE = Nomme(new QSpinBox(this), "NbreMaxSE");
  NbreMaxSE->setRange(kNbreMaxVeltorMin, kNbreMaxVeltorMax);
  NbreMaxSE->setSingleStep(kNbreMaxVeltorPas);
  FixeHint(NbreMaxSE, QStringLiteral("Rapatriement : 64 points par seconde"));
  BoutonsDialogue boutons = CreeBoutonsDialogue(this, kAideVeltor);
  OKBtn = boutons.ok;
  CancelBtn = boutons.abandon;
  HelpBtn = boutons.aide;

  auto *champs = new QFormLayout;
  auto *symbole = new QLabel(QStringLiteral("&Symbole"), this);
  symbole->setBuddy(NomVeltorEdit);
  champs->addRow(symbole, NomVeltorEdit);
  auto *taille = new QLabel(QStringLiteral("Demi période"), this);
  taille->setBuddy(TailleTraitEdit);
  UniteTailleLabel = Nomme(new QLabel(this), "UniteTailleLabel");
  auto *tailleEtUnite = new QHBoxLayout;
  tailleEtUnite->addWidget(TailleTraitEdit);
  tailleEtUnite->addWidget(UniteTailleLabel);
  champs->addRow(taille, tailleEtUnite);
  auto *nombre = new QLabel(QStringLiteral("Nombre maxi"), this);
  nombre->setBuddy(NbreMaxSE);
  champs->addRow(nombre, NbreMaxSE);
  auto *types = new QHBoxLayout;
  types->addWidget(ModeRG);
  types->addWidget(UniteRG);
  // The box keeps its place while the unit comes and goes.
  QSizePolicy garde = UniteRG->sizePolicy();
  garde.setRetainSizeWhenHidden(true);
  UniteRG->setSizePolicy(garde);
  auto *l = new QVBoxLayout(this);
  l->addLayout(types);
  l->addLayout(champs);
  l->addWidget(NegatifCB);
  l->addLayout(boutons.rangee);
  l->setSizeConstraint(QLayout::SetFixedSize);

  connect(ModeRG, &TRadioGroup::clicked, this, &TVeltorCfg::ModeRGClick);
  connect(UniteRG, &TRadioGroup::clicked, this, [this] { AfficheUniteTaille(); });
  connect(NomVeltorEdit, &QLineEdit::textEdited, this, &TVeltorCfg::NomVeltorEditChange);
  connect(OKBtn, &QPushButton::clicked, this, &TVeltorCfg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TVeltorCfg::FormActivate() {
  NomVeltorEdit->setText(QString::fromStdString(m_fourche.Nom));
  ModeRG->FixeItemIndex(m_fourche.angle ? 1 : 0);
  UniteRG->FixeItemIndex(m_fourche.radian ? 1 : 0);
  UniteRG->setVisible(m_fourche.angle);
  TailleTraitEdit->setText(QString::fromStdString(model::TexteEdition(m_fourche.Taille, 4)));
  NegatifCB->setChecked(m_fourche.Negatif);
  NbreMaxSE->setValue(m_fourche.nbremax);
  AfficheUniteTaille();
}

void TVeltorCfg::AfficheUniteTaille() {
  // A ruler's stripes are measured in metres, a wheel's slots in the angle
  // unit chosen beside.
  const bool angle = ModeRG->itemIndex() == 1;
  UniteTailleLabel->setText(!angle                      ? QStringLiteral("m")
                            : UniteRG->itemIndex() == 1 ? QStringLiteral("rad")
                                                        : QStringLiteral("°"));
}

int TVeltorCfg::Execute() {
  FormActivate();
  return ExecuteModal(*this, QDialog::Rejected);
}

void TVeltorCfg::ModeRGClick(int indice) {
  UniteRG->setVisible(indice == 1);
  AfficheUniteTaille();
  NegatifCB->setText(NomVeltorEdit->text() + QStringLiteral(" négatif en cas de chute"));
}

void TVeltorCfg::NomVeltorEditChange(const QString &texte) {
  NegatifCB->setText(texte + QStringLiteral(" négatif"));
}

namespace {
constexpr const char *kDemiPeriodePositive = "La demi période doit être positive";
}  // namespace

void TVeltorCfg::OKBtnClick() {
  double taille = 0;
  try {
    taille = model::Evalue(TailleTraitEdit->text().toStdString());
    // An empty field is no size either.
    if (std::isnan(taille)) throw model::EGetFloatError(model::kErreurNombre);
    // Positions are counted in half periods: none or a negative one would
    // put the whole run on an axis with no span.
    if (!(taille > 0)) throw model::EGetFloatError(kDemiPeriodePositive);
  } catch (const model::EGetFloatError &e) {
    // The dialog stays open on the field to correct: nothing is changed.
    MontreMessage(this, QMessageBox::Warning, windowTitle(), QString::fromUtf8(e.what()));
    TailleTraitEdit->setFocus();
    TailleTraitEdit->selectAll();
    return;
  }
  m_fourche.Taille = taille;
  // The angle setter gives a displacement its 1.8 mm step back.
  m_fourche.FixeAngle(ModeRG->itemIndex() == 1);
  m_fourche.FixeRadian(UniteRG->itemIndex() == 1);
  m_fourche.Nom = NomVeltorEdit->text().toStdString();
  m_fourche.nbremax = NbreMaxSE->value();
  m_fourche.Negatif = NegatifCB->isChecked();
  accept();
}

}  // namespace kvx::ui
