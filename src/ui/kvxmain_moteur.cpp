// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of the link to the box and of the acquisition engine.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <QToolButton>

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "model/separateur_decimal.h"
#include "platform/event_pump.h"
#include "ui/kvxmain.h"
#include "ui/minuterie.h"
#include "ui/panel_courbe.h"
#include "ui/panel_mode.h"
#include "ui/panel_voies.h"
#include "ui/spin_buttons.h"
#include "ui/vue_fenetre.h"

namespace kvx::ui {

namespace {

// A port table with nothing in it, for a window started without one.
class AucunPort final : public device::PortProvider {
 public:
  int portCount() const override { return 0; }
  std::string portName(int) const override { return {}; }
  device::OpenResult open(int) override {
    return {nullptr, device::OpenFailure::Missing, "no such port"};
  }
};

// The hourglass for as long as the search runs, however it ends.
class Sablier {
 public:
  Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~Sablier() { QApplication::restoreOverrideCursor(); }
  Sablier(const Sablier &) = delete;
  Sablier &operator=(const Sablier &) = delete;
};

}  // namespace

void TKVXmainForm::CreeLien(const Options &options) {
  m_vue = std::make_unique<TVueFenetre>(*this);
  m_minuterie = std::make_unique<TMinuterie>(*Timer);
  device::PortProvider *ports = options.ports;
  if (ports == nullptr) {
    m_aucunPort = std::make_unique<AucunPort>();
    ports = m_aucunPort.get();
  }
  device::Clock &horloge =
      options.horloge != nullptr ? *options.horloge : device::SteadyClock::instance();
  m_lien = std::make_unique<device::BoxLink>(*ports, *m_vue, horloge, options.lien);
  m_lien->setPump(platform::CrochetPompe());
  m_moteur = std::make_unique<device::AcquisitionEngine>(*m_graphe, *m_lien, *m_minuterie, *m_vue);
  m_moteur->setVeltorImageSource(options.imageVeltor);
  RelieMoteur();
}

void TKVXmainForm::RelieMoteur() {
  device::AcquisitionEngine *m = m_moteur.get();
  connect(PanelCourbe->ComBtn, &QPushButton::clicked, this, &TKVXmainForm::ChercheBoitier);
  connect(Timer, &QTimer::timeout, this, &TKVXmainForm::TimerTimer);
  connect(EnregistreBtn, &QToolButton::clicked, this, [m] { m->EnregistreBtnClick(); });
  connect(StopBtn, &QToolButton::clicked, this, [m] { m->StopBtnClick(true); });
  connect(ResetBtn, &QToolButton::clicked, this, [m] { m->ResetBtnClick(true); });
  connect(UndoBtn, &QToolButton::clicked, this, [m] { m->UndoBtnClick(); });
  connect(PanelMode->MonocoupCB, &QCheckBox::clicked, this, [m](bool c) { m->MonocoupCBClick(c); });
  connect(PanelMode->PointAutoCB, &QCheckBox::clicked, this,
          [m](bool c) { m->PointAutoCBClick(c); });
  // Enter in the keyboard entry records the typed value (or says the range).
  connect(PanelMode->ClavierEdit, &QLineEdit::returnPressed, this, [this, m] {
    m->ClavierEditKeyPress(U'\r', PanelMode->ClavierEdit->text().toStdString());
  });
  connect(PanelMode->NbreSpin, &TSpinButtons::monte, this, [m] { m->NombreUpClick(); });
  connect(PanelMode->NbreSpin, &TSpinButtons::descend, this, [m] { m->NombreDownClick(); });
  connect(PanelMode->DureeSpin, &TSpinButtons::monte, this, [m] { m->DureeSpinUpClick(); });
  connect(PanelMode->DureeSpin, &TSpinButtons::descend, this, [m] { m->DureeSpinDownClick(); });
  // The keys of NbreEdit and DureeEdit reach ToucheBalayage through the
  // window's application-wide filter.
}

void TKVXmainForm::TimerTimer() {
  // A tick that comes while the pump runs inside a wait would start a second
  // exchange with the box in the middle of the first.
  if (m_dansTic) return;
  m_dansTic = true;
  if (m_notificateur == nullptr && m_lien->hasDataAvailable()) m_lien->ServiceInput();
  m_moteur->TimerTimer();
  m_dansTic = false;
  SurveillePort();
}

bool TKVXmainForm::ToucheBalayage(QObject *watched, QEvent *event) {
  const bool nombre = watched == PanelMode->NbreEdit;
  auto *edit = static_cast<QLineEdit *>(watched);
  if (event->type() == QEvent::FocusOut) {
    // Only the user leaving the field applies it: switching to another
    // program, the menu popping up or a message box opening must not stop
    // the acquisition for a text that merely shows D rounded.
    const Qt::FocusReason raison = static_cast<QFocusEvent *>(event)->reason();
    if (raison == Qt::ActiveWindowFocusReason || raison == Qt::PopupFocusReason) return false;
    const std::string texte = edit->text().toStdString();
    if (nombre)
      m_moteur->NbreEditExit(texte);
    else
      m_moteur->DureeEditExit(texte);
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  auto *cle = static_cast<QKeyEvent *>(event);
  if (cle->key() == Qt::Key_Return || cle->key() == Qt::Key_Enter) {
    const std::string texte = edit->text().toStdString();
    if (nombre)
      m_moteur->NbreEditEnter(texte);
    else
      m_moteur->DureeEditEnter(texte);
    return true;
  }
  // Tab and Escape go on to the window, to leave the field as anywhere else.
  if (cle->key() == Qt::Key_Tab || cle->key() == Qt::Key_Backtab || cle->key() == Qt::Key_Escape)
    return false;
  // Keys that type nothing (arrows, Delete, Home) move and edit as usual.
  const QString t = cle->text();
  if (t.size() != 1 || (cle->modifiers() & Qt::ControlModifier)) return false;
  const char32_t c = t.at(0).unicode();
  if (nombre) return !device::AcquisitionEngine::NbreEditAccepts(c);
  const char32_t r = device::AcquisitionEngine::DureeEditFilter(c, model::SeparateurDecimal());
  if (r == 0) return true;
  if (r == c) return false;
  edit->insert(QString(QChar(static_cast<char16_t>(r))));  // the desktop's separator
  return true;
}

void TKVXmainForm::ChercheBoitier() {
  {
    Sablier sablier;
    m_lien->SearchBox();
  }
  SurveillePort();
}

void TKVXmainForm::SurveillePort() {
  const int fd = m_lien->nativeHandle();
  if (m_notificateur == nullptr || static_cast<int>(m_notificateur->socket()) != fd) {
    delete m_notificateur;
    m_notificateur = nullptr;
    if (fd < 0) return;
    // Bytes of a fetch are taken as they arrive, not only at the next tick.
    m_notificateur = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notificateur, &QSocketNotifier::activated, this, &TKVXmainForm::OctetsArrives);
  }
  // While a trigger's worker holds the port its answers are the worker's:
  // watching them here would only wake the window for nothing, again and again.
  m_notificateur->setEnabled(!m_lien->lent());
}

void TKVXmainForm::NouvellesAttente() {
  m_moteur->TriggerWaitEvents();
  SurveillePort();
}

void TKVXmainForm::OctetsArrives() {
  if (m_lien->lent()) {  // armed from a dialog, between two ticks
    SurveillePort();
    return;
  }
  m_lien->ServiceInput();
  SurveillePort();  // the line may have gone and the port closed
}

void TKVXmainForm::BoitierIdentifie() {
  m_moteur->ApplyConfiguration();
}

void TKVXmainForm::BoitierParti() {
  m_moteur->BoxGone();
  SurveillePort();
}

void TKVXmainForm::ArreteBoitier() {
  if (m_boitierArrete) return;  // the closing sequence may be reached twice (signal, button)
  m_boitierArrete = true;
  Timer->stop();
  // A trigger's worker gives the port back before the box is told to stop.
  m_moteur->EndTriggerWait();
  if (StopBtn->isEnabled()) m_moteur->StopBtnClick(false);
  // Leave the box idle: no acquisition running on, no fork program left.
  if (m_graphe->Mode == display::kModeTemps) m_lien->SendCommand("XPEA0 0,1");
  if (m_graphe->Mode == display::kModeVeltor) m_lien->SendCommand("XRESET");
  m_lien->WriteTrace();
}

void TKVXmainForm::RafraichitPanneaux() {
  display::TgrapheKVX &g = *m_graphe;
  TPanelMode *m = PanelMode;
  const int mode = g.Mode;
  m->BalayageGB->setVisible(mode == display::kModeTemps);
  m->SynchroGB->setVisible(mode == display::kModeTemps);
  m->SortieAnaGB->setVisible(mode == display::kModeSortieAnalogique);
  m->PointGB->setVisible(mode == display::kModePointParPoint);
  PanelVoies->cadre(4)->setVisible(mode == display::kModePointParPoint);
  m->ClavierGB->setVisible(mode == display::kModeClavier);
  m->ModeVeltorGB->setVisible(mode == display::kModeVeltor);
  // The sweep shows its progress too: its steps can take minutes.
  Gauge->setVisible(mode == display::kModeTemps || mode == display::kModeVeltor ||
                    mode == display::kModeSortieAnalogique);
  if (mode < static_cast<int>(display::kNomsModes.size()))
    m->ModeLabel->setText(QString::fromUtf8(display::kNomsModes[mode]));
  if (g.ModeSynchro < display::kNomsSynchro.size())
    m->SynchroLabel->setText(QString::fromUtf8(display::kNomsSynchro[g.ModeSynchro]));
  if (!g.Ligne && !g.Points) g.Points = true;  // a curve must show somehow

  const auto titreVoie = [&](int slot) {
    return QString::fromStdString(model::TexteCadre(g.voie(slot)));
  };
  m->ClavierGB->setTitle(QString::fromStdString(g.voie(3).Nom + "=clavier"));
  m->SortieAnaGB->setTitle(titreVoie(2));
  const model::TentreeBinaire &eb = g.entreeBinaire();
  PanelVoies->cadre(4)->setTitle(
      eb.Active ? QString::fromStdString(eb.Nom + "=EB0..EB" + std::to_string(eb.Nbre - 1))
                : QStringLiteral("Entrées binaires"));
  for (int slot = kPremiereBoite; slot <= kDerniereBoite; ++slot)
    PanelVoies->cadre(slot)->afficheur()->clear();
  for (int slot = 5; slot <= 8; ++slot) PanelVoies->cadre(slot)->setTitle(titreVoie(slot));
  MiseEnPageAfficheurs();
}

bool TKVXmainForm::Acquiert() const {
  return m_moteur->state() == device::AcqState::Acquiring;
}

void TKVXmainForm::SeuilDeplace() {
  // The threshold was placed on the view the user zoomed to: it stays.
  const display::VueGraphe vue = m_graphe->vue;
  m_moteur->ApplyConfiguration();
  m_graphe->vue.ReprendZoom(vue);
}

}  // namespace kvx::ui
