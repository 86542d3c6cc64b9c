// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/kvxmain.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "ui/dialogue_modal.h"
#include "ui/hints.h"
#include "ui/minuterie.h"
#include "ui/panel_courbe.h"
#include "ui/panel_mode.h"
#include "ui/panel_voies.h"
#include "ui/vue_fenetre.h"

namespace kvx::ui {

namespace {

QToolButton *Bouton(QToolBar *barre, const char *nom, const QString &texte,
                    QStyle::StandardPixmap image, const QString &hint = QString()) {
  auto *b = new QToolButton(barre);
  b->setObjectName(QString::fromLatin1(nom));
  b->setText(texte);
  b->setIcon(barre->style()->standardIcon(image));
  b->setIconSize(QSize(20, 20));
  b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  b->setFixedSize(75, 50);
  if (!hint.isEmpty()) FixeHint(b, hint);
  barre->addWidget(b);
  return b;
}

QAction *Article(QMenu *menu, const char *nom, const QString &texte) {
  QAction *a = menu->addAction(texte);
  a->setObjectName(QString::fromLatin1(nom));
  return a;
}

}  // namespace

TKVXmainForm::TKVXmainForm(const Options &options, QWidget *parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("KVXmainForm"));
  setWindowTitle(QString::fromUtf8(kTitreFenetre));
  QFont police(QStringLiteral("Calibri"));
  police.setStyleHint(QFont::SansSerif);
  police.setPixelSize(13);
  setFont(police);
  CreeBarreOutils();
  CreeMenu(options);
  CreeCentre();
  CreeBarreEtat();
  Timer = new QTimer(this);
  Timer->setObjectName(QStringLiteral("Timer"));
  CreeGraphe();
  CreeLien(options);
  RelieControles();
  EcouteClics();
  qApp->installEventFilter(this);  // the window sees keys before its controls

  setMinimumSize(550, 380);  // more once the panels are laid out, if they need it
  resize(643, 594);
  if (const QScreen *ecran = screen()) {
    const QRect dispo = ecran->availableGeometry();
    setMaximumSize(ecran->size());
    move(dispo.center() - rect().center());
  }
  AppliqueEcran();
}

TKVXmainForm::~TKVXmainForm() {
  qApp->removeEventFilter(this);
}

void TKVXmainForm::CreeBarreOutils() {
  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
  ToolBar1->setFixedHeight(50 + 4);
  ToolBar1->setStyleSheet(QStringLiteral(
      "QToolBar#ToolBar1 { border: 0; spacing: 0; padding: 0;"
      " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #c8d4e4); }"));
  addToolBar(Qt::TopToolBarArea, ToolBar1);
  EnregistreBtn =
      Bouton(ToolBar1, "EnregistreBtn", QStringLiteral("Acquisition"), QStyle::SP_MediaPlay);
  StopBtn = Bouton(ToolBar1, "StopBtn", QStringLiteral("Stop"), QStyle::SP_MediaStop,
                   QStringLiteral("|Arrêt de l'acquisition"));
  ResetBtn = Bouton(ToolBar1, "ResetBtn", QStringLiteral("RàZ"), QStyle::SP_TrashIcon,
                    QStringLiteral("|Nouvelle acquisition"));
  UndoBtn = Bouton(ToolBar1, "UndoBtn", QStringLiteral("Défaire"), QStyle::SP_ArrowBack,
                   QStringLiteral("Défaire|Supprimer le dernier point"));
  RegSaveBtn = Bouton(ToolBar1, "RegSaveBtn", QStringLiteral("Tabulyse"), QStyle::SP_ArrowRight,
                      QStringLiteral("Tabulyse|Envoie les données courantes vers Tabulyse"));
  ToolButton1 =
      Bouton(ToolBar1, "ToolButton1", QStringLiteral("Aide"), QStyle::SP_DialogHelpButton);
  PlusBtn = Bouton(ToolBar1, "PlusBtn", QStringLiteral("Menu"), QStyle::SP_ArrowDown);
  PlusBtn->setPopupMode(QToolButton::InstantPopup);  // a plain click drops the menu down
  ExitBtn = Bouton(ToolBar1, "ExitBtn", QStringLiteral("Quitter"), QStyle::SP_DialogCloseButton);
  for (QToolButton *b : {EnregistreBtn, StopBtn, ResetBtn, UndoBtn, RegSaveBtn})
    b->setEnabled(false);
  // Greyed until the help is wired to it (RelieAide).
  ToolButton1->setEnabled(false);
}

