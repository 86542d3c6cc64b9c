// SPDX-License-Identifier: GPL-3.0-or-later
// The timed scan: start, the fetch loop line by line, the end, and what
// happens when the box stops answering in the middle of it.
#include <algorithm>

#include "device/acquisition_engine.h"
#include "device/box_link.h"
#include "device/configuration_rules.h"
#include "device/engine_texts.h"
#include "device/link_texts.h"
#include "device/unpack_line.h"
#include "model/voie.h"

namespace kvx::device {

namespace {
// The longest an answer to "XRESUL " may keep us waiting for its next byte.
// A box always answers at once, with an empty line when it has no sample yet,
// so silence this long means it is switched off or its cable is out. The
// longest line (255 values) takes 1.07 s on the wire.
constexpr auto kAnswerSilenceLimit = std::chrono::milliseconds(36 * kTickMs);
}  // namespace

std::vector<int> AcquisitionEngine::ActiveAnalogSlots() const {
  std::vector<int> slots;
  for (int slot = kSlotV1; slot <= kSlotV4; ++slot)
    if (Voie(slot).Active) slots.push_back(slot);
  return slots;
}

void AcquisitionEngine::StartTimedAcquisition() {
  const unsigned goneBefore = m_goneCount;
  EndTriggerWait();  // the commands below are the window's to send
  if (goneBefore != m_goneCount) return;
  TimerOff();
  // A live scan draws over the last one as its points come.
  if (m_live) m_view.recordingAboutToBeCleared();
  m_state = AcqState::Acquiring;
  m_pointsReceived = 0;
  m_firstPoint = 0;
  m_pending = false;
  const unsigned gone = m_goneCount;
  m_startTime = m_timer.now();
  m_link.SendCommand(m_acquisitionCommand);
  m_link.SendCommand(m_startCommand);
  if (gone != m_goneCount) return;  // the box went while we spoke to it
  m_view.setStatus(texts::kAcquisitionEnCours);
  m_view.setStatus2("");
  m_view.setGauge(0, Nombre());
  SetButton(EngineButton::Enregistre, false);
  SetButton(EngineButton::Stop, true);
  TimerOn();
  FetchNext();
}

void AcquisitionEngine::FetchNext() {
  const FetchRequest request = ComposeFetch(m_acquisition, m_firstPoint);
  if (request.text.empty()) {
    FinishAcquisition();
    return;
  }
  m_requestFirst = request.firstPoint;
  m_parser.reset();
  m_link.setDataAvailable(
      [this](const std::uint8_t *data, std::size_t size) { OnBytes(data, size); });
  m_state = AcqState::Acquiring;
  m_awaitingAnswer = true;
  m_lastHeard = m_timer.now();
  m_link.SendCommand(request.text);
}

void AcquisitionEngine::OnBytes(const std::uint8_t *data, std::size_t size) {
  if (m_state != AcqState::Acquiring || !m_awaitingAnswer) return;
  m_lastHeard = m_timer.now();
  m_silentTicks = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const ValueListParser::Event event = m_parser.feed(data[i]);
    if (event == ValueListParser::Event::None) continue;
    // Whatever follows the carriage return answers no request of ours.
    m_awaitingAnswer = false;
    if (event == ValueListParser::Event::EmptyLine)
      m_pending = true;  // the box has nothing yet: ask again on the next tick
    else
      OnLine();
    return;
  }
}

void AcquisitionEngine::OnLine() {
  std::vector<UnpackChannel> channels;
  std::vector<int> slots = ActiveAnalogSlots();
  const std::size_t wanted =
      m_acquisition.subMode == SubMode::TwoInputs ? 2
      : m_acquisition.subMode == SubMode::Fast || m_acquisition.subMode == SubMode::OneInput
          ? 1
          : slots.size();
  for (std::size_t i = 0; i < slots.size() && i < wanted; ++i) {
    model::Tvoie &voie = Voie(slots[i]);
    channels.push_back(UnpackChannel{voie.NumeroNuvex,
                                     [&voie](int code) { return voie.ValeurDeCode(code); },
                                     voie.tampon.data(), voie.tampon.size()});
  }
  const int n = Nombre();
  const int points =
      UnpackLine(UnpackRequest{m_acquisition.subMode, m_acquisition.ratio, m_requestFirst, n},
                 m_parser.values().data(), m_parser.count(), channels.data(), channels.size());
  const int before = m_pointsReceived;
  // A line too short to carry a new point must not move the fetch backwards
  // (the interpolating forms ask one point again); it is asked again instead.
  if (m_requestFirst + points <= before) {
    m_pending = true;
    return;
  }
  m_pointsReceived = m_requestFirst + points;
  m_firstPoint = m_pointsReceived;
  m_view.setGauge(m_pointsReceived, n);
  if (m_pointsReceived >= n) {
    FinishAcquisition();
    return;
  }
  if (m_live) ShowNewPoints(before, m_pointsReceived);
  m_view.setStatus(texts::kAttenteValeurs);
  if (m_timer.interval() < kChainFetchBelowMs)
    FetchNext();
  else
    m_pending = true;
}

