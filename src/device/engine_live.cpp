// SPDX-License-Identifier: GPL-3.0-or-later
// Live read-outs: every tick the engine asks the box for the value of each
// active input and shows it, so the user sees the voltmeters move before and
// between acquisitions.
#include "device/acquisition_engine.h"
#include "device/box_link.h"
#include "device/box_reads.h"
#include "device/configuration_rules.h"
#include "model/voie.h"

namespace kvx::device {

namespace {
// A box that misses this many ticks in a row is taken as gone. One silent
// read already costs its whole time-out; a second tick confirms it is not a
// byte lost to noise.
constexpr int kSilentTicksLimit = 2;
}  // namespace

int AcquisitionEngine::TimedReadByte(std::uint8_t request, bool &silent) {
  const auto start = m_link.clock().now();
  const int code = ReadByte(m_link, request);
  // The read answers 0 on a time-out as on a true 0; only the time it took
  // tells them apart.
  if (m_link.BoxPresent() && m_link.clock().now() - start >= m_link.ticks(kReadByteTicks))
    silent = true;
  return code;
}

int AcquisitionEngine::TimedReadNumber(const std::string &command, bool &silent) {
  return TimedTryReadNumber(command, silent).value_or(0);
}

std::optional<int> AcquisitionEngine::TimedTryReadNumber(const std::string &command,
                                                         bool &silent) {
  const auto start = m_link.clock().now();
  const std::optional<int> code = TryReadNumber(m_link, command);
  if (m_link.BoxPresent() && m_link.clock().now() - start >= m_link.ticks(kReadNumberTicks))
    silent = true;
  return code;
}

bool AcquisitionEngine::ReadLiveValues() {
  TimerOff();
  const unsigned gone = m_goneCount;
  bool silent = false;
  // A read the box did not answer, or answered with garbage, is no value:
  // the input keeps showing its last one, and no point is recorded from it.
  m_readFailed.reset();
  model::Tvoie &binaire = Voie(kSlotBinaire);
  if (binaire.Active) {
    const int code = TimedReadByte(kReadBinaryByte, silent);
    if (silent)
      m_readFailed.set(kSlotBinaire);
    else
      binaire.valeurLue = binaire.ValeurDeCode(code);
  }
  // After one read has waited out its time-out the others are not tried this
  // tick, so a silent box never holds the window longer than one time-out.
  for (int slot = kSlotV1; slot <= kSlotV4; ++slot) {
    model::Tvoie &voie = Voie(slot);
    if (!voie.Active) continue;
    const std::optional<int> code =
        silent ? std::nullopt
               : TimedTryReadNumber(std::string(cmd::kReadInput) + std::to_string(voie.NumeroNuvex),
                                    silent);
    if (code)
      voie.valeurLue = voie.ValeurDeCode(*code);
    else
      m_readFailed.set(static_cast<std::size_t>(slot));
  }
  if (gone != m_goneCount) return false;  // the line went during a read: already handled
  if (m_link.boxGone()) {
    BoxGone();
    return false;
  }
  m_silentTicks = silent ? m_silentTicks + 1 : 0;
  if (m_silentTicks >= kSilentTicksLimit) {
    LoseBox();
    return false;
  }
  if (m_state == AcqState::Acquiring) {
    TimerOn();
    return true;
  }
  m_view.eraseCursors();
  for (int slot = kSlotSortieAnalog; slot <= kSlotVeltor; ++slot)
    Voie(slot).valeurCourante = Voie(slot).valeurLue;
  m_view.showCursors();
  TimerOn();
  return true;
}

}  // namespace kvx::device
