// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/acquisition_engine.h"

#include "device/box_link.h"
#include "device/configuration_rules.h"
#include "device/engine_texts.h"
#include "model/voie.h"

namespace kvx::device {

namespace {
constexpr char32_t kSpace = U' ';
// Stop leaves a very short scan started by the user to finish by itself: it
// is over before the box could be told anything useful.
constexpr double kShortScanDuration = 0.1;
}  // namespace

AcquisitionEngine::AcquisitionEngine(display::TgrapheKVX &graphe, BoxLink &link,
                                     AcquisitionTimer &timer, AcquisitionView &view)
    : m_graphe(graphe), m_link(link), m_timer(timer), m_view(view) {}

AcquisitionEngine::~AcquisitionEngine() {
  if (m_trigger) {
    m_trigger->requestStop();
    ReleaseTriggerWait(false);  // the window is going: nothing more to tell it
  }
  m_link.removeDataAvailable();
}

void AcquisitionEngine::SetButton(EngineButton button, bool enabled) {
  m_buttons[static_cast<std::size_t>(button)] = enabled;
  m_view.setButtonEnabled(button, enabled);
}

bool AcquisitionEngine::ButtonEnabled(EngineButton button) const {
  return m_buttons[static_cast<std::size_t>(button)];
}

void AcquisitionEngine::TimerOn() {
  // Nothing to read from a box that is not there: the timer stays off until
  // the box has been found again.
  if (m_link.BoxPresent() && !m_timer.isEnabled()) m_timer.setEnabled(true);
}

void AcquisitionEngine::TimerOff() {
  m_timer.setEnabled(false);
}

void AcquisitionEngine::TimerTimer() {
  // While a wait is armed its worker alone talks to the box: the tick only
  // takes what the worker has to say.
  if (m_trigger) {
    TriggerWaitEvents();
    return;
  }
  if (m_link.boxGone()) {
    BoxGone();
    return;
  }
  // Ports that give the shell no handle to watch deliver their bytes here.
  if (m_link.hasDataAvailable()) m_link.ServiceInput();
  switch (ActionForTick(Mode(), m_state, Declenchement(), m_pending)) {
    case TickAction::ReadLive:
      ReadLiveValues();
      break;
    case TickAction::ReadLiveThenAutoPoint:
      if (ReadLiveValues() && m_pointAuto) AutoPointTest();
      break;
    case TickAction::FetchChunk:
      m_pending = false;
      FetchNext();
      break;
    case TickAction::SweepStep:
      SweepStep();
      break;
    case TickAction::PollFork:
      PollVeltorCount();
      break;
    case TickAction::Nothing:
      break;
  }
  if (Mode() == kModeTemps && m_state == AcqState::Acquiring) CheckSilence();
}

void AcquisitionEngine::EnregistreBtnClick() {
  switch (Mode()) {
    case kModeClavier:
      RecordPoint();
      m_view.focusClavierEdit();  // ready for the next value
      break;
    case kModeTemps:
      // A scan the user starts is a new recording; the repeated ones that
      // follow keep the zoom he chose.
      NouvelleAcquisitionGraphe();
      StartTimedAcquisition();
      break;
    case kModePointParPoint:
      RecordPoint();
      break;
    case kModeSortieAnalog:
      StartSweep();
      break;
    case kModeVeltor:
      StartVeltorRun();
      break;
    default:
      break;
  }
}

bool AcquisitionEngine::FormKeypress(char32_t key) {
  if (key != kSpace || !ButtonEnabled(EngineButton::Enregistre)) return false;
  switch (Mode()) {
    case kModeTemps:
      if (Declenchement() == kTriggerClavier) EnregistreBtnClick();
      return true;
    case kModePointParPoint:
    case kModeSortieAnalog:
    case kModeVeltor:
      EnregistreBtnClick();
      return true;
    default:
      return false;  // keyboard mode: the space belongs to the edit
  }
}

void AcquisitionEngine::StopBtnClick(bool byUser) {
  // The stop command goes out only once the worker has let go of the link.
  const unsigned gone = m_goneCount;
  EndTriggerWait();
  if (gone != m_goneCount) return;  // the box went under the wait: already shown
  if (Mode() == kModeTemps) {
    if (byUser) {
      m_monocoup = true;
      m_view.setMonocoupChecked(true);
    }
    if (!(Duree() <= kShortScanDuration && Declenchement() == kTriggerClavier && m_live)) {
      m_link.SendCommand(cmd::kStop);
      HaltAcquisition();
      m_state = AcqState::Finished;
    }
    m_pending = false;
  } else if (Mode() == kModeVeltor) {
    // At shutdown the events could no longer be shown: the run just ends.
    if (byUser)
      FetchVeltorResults();
    else
      EndVeltorRun();
  } else {
    HaltAcquisition();
    m_state = AcqState::Finished;
  }
  // Closing, the program stops the box and nothing should tick again.
  if (byUser) ShowValuesAfterStop();
  UpdateButtons();
  SetButton(EngineButton::Reset, true);
}

void AcquisitionEngine::ShowValuesAfterStop() {
  if (Mode() == kModeVeltor) return;  // the fork's read-out is its event count
  if (Mode() == kModeClavier || Mode() == kModePointParPoint) {
    // These modes read the inputs on every tick, stopped or not: the
    // voltmeters go on moving after Stop.
    TimerOn();
    return;
  }
  // A scan or a sweep stopped shows the values it stopped on, not blank
  // read-outs until the next run.
  for (int slot = kSlotBinaire; slot <= kSlotVeltor; ++slot)
    if (Voie(slot).Active) m_view.refreshReadout(slot);
}

void AcquisitionEngine::ResetBtnClick(bool byUser) {
  if (byUser && Mode() != kModeTemps && !m_view.askYesNo(texts::kSuppressionAcquisition)) return;
  if (byUser) {
    m_view.recordingAboutToBeCleared();
    FixeNbPoints(0);
    SetButton(EngineButton::RegSave, false);
  }
  m_view.repaintGraph();
  PrepareAcquisition();
}

void AcquisitionEngine::UndoBtnClick() {
  if (NbPoints() <= 0) return;
  FixeNbPoints(NbPoints() - 1);
  m_view.repaintGraph();
  UpdateButtons();
}

void AcquisitionEngine::MonocoupCBClick(bool checked) {
  m_monocoup = checked;
  if (!checked) PrepareAcquisition();
}

void AcquisitionEngine::TransferFocusReturned() {
  if (Mode() == kModeTemps) {
    TimerOff();
    SetButton(EngineButton::Enregistre, true);
    Voie(kSlotTemps).valeurLue = 0;
    PrepareAcquisition();
  } else if (m_link.BoxPresent()) {
    TimerOn();
  } else {
    TimerOff();
  }
}

void AcquisitionEngine::HaltAcquisition() {
  // A settings dialog may read the box itself (the live bars): the watch
  // ends first, and applying the settings arms it again.
  m_view.settingsChanging();
  EndTriggerWait();
  TimerOff();
  // A fork run does not outlive a settings dialog; events fetched so far stay.
  EndVeltorRun();
  if (Mode() == kModeTemps && m_state == AcqState::Acquiring) {
    // The answer to a request still on its way must not be taken for the
    // first values of the next acquisition.
    m_link.removeDataAvailable();
    m_awaitingAnswer = false;
    if (m_link.BoxPresent()) {
      m_link.DrainPort();
      m_state = AcqState::Finished;
      m_pending = false;
    }
  }
  m_view.clearReadouts();
}

void AcquisitionEngine::PrepareAcquisition() {
  if (m_view.closing()) {
    TimerOff();
    return;
  }
  m_live = true;
  ++m_run;
  switch (Mode()) {
    case kModeTemps:
      switch (Declenchement()) {
        case kTriggerClavier:
          m_view.setStatus(texts::kCliquerPourDemarrer);
          m_state = AcqState::Waiting;
          break;
        case kTriggerSeuil:
        case kTriggerBouge:
          m_view.setStatus(Declenchement() == kTriggerSeuil ? texts::kAttentePassageSeuil
                                                            : texts::kAttenteModification);
          m_state = AcqState::Waiting;
          ArmTriggerWait();
          break;
        default:  // "Front" and "Relaxé" start at once; the box waits for the edge
          StartTimedAcquisition();
          break;
      }
      break;
    case kModeClavier:
      PrepareClavier();
      break;
    case kModePointParPoint:
      PreparePointMode();
      break;
    case kModeSortieAnalog:
      PrepareSweep();
      break;
    case kModeVeltor:
      PrepareVeltor();
      break;
    default:
      m_state = AcqState::Waiting;
      break;
  }
  if (m_link.BoxPresent())
    TimerOn();
  else
    TimerOff();
  UpdateButtons();
  m_view.setStatus2("");
  ShowPointCount();
  m_view.repaintGraph();
}

void AcquisitionEngine::ShowPointCount() {
  // The point modes record one point at a time: the user counts on this to
  // know where the table stands. A sweep counts its steps on the gauge.
  const int mode = Mode();
  if (mode == kModeClavier || mode == kModePointParPoint)
    m_view.setStatus2(std::to_string(NbPoints()) + texts::kPointsCompte);
}

void AcquisitionEngine::UpdateButtons() {
  const int recorded = NbPoints();
  const int mode = Mode();
  // A running sweep is neither started again nor cleared under the user's
  // feet: only Stop ends it early.
  const bool sweeping = mode == kModeSortieAnalog && m_state == AcqState::Acquiring;
  SetButton(EngineButton::Reset, recorded > 0 && !sweeping);
  SetButton(EngineButton::Enregistre, mode != kModeClavier && !sweeping);
  m_view.setEnregistreHint(texts::kHintEnregistrePoint);
  SetButton(EngineButton::Stop, m_state == AcqState::Waiting || m_state == AcqState::Acquiring);
  SetButton(EngineButton::Undo,
            recorded > 0 && (mode == kModeClavier || mode == kModePointParPoint));
  SetButton(EngineButton::RegSave, recorded >= 1);
  ShowPointCount();
  if (mode == kModeTemps) {
    const int trigger = Declenchement();
    SetButton(EngineButton::Reset, m_monocoup && m_state == AcqState::Finished);
    SetButton(EngineButton::Enregistre, trigger == kTriggerClavier && m_state == AcqState::Waiting);
    m_view.setEnregistreHint(texts::kHintLanceAcquisition);
    TimerOn();
    if (m_state == AcqState::Waiting) {
      if (trigger == kTriggerClavier) m_view.setStatus(texts::kAttenteDeclenchement);
      if (trigger == kTriggerSeuil) m_view.setStatus(texts::kAttenteDuPassageSeuil);
      if (trigger == kTriggerBouge) m_view.setStatus(texts::kAttenteModification);
    } else if (m_state == AcqState::Acquiring) {
      const bool noValueYet = m_pointsReceived == 0;
      m_view.setStatus(trigger == kTriggerFront && noValueYet ? texts::kAttenteFront
                                                              : texts::kAttenteValeurs);
    } else {
      m_view.setStatus(texts::kAcquisitionTerminee);
    }
  } else if (mode == kModeVeltor) {
    // A run is started once and stopped only while it counts.
    SetButton(EngineButton::Enregistre, m_veltor.phase == VeltorPhase::Idle);
    SetButton(EngineButton::Stop, m_veltor.phase == VeltorPhase::Counting);
    if (m_state == AcqState::Waiting) m_view.setStatus("");
    if (m_state == AcqState::Acquiring) m_view.setStatus(texts::kAttenteValeurs);
    if (m_state == AcqState::Finished) m_view.setStatus(texts::kAcquisitionTerminee);
  }
}

bool AcquisitionEngine::NbreEditAccepts(char32_t key) {
  // Besides digits and backspace the field has always let two control keys
  // through (the codes of "%" and "'"); they change nothing in the number.
  return (key >= U'0' && key <= U'9') || key == 8 || key == U'%' || key == U'\'';
}

char32_t AcquisitionEngine::DureeEditFilter(char32_t key, char decimalSeparator) {
  if (key >= U'0' && key <= U'9') return key;
  // Either separator is typed as the desktop's, so the text always parses.
  if (key == U'.' || key == U',') return static_cast<char32_t>(decimalSeparator);
  switch (key) {
    case U' ':
    case 8:
    case U'm':
    case U'i':
    case U'n':
    case U's':
    case U'\u00B5':  // micro sign
      return key;
    default:
      return 0;
  }
}

}  // namespace kvx::device