void TKVXmainForm::CreeMenu(const Options &options) {
  Menu = new QMenu(this);
  Menu->setObjectName(QStringLiteral("Menu"));
  SaveConfigItem = Article(Menu, "SaveConfigItem", QStringLiteral("&Sauver configuration"));
  OpenConfigItem = Article(Menu, "OpenConfigItem", QStringLiteral("&Ouvrir configuration"));
  SaveData = Article(Menu, "SaveData", QStringLiteral("Sauver données"));
  CopyData = Article(Menu, "CopyData", QStringLiteral("Copier données"));
  // For the teacher's spreadsheet and lab report.
  ExporteTableurItem =
      Article(Menu, "ExporteTableurItem", QStringLiteral("Exporter pour tableur…"));
  CopieTableurItem = Article(Menu, "CopieTableurItem", QStringLiteral("Copier pour tableur"));
  EnregistreGrapheItem =
      Article(Menu, "EnregistreGrapheItem", QStringLiteral("Enregistrer le graphe…"));
  CopieGrapheItem = Article(Menu, "CopieGrapheItem", QStringLiteral("Copier le graphe"));
  ImprimeGrapheItem = Article(Menu, "ImprimeGrapheItem", QStringLiteral("Imprimer le graphe…"));
  AproposItem = Article(Menu, "AproposItem", QStringLiteral("&A propos..."));
  CapteursItem = Article(Menu, "CapteursItem", QStringLiteral("&Capteurs"));
  CapteursItem->setVisible(options.capteurs);
  // Their dialogs and files are not part of this version yet.
  for (QAction *a : {SaveConfigItem, OpenConfigItem, SaveData, CopyData, AproposItem, CapteursItem,
                     ExporteTableurItem, CopieTableurItem, EnregistreGrapheItem, CopieGrapheItem,
                     ImprimeGrapheItem})
    a->setEnabled(false);
  Menu->addSeparator();
  m_groupeEcran = new QActionGroup(this);
  m_groupeEcran->setExclusive(true);
  PleinEcranItem = Article(Menu, "PleinEcranItem", QStringLiteral("&Graphe plein écran F5"));
  VoltmetreItem = Article(Menu, "VoltmetreItem", QStringLiteral("&Voltmètre plein écran F6"));
  GrapheVolt = Article(Menu, "GrapheVolt", QStringLiteral("Graphe &et voltmètre"));
  for (QAction *a : {PleinEcranItem, VoltmetreItem, GrapheVolt}) {
    a->setCheckable(true);
    m_groupeEcran->addAction(a);
  }
  GrapheVolt->setChecked(true);
  PlusBtn->setMenu(Menu);
}

void TKVXmainForm::CreeCentre() {
  auto *centre = new QWidget(this);
  centre->setObjectName(QStringLiteral("Centre"));
  auto *v = new QVBoxLayout(centre);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(0);
  auto *ligne = new QHBoxLayout;
  ligne->setContentsMargins(0, 0, 0, 0);
  ligne->setSpacing(0);
  PanelCourbe = new TPanelCourbe(centre);
  PanelCommande = new QWidget(centre);
  PanelCommande->setObjectName(QStringLiteral("PanelCommande"));
  auto *h = new QHBoxLayout(PanelCommande);
  h->setContentsMargins(0, 0, 0, 0);
  h->setSpacing(0);
  PanelMode = new TPanelMode(PanelCommande);
  PanelVoies = new TPanelVoies(PanelCommande);
  h->addWidget(PanelMode);
  h->addWidget(PanelVoies, 1);
  ligne->addWidget(PanelCourbe, 1);
  ligne->addWidget(PanelCommande);
  v->addLayout(ligne, 1);
  Gauge = new QProgressBar(centre);
  Gauge->setObjectName(QStringLiteral("Gauge"));
  Gauge->setFixedHeight(8);
  Gauge->setTextVisible(false);
  Gauge->setRange(0, 128);
  Gauge->setValue(0);
  v->addWidget(Gauge);
  setCentralWidget(centre);
}

