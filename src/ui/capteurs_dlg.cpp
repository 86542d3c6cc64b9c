// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/capteurs_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

#include "exchange/atomic_file.h"
#include "model/capteur.h"
#include "model/erreurs.h"
#include "model/expression.h"
#include "model/liste_capteurs.h"
#include "model/nombres.h"
#include "model/voie.h"
#include "ui/boutons_dialogue.h"
#include "ui/champs_lus.h"
#include "ui/dialogue_modal.h"
#include "ui/filtre_saisie.h"
#include "ui/nomme.h"

namespace kvx::ui {

namespace {

constexpr int kRubriqueCapteur = 9;

QString Texte(const std::string &s) {
  return QString::fromStdString(s);
}

QPushButton *Bouton(QWidget *parent, const char *nom, const char *texte) {
  auto *b = Nomme(new QPushButton(QString::fromUtf8(texte), parent), nom);
  b->setAutoDefault(false);
  return b;
}

QListWidget *Liste(QWidget *parent) {
  auto *l = Nomme(new QListWidget(parent), "ListeCapteursBox");
  // The choice list lines up its symbols: they are padded to one width.
  QFont f = l->font();
  f.setFamily(QStringLiteral("Monospace"));
  f.setStyleHint(QFont::TypeWriter);
  l->setFont(f);
  l->setMinimumSize(320, 220);
  return l;
}

}  // namespace

// ---- One sensor --------------------------------------------------------------

TCapteurCfgDlg::TCapteurCfgDlg(QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CapteurCfgDlg"));
  setWindowTitle(QStringLiteral("Configuration des capteurs"));
  Pages = Nomme(new QTabWidget(this), "Pages");

  auto *grandeur = Nomme(new QWidget(Pages), "GrandeurPage");
  EditNom = Nomme(new QLineEdit(grandeur), "EditNom");
  EditNom->setMaxLength(static_cast<int>(model::kNomCapteurMax));
  FiltreSymbole(EditNom);
  EditUnite = Nomme(new QLineEdit(grandeur), "EditUnite");
  EditUnite->setMaxLength(static_cast<int>(model::kUniteCapteurMax));
  EditSignif = Nomme(new QLineEdit(grandeur), "EditSignif");
  EditSignif->setMinimumWidth(260);
  auto *fg = new QFormLayout(grandeur);
  fg->addRow(QStringLiteral("&Symbole"), EditNom);
  fg->addRow(QStringLiteral("&Unité"), EditUnite);
  fg->addRow(QStringLiteral("S&ignif."), EditSignif);
  auto *etalonnage = Nomme(new QGroupBox(QStringLiteral("&Etalonnage"), grandeur), "EtalonnageGB");
  val0Edit = Nomme(new QLineEdit(etalonnage), "val0Edit");
  PenteEdit = Nomme(new QLineEdit(etalonnage), "PenteEdit");
  PenteLabel = Nomme(new QLabel(etalonnage), "PenteLabel");
  for (QLineEdit *e : {val0Edit, PenteEdit}) FiltreNombre(e);
  auto *fe = new QFormLayout(etalonnage);
  fe->addRow(Nomme(new QLabel(QStringLiteral("Valeur0V"), etalonnage), "Label0V"), val0Edit);
  fe->addRow(PenteLabel, PenteEdit);
  fg->addRow(etalonnage);
  Pages->addTab(grandeur, QStringLiteral("&Grandeur"));

  auto *options = Nomme(new QWidget(Pages), "OptionsPage");
  NumeroCB = Nomme(new QComboBox(options), "NumeroCB");
  for (int i = 0; i < 8; ++i) NumeroCB->addItem(QStringLiteral("EA%1").arg(i));
  EditAide = Nomme(new QLineEdit(options), "EditAide");
  EtalonnageCB =
      Nomme(new QCheckBox(QStringLiteral("Potentiomètre d'étalonnage"), options), "EtalonnageCB");
  AmpliCB = Nomme(new QCheckBox(QStringLiteral("Avec amplificateur"), options), "AmpliCB");
  AlimCB = Nomme(new QCheckBox(QStringLiteral("Prise F"), options), "AlimCB");
  RefCB = Nomme(new QCheckBox(QStringLiteral("Ref Alt"), options), "RefCB");
  auto *fo = new QFormLayout(options);
  fo->addRow(QStringLiteral("EA par défaut"), NumeroCB);
  fo->addRow(QStringLiteral("&Aide"), EditAide);
  for (QCheckBox *c : {EtalonnageCB, AmpliCB, AlimCB, RefCB}) fo->addRow(c);
  Pages->addTab(options, QStringLiteral("&Options"));

  BoutonsDialogue boutons = CreeBoutonsDialogue(this, kRubriqueCapteur);
  OKBtn = boutons.ok;
  CancelBtn = boutons.abandon;
  HelpBtn = boutons.aide;
  auto *l = new QVBoxLayout(this);
  l->addWidget(Pages);
  l->addLayout(boutons.rangee);
  l->setSizeConstraint(QLayout::SetFixedSize);

  connect(EditNom, &QLineEdit::textChanged, this, &TCapteurCfgDlg::MetPente);
  connect(EditUnite, &QLineEdit::textChanged, this, &TCapteurCfgDlg::MetPente);
  connect(OKBtn, &QPushButton::clicked, this, &TCapteurCfgDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

int TCapteurCfgDlg::Edite(model::TCapteur &capteur) {
  m_capteur = &capteur;
  FormActivate();
  return ExecuteModal(*this, QDialog::Rejected);
}

void TCapteurCfgDlg::FormActivate() {
  const model::TCapteur &c = *m_capteur;
  EditNom->setText(Texte(c.Nom));
  EditUnite->setText(Texte(c.Unite));
  EditSignif->setText(Texte(c.Signif));
  EditAide->setText(Texte(c.Aide));
  val0Edit->setText(Texte(model::TexteEdition(c.Valeur0V)));
  PenteEdit->setText(Texte(model::TexteEdition(c.Pente)));
  NumeroCB->setCurrentIndex(c.Numero < 8 ? c.Numero : 0);
  EtalonnageCB->setChecked(c.Etalonnage);
  AmpliCB->setChecked(c.Ampli);
  AlimCB->setChecked(c.Alim);
  RefCB->setChecked(c.Masse);
  MetPente();
  Pages->setCurrentIndex(0);
  EditNom->setFocus();
}

void TCapteurCfgDlg::MetPente() {
  PenteLabel->setText(
      Texte(model::TextePente(EditNom->text().toStdString(), EditUnite->text().toStdString())));
}

void TCapteurCfgDlg::OKBtnClick() {
  // Both numbers first: a sensor is changed whole or not at all.
  double valeurs[2] = {0, 0};
  Pages->setCurrentIndex(0);
  if (!LitExpressions(this, {val0Edit, PenteEdit}, valeurs)) return;
  model::TCapteur &c = *m_capteur;
  c.Signif = EditSignif->text().toStdString();
  c.Aide = EditAide->text().toStdString();
  c.Nom = EditNom->text().toStdString();
  c.Unite = EditUnite->text().toStdString();
  c.Etalonnage = EtalonnageCB->isChecked();
  c.Ampli = AmpliCB->isChecked();
  c.Alim = AlimCB->isChecked();
  c.Valeur0V = valeurs[0];
  c.Pente = valeurs[1];
  c.Numero = static_cast<std::uint8_t>(std::max(0, NumeroCB->currentIndex()));
  c.Masse = RefCB->isChecked();
  accept();
}

// ---- The library -------------------------------------------------------------

TChoixCapteursDlg::TChoixCapteursDlg(model::TlisteCapteur &liste, std::function<void()> sauve,
                                     QWidget *parent)
    : QDialog(parent), m_liste(liste), m_sauve(std::move(sauve)) {
  setObjectName(QStringLiteral("ChoixCapteursDlg"));
  setWindowTitle(QStringLiteral("Capteurs"));
  ListeCapteursBox = Liste(this);
  DefautLabel = Nomme(new QLabel(this), "DefautLabel");
  DefautLabel->setWordWrap(true);
  DefautLabel->hide();
  EnregistreBtn = Bouton(this, "EnregistreBtn", "&Enregistrer");
  AddBtn = Bouton(this, "AddBtn", "&Ajouter");
  DelBtn = Bouton(this, "DelBtn", "&Supprimer");
  ModifBtn = Bouton(this, "ModifBtn", "&Voir / Modifier");
  ExitBtn = Bouton(this, "ExitBtn", "&Quitter");
  ModifBtn->setDefault(true);
  auto *boutons = new QVBoxLayout;
  for (QPushButton *b : {EnregistreBtn, AddBtn, DelBtn, ModifBtn}) boutons->addWidget(b);
  boutons->addStretch(1);
  boutons->addWidget(ExitBtn);
  auto *gauche = new QVBoxLayout;
  gauche->addWidget(DefautLabel);
  gauche->addWidget(ListeCapteursBox, 1);
  auto *l = new QHBoxLayout(this);
  l->addLayout(gauche, 1);
  l->addLayout(boutons);

  connect(EnregistreBtn, &QPushButton::clicked, this, [this] { Sauve(); });
  connect(AddBtn, &QPushButton::clicked, this, &TChoixCapteursDlg::AddBtnClick);
  connect(DelBtn, &QPushButton::clicked, this, &TChoixCapteursDlg::DelBtnClick);
  connect(ModifBtn, &QPushButton::clicked, this, &TChoixCapteursDlg::ModifBtnClick);
  connect(ListeCapteursBox, &QListWidget::itemDoubleClicked, this,
          &TChoixCapteursDlg::ModifBtnClick);
  connect(ExitBtn, &QPushButton::clicked, this, &TChoixCapteursDlg::ExitBtnClick);
}

void TChoixCapteursDlg::FixeFichierIllisible(std::shared_ptr<QString> fichier) {
  if (fichier) m_illisible = std::move(fichier);
}

void TChoixCapteursDlg::FormActivate() {
  if (m_cfg == nullptr) m_cfg = new TCapteurCfgDlg(this);
  Remplit();
  m_modifie = false;
  DefautLabel->setText(
      QStringLiteral("Bibliothèque par défaut : le fichier « %1 » n'a pas pu être lu.")
          .arg(*m_illisible));
  DefautLabel->setVisible(!m_illisible->isEmpty());
}

int TChoixCapteursDlg::Execute() {
  FormActivate();
  const int resultat = ExecuteModal(*this, QDialog::Rejected);
  // The program closes under the dialog: the edits would be lost with it.
  if (FermetureEnCours() && m_modifie) Sauve();
  return resultat;
}

void TChoixCapteursDlg::Remplit() {
  ListeCapteursBox->clear();
  for (std::size_t i = 0; i < m_liste.Nombre() && i < model::kNbCapteursMax; ++i)
    ListeCapteursBox->addItem(Texte(model::LigneChoixCapteur(m_liste.Capteur(i))));
  ListeCapteursBox->setCurrentRow(0);
  // The library never becomes empty: the last sensor cannot go.
  DelBtn->setVisible(m_liste.Nombre() > 1);
}

void TChoixCapteursDlg::Rafraichit() {
  Remplit();
  m_modifie = true;
}

int TChoixCapteursDlg::Selection() const {
  const int i = ListeCapteursBox->currentRow();
  return i >= 0 && static_cast<std::size_t>(i) < m_liste.Nombre() ? i : -1;
}

bool TChoixCapteursDlg::Sauve() {
  // The user's own library may still be in that file: it is replaced only on
  // an explicit yes, never by default nor during a close.
  if (!m_illisible->isEmpty() && QFileInfo::exists(*m_illisible) &&
      !PoseQuestion(this, windowTitle(),
                    QStringLiteral("Le fichier « %1 » n'a pas pu être lu au démarrage : "
                                   "l'enregistrer remplacera ce qu'il contient par la "
                                   "bibliothèque affichée.\nRemplacer ce fichier ?")
                        .arg(*m_illisible),
                    false))
    return false;
  try {
    m_sauve();
  } catch (const std::exception &e) {
    // The library stays in memory, still to be saved; the file keeps what
    // it held.
    MontreMessage(this, QMessageBox::Warning, windowTitle(),
                  QStringLiteral("La bibliothèque de capteurs n'a pas pu être enregistrée : %1")
                      .arg(QString::fromUtf8(e.what())));
    return false;
  }
  m_modifie = false;
  m_illisible->clear();
  DefautLabel->hide();
  return true;
}

void TChoixCapteursDlg::AddBtnClick() {
  const int i = Selection();
  if (i < 0 || m_liste.Nombre() >= model::kNbCapteursMax) return;
  model::TCapteur nouveau;
  model::CopieCapteur(nouveau, m_liste.Capteur(static_cast<std::size_t>(i)));
  if (m_cfg->Edite(nouveau) != QDialog::Accepted) return;
  m_liste.Ajoute(nouveau);
  Rafraichit();
}

void TChoixCapteursDlg::DelBtnClick() {
  const int i = Selection();
  if (i < 0 || m_liste.Nombre() <= 1) return;
  const QString nom = Texte(m_liste.Capteur(static_cast<std::size_t>(i)).Nom);
  if (!PoseQuestion(this, windowTitle(), QStringLiteral("Suppression de %1").arg(nom), false))
    return;
  m_liste.Supprime(static_cast<std::size_t>(i));
  Rafraichit();
}

void TChoixCapteursDlg::ModifBtnClick() {
  const int i = Selection();
  if (i < 0) return;
  if (m_cfg->Edite(m_liste.Capteur(static_cast<std::size_t>(i))) == QDialog::Accepted) Rafraichit();
}

void TChoixCapteursDlg::ExitBtnClick() {
  if (m_modifie &&
      PoseQuestion(this, windowTitle(), QStringLiteral("Sauvegarde des modifications"), true) &&
      !Sauve())
    return;  // not saved: the user may try again or quit without saving
  accept();
}

// ---- The list of a channel --------------------------------------------------

TListeCapteursDlg::TListeCapteursDlg(const model::TlisteCapteur &liste, model::Tvoie &voie,
                                     QWidget *parent)
    : QDialog(parent), m_liste(liste), m_voie(voie) {
  setObjectName(QStringLiteral("ListeCapteursDlg"));
  setWindowTitle(QStringLiteral("Capteurs"));
  ListeCapteursBox = Liste(this);
  OKBtn = Nomme(new QPushButton(QStringLiteral("&OK"), this), "OKBtn");
  OKBtn->setDefault(true);
  CancelBtn = Bouton(this, "CancelBtn", "&Abandon");
  auto *boutons = new QHBoxLayout;
  boutons->addStretch(1);
  boutons->addWidget(OKBtn);
  boutons->addWidget(CancelBtn);
  auto *l = new QVBoxLayout(this);
  l->addWidget(ListeCapteursBox, 1);
  l->addLayout(boutons);
  connect(OKBtn, &QPushButton::clicked, this, &TListeCapteursDlg::OKBtnClick);
  connect(ListeCapteursBox, &QListWidget::itemDoubleClicked, this, &TListeCapteursDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

int TListeCapteursDlg::Execute() {
  ListeCapteursBox->clear();
  for (std::size_t i = 0; i < m_liste.Nombre() && i < model::kNbCapteursMax; ++i)
    ListeCapteursBox->addItem(Texte(model::LigneListeCapteur(m_liste.Capteur(i))));
  ListeCapteursBox->setCurrentRow(0);
  m_message.clear();
  return ExecuteModal(*this, QDialog::Rejected);
}

void TListeCapteursDlg::OKBtnClick() {
  const int i = ListeCapteursBox->currentRow();
  if (i < 0 || static_cast<std::size_t>(i) >= m_liste.Nombre()) return;
  const model::ResultatApplication r =
      model::AppliqueCapteur(m_voie, m_liste.Capteur(static_cast<std::size_t>(i)));
  m_message = Texte(r.message);
  accept();
}

}  // namespace kvx::ui
