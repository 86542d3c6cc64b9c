// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's screen layouts, read-out sizes, keys and hints.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "device/acquisition_engine.h"
#include "ui/kvxmain.h"
#include "ui/panel_courbe.h"
#include "ui/panel_mode.h"
#include "ui/panel_voies.h"

namespace kvx::ui {

namespace {

constexpr int kLargeurCommande = 256;
constexpr int kLargeurMode = 128;
constexpr int kLargeurBouton = 75;
constexpr int kModeClavier = 0;
// The smallest window the box's users know; the panels may ask for more.
constexpr QSize kTailleMini(550, 380);

}  // namespace

void TKVXmainForm::FixeEcran(Ecran ecran) {
  m_ecran = ecran;
  QAction *coche = ecran == Ecran::GraphePleinEcran      ? PleinEcranItem
                   : ecran == Ecran::VoltmetrePleinEcran ? VoltmetreItem
                                                         : GrapheVolt;
  coche->setChecked(true);
  AppliqueEcran();
}

void TKVXmainForm::AppliqueEcran() {
  const QWidget *centre = centralWidget();
  const int largeur = centre ? centre->width() : width();
  switch (m_ecran) {
    case Ecran::GraphePleinEcran:
      // The graph covers the whole client area between tool bar and status bar.
      PanelCommande->hide();
      PanelCourbe->show();
      break;
    case Ecran::VoltmetrePleinEcran:
      // The read-outs alone, with no sliver of the graph at the edge.
      PanelMode->hide();
      PanelCourbe->hide();
      PanelCommande->setFixedWidth(std::max(largeur, kLargeurMode));
      PanelCommande->show();
      break;
    case Ecran::GrapheEtVoltmetre:
      PanelCourbe->show();
      PanelMode->setFixedWidth(std::max(kLargeurMode, PanelMode->LargeurNecessaire()));
      PanelMode->show();
      PanelCommande->setFixedWidth(kLargeurCommande);
      PanelCommande->show();
      break;
  }
  MiseEnPageAfficheurs();
}

void TKVXmainForm::MiseEnPageAfficheurs() {
  const EntreesBoites entrees = EntreesAfficheurs();
  SortiesBoites sorties;
  if (m_ecran == Ecran::VoltmetrePleinEcran) {
    // The column's own margins and the reference label are not room for boxes.
    const int largeur = PanelCommande->width() - 4;
    const int hauteur = PanelVoies->height() - PanelVoies->masseLabel()->sizeHint().height() - 8;
    sorties = DispositionVoltmetre(entrees, largeur, hauteur, ModeAcquisition());
  } else {
    sorties = DispositionNormale(entrees, height());
  }
  PanelVoies->Applique(sorties, CouleursAfficheurs());
  if (m_ecran == Ecran::GrapheEtVoltmetre) {
    // A taller window gets larger fonts: the column widens with them, so that
    // no caption ("V2=EA1 ±2.5 V") is ever cut.
    const int voies = std::max(kLargeurCommande - kLargeurMode, PanelVoies->LargeurNecessaire());
    PanelCommande->setFixedWidth(std::max(kLargeurMode, PanelMode->LargeurNecessaire()) + voies);
  }
  // Once the panels have been laid out again with their new fonts: asked
  // now, their sizes would still be the old ones.
  if (!m_tailleMiniDemandee) {
    m_tailleMiniDemandee = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          m_tailleMiniDemandee = false;
          AjusteTailleMini();
        },
        Qt::QueuedConnection);
  }
}

void TKVXmainForm::AjusteTailleMini() {
  // An explicit minimum overrides the layouts' own: without this the scan
  // fields would be squeezed over one another on a small window.
  // Only beside the graph: the full-screen voltmeter fixes its column to
  // the window's width, which is no minimum of the window.
  // The tool bar and the status bar are counted by hand: the main window's
  // own hint leaves part of them out.
  QSize panneaux = centralWidget()->minimumSizeHint();
  panneaux.rheight() += ToolBar1->height() + Header->sizeHint().height();
  const QSize voulue = m_ecran == Ecran::GrapheEtVoltmetre
                           ? kTailleMini.expandedTo(panneaux).expandedTo(minimumSizeHint())
                           : kTailleMini;
  if (voulue != minimumSize()) setMinimumSize(voulue);
}

