// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/constante.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <string>

#include "model/nombres.h"
#include "ui/boutons_dialogue.h"
#include "ui/configuration_fenetre.h"
#include "ui/dialogue_modal.h"
#include "ui/nomme.h"
#include "ui/radio_group.h"

namespace kvx::ui {

namespace {

constexpr int kLongueurSymbole = 8;
// The value is shown as the user would type it, not with every digit.
constexpr int kChiffresValeur = 4;

}  // namespace

TConstanteDlg::TConstanteDlg(TPage &page, QWidget *parent) : QDialog(parent), m_page(page) {
  setObjectName(QStringLiteral("ConstanteDlg"));
  setWindowTitle(QStringLiteral("Renseignement sur la page courante"));
  GroupBox2 = Nomme(new QGroupBox(QStringLiteral("Paramètre"), this), "GroupBox2");
  NomConstEdit = Nomme(new QLineEdit(GroupBox2), "NomConstEdit");
  NomConstEdit->setMaxLength(kLongueurSymbole);
  UniteConstEdit = Nomme(new QLineEdit(GroupBox2), "UniteConstEdit");
  ValeurConstEdit = Nomme(new QLineEdit(GroupBox2), "ValeurConstEdit");
  auto *f = new QFormLayout(GroupBox2);
  const struct {
    const char *nom, *texte;
    QLineEdit *edit;
  } lignes[] = {{"LabelNomConst", "&Symbole", NomConstEdit},
                {"LabelUniteConst", "&Unité", UniteConstEdit},
                {"LabelValeurConst", "&Valeur", ValeurConstEdit}};
  for (const auto &l : lignes) {
    auto *label = Nomme(new QLabel(QString::fromUtf8(l.texte), GroupBox2), l.nom);
    label->setBuddy(l.edit);
    f->addRow(label, l.edit);
  }

  GroupBox1 = Nomme(new QGroupBox(QStringLiteral("&Commentaire"), this), "GroupBox1");
  EditComm = Nomme(new QLineEdit(GroupBox1), "EditComm");
  EditComm->setMinimumWidth(EditComm->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 20);
  auto *lc = new QVBoxLayout(GroupBox1);
  lc->addWidget(EditComm);
  GroupBox1->setFocusProxy(EditComm);

  NewPageCB = new TRadioGroup("NewPageCB", QStringLiteral("Données vers &Tabulyse"), 2, this);
  NewPageCB->FixeItems({QStringLiteral("Nouveau &fichier"), QStringLiteral("Nouvelle &page")});
  NewPageCB->FixeItemIndex(NouveauFichier);

  BoutonsDialogue boutons = CreeBoutonsDialogue(this, kAideConstante);
  OKBtn = boutons.ok;
  CancelBtn = boutons.abandon;
  HelpBtn = boutons.aide;
  auto *l = new QVBoxLayout(this);
  l->addWidget(GroupBox2);
  l->addWidget(GroupBox1);
  l->addWidget(NewPageCB);
  l->addLayout(boutons.rangee);
  l->setSizeConstraint(QLayout::SetFixedSize);

  connect(OKBtn, &QPushButton::clicked, this, &TConstanteDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TConstanteDlg::FormActivate() {
  NomConstEdit->setText(QString::fromStdString(m_page.constanteNom));
  UniteConstEdit->setText(QString::fromStdString(m_page.constanteUnite));
  m_valeurAffichee = QString::fromStdString(model::TexteEdition(m_valeur, kChiffresValeur));
  ValeurConstEdit->setText(m_valeurAffichee);
  EditComm->setText(QString::fromStdString(m_page.constanteComm));
  EditComm->setFocus();
}

int TConstanteDlg::Execute() {
  FormActivate();
  return ExecuteModal(*this, QDialog::Rejected);
}

bool TConstanteDlg::nouvellePage() const {
  return NewPageCB->itemIndex() == NouvellePage;
}

void TConstanteDlg::FixeNouvellePage(bool nouvelle) {
  NewPageCB->FixeItemIndex(nouvelle ? NouvellePage : NouveauFichier);
}

void TConstanteDlg::OKBtnClick() {
  m_page.constanteNom = NomConstEdit->text().toStdString();
  m_page.constanteUnite = UniteConstEdit->text().toStdString();
  // The comment is kept even when the value has to be typed again.
  m_page.constanteComm = EditComm->text().toStdString();
  const std::string texte = model::SupprimeBlancs(ValeurConstEdit->text().toStdString());
  // An empty value keeps the one given before, and so does the value as it
  // was shown: its 4 digits must not replace the digits the user typed.
  if (!texte.empty() && ValeurConstEdit->text() != m_valeurAffichee) {
    const double valeur = model::LitNombre(texte);
    if (std::isnan(valeur)) {
      MontreMessage(this, QMessageBox::Warning, windowTitle(), QString::fromUtf8(kNombreMalEcrit));
      ValeurConstEdit->setFocus();
      ValeurConstEdit->selectAll();
      return;
    }
    m_valeur = valeur;
  }
  accept();
}

}  // namespace kvx::ui
