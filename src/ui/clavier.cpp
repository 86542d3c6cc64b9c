// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/clavier.h"
#include "ui/nomme.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/erreurs.h"
#include "model/nombres.h"
#include "model/separateur_decimal.h"
#include "model/unite.h"
#include "model/voie.h"
#include "ui/boutons_dialogue.h"
#include "ui/champs_lus.h"
#include "ui/dialogue_modal.h"
#include "ui/filtre_saisie.h"
#include "ui/formulaire.h"

namespace kvx::ui {

namespace {

constexpr int kLongueurSymbole = 8;
constexpr int kLongueurUnite = 20;
// The range a bound that is no number falls back to: the box's 0..5 V.
constexpr double kMiniDefaut = 0;
constexpr double kMaxiDefaut = 5;
// Every digit a double holds, so that the range reads back unchanged.
constexpr int kChiffresPlage = 15;

QString TextePlage(double x) {
  return QString::fromStdString(model::TexteGeneral(x, kChiffresPlage, model::SeparateurDecimal()));
}

}  // namespace

TClavierDlg::TClavierDlg(model::TentreeClavier &clavier, QWidget *parent)
    : QDialog(parent), m_clavier(clavier) {
  setObjectName(QStringLiteral("ClavierDlg"));
  setWindowTitle(QStringLiteral("Acquisition au clavier"));
  GrandeurGB = Nomme(new QGroupBox(QStringLiteral("&Grandeur physique"), this), "GrandeurGB");
  EditNom = Nomme(new QLineEdit(GrandeurGB), "EditNom");
  EditNom->setMaxLength(kLongueurSymbole);
  EditUnite = Nomme(new QLineEdit(GrandeurGB), "EditUnite");
  EditUnite->setMaxLength(kLongueurUnite);
  EditSignif = Nomme(new QLineEdit(GrandeurGB), "EditSignif");
  EditMin = Nomme(new QLineEdit(GrandeurGB), "EditMin");
  EditMax = Nomme(new QLineEdit(GrandeurGB), "EditMax");
  for (QLineEdit *e : {EditMin, EditMax}) FiltreNombre(e);
  GrandeurGB->setFocusProxy(EditNom);
  RangeChamps(GrandeurGB, {{"LabelNom", "&Symbole", EditNom},
                           {"LabelUnite", "&Unité", EditUnite},
                           {"LabelSignif", "&Signif.", EditSignif},
                           {"LabelMin", "Minimum", EditMin},
                           {"LabelMax", "Maximum", EditMax}});
  EditSignif->setMinimumWidth(EditSignif->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 14);

  BoutonsDialogue boutons = CreeBoutonsDialogue(this, 0);
  OKBtn = boutons.ok;
  CancelBtn = boutons.abandon;
  // This dialog has no help page.
  boutons.rangee->removeWidget(boutons.aide);
  delete boutons.aide;
  auto *l = new QVBoxLayout(this);
  l->addWidget(GrandeurGB);
  l->addLayout(boutons.rangee);
  l->setSizeConstraint(QLayout::SetFixedSize);

  connect(OKBtn, &QPushButton::clicked, this, &TClavierDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TClavierDlg::FormActivate() {
  EditNom->setText(QString::fromStdString(m_clavier.Nom));
  EditUnite->setText(QString::fromStdString(m_clavier.Unite));
  EditSignif->setText(QString::fromStdString(m_clavier.Signif));
  EditMin->setText(TextePlage(m_clavier.Mini));
  EditMax->setText(TextePlage(m_clavier.Maxi));
  EditNom->setFocus();
}

int TClavierDlg::Execute() {
  FormActivate();
  return ExecuteModal(*this, QDialog::Rejected);
}

void TClavierDlg::OKBtnClick() {
  const std::string unite = EditUnite->text().toStdString();
  // The user corrects the unit; nothing is stored half-way.
  if (!UniteLisible(this, EditUnite)) return;
  m_clavier.Nom = EditNom->text().toStdString();
  m_clavier.FixeUnite(unite);
  m_clavier.Signif = EditSignif->text().toStdString();
  m_clavier.Active = true;
  m_clavier.FixeMini(model::LitNombreDefaut(EditMin->text().toStdString(), kMiniDefaut));
  m_clavier.FixeMaxi(model::LitNombreDefaut(EditMax->text().toStdString(), kMaxiDefaut));
  m_clavier.CalculeEchelle();
  accept();
}

}  // namespace kvx::ui