void TKVXmainForm::resizeEvent(QResizeEvent *event) {
  QMainWindow::resizeEvent(event);
  // A desktop without a window manager lets the window be made smaller than
  // its minimum, with panels over one another: it goes back to its minimum.
  if (width() < minimumWidth() || height() < minimumHeight())
    QTimer::singleShot(0, this, [this] { resize(size().expandedTo(minimumSize())); });
  // On the narrowest window the buttons after "Acquisition", whose text is
  // the longest, give up a few pixels each rather than hide "Quitter" behind
  // the tool bar's overflow arrow.
  const auto boutons = ToolBar1->findChildren<QToolButton *>(QString(), Qt::FindDirectChildrenOnly);
  const int autres = std::max<int>(boutons.size() - 2, 1);  // less the overflow arrow
  const int largeur = std::min(kLargeurBouton, (width() - 8 - kLargeurBouton) / autres);
  for (QToolButton *b : boutons) {
    if (b == EnregistreBtn || b->objectName() == QLatin1String("qt_toolbar_ext_button")) continue;
    b->setFixedWidth(largeur);
  }
  if (m_ecran == Ecran::VoltmetrePleinEcran)
    AppliqueEcran();
  else
    MiseEnPageAfficheurs();
}

bool TKVXmainForm::event(QEvent *event) {
  if (event->type() == QEvent::StatusTip) {
    // Hints show in the title bar; the status bar keeps the box's messages.
    const QString tip = static_cast<QStatusTipEvent *>(event)->tip();
    setWindowTitle(tip.isEmpty() ? QString::fromUtf8(kTitreFenetre) : tip);
    return true;
  }
  // The pointer gone from the window, or a dialog over it: no control is
  // pointed at any more, whatever leave event a control missed.
  if (event->type() == QEvent::Leave || event->type() == QEvent::WindowDeactivate)
    setWindowTitle(QString::fromUtf8(kTitreFenetre));
  return QMainWindow::event(event);
}

void TKVXmainForm::EcouteClics() {
  QList<QWidget *> cibles;
  const TPanelMode *m = PanelMode;
  for (QWidget *w : {static_cast<QWidget *>(m->ClavierGB), static_cast<QWidget *>(m->ModeGB),
                     static_cast<QWidget *>(m->ModeLabel), static_cast<QWidget *>(m->SynchroGB),
                     static_cast<QWidget *>(m->SynchroLabel),
                     static_cast<QWidget *>(m->SortieAnaGB), static_cast<QWidget *>(m->LabelSA)})
    cibles << w;
  for (int slot = kPremiereBoite; slot <= kDerniereBoite; ++slot)
    cibles << PanelVoies->cadre(slot) << PanelVoies->cadre(slot)->afficheur();
  for (QWidget *w : cibles) m_ciblesClic.insert(w);
}

bool TKVXmainForm::ClicPanneau(QObject *watched) {
  auto *w = qobject_cast<QWidget *>(watched);
  if (w == nullptr || !w->isEnabled()) return false;
  auto it = m_clics.constFind(w->objectName());
  if (it == m_clics.constEnd() && w->parentWidget() != nullptr)
    it = m_clics.constFind(w->parentWidget()->objectName());
  if (it == m_clics.constEnd()) return false;  // its settings dialog is not there yet
  const int slot = w->property("tag").toInt();
  const auto action = it.value();
  action(slot);
  return true;
}

bool TKVXmainForm::ToucheFenetre(QKeyEvent *cle) {
  if (cle->key() == Qt::Key_F5 && cle->modifiers() == Qt::NoModifier) {
    FixeEcran(m_ecran == Ecran::GraphePleinEcran ? Ecran::GrapheEtVoltmetre
                                                 : Ecran::GraphePleinEcran);
    return true;
  }
  if (cle->key() == Qt::Key_F6 && cle->modifiers() == Qt::NoModifier) {
    FixeEcran(m_ecran == Ecran::VoltmetrePleinEcran ? Ecran::GrapheEtVoltmetre
                                                    : Ecran::VoltmetrePleinEcran);
    return true;
  }
  if (cle->key() != Qt::Key_Space || cle->modifiers() != Qt::NoModifier ||
      !EnregistreBtn->isEnabled())
    return false;
  if (ModeAcquisition() == kModeClavier) return false;  // the keyboard entry types its blanks
  if (cle->isAutoRepeat()) return true;                 // one point a press, even when held down
  return m_moteur->FormKeypress(U' ');
}

bool TKVXmainForm::eventFilter(QObject *watched, QEvent *event) {
  const bool balayage = watched == PanelMode->NbreEdit || watched == PanelMode->DureeEdit;
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto *w = qobject_cast<QWidget *>(watched);
      // Only keys meant for this window, not for a dialog opened over it;
      // the window sees them before its controls.
      if (w == nullptr || w->window() != this || QApplication::activeModalWidget() != nullptr)
        return false;
      if (ToucheFenetre(static_cast<QKeyEvent *>(event))) return true;
      return balayage && ToucheBalayage(watched, event);
    }
    case QEvent::FocusOut:
      return balayage && ToucheBalayage(watched, event);
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
          m_ciblesClic.contains(watched))
        return ClicPanneau(watched);
      return false;
    default:
      return false;
  }
}

}  // namespace kvx::ui
