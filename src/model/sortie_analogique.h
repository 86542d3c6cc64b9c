// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The box's analog output "Vsa", 0 to 5 V in 256 codes. In the sweep mode the
// program steps it from Debut to Fin (or back), one code every Deltat
// milliseconds, and the ramp it will play is kept in the channel's arrays.
#include <cstdint>

#include "model/voie.h"

namespace kvx::model {

inline constexpr double kTensionSortieMax = 5.0;

class TsortieAnalogique : public TvoieNonEA {
 public:
  TsortieAnalogique();

  std::string NomEntree() const override;                  // "SA"
  double ValeurDeCode(std::int32_t code) const override;   // the voltage
  double TensionDeCode(std::int32_t code) const override;  // code × 5 / 255
  std::string TexteCalibre() const override;               // "0-5 V"
  // Plus the ramp keys; the ramp is then recomputed.
  void LitSection(const std::string &section, const IniSections &ini) override;
  void EcritSection(const std::string &section, IniSections &ini) override;

  // Fills both arrays with the Fin − Debut + 1 voltages of the ramp (none
  // when Fin < Debut).
  void CalculeRampe();
  // Number of points of the ramp.
  int NombrePointsRampe() const;

  std::int32_t Debut = 0;
  std::int32_t Fin = 0;
  std::int32_t Deltat = 0;
  bool Inverse = false;
};

}  // namespace kvx::model
