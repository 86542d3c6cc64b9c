// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The box's binary (logic) inputs "EB", read together as one integer of Nbre
// bits; shown as decimal, hexadecimal and binary ("5=05h=101b").
#include <cstdint>

#include "model/voie.h"

namespace kvx::model {

// masque is 16 bits wide: more bits than that cannot be kept.
inline constexpr int kNbreBitsMax = 16;

class TentreeBinaire : public Tvoie {
 public:
  TentreeBinaire();

  std::string TexteNomValeur(double x) const override;
  std::string NomEntree() const override;                 // "EB"
  double ValeurDeCode(std::int32_t code) const override;  // code AND masque
  std::string TexteCalibre() const override;              // masque in decimal
  // Plus "Nbre"; the range is then 0 .. 2^Nbre.
  void LitSection(const std::string &section, const IniSections &ini) override;
  void EcritSection(const std::string &section, IniSections &ini) override;

  // Nbre := n, masque := 2^n − 1 (16 bits), Maxi := masque + 1.
  void FixeNbreBits(std::uint8_t n);

  std::uint8_t Nbre = 0;
  std::uint16_t masque = 0;
};

}  // namespace kvx::model
