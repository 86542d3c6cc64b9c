// SPDX-License-Identifier: GPL-3.0-or-later
// Applying a configuration: after every settings dialog, a configuration
// file loaded or the box found, the channels are checked against the mode,
// the box commands are composed again and the engine is armed anew.
#include <algorithm>

#include "device/acquisition_engine.h"
#include "device/box_link.h"
#include "device/configuration_rules.h"
#include "device/engine_texts.h"
#include "device/scan_parameters.h"
#include "model/sortie_analogique.h"
#include "model/voie.h"

namespace kvx::device {

namespace {
// Beyond this duration a scan cannot be repeated by itself.
constexpr double kLongestRepeatedScan = 20.0;
constexpr int kVeltorGaugeMaximum = 1024;
}  // namespace

void AcquisitionEngine::ApplyChannelRules() {
  const int mode = Mode();
  SlotChoice choice;
  for (int slot = 1; slot <= 9; ++slot) choice.active[slot] = Voie(slot).Active;
  choice.abscisse = Abscisse();
  ActivateForMode(choice, mode);
  FixAbscissa(choice, mode);
  if (mode == kModeVeltor) {
    Voie(kSlotTemps).FixeMini(0);
    Voie(kSlotTemps).FixeMaxi(1);
  }
  EnsureAbscissaActive(choice, [this](int slot) {
    return m_view.askYesNo(std::string(texts::kActiverLaVoie) + Voie(slot).Nom);
  });
  const int ordinates = EnsureOrdinate(choice, mode);
  for (int slot = 1; slot <= 9; ++slot) Voie(slot).Active = choice.active[slot];
  FixeAbscisse(choice.abscisse);
  FixeNbCourbes(ordinates, CountAnalogInputs(choice));
}

void AcquisitionEngine::FollowCompaction(const model::Tvoie *abscissa) {
  // Setting N moves the active inputs to the first analog slots; an input
  // on the horizontal axis stays there wherever its slot went.
  if (Abscisse() < kSlotV1 || Abscisse() > kSlotV4) return;
  for (int slot = kSlotV1; slot <= kSlotV4; ++slot) {
    if (&Voie(slot) == abscissa) {
      FixeAbscisse(slot);
      return;
    }
  }
}

void AcquisitionEngine::ApplyMonocoupRules() {
  // A free-running scan repeats by itself; one started by the user is one
  // shot each time. Whatever the trigger, a long scan is not repeated.
  if (Declenchement() == kTriggerRelaxe) m_monocoup = false;
  if (Duree() > kLongestRepeatedScan && !m_monocoup) {
    m_view.showError(texts::kMonocoupObligatoire);
    m_monocoup = true;
  }
  if (Declenchement() == kTriggerClavier) m_monocoup = true;
  m_view.setMonocoupChecked(m_monocoup);
}

void AcquisitionEngine::ApplyConfiguration() {
  // The worker ends before anything else: a question asked below runs the
  // window's events, and the box may hear nothing behind the worker's back.
  m_view.settingsApplying();
  EndTriggerWait();
  EndVeltorRun();
  ReinitialiseVueGraphe();  // the new settings' scales, seen whole
  m_view.showReference();
  ApplyChannelRules();
  const int mode = Mode();
  if (mode == kModeTemps) {
    const model::Tvoie *abscissa = &Voie(Abscisse());
    FixeNombre(Nombre());
    FollowCompaction(abscissa);
    const Period period = ComputePeriod(Duree(), Nombre(), CountActiveAnalog());
    m_dt = period.dt;
    m_mini = period.mini;
    m_maxi = period.maxi;
    ComposeCommands();
    ShowScanValues();
    m_view.setGauge(0, Nombre());
  } else if (mode == kModeSortieAnalog) {
    auto &sortie = static_cast<model::TsortieAnalogique &>(Voie(kSlotSortieAnalog));
    FixeNombreSansLimite(std::max(1, sortie.Fin - sortie.Debut + 1));
    // The horizontal axis of the sweep is the ramp its steps will play.
    sortie.CalculeRampe();
  } else if (mode == kModeVeltor) {
    m_view.setGauge(0, kVeltorGaugeMaximum);
    UploadVeltorProgram();
    // Refused: everything is applied again for point by point.
    if (Mode() != kModeVeltor) {
      ApplyConfiguration();
      return;
    }
  }
  m_view.refreshPanels();
  m_timer.setInterval(TimerInterval(mode, m_dt, m_timer.interval()));
  RefillTimeBase();
  m_startCommand = ComposeStartCommand(Declenchement() == kTriggerFront, EntreeFront());
  if (mode == kModeTemps) ApplyMonocoupRules();
  m_link.removeDataAvailable();
  m_awaitingAnswer = false;
  m_pending = false;
  m_silentTicks = 0;
  // Without the box the configuration is only shown: arming it would start a
  // "Front" scan on a closed line or cover the not-found message. Finding the
  // box applies it again, and arms it then.
  if (!m_link.BoxPresent()) {
    m_view.repaintGraph();
    return;
  }
  if (ButtonEnabled(EngineButton::Reset))
    ResetBtnClick(false);
  else
    PrepareAcquisition();
}

}  // namespace kvx::device
