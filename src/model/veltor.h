// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The optical fork "x": a wheel or a comb interrupts the fork's light beam,
// the box counts the interruptions and time-stamps each one. The channel
// turns the counts into positions (metres, or an angle in degrees or
// radians) and decides whether the movement went one way or oscillated.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/voie.h"

namespace kvx::model {

// Period of the box's event timer, in seconds.
inline constexpr double kPeriodeHorlogeVeltor = 1.08506e-6;
// The box counts positions from this value.
inline constexpr std::int32_t kOrigineComptes = 30000;

class Tveltor : public TvoieNonEA {
 public:
  Tveltor();

  std::string TexteValeurCourante() const override;       // empty
  double ValeurDeCode(std::int32_t code) const override;  // code × Taille
  std::string TexteCalibre() const override;              // empty
  // Plus the fork keys.
  void LitSection(const std::string &section, const IniSections &ini) override;
  void EcritSection(const std::string &section, IniSections &ini) override;

  // An angle is shown in "rad" or "°"; back to a displacement, the step
  // becomes 1.8 mm again, in metres.
  void FixeAngle(bool b);
  void FixeRadian(bool b);
  // One event line "c h l" of a fork recording (in ligneRecue): stores the
  // count c − 30000 as event nbEvenements and returns the event's time in
  // seconds from the first event. Unreadable numbers count as 0. The caller
  // stores the time and increments nbEvenements.
  double LitLigne();
  // After a recording: monotone when the counts mostly went one way.
  void DetecteMonotone();
  // Positions of the events into valeurs, and the range to show them.
  void CalculePositions();

  // The first event's time stamp: 32 bits from two 16-bit halves.
  std::uint32_t origineTemps = 0;
  bool angle = false;
  bool radian = false;
  double Increment = 0;
  double Taille = 0;
  std::int32_t nbremax = 0;
  bool Negatif = false;
  std::array<std::int32_t, kNbValeurs> comptes{};
  std::string ligneRecue;
  std::int32_t nbEvenements = 0;
  bool monotone = false;

 private:
  // nbEvenements kept within the arrays.
  int nombreEvenements() const;
};

}  // namespace kvx::model
