// SPDX-License-Identifier: GPL-3.0-or-later
// Optical-fork mode: the box gets its fork program once, then each run
// counts the beam's interruptions, is polled for the count every tick, and
// ends by fetching one line per event, which become positions against time.
//
// Every wait on the box pumps the window's paint and timers (the link's
// waits), so the window is never frozen; a stop asked from the stop
// dialog's count-down while such a wait runs is done right after it.
#include <algorithm>

#include "device/acquisition_engine.h"
#include "device/box_link.h"
#include "device/box_reads.h"
#include "device/configuration_rules.h"
#include "device/engine_texts.h"
#include "device/veltor_events.h"
#include "device/veltor_image.h"
#include "device/veltor_texts.h"
#include "display/graphe.h"
#include "model/veltor.h"
#include "model/voie.h"

namespace kvx::device {

namespace {
// The box digests the program before it answers; it answers within 36 ticks.
constexpr auto kUploadSettle = std::chrono::milliseconds(300);
constexpr int kUploadAnswerTicks = 36;
// The box needs a moment between the two start words and before counting.
constexpr auto kStartPause = std::chrono::milliseconds(100);
// The gauge of a counting run, before the count is known.
constexpr int kCountingGaugeMaximum = 256;
// The time axis of a run without automatic stop, and of a run of fewer than
// three events.
constexpr double kDefaultRunSeconds = 2.0;
constexpr double kShortRunSeconds = 0.25;
// An event line is "p h l": three numbers of at most five digits and two
// blanks. Anything much longer is noise and is kept no further.
constexpr std::size_t kMaxEventLine = 64;
// The box sends about 64 event lines a second; a gap this long in the middle
// of them means no more are coming (the box went, or had fewer events than
// it counted).
constexpr int kFetchSilenceTicks = 36;
// Two polls in a row without an answer: the box is taken as gone.
constexpr int kSilentPollLimit = 2;
}  // namespace

void AcquisitionEngine::setVeltorView(VeltorView *view) {
  m_veltor.view = view;
}

VeltorView &AcquisitionEngine::veltorView() {
  return m_veltor.view != nullptr ? *m_veltor.view : m_veltor.defaultView;
}

model::Tveltor &AcquisitionEngine::Fourche() const {
  return static_cast<model::Tveltor &>(Voie(kSlotVeltor));
}

void AcquisitionEngine::PauseVeltor(Clock::duration span) {
  // Whatever the box says meanwhile answers nothing of ours.
  const auto until = m_link.clock().now() + span;
  while (m_link.BoxPresent() && m_link.clock().now() < until && m_link.waitForByte(until))
    m_link.GetByte();
}

void AcquisitionEngine::UploadVeltorProgram() {
  // Without a box there is nobody to refuse the program: the not-found
  // panel says what is wrong, and the user's mode is kept for when it is back.
  if (m_veltor.uploaded || !m_link.BoxPresent()) return;
  std::vector<std::string> image;
  if (!VeltorImageFor(image)) {
    m_graphe.Mode = kModePointParPoint;
    return;
  }
  const unsigned gone = m_goneCount;
  veltorView().showUploading(true);
  m_veltor.busy = true;
  m_link.FlushInput();
  for (const std::string &line : image) m_link.SendCommand(line);
  bool accepted = false;
  const auto deadline = m_link.clock().now() + kUploadSettle + m_link.ticks(kUploadAnswerTicks);
  std::string line;
  while (!accepted && m_link.BoxPresent() && m_link.waitForByte(deadline)) {
    const int b = m_link.GetByte();
    if (b == kCarriageReturn) {
      accepted = line.find(kForkProgramWord) != std::string::npos;
      line.clear();
    } else if (b >= 32 && line.size() < BoxLink::kMaxLineLength) {
      line.push_back(static_cast<char>(b));
    }
  }
  m_veltor.busy = false;
  veltorView().showUploading(false);
  if (gone != m_goneCount || !m_link.BoxPresent()) {
    // The box went during the upload: the upload's label gave the window its
    // panels back as they were, so the not-found panel is shown again.
    if (!m_link.BoxPresent()) m_view.showBoxAbsent();
    return;
  }
  if (accepted) {
    m_veltor.uploaded = true;
    return;
  }
  m_view.showError(texts::kImpossibleVeltor);
  m_graphe.Mode = kModePointParPoint;
}

bool AcquisitionEngine::VeltorImageFor(std::vector<std::string> &lines) {
  // Our own bytes would run on a real box: they go only to the simulated one.
  if (m_veltorImage.ownPort > 0 && m_link.ComNumber() == m_veltorImage.ownPort) {
    lines = VeltorProgramLines();
    return true;
  }
  const VeltorImageFile file = ReadVeltorImageFile(m_veltorImage.makerFiles);
  if (!file.lines.empty()) {
    lines = file.lines;
    return true;
  }
  std::string message;
  if (file.path.empty()) {
    message = texts::kProgrammeVeltorAbsent;
    for (std::size_t i = 0; i < m_veltorImage.makerFiles.size(); ++i)
      message += (i > 0 ? texts::kOuVeltor : "") + m_veltorImage.makerFiles[i];
  } else {
    message = texts::kProgrammeVeltorRefuse + file.path + texts::kRefusVeltor + file.error;
  }
  m_view.showError(message + texts::kRetourPointParPoint);
  return false;
}

void AcquisitionEngine::PrepareVeltor() {
  m_view.setStatus(texts::kFourcheOptique);
  m_view.eraseCursors();
  model::Tveltor &fourche = Fourche();
  fourche.valeurLue = 0;
  fourche.FixeMini(0);
  fourche.FixeMaxi(0.2);
  fourche.valeurCourante = fourche.Mini;
  // A recording on show keeps axes that fit it, and follows a new step or
  // sign set in the fork's dialog.
  if (NbPoints() > 0 && NbPoints() == fourche.nbEvenements) VeltorAxes();
}

void AcquisitionEngine::VeltorAxes() {
  model::Tveltor &fourche = Fourche();
  const int n = fourche.nbEvenements;
  fourche.CalculePositions();
  const double last = n >= 3 ? Voie(kSlotTemps).valeurs[static_cast<std::size_t>(n - 1)] : 0;
  FixeDuree(last > 0 ? last : kShortRunSeconds);
}

void AcquisitionEngine::StartVeltorRun() {
  if (m_veltor.phase != VeltorPhase::Idle || !m_link.BoxPresent()) return;
  TimerOff();
  m_view.recordingAboutToBeCleared();
  FixeNbPoints(0);
  m_view.setGauge(0, kCountingGaugeMaximum);
  SetButton(EngineButton::Enregistre, false);
  SetButton(EngineButton::Stop, true);
  m_state = AcqState::Acquiring;
  m_timer.setInterval(kIntervalVeltor);
  m_veltor.phase = VeltorPhase::Counting;
  m_veltor.stopRequested = false;
  m_veltor.silentPolls = 0;
  m_veltor.countUnreadable = false;
  const unsigned gone = m_goneCount;
  m_veltor.busy = true;
  m_link.SendCommand(cmd::kForkStart1);
  PauseVeltor(kStartPause);
  m_link.SendCommand(cmd::kForkStart2);
  PauseVeltor(kStartPause);
  m_veltor.busy = false;
  if (gone != m_goneCount) return;
  if (m_link.boxGone()) {
    BoxGone();
    return;
  }
  m_link.removeDataAvailable();
  FixeNbPoints(0);
  m_veltor.N = 0;
  model::Tveltor &fourche = Fourche();
  fourche.FixeMini(-64 * fourche.Taille);
  fourche.FixeMaxi(64 * fourche.Taille);
  FixeDuree(veltorView().autoStop() ? veltorView().autoStopSeconds() : kDefaultRunSeconds);
  m_view.setStatus(texts::kAttenteVeltor);
  // The last recording is gone: the graph shows the run's empty axes.
  m_view.repaintGraph();
  veltorView().showStopDialog();
  TimerOn();
  if (m_veltor.stopRequested) FetchVeltorResults();
}

AcquisitionEngine::CountAnswer AcquisitionEngine::AskVeltorCount(int &count) {
  const unsigned gone = m_goneCount;
  m_veltor.busy = true;
  m_link.FlushInput();
  m_link.SendCommand(cmd::kForkCount);
  const LineRead answer = m_link.ReadLine(kReadNumberTicks);
  m_veltor.busy = false;
  if (gone != m_goneCount) return CountAnswer::Gone;
  if (m_link.boxGone()) {
    BoxGone();
    return CountAnswer::Gone;
  }
  if (answer.end != LineEnd::Line) return CountAnswer::Silent;
  // Noise on the line tells nothing: the count stays as it was.
  const std::optional<int> c = ParseBoxInteger(answer.text);
  if (!c || *c < 0) {
    m_veltor.countUnreadable = true;
    return CountAnswer::Noise;
  }
  m_veltor.countUnreadable = false;
  count = *c;
  return CountAnswer::Count;
}

void AcquisitionEngine::PollVeltorCount() {
  if (m_veltor.phase == VeltorPhase::Fetching) {
    CheckVeltorSilence();
    return;
  }
  if (m_veltor.phase != VeltorPhase::Counting) return;
  TimerOff();
  int c = 0;
  const CountAnswer answer = AskVeltorCount(c);
  if (answer == CountAnswer::Gone) return;
  if (answer == CountAnswer::Silent) {
    // A silent box is not a count of 0: that would throw away the events
    // it holds. Twice in a row, it is gone.
    if (++m_veltor.silentPolls >= kSilentPollLimit) {
      LoseBox();
      return;
    }
  } else {
    m_veltor.silentPolls = 0;
  }
  if (answer == CountAnswer::Count) {
    m_view.setStatus(std::string(texts::kAttenteVeltor) +
                     (c > 0 ? texts::kAttenteVeltorPassages + std::to_string(c)
                            : std::string(texts::kAttenteVeltorRien)));
    if ((c != m_veltor.N || m_veltor.N < 1) && m_veltor.N <= Fourche().nbremax) {
      m_veltor.N = c;
    } else {
      // No new event for a whole tick, or more than the user wants.
      m_veltor.N = c;
      FetchVeltor();
      return;
    }
  }
  TimerOn();
  if (m_veltor.stopRequested) FetchVeltorResults();
}

void AcquisitionEngine::VeltorStopRequested() {
  FetchVeltorResults();
}

void AcquisitionEngine::FetchVeltorResults() {
  if (m_veltor.phase != VeltorPhase::Counting) return;
  if (m_veltor.busy) {
    m_veltor.stopRequested = true;
    return;
  }
  m_veltor.stopRequested = false;
  // The count polled last is up to a tick old, or was never asked (a stop
  // in the first half second): what the box has counted is fetched.
  TimerOff();
  int c = 0;
  const CountAnswer answer = AskVeltorCount(c);
  if (answer == CountAnswer::Gone) return;
  if (answer == CountAnswer::Count) m_veltor.N = c;
  FetchVeltor();
}

void AcquisitionEngine::FetchVeltor() {
  m_veltor.stopRequested = false;
  const unsigned gone = m_goneCount;
  m_link.FlushInput();  // a late count answer is no event line
  m_link.SendCommand(cmd::kForkResults);
  if (gone != m_goneCount) return;
  m_veltor.phase = VeltorPhase::Fetching;
  // However many the box announces, the arrays take kMaxPoints events.
  m_veltor.target = static_cast<int>(std::clamp<long long>(m_veltor.N, 0, model::kMaxPoints));
  veltorView().setFetching(true);
  model::Tveltor &fourche = Fourche();
  fourche.nbEvenements = 0;
  fourche.ligneRecue.clear();
  m_veltor.overlong = false;
  m_veltor.heardInFetch = false;
  m_veltor.lastHeard = m_timer.now();
  m_link.setDataAvailable(
      [this](const std::uint8_t *data, std::size_t size) { OnVeltorBytes(data, size); });
  m_view.setGauge(0, m_veltor.target);
  m_state = AcqState::Acquiring;
  veltorView().closeStopDialog();
  SetButton(EngineButton::Stop, false);
  // The timer keeps ticking, only to watch for a box that stops sending.
  m_timer.setInterval(kIntervalVeltor);
  TimerOn();
  if (m_veltor.target == 0) {
    FinishVeltor();
    // Not a run without events: the box's answers could not be read.
    m_view.setStatus(m_veltor.countUnreadable ? texts::kCompteVeltorIllisible
                                              : texts::kAucunPassageVeltor);
  }
}

void AcquisitionEngine::OnVeltorBytes(const std::uint8_t *data, std::size_t size) {
  model::Tveltor &fourche = Fourche();
  model::Tvoie &temps = Voie(kSlotTemps);
  for (std::size_t i = 0; i < size && m_veltor.phase == VeltorPhase::Fetching; ++i) {
    m_veltor.lastHeard = m_timer.now();
    m_veltor.heardInFetch = true;
    const std::uint8_t b = data[i];
    if (b == kCarriageReturn) {
      if (m_veltor.overlong) fourche.ligneRecue.clear();  // its numbers count as 0
      const double t = fourche.LitLigne();
      temps.valeurs[static_cast<std::size_t>(fourche.nbEvenements)] = t;
      fourche.ligneRecue.clear();
      m_veltor.overlong = false;
      ++fourche.nbEvenements;
      m_view.setGauge(fourche.nbEvenements, m_veltor.target);
      if (fourche.nbEvenements >= m_veltor.target) FinishVeltor();
    } else if (b >= 32) {
      if (fourche.ligneRecue.size() < kMaxEventLine)
        fourche.ligneRecue.push_back(static_cast<char>(b));
      else
        m_veltor.overlong = true;
    }
  }
}

void AcquisitionEngine::KeepVeltorEvents() {
  m_link.removeDataAvailable();
  veltorView().setFetching(false);
  m_veltor.phase = VeltorPhase::Idle;
  model::Tveltor &fourche = Fourche();
  model::Tvoie &temps = Voie(kSlotTemps);
  int n = std::clamp(fourche.nbEvenements, 0, model::kMaxPoints);
  fourche.nbEvenements = n;
  m_veltor.N = n;
  fourche.DetecteMonotone();
  if (fourche.monotone) {
    TrimOneWay(temps.valeurs, fourche.comptes, n, m_veltor.N);
    fourche.nbEvenements = n;
  }
  VeltorAxes();
  FixeNbPoints(static_cast<int>(m_veltor.N));
}

void AcquisitionEngine::FinishVeltor() {
  KeepVeltorEvents();
  TimerOff();
  m_state = AcqState::Finished;
  m_view.repaintGraph();
  UpdateButtons();
  m_view.recordingEnded();
}

void AcquisitionEngine::CheckVeltorSilence() {
  if (m_timer.now() - m_veltor.lastHeard < m_link.ticks(kFetchSilenceTicks)) return;
  // The events that came are kept; a box that sent nothing at all has gone.
  const bool heard = m_veltor.heardInFetch;
  FinishVeltor();
  if (!heard) LoseBox();
}

void AcquisitionEngine::EndVeltorRun() {
  if (m_veltor.phase == VeltorPhase::Idle) return;
  if (m_veltor.phase == VeltorPhase::Fetching) {
    FinishVeltor();
  } else {
    m_veltor.phase = VeltorPhase::Idle;
    if (m_state == AcqState::Acquiring) m_state = AcqState::Finished;
  }
  m_veltor.stopRequested = false;
  veltorView().closeStopDialog();
}

void AcquisitionEngine::VeltorBoxGone() {
  // A box that comes back may have been switched off: its program is gone.
  m_veltor.uploaded = false;
  m_veltor.busy = false;
  m_veltor.stopRequested = false;
  if (m_veltor.phase == VeltorPhase::Fetching) KeepVeltorEvents();
  m_veltor.phase = VeltorPhase::Idle;
  veltorView().closeStopDialog();
}

}  // namespace kvx::device
