// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel_mode.h"

#include <algorithm>
#include "ui/nomme.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/hints.h"
#include "ui/spin_buttons.h"

namespace kvx::ui {

namespace {

QGroupBox *Boite(const char *nom, const char *titre, QWidget *parent) {
  return Nomme(new QGroupBox(QString::fromUtf8(titre), parent), nom);
}

QFont Police(const char *famille, int pixels, bool gras) {
  QFont f(QString::fromLatin1(famille));
  f.setStyleHint(QString::fromLatin1(famille).startsWith(QLatin1String("Courier"))
                     ? QFont::TypeWriter
                     : QFont::SansSerif);
  f.setPixelSize(pixels);
  f.setBold(gras);
  return f;
}

}  // namespace

TPanelMode::TPanelMode(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PanelMode"));
  auto *l = new QVBoxLayout(this);
  l->setContentsMargins(2, 2, 2, 2);
  l->setSpacing(4);
  CreeClavier();
  CreeModeEtPoint();
  CreeSynchro();
  CreeBalayage();
  CreeSortieEtVeltor();
  for (QGroupBox *b :
       {ClavierGB, ModeGB, PointGB, SynchroGB, BalayageGB, SortieAnaGB, ModeVeltorGB})
    l->addWidget(b);
  l->addStretch(1);
  // Shown by the mode that needs them.
  ClavierGB->hide();
  SortieAnaGB->hide();
  ModeVeltorGB->hide();
}

int TPanelMode::LargeurNecessaire() const {
  int largeur = 0;
  for (const QGroupBox *b :
       {ClavierGB, ModeGB, PointGB, SynchroGB, BalayageGB, SortieAnaGB, ModeVeltorGB})
    largeur = std::max(largeur, b->minimumSizeHint().width());
  const QMargins m = layout()->contentsMargins();
  return largeur + m.left() + m.right();
}

void TPanelMode::CreeClavier() {
  ClavierGB = Boite("ClavierGB", "Clavier", this);
  FixeHint(ClavierGB, QStringLiteral("|cliquer pour modifier le paramètrage l'entrée clavier"));
  ClavierEdit = Nomme(new QLineEdit(ClavierGB), "ClavierEdit");
  ClavierEdit->setFont(Police("Calibri", 19, true));
  FixeHint(ClavierEdit, QStringLiteral("|Entrez la valeur puis valider"));
  auto *l = new QVBoxLayout(ClavierGB);
  l->setContentsMargins(4, 4, 4, 4);
  l->addWidget(ClavierEdit);
}

void TPanelMode::CreeModeEtPoint() {
  ModeGB = Boite("ModeGB", "Mode et options", this);
  FixeHint(ModeGB, QStringLiteral("|Cliquer pour paramètrer le mode d'acquisition et d'affichage"));
  ModeLabel = Nomme(new QLabel(QStringLiteral("Temps"), ModeGB), "ModeLabel");
  auto *lm = new QVBoxLayout(ModeGB);
  lm->setContentsMargins(4, 4, 4, 4);
  lm->addWidget(ModeLabel);

  PointGB = Boite("PointGB", "Point par point", this);
  PointAutoCB = Nomme(new QCheckBox(QStringLiteral("Automatique"), PointGB), "PointAutoCB");
  FixeHint(PointAutoCB,
           QStringLiteral("|Si coché enregistre un point s'il diffère du précédent de 1 %"));
  auto *lp = new QVBoxLayout(PointGB);
  lp->setContentsMargins(4, 4, 4, 4);
  lp->addWidget(PointAutoCB);
}

void TPanelMode::CreeSynchro() {
  SynchroGB = Boite("SynchroGB", "Synchronisation", this);
  SynchroLabel = Nomme(new QLabel(QStringLiteral("Clavier"), SynchroGB), "SynchroLabel");
  MonocoupCB = Nomme(new QCheckBox(QStringLiteral("Monocoup"), SynchroGB), "MonocoupCB");
  FixeHint(MonocoupCB, QStringLiteral("|Si coché, l'acquisition ne se fait qu'une fois"));
  auto *l = new QVBoxLayout(SynchroGB);
  l->setContentsMargins(4, 4, 4, 4);
  l->addWidget(SynchroLabel);
  l->addWidget(MonocoupCB);
}

void TPanelMode::CreeBalayage() {
  BalayageGB = Boite("BalayageGB", "Balayage", this);
  auto *g = new QGridLayout(BalayageGB);
  g->setContentsMargins(4, 4, 4, 4);
  g->setHorizontalSpacing(2);
  g->setVerticalSpacing(1);
  g->addWidget(Nomme(new QLabel(QStringLiteral("Durée"), BalayageGB), "DureeLabel"), 0, 0, 1, 2);
  DureeEdit = Nomme(new QLineEdit(BalayageGB), "DureeEdit");
  DureeSpin = new TSpinButtons(QStringLiteral("DureeSpin"), BalayageGB);
  g->addWidget(DureeEdit, 1, 0);
  g->addWidget(DureeSpin, 1, 1);
  g->addWidget(Nomme(new QLabel(QStringLiteral("Nombre"), BalayageGB), "NombreLabel"), 2, 0, 1, 2);
  NbreEdit = Nomme(new QLineEdit(BalayageGB), "NbreEdit");
  NbreSpin = new TSpinButtons(QStringLiteral("NbreSpin"), BalayageGB);
  g->addWidget(NbreEdit, 3, 0);
  g->addWidget(NbreSpin, 3, 1);
  DeltatLabel = Nomme(new QLabel(QStringLiteral("δt"), BalayageGB), "DeltatLabel");
  FechLabel = Nomme(new QLabel(QStringLiteral("Fech"), BalayageGB), "FechLabel");
  minmax = Nomme(new QLabel(BalayageGB), "minmax");
  minmax->setFont(Police("Courier New", 13, true));
  QPalette p = minmax->palette();
  p.setColor(QPalette::WindowText, Qt::red);
  minmax->setPalette(p);
  FixeHint(minmax, QStringLiteral("|Limite de la fréquence d'échantillonage"));
  minmax->hide();
  g->addWidget(DeltatLabel, 4, 0, 1, 2);
  g->addWidget(FechLabel, 5, 0, 1, 2);
  g->addWidget(minmax, 6, 0, 1, 2);
}

void TPanelMode::CreeSortieEtVeltor() {
  SortieAnaGB = Boite("SortieAnaGB", "Sortie analogique", this);
  FixeHint(SortieAnaGB, QStringLiteral("|Cliquer pour paramètrer la sortie analogique"));
  LabelSA = Nomme(new QLabel(SortieAnaGB), "LabelSA");
  LabelSA->setFont(Police("Courier New", 19, true));
  auto *ls = new QVBoxLayout(SortieAnaGB);
  ls->setContentsMargins(4, 4, 4, 4);
  ls->addWidget(LabelSA);

  ModeVeltorGB = Boite("ModeVeltorGB", "Fourche optique", this);
  VeltorAutoCB =
      Nomme(new QCheckBox(QStringLiteral("Arrêt auto. après"), ModeVeltorGB), "VeltorAutoCB");
  VeltorAutoCB->setChecked(true);
  VeltorSE = Nomme(new QSpinBox(ModeVeltorGB), "VeltorSE");
  VeltorSE->setRange(1, 60);
  VeltorSE->setValue(10);
  auto *lv = new QGridLayout(ModeVeltorGB);
  lv->setContentsMargins(4, 4, 4, 4);
  lv->addWidget(VeltorAutoCB, 0, 0, 1, 2);
  lv->addWidget(VeltorSE, 1, 0);
  lv->addWidget(Nomme(new QLabel(QStringLiteral("secondes"), ModeVeltorGB), "Label9"), 1, 1);
}

}  // namespace kvx::ui
