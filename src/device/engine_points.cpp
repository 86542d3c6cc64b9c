// SPDX-License-Identifier: GPL-3.0-or-later
// The point modes: values typed at the keyboard, point by point (on demand
// or automatically when the inputs move), and the sweep of the analog output.
// Each records one point of every active channel at a time, at the index of
// the recorded count, straight into the display arrays.
#include <algorithm>
#include <cmath>
#include <limits>

#include "device/acquisition_engine.h"
#include "device/box_link.h"
#include "device/configuration_rules.h"
#include "device/engine_texts.h"
#include "display/graphe.h"
#include "model/erreurs.h"
#include "model/expression.h"
#include "model/nombres.h"
#include "model/separateur_decimal.h"
#include "model/sortie_analogique.h"
#include "model/voie.h"

namespace kvx::device {

namespace {
constexpr char32_t kEnter = U'\r';
// Automatic point by point records when the inputs together have moved by
// more than 1 % of their display ranges since the last recorded point.
constexpr double kAutoPointMove = 0.01;
// The bounds in the range message are written in full, as typed in the
// keyboard dialog.
constexpr int kBoundDigits = 15;

// The value typed in `ClavierEdit`: a number with either separator and a
// prefix letter, or a small expression as in the dialogs' numeric fields.
// The typed value, or NaN with what is wrong with the text in `why`.
double TypedValue(const std::string &text, std::string &why) {
  try {
    const double v = model::Evalue(text);
    if (std::isnan(v)) why = texts::kAucuneValeur;  // nothing typed
    return v;
  } catch (const model::EGetFloatError &e) {
    why = e.what();
    return std::numeric_limits<double>::quiet_NaN();
  }
}

std::string BoundText(double x) {
  return model::TexteGeneral(x, kBoundDigits, model::SeparateurDecimal());
}
}  // namespace

bool AcquisitionEngine::RecordPoint(bool missingAllowed) {
  const int index = NbPoints();
  // The display arrays are full: a further point would have nowhere to go.
  if (index < 0 || index >= model::kNbValeurs) return false;
  const auto failed = [this](int slot) {
    return std::isnan(Voie(slot).valeurLue) || m_readFailed.test(static_cast<std::size_t>(slot));
  };
  for (int slot = kSlotSortieAnalog; slot <= kSlotVeltor; ++slot) {
    const model::Tvoie &voie = Voie(slot);
    if (!voie.Active || !failed(slot) || (missingAllowed && slot != kSlotClavier)) continue;
    // The keyboard entry without a value is the user still typing: no word.
    if (slot != kSlotClavier) m_view.showReadoutText(slot, texts::kErreurAcquisitionVoie);
    return false;
  }
  m_view.eraseCursors();
  model::Tvoie &sortie = Voie(kSlotSortieAnalog);
  sortie.valeurCourante = sortie.valeurLue;
  // The output's own arrays already hold the ramp of the sweep.
  const auto at = static_cast<std::size_t>(index);
  for (int slot = kSlotClavier; slot <= kSlotVeltor; ++slot) {
    model::Tvoie &voie = Voie(slot);
    if (!voie.Active) continue;
    // A missing value is drawn as a gap and left out of the table.
    voie.valeurs[at] =
        failed(slot) ? std::numeric_limits<double>::quiet_NaN() : voie.valeurLue;
    voie.valeurCourante = voie.valeurLue;
  }
  // The graph draws only the points it counts: count the new one first.
  FixeNbPoints(index + 1);
  m_view.drawPoints(index, index);
  m_view.showCursors();
  if (sortie.Active) m_view.refreshReadout(kSlotSortieAnalog);
  UpdateButtons();
  return true;
}

void AcquisitionEngine::AutoPointTest() {
  const int recorded = NbPoints();
  if (recorded <= 0) {
    RecordPoint();
    return;
  }
  const auto last = static_cast<std::size_t>(std::min(recorded, model::kNbValeurs) - 1);
  double moved = 0;
  for (int slot = kSlotV1; slot <= kSlotVeltor; ++slot) {
    const model::Tvoie &voie = Voie(slot);
    const double width = voie.Maxi - voie.Mini;
    // A range of nothing has no 1 %: such a channel cannot move the sum.
    if (!voie.Active || !(width > 0)) continue;
    moved += std::fabs(voie.valeurCourante - voie.valeurs[last]) / width;
  }
  if (moved > kAutoPointMove) RecordPoint();
}

void AcquisitionEngine::ShowPointStatus() {
  m_view.setStatus(m_pointAuto ? texts::kDecocherAutomatique : texts::kCliquerPourEnregistrer);
}

void AcquisitionEngine::PointAutoCBClick(bool checked) {
  m_pointAuto = checked;
  if (Mode() == kModePointParPoint) ShowPointStatus();
}

void AcquisitionEngine::PreparePointMode() {
  m_state = AcqState::Waiting;
  ShowPointStatus();
}

void AcquisitionEngine::PrepareClavier() {
  m_state = AcqState::Waiting;
  m_view.setStatus(texts::kTaperLaValeur);
  m_view.eraseCursors();
  m_view.highlightEntryPanel(kSlotClavier);
  model::Tvoie &clavier = Voie(kSlotClavier);
  clavier.valeurLue = clavier.Mini;
  clavier.valeurCourante = clavier.Mini;
  m_view.showCursors();
  m_view.clearClavierEdit();
  m_view.focusClavierEdit();
}

bool AcquisitionEngine::ClavierEditKeyPress(char32_t key, const std::string &text) {
  if (key != kEnter || Mode() != kModeClavier) return false;
  model::Tvoie &clavier = Voie(kSlotClavier);
  std::string why;
  const double value = TypedValue(text, why);
  if (!(value >= clavier.Mini && value <= clavier.Maxi)) {
    // A refused value is not taken as the channel's: the cursor and the next
    // point keep the last value that was accepted. A text that is no number
    // says so first, then the range expected.
    const std::string range = BoundText(clavier.Mini) + texts::kAvantNom + clavier.Nom +
                              texts::kApresNom + BoundText(clavier.Maxi);
    m_view.showError(why.empty() ? range
                                 : texts::kNombreMalEcrit + why + texts::kValeurAttendue + range);
    m_view.focusClavierEdit();
    return false;
  }
  clavier.valeurLue = value;
  m_view.eraseCursors();
  clavier.valeurCourante = value;
  m_view.showCursors();
  EnregistreBtnClick();
  m_view.clearClavierEdit();
  return true;
}

int AcquisitionEngine::SweepFirstCode() const {
  const auto &sortie = static_cast<const model::TsortieAnalogique &>(Voie(kSlotSortieAnalog));
  return sortie.Inverse ? sortie.Fin : sortie.Debut;
}

void AcquisitionEngine::SetOutputCode(int code) {
  model::Tvoie &sortie = Voie(kSlotSortieAnalog);
  sortie.valeurLue = sortie.ValeurDeCode(code);
  // Said every time, even a code the box was given before: it acknowledges
  // nothing, and switched off and on since, it holds 0.
  m_link.SendCommand(std::string(cmd::kSetOutput) + std::to_string(code));
}

void AcquisitionEngine::PrepareSweep() {
  m_state = AcqState::Waiting;
  // No message of its own: the one of the mode before would mislead.
  m_view.setStatus("");
  m_view.highlightEntryPanel(kSlotSortieAnalog);
  m_view.eraseCursors();
  SetOutputCode(SweepFirstCode());
  model::Tvoie &sortie = Voie(kSlotSortieAnalog);
  sortie.valeurCourante = sortie.valeurLue;
  m_view.showCursors();
  m_view.refreshReadout(kSlotSortieAnalog);
}

void AcquisitionEngine::StartSweep() {
  TimerOff();
  m_view.recordingAboutToBeCleared();
  FixeNbPoints(0);
  m_view.setGauge(0, Nombre());
  m_state = AcqState::Acquiring;
  const unsigned gone = m_goneCount;
  SetOutputCode(SweepFirstCode());
  if (gone != m_goneCount) return;  // the box went while we spoke to it
  model::Tvoie &sortie = Voie(kSlotSortieAnalog);
  sortie.valeurCourante = sortie.valeurLue;
  m_view.refreshReadout(kSlotSortieAnalog);
  UpdateButtons();
  // The box has no command for the step time: the timer paces the sweep.
  const int deltat = static_cast<const model::TsortieAnalogique &>(sortie).Deltat;
  m_timer.setInterval(std::max(1, deltat));
  TimerOn();
}

void AcquisitionEngine::SweepStep() {
  if (!ReadLiveValues()) return;
  const int index = NbPoints();
  const auto &sortie = static_cast<const model::TsortieAnalogique &>(Voie(kSlotSortieAnalog));
  // The data table's first column is the time of each step since the sweep
  // began, which only the step interval tells: no scan has set it. A read
  // that failed leaves its step missing rather than shifting the ramp.
  if (RecordPoint(true))
    Voie(kSlotTemps).valeurs[static_cast<std::size_t>(index)] =
        index * std::max(1, sortie.Deltat) / 1000.0;
  const int recorded = NbPoints();
  m_view.setGauge(recorded, Nombre());  // the sweep's progress, step by step
  const int code = sortie.Inverse ? sortie.Fin - recorded : sortie.Debut + recorded;
  if (code > sortie.Fin || code < sortie.Debut) {
    m_state = AcqState::Finished;
    m_timer.setInterval(kIntervalPointModes);
    // The sweep can be sent, cleared or run again.
    UpdateButtons();
    m_view.recordingEnded();
    return;
  }
  SetOutputCode(code);
}

}  // namespace kvx::device