void TKVXmainForm::CreeBarreEtat() {
  Header = new QStatusBar(this);
  Header->setObjectName(QStringLiteral("Header"));
  Header->setSizeGripEnabled(true);
  for (int i = 0; i < 2; ++i) {
    auto *p = new QLabel(Header);
    p->setObjectName(QStringLiteral("Header%1").arg(i));
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Sunken);
    p->setTextFormat(Qt::PlainText);
    m_panneaux[i] = p;
    Header->addWidget(p, i == 0 ? 1 : 0);
  }
  // The messages take the room the window has, and never widen it: a long
  // one is cut at the right on a narrow window, and its hint shows it whole.
  m_panneaux[0]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  m_panneaux[0]->setMinimumWidth(1);
  m_panneaux[1]->setFixedWidth(50);
  setStatusBar(Header);
}

void TKVXmainForm::RelieControles() {
  connect(ExitBtn, &QToolButton::clicked, this, &QWidget::close);
  // "Abandon" ends the program at once, without the closing sequence.
  connect(PanelCourbe->EscapeBtn, &QPushButton::clicked, qApp, [] { QCoreApplication::exit(0); });
  connect(PleinEcranItem, &QAction::triggered, this,
          [this] { FixeEcran(Ecran::GraphePleinEcran); });
  connect(VoltmetreItem, &QAction::triggered, this,
          [this] { FixeEcran(Ecran::VoltmetrePleinEcran); });
  connect(GrapheVolt, &QAction::triggered, this, [this] { FixeEcran(Ecran::GrapheEtVoltmetre); });
}

void TKVXmainForm::AfficheStatut(const QString &texte, int panneau) {
  if (panneau < 0 || panneau >= 2) return;
  m_panneaux[panneau]->setText(texte);
  if (panneau == 0) m_panneaux[0]->setToolTip(texte);
}

QString TKVXmainForm::Statut(int panneau) const {
  return panneau >= 0 && panneau < 2 ? m_panneaux[panneau]->text() : QString();
}

void TKVXmainForm::AfficheMasse(bool masse) {
  PanelVoies->masseLabel()->setText(masse ? QStringLiteral("Ref Alt") : QStringLiteral("Ref 0V"));
}

void TKVXmainForm::RelieClic(const QStringList &noms, std::function<void(int)> action) {
  for (const QString &n : noms) m_clics.insert(n, action);
}

void TKVXmainForm::showEvent(QShowEvent *event) {
  QMainWindow::showEvent(event);
  // The box search waits on the port; let the window paint itself first.
  if (m_premiereActivation) QTimer::singleShot(0, this, &TKVXmainForm::PremiereActivation);
}

void TKVXmainForm::PremiereActivation() {
  if (!m_premiereActivation) return;
  m_premiereActivation = false;
  ChercheBoitier();
  // Found, the box got the configuration; not found, the panels still show
  // it (the scan values, the boxes of the mode, a double-clicked file's
  // settings), unarmed until the box answers.
  if (!lien().BoxPresent()) moteur().ApplyConfiguration();
  if (m_demarrage) m_demarrage();
}

void TKVXmainForm::closeEvent(QCloseEvent *event) {
  // Whatever the closing sequence would still ask is answered by default.
  TermineModaux();
  ArreteBoitier();
  MomentHistorique(Moment::Fermeture);
  if (m_fermeture) m_fermeture();
  event->accept();
}

}  // namespace kvx::ui
