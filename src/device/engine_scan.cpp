// SPDX-License-Identifier: GPL-3.0-or-later
// The scan panel: the number of points, the duration and the sampling
// period they give, with the commands for the box composed again each time.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "device/acquisition_engine.h"
#include "device/configuration_rules.h"
#include "device/engine_texts.h"
#include "device/scan_parameters.h"
#include "display/graphe.h"
#include "model/duree.h"
#include "model/unite.h"
#include "model/voie.h"

namespace kvx::device {

namespace {
// The duration spin walks 1, 2, 5, 10, ... by this factor before rounding.
constexpr double kSpinFactor = 2.15;

// The integer typed in the point-count field; nothing when it holds none.
bool ParseCount(const std::string &text, int &n) {
  long long value = 0;
  bool digits = false;
  for (char c : text) {
    if (c < '0' || c > '9') continue;  // the two control keys let through
    digits = true;
    value = std::min<long long>(value * 10 + (c - '0'), std::numeric_limits<int>::max());
  }
  if (digits) n = static_cast<int>(value);
  return digits;
}

const model::Tunite &Hertz() {
  static const model::Tunite unit = [] {
    model::Tunite u;
    u.FixeUnite("Hz");
    return u;
  }();
  return unit;
}
}  // namespace

int AcquisitionEngine::CountActiveAnalog() const {
  return static_cast<int>(ActiveAnalogSlots().size());
}

double AcquisitionEngine::Duree() const {
  return Voie(kSlotTemps).Maxi;
}

void AcquisitionEngine::FixeDuree(double d) {
  Voie(kSlotTemps).FixeMaxi(d);
}

void AcquisitionEngine::RefillTimeBase() {
  // A fork run holds the events' times and a sweep the time of each of its
  // steps, not a scan's: a dialog cancelled or a box found again after such
  // a recording must leave its time column as it was recorded.
  if (Mode() == kModeVeltor || Mode() == kModeSortieAnalog) return;
  model::Tvoie &temps = Voie(kSlotTemps);
  for (std::size_t i = 0; i < temps.valeurs.size(); ++i)
    temps.valeurs[i] = static_cast<double>(i) * m_dt;
}

void AcquisitionEngine::ComposeCommands() {
  std::vector<int> inputs;
  for (int slot : ActiveAnalogSlots()) inputs.push_back(Voie(slot).NumeroNuvex);
  m_acquisition = ComposeAcquisition(inputs, Nombre(), m_dt);
  if (m_acquisition.subMode == SubMode::Fast) {
    // The box keeps one fast step in r: that, not the period asked for, is
    // the spacing of the points on the time axis.
    m_acquisition.period = m_acquisition.ratio * kFastStep;
  }
  m_dt = m_acquisition.period;
  if (m_acquisition.points != Nombre()) FixeNombre(m_acquisition.points);
  m_acquisition.points = Nombre();
  FixeDuree(Nombre() * m_dt);
  m_acquisitionCommand = m_acquisition.text;
  m_startCommand = ComposeStartCommand(Declenchement() == kTriggerFront, EntreeFront());
}

void AcquisitionEngine::ShowScanValues() {
  ScanTexts texts;
  texts.nombre = std::to_string(Nombre());
  texts.duree = model::TexteDuree(Duree());
  texts.deltat = std::string(texts::kDeltat) + model::TexteDuree(m_dt);
  texts.fech = std::string(texts::kFech) + Hertz().TexteValeur(m_dt > 0 ? 1 / m_dt : 0);
  texts.minmax = m_mini ? texts::kMini : m_maxi ? texts::kMaxi : "";
  m_view.showScan(texts);
}

void AcquisitionEngine::RefreshScan() {
  if (Mode() == kModeTemps) {
    ComposeCommands();
    m_view.recordingAboutToBeCleared();
    FixeNbPoints(0);
    SetButton(EngineButton::RegSave, false);
  }
  ShowScanValues();
  RefillTimeBase();
  m_view.setGauge(0, Nombre());
  PrepareAcquisition();
}

void AcquisitionEngine::ApplyDuration(double duration) {
  const int inputs = CountActiveAnalog();
  duration = ClampDuration(duration, inputs);
  FixeDuree(duration);
  if (Mode() != kModeTemps) return;
  const Period period = ComputePeriod(duration, Nombre(), inputs);
  m_mini = period.mini;
  m_maxi = period.maxi;
  FixeNombre(static_cast<int>(Nearest(duration / period.dt)));
  m_dt = duration / Nombre();
  // The point count's lower limit can ask for more points than the box can
  // take in so short a time: keep the shortest period and lengthen the scan.
  m_dt = std::max(m_dt, ShortestPeriod(inputs, duration));
  RefreshScan();
}

void AcquisitionEngine::ApplyPointCount(int n) {
  HaltAcquisition();
  FixeNombre(n);
  if (Mode() == kModeTemps) {
    const Period period = ComputePeriod(Duree(), Nombre(), CountActiveAnalog());
    m_dt = period.dt;
    m_mini = period.mini;
    m_maxi = period.maxi;
  }
  RefreshScan();
}

void AcquisitionEngine::TellGridChange(double askedDuration, int askedPoints) {
  if (Mode() != kModeTemps) return;
  const double d = Duree();
  const int n = Nombre();
  const bool durationKept = askedDuration <= 0 || std::fabs(d - askedDuration) <= 1e-9 * d;
  const bool pointsKept = askedPoints <= 0 || n == askedPoints;
  if (durationKept && pointsKept) return;
  const int inputs = CountActiveAnalog();
  std::vector<std::string> reasons;
  if (askedDuration > 0 && askedDuration < LowestDuration(inputs))
    reasons.push_back(texts::kRaisonDureeMini + model::TexteDuree(LowestDuration(inputs)));
  if (askedDuration > kLongestDuration)
    reasons.push_back(texts::kRaisonDureeMaxi + model::TexteDuree(kLongestDuration));
  if (askedPoints > n && n == model::kMaxPoints / m_graphe.k)
    reasons.push_back(texts::kRaisonPointsMaxi + std::to_string(n) + texts::kRaisonPointsMaxiSuite);
  if (askedPoints > 0 && askedPoints < n) reasons.push_back(texts::kRaisonPointsMini);
  if (m_mini) reasons.push_back(texts::kRaisonPeriodeMini);
  if (m_maxi)
    reasons.push_back(texts::kRaisonPeriodeMaxi + model::TexteDuree(ShortestPeriod(inputs, d)));
  if (reasons.empty()) {
    if (m_dt >= 1) {
      reasons.push_back(m_dt < kWholeMinutesFrom ? texts::kRaisonSecondes : texts::kRaisonMinutes);
    } else {
      // The box counts the period in ticks, at most 255 of a decade: the
      // longer the period, the coarser its step.
      const double step = m_acquisition.subMode == SubMode::Fast
                              ? kFastStep
                              : m_acquisition.code.period / m_acquisition.code.mantissa;
      reasons.push_back(texts::kRaisonPas + model::TexteDuree(step));
    }
  }
  std::string text =
      askedPoints > 0 ? texts::kNombreDemande + std::to_string(askedPoints) + " : " +
                            std::to_string(n) + texts::kPointsSur + model::TexteDuree(d)
                      : texts::kDureeDemandee + model::TexteDuree(askedDuration) + " : " +
                            model::TexteDuree(d) + texts::kPointsEt + std::to_string(n) + " points";
  for (std::size_t i = 0; i < reasons.size(); ++i)
    text += (i == 0 ? texts::kCar : texts::kEtRaison) + reasons[i];
  m_view.setStatus(text);
}

void AcquisitionEngine::NombreUpClick() {
  ApplyPointCount(static_cast<int>(std::min<long long>(2LL * Nombre(), model::kMaxPoints)));
}

void AcquisitionEngine::NombreDownClick() {
  ApplyPointCount(Nombre() / 2);
}

void AcquisitionEngine::NbreEditEnter(const std::string &text) {
  int n = 0;
  if (!ParseCount(text, n)) return;
  const double before = Duree();  // the duration the user sees kept
  ApplyPointCount(n);
  TellGridChange(before, n);
}

void AcquisitionEngine::NbreEditExit(const std::string &text) {
  int n = 0;
  if (!ParseCount(text, n) || n == Nombre()) return;
  const double before = Duree();
  ApplyPointCount(n);
  TellGridChange(before, n);
}

void AcquisitionEngine::DureeSpinUpClick() {
  HaltAcquisition();
  ApplyDuration(Round125(kSpinFactor * Duree()));
}

void AcquisitionEngine::DureeSpinDownClick() {
  HaltAcquisition();
  ApplyDuration(Round125(Duree() / kSpinFactor));
}

void AcquisitionEngine::DureeEditEnter(const std::string &text) {
  const double d = model::LitDuree(text);
  if (std::isnan(d)) {
    ShowScanValues();  // not a duration: the field shows the one in force again
    return;
  }
  // Like every setting changed during a fetch, the port is drained first.
  HaltAcquisition();
  ApplyDuration(d);
  TellGridChange(d, 0);
}

void AcquisitionEngine::DureeEditExit(const std::string &text) {
  const double d = model::LitDuree(text);
  if (std::isnan(d) || d == Duree()) return;
  HaltAcquisition();
  ApplyDuration(d);
  TellGridChange(d, 0);
}

}  // namespace kvx::device
