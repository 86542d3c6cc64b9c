// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/vue_fenetre.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include "display/couleurs.h"
#include "display/graphe.h"
#include "model/masse.h"
#include "ui/dialogue_modal.h"
#include "ui/hints.h"
#include "ui/kvxmain.h"
#include "ui/panel_courbe.h"
#include "ui/panel_mode.h"
#include "ui/panel_voies.h"

namespace kvx::ui {

namespace {

QString Texte(const std::string &s) {
  return QString::fromStdString(s);
}

// The default arrow while a message box waits for the user, whatever the
// window was showing; the previous cursor comes back afterwards.
class CurseurFleche {
 public:
  CurseurFleche() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
  ~CurseurFleche() { QApplication::restoreOverrideCursor(); }
  CurseurFleche(const CurseurFleche &) = delete;
  CurseurFleche &operator=(const CurseurFleche &) = delete;
};

}  // namespace

void TVueFenetre::showLinkStatus(const std::string &text) {
  m_form.AfficheStatut(Texte(text));
}

void TVueFenetre::showBoxAbsent(bool absent) {
  QWidget *panneau = m_form.PanelCourbe->NuvexAbsent;
  panneau->setVisible(absent);
  if (absent) {
    panneau->raise();
    m_form.PanelCourbe->ComBtn->setFocus();
  }
}

void TVueFenetre::showAbsentAdvice(const std::string &advice) {
  m_form.PanelCourbe->FixeConseil(Texte(advice));
}

void TVueFenetre::setBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++m_occupe;
  } else if (m_occupe > 0) {
    QApplication::restoreOverrideCursor();
    --m_occupe;
  }
}

void TVueFenetre::boxIdentified() {
  m_form.BoitierIdentifie();
}

void TVueFenetre::boxGone() {
  m_form.BoitierParti();
}

void TVueFenetre::setStatus(const std::string &text) {
  m_form.AfficheStatut(Texte(text), 0);
}

void TVueFenetre::setStatus2(const std::string &text) {
  m_form.AfficheStatut(Texte(text), 1);
}

void TVueFenetre::setButtonEnabled(device::EngineButton button, bool enabled) {
  QToolButton *b = nullptr;
  switch (button) {
    case device::EngineButton::Enregistre:
      b = m_form.EnregistreBtn;
      break;
    case device::EngineButton::Stop:
      b = m_form.StopBtn;
      break;
    case device::EngineButton::Reset:
      b = m_form.ResetBtn;
      break;
    case device::EngineButton::Undo:
      b = m_form.UndoBtn;
      break;
    case device::EngineButton::RegSave:
      b = m_form.RegSaveBtn;
      break;
  }
  if (b != nullptr) b->setEnabled(enabled);
}

void TVueFenetre::setEnregistreHint(const std::string &hint) {
  FixeHint(m_form.EnregistreBtn, Texte(hint));
}

void TVueFenetre::setMonocoupChecked(bool checked) {
  // setChecked does not emit clicked: the engine is not called back.
  m_form.PanelMode->MonocoupCB->setChecked(checked);
}

void TVueFenetre::setGauge(int position, int maximum) {
  QProgressBar *g = m_form.Gauge;
  g->setMaximum(std::max(maximum, 1));
  g->setValue(std::clamp(position, 0, g->maximum()));
}

void TVueFenetre::showScan(const device::ScanTexts &texts) {
  TPanelMode *m = m_form.PanelMode;
  m->NbreEdit->setText(Texte(texts.nombre));
  m->DureeEdit->setText(Texte(texts.duree));
  m->DeltatLabel->setText(Texte(texts.deltat));
  m->FechLabel->setText(Texte(texts.fech));
  m->minmax->setText(Texte(texts.minmax));
  m->minmax->setVisible(!texts.minmax.empty());
}

void TVueFenetre::showReference() {
  m_form.AfficheMasse(model::Masse());
}

void TVueFenetre::refreshPanels() {
  m_form.RafraichitPanneaux();
}

void TVueFenetre::refreshReadout(int slot) {
  m_form.AfficheValeur(slot);
}

void TVueFenetre::clearReadouts() {
  for (int slot = kPremiereBoite; slot <= kDerniereBoite; ++slot)
    m_form.PanelVoies->cadre(slot)->afficheur()->clear();
}

void TVueFenetre::eraseCursors() {
  m_form.EffaceCurseur();
}

void TVueFenetre::showCursors() {
  m_form.AfficheCurseur();
}

void TVueFenetre::drawPoints(int first, int last) {
  m_form.DessinePoints(first, last);
}

void TVueFenetre::repaintGraph() {
  m_form.RedessineGraphe();
}

bool TVueFenetre::askYesNo(const std::string &question) {
  CurseurFleche fleche;
  return PoseQuestion(&m_form, QString::fromUtf8(kTitreFenetre), Texte(question));
}

void TVueFenetre::showError(const std::string &message) {
  CurseurFleche fleche;
  MontreMessage(&m_form, QMessageBox::Critical, QString::fromUtf8(kTitreFenetre), Texte(message));
}

void TVueFenetre::showReadoutText(int slot, const std::string &text) {
  if (slot >= kPremiereBoite && slot <= kDerniereBoite)
    m_form.PanelVoies->cadre(slot)->afficheur()->setText(Texte(text));
  else if (slot == 2)
    m_form.PanelMode->LabelSA->setText(Texte(text));
}

void TVueFenetre::highlightEntryPanel(int slot) {
  QWidget *boite = slot == 3 ? static_cast<QWidget *>(m_form.PanelMode->ClavierGB)
                             : static_cast<QWidget *>(m_form.PanelMode->SortieAnaGB);
  const display::Rgb rgb = display::CouleurCourbe(m_form.graphe().voie(slot).Couleur);
  QPalette p = boite->palette();
  p.setColor(QPalette::Window, Qt::white);
  p.setColor(QPalette::WindowText, QColor(rgb.r, rgb.g, rgb.b));
  boite->setPalette(p);
  boite->setAutoFillBackground(true);
}

void TVueFenetre::clearClavierEdit() {
  m_form.PanelMode->ClavierEdit->clear();
}

void TVueFenetre::focusClavierEdit() {
  if (m_form.PanelMode->ClavierEdit->isVisible()) m_form.PanelMode->ClavierEdit->setFocus();
}

void TVueFenetre::triggerWaitPosted() {
  // On the worker's thread: only a queued call, which Qt drops if the window
  // is already gone.
  TKVXmainForm *form = &m_form;
  QMetaObject::invokeMethod(form, [form] { form->NouvellesAttente(); }, Qt::QueuedConnection);
}

void TVueFenetre::recordingEnded() {
  m_form.MomentHistorique(TKVXmainForm::Moment::Fin);
}

void TVueFenetre::recordingAboutToBeCleared() {
  m_form.MomentHistorique(TKVXmainForm::Moment::AvantEffacement);
}

void TVueFenetre::settingsChanging() {
  m_form.MomentHistorique(TKVXmainForm::Moment::AvantReglages);
}

void TVueFenetre::settingsApplying() {
  m_form.MomentHistorique(TKVXmainForm::Moment::Reglages);
}

bool TVueFenetre::closing() const {
  return FermetureEnCours();
}

}  // namespace kvx::ui