void AcquisitionEngine::ShowNewPoints(int from, int to) {
  FixeNbPoints(to);
  for (int slot : ActiveAnalogSlots()) {
    model::Tvoie &voie = Voie(slot);
    std::copy(voie.tampon.begin() + from, voie.tampon.begin() + to, voie.valeurs.begin() + from);
  }
  m_view.drawPoints(from, to - 1);
  for (int slot : ActiveAnalogSlots()) {
    model::Tvoie &voie = Voie(slot);
    voie.valeurCourante = voie.valeurs[static_cast<std::size_t>(to - 1)];
    m_view.refreshReadout(slot);
  }
}

void AcquisitionEngine::FinishAcquisition() {
  m_link.removeDataAvailable();
  m_awaitingAnswer = false;
  m_state = AcqState::Finished;
  TimerOff();
  const int n = std::min(Nombre(), m_pointsReceived);
  m_view.setGauge(Nombre(), Nombre());
  m_view.setStatus(texts::kAcquisitionTerminee);
  FixeNbPoints(n);
  for (int slot : ActiveAnalogSlots()) {
    model::Tvoie &voie = Voie(slot);
    std::copy(voie.tampon.begin(), voie.tampon.begin() + n, voie.valeurs.begin());
    if (n > 0) voie.valeurCourante = voie.valeurs[static_cast<std::size_t>(n - 1)];
    m_view.refreshReadout(slot);
  }
  FinAcquisitionGraphe();
  m_view.repaintGraph();
  m_view.recordingEnded();
  switch (Declenchement()) {
    case kTriggerClavier:
      m_state = AcqState::Waiting;  // the next space or click starts again
      break;
    case kTriggerSeuil:
      if (!m_monocoup) ArmTriggerWait();
      break;
    default:
      if (!m_monocoup) {
        m_live = false;
        StartTimedAcquisition();
      }
      break;
  }
  UpdateButtons();
}

void AcquisitionEngine::KeepReceivedPoints() {
  // The points already fetched stay on the graph; a repeated acquisition that
  // had not brought any yet leaves the previous one shown.
  if (m_pointsReceived <= 0) return;
  const int n = std::min(Nombre(), m_pointsReceived);
  FixeNbPoints(n);
  for (int slot : ActiveAnalogSlots()) {
    model::Tvoie &voie = Voie(slot);
    std::copy(voie.tampon.begin(), voie.tampon.begin() + n, voie.valeurs.begin());
  }
}

void AcquisitionEngine::CheckSilence() {
  if (!m_awaitingAnswer || !m_link.BoxPresent()) return;
  if (m_timer.now() - m_lastHeard < kAnswerSilenceLimit) return;
  LoseBox();
}

void AcquisitionEngine::LoseBox() {
  // The box went quiet without the line going: close the port, so that no
  // further command is sent into the void and no read waits for its time-out.
  m_link.Close();
  BoxGone();
}

void AcquisitionEngine::BoxGone() {
  const unsigned goneBefore = m_goneCount;
  EndTriggerWait();
  if (goneBefore != m_goneCount) return;  // taking the link back told it already
  ++m_goneCount;
  TimerOff();
  m_link.removeDataAvailable();
  m_awaitingAnswer = false;
  m_pending = false;
  m_silentTicks = 0;
  if (Mode() == kModeTemps && m_state == AcqState::Acquiring) KeepReceivedPoints();
  VeltorBoxGone();
  m_state = AcqState::Finished;
  UpdateButtons();
  m_view.repaintGraph();
  m_view.setStatus(texts::kNotFoundOnPort + m_link.PortText(m_link.lastPortTried()));
  m_view.showBoxAbsent();
}

}  // namespace kvx::device
