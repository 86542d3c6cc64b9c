// SPDX-License-Identifier: GPL-3.0-or-later
// The "Seuil" and "Bouge" waits seen from the engine: arming the worker that
// watches the trigger channel, ending it before anything else goes to the
// box, and taking its news on the window's thread, in the order the user
// sees them: read-out updates during the wait, then the acquisition's start.
#include <algorithm>

#include "device/acquisition_engine.h"
#include "device/box_link.h"
#include "device/configuration_rules.h"
#include "device/engine_texts.h"
#include "display/graphe.h"
#include "model/voie.h"

namespace kvx::device {

int AcquisitionEngine::TriggerSlot() const {
  return std::clamp(static_cast<int>(m_graphe.VoieSynchro), kSlotV1, kSlotV4);
}

void AcquisitionEngine::ArmTriggerWait() {
  if (Declenchement() == kTriggerSeuil) ArmThresholdWait();
  if (Declenchement() == kTriggerBouge) ArmChangeWait();
}

void AcquisitionEngine::ArmThresholdWait() {
  ArmWait(false);
}

void AcquisitionEngine::ArmChangeWait() {
  ArmWait(true);
}

void AcquisitionEngine::ArmWait(bool change) {
  if (m_trigger && !m_trigger->ended()) return;
  if (m_trigger) {
    const unsigned gone = m_goneCount;
    ReleaseTriggerWait(true);
    if (gone != m_goneCount) return;  // the box went under the last wait
  }
  TimerOff();
  m_state = AcqState::Waiting;
  SetButton(EngineButton::Stop, true);
  m_link.removeDataAvailable();
  m_awaitingAnswer = false;
  m_view.setStatus(change ? texts::kAttenteModification : texts::kAttenteDuPassageSeuil);
  m_triggerSlot = TriggerSlot();
  const model::Tvoie &voie = Voie(m_triggerSlot);
  TriggerWaitSettings settings;
  settings.change = change;
  settings.request =
      static_cast<std::uint8_t>(kReadInputByte + std::clamp(voie.NumeroNuvex, 0, kInputCount - 1));
  settings.threshold = m_graphe.Seuil;
  settings.falling = m_graphe.PenteSynchro == 1;
  settings.width = m_graphe.Bouge;
  // Without a box there is nothing to watch: the status keeps its waiting text.
  if (!m_link.BoxPresent()) return;
  m_link.lend([this] { EndTriggerWait(); });
  m_trigger =
      std::make_unique<TriggerWorker>(m_link, settings, [this] { m_view.triggerWaitPosted(); });
}

void AcquisitionEngine::EndTriggerWait() {
  if (!m_trigger) return;
  m_trigger->requestStop();
  ReleaseTriggerWait(true);
}

void AcquisitionEngine::ReleaseTriggerWait(bool tellView) {
  // Taken out first: a box gone under the worker is reported below, and
  // whatever that runs finds no wait left to end.
  std::unique_ptr<TriggerWorker> worker = std::move(m_trigger);
  worker->join();
  worker.reset();
  m_link.takeBack(tellView);
}

void AcquisitionEngine::TriggerWaitEvents() {
  if (!m_trigger) return;
  const TriggerNews news = m_trigger->take();
  if (news.code) {
    model::Tvoie &voie = Voie(m_triggerSlot);
    voie.valeurLue = voie.ValeurDeCode(*news.code);
    voie.valeurCourante = voie.valeurLue;
    m_view.refreshReadout(m_triggerSlot);
  }
  if (news.end == TriggerEnd::Running) return;
  const unsigned gone = m_goneCount;
  ReleaseTriggerWait(true);
  if (gone != m_goneCount) return;
  if (news.end == TriggerEnd::Triggered && Mode() == kModeTemps && m_state == AcqState::Waiting &&
      !m_view.closing())
    StartTimedAcquisition();
}

}  // namespace kvx::device
