// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/etalonne_inter.h"

#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "device/lecture_entree.h"
#include "model/entree_analogique.h"
#include "model/masse.h"
#include "model/nombres.h"
#include "model/voie.h"
#include "ui/boutons_dialogue.h"
#include "ui/dialogue_modal.h"
#include "ui/filtre_saisie.h"
#include "ui/nomme.h"

namespace kvx::ui {

namespace {
constexpr int kPeriodeLecture = 110;  // ms
constexpr int kRubriqueAide = 10;
constexpr int kCodeMax = 255;
constexpr const char *kConsigne1 =
    "1. Placez le capteur dans un état connu, tapez la valeur puis cliquez « Point 1 interactif ».";
constexpr const char *kConsigne2 =
    "2. Placez-le dans un second état, tapez la valeur puis « Point 2 interactif » "
    "(ou « Capteur linéaire » si la valeur est 0 à 0 V).";

QProgressBar *Jauge(QWidget *parent, const char *nom) {
  auto *g = Nomme(new QProgressBar(parent), nom);
  g->setRange(0, kCodeMax);
  g->setTextVisible(false);
  g->setMinimumWidth(256);
  return g;
}
}  // namespace

TEtalonneInterDlg::TEtalonneInterDlg(model::Tvoie &voie, device::BoxLink *lien, QWidget *parent)
    : QDialog(parent), m_voie(voie), m_lien(lien) {
  setObjectName(QStringLiteral("EtalonneInterDlg"));
  setWindowTitle(QStringLiteral("Etalonnage interactif"));
  LabelInteractif = Nomme(new QLabel(this), "LabelInteractif");
  EditInteractif1 = Nomme(new QLineEdit(this), "EditInteractif1");
  EditInteractif2 = Nomme(new QLineEdit(this), "EditInteractif2");
  for (QLineEdit *e : {EditInteractif1, EditInteractif2}) FiltreNombre(e);
  GaugeInter1 = Jauge(this, "GaugeInter1");
  GaugeInter2 = Jauge(this, "GaugeInter2");
  TensionInter1 = Nomme(new QLabel(this), "TensionInter1");
  TensionInter2 = Nomme(new QLabel(this), "TensionInter2");
  ConsigneLabel = Nomme(new QLabel(this), "ConsigneLabel");
  ConsigneLabel->setWordWrap(true);
  // Wide enough for "-12,34 V" without the dialog jumping as it changes.
  for (QLabel *t : {TensionInter1, TensionInter2}) {
    t->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    t->setMinimumWidth(t->fontMetrics().horizontalAdvance(QStringLiteral("-888,88 mV")));
  }
  connect(GaugeInter1, &QProgressBar::valueChanged, this, [this] { AfficheTensions(); });
  connect(GaugeInter2, &QProgressBar::valueChanged, this, [this] { AfficheTensions(); });
  Point1 = Nomme(new QPushButton(QStringLiteral("Point 1 interactif"), this), "Point1");
  Point2 = Nomme(new QPushButton(QStringLiteral("Point 2 interactif"), this), "Point2");
  Point2Manuel = Nomme(new QPushButton(QStringLiteral("Capteur linéaire"), this), "Point2Manuel");
  Timer = Nomme(new QTimer(this), "Timer");
  Timer->setInterval(kPeriodeLecture);

  auto *grille = new QGridLayout;
  grille->addWidget(LabelInteractif, 0, 0);
  grille->addWidget(new QLabel(QStringLiteral("Tension"), this), 0, 1);
  grille->addWidget(EditInteractif1, 1, 0);
  grille->addWidget(GaugeInter1, 1, 1);
  grille->addWidget(TensionInter1, 1, 2);
  grille->addWidget(EditInteractif2, 2, 0);
  grille->addWidget(GaugeInter2, 2, 1);
  grille->addWidget(TensionInter2, 2, 2);
  // The zero of the bars: a thin line over both, and its caption under them.
  Label4 = Nomme(new QLabel(QStringLiteral("0 V"), this), "Label4");
  Bevel3 = Nomme(new QFrame(this), "Bevel3");
  Bevel3->setFrameShape(QFrame::VLine);
  Bevel3->setFrameShadow(QFrame::Sunken);
  auto *zero = new QWidget(this);
  zero->setMinimumHeight(Label4->sizeHint().height());
  grille->addWidget(zero, 3, 1);

  auto *points = new QHBoxLayout;
  for (QPushButton *b : {Point1, Point2, Point2Manuel}) {
    b->setAutoDefault(false);
    points->addWidget(b);
  }
  points->addStretch(1);

  BoutonsDialogue boutons = CreeBoutonsDialogue(this, kRubriqueAide);
  CancelBtn = boutons.abandon;
  HelpBtn = boutons.aide;
  // The points close the dialog; there is no OK of its own.
  boutons.rangee->removeWidget(boutons.ok);
  delete boutons.ok;
  auto *l = new QVBoxLayout(this);
  l->addWidget(ConsigneLabel);
  l->addLayout(grille);
  l->addLayout(points);
  l->addLayout(boutons.rangee);
  l->setSizeConstraint(QLayout::SetFixedSize);

  connect(Timer, &QTimer::timeout, this, &TEtalonneInterDlg::TimerTimer);
  connect(Point1, &QPushButton::clicked, this, &TEtalonneInterDlg::Point1Click);
  connect(Point2, &QPushButton::clicked, this, [this] { Calcule(false); });
  connect(Point2Manuel, &QPushButton::clicked, this, [this] { Calcule(true); });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TEtalonneInterDlg::~TEtalonneInterDlg() = default;

void TEtalonneInterDlg::FormActivate() {
  EditInteractif1->setText(QString::fromStdString(model::TexteEdition(m_voie.Offset)));
  EditInteractif2->setText(QString::fromStdString(model::TexteEdition(m_voie.UnVolt)));
  GaugeInter1->setValue(0);
  GaugeInter2->setValue(GaugeInter2->maximum());
  LabelInteractif->setText(QString::fromStdString(m_voie.Nom + "/" + m_voie.Unite));
  m_phase2 = false;
  ConsigneLabel->setText(QString::fromUtf8(kConsigne1));
  AfficheTensions();
  Point1->show();
  Point2->hide();
  Point2Manuel->hide();
  PlaceZero();
  if (m_lien != nullptr && !m_lecture)
    m_lecture = std::make_unique<device::LectureEntree>(*m_lien, m_voie.NumeroNuvex,
                                                        std::chrono::milliseconds(kPeriodeLecture));
  Timer->start();
  EditInteractif1->setFocus();
}

int TEtalonneInterDlg::Execute() {
  FormActivate();
  return ExecuteModal(*this, QDialog::Rejected);
}

void TEtalonneInterDlg::ArreteLecture() {
  Timer->stop();
  m_lecture.reset();  // the link goes back to the window
}

void TEtalonneInterDlg::done(int r) {
  ArreteLecture();
  QDialog::done(r);
}

void TEtalonneInterDlg::TimerTimer() {
  if (!m_lecture) return;
  const int code = m_lecture->DernierCode();
  if (code < 0) return;
  (m_phase2 ? GaugeInter2 : GaugeInter1)->setValue(code);
}

void TEtalonneInterDlg::Point1Click() {
  m_phase2 = true;
  ConsigneLabel->setText(QString::fromUtf8(kConsigne2));
  AfficheTensions();
  EditInteractif2->setFocus();
  Point1->hide();
  Point2->show();
  Point2Manuel->show();
}

void TEtalonneInterDlg::Calcule(bool manuel) {
  const double y1 = model::LitNombre(EditInteractif1->text().toStdString());
  const double x1 = m_voie.TensionDeCode(GaugeInter1->value());
  double y2 = 0, x2 = 0;
  if (!manuel) {
    y2 = model::LitNombre(EditInteractif2->text().toStdString());
    x2 = m_voie.TensionDeCode(GaugeInter2->value());
  }
  switch (model::EtalonneDeuxPoints(x1, y1, x2, y2, m_voie.Offset, m_voie.UnVolt)) {
    case model::ResultatEtalonnage::Calcule:
      accept();
      return;
    case model::ResultatEtalonnage::NonDefinis:
      MontreMessage(this, QMessageBox::Warning, windowTitle(),
                    QStringLiteral("Points d'étalonnage non définis"));
      return;
    case model::ResultatEtalonnage::Imprecis:
      MontreMessage(this, QMessageBox::Warning, windowTitle(),
                    QStringLiteral("Etalonnage imprécis"));
      return;
  }
}

void TEtalonneInterDlg::AfficheTensions() {
  model::Tunite volt;
  volt.FixeUnite("V");
  const auto texte = [&](const QProgressBar *g) {
    const double v = m_voie.TensionDeCode(g->value());
    // The unit's zero has no prefix to stand between it and the number.
    return v == 0 ? QStringLiteral("0 V") : QString::fromStdString(volt.TexteValeur(v));
  };
  TensionInter1->setText(texte(GaugeInter1));
  // The second bar means nothing before the first point is taken.
  TensionInter2->setText(m_phase2 ? texte(GaugeInter2) : QString());
}

void TEtalonneInterDlg::resizeEvent(QResizeEvent *event) {
  QDialog::resizeEvent(event);
  PlaceZero();
}

void TEtalonneInterDlg::PlaceZero() {
  // Code 0 is the low end: the zero is there under "Ref 0V", mid-bar under
  // "Ref Alt".
  const double part = model::Masse() ? 0.5 : 0.0;
  const QRect haut = GaugeInter1->geometry();
  const QRect bas = GaugeInter2->geometry();
  const int x = haut.left() + static_cast<int>(part * haut.width());
  Bevel3->setGeometry(x - 1, haut.top(), 2, bas.bottom() - haut.top());
  Label4->adjustSize();
  Label4->move(std::max(haut.left(), x - Label4->width() / 2), bas.bottom() + 2);
  Bevel3->raise();
}

}  // namespace kvx::ui
