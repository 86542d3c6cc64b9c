// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/entree_binaire.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/cles_voie.h"

namespace kvx::model {

TentreeBinaire::TentreeBinaire() : Tvoie("EB", "", "Entrées binaires", kVoieEntreeBinaire) {
  Mini = 0;
  FixeNbreBits(3);
}

std::string TentreeBinaire::TexteNomValeur(double x) const {
  // Values beyond 32 bits (or NaN) have no bit pattern worth showing: 0.
  const long long n = std::isfinite(x) && std::fabs(x) < 2147483648.0 ? std::llround(x) : 0;
  const auto bas16 = static_cast<std::uint16_t>(n & 0xFFFF);
  char hexa[3];
  std::snprintf(hexa, sizeof hexa, "%02X", static_cast<unsigned>(n & 0xFF));
  std::string bits;
  for (int b = std::min<int>(Nbre, kNbreBitsMax) - 1; b >= 0; --b)
    bits += (bas16 >> b) & 1 ? '1' : '0';
  return std::to_string(bas16) + "=" + hexa + "h=" + bits + "b";
}

std::string TentreeBinaire::NomEntree() const {
  return "EB";
}

double TentreeBinaire::ValeurDeCode(std::int32_t code) const {
  return code & masque;
}

std::string TentreeBinaire::TexteCalibre() const {
  return std::to_string(masque);
}

void TentreeBinaire::FixeNbreBits(std::uint8_t n) {
  Nbre = n;
  masque = n >= kNbreBitsMax ? 0xFFFF : static_cast<std::uint16_t>((1u << n) - 1);
  FixeMaxi(masque + 1.0);
}

void TentreeBinaire::LitSection(const std::string &section, const IniSections &ini) {
  Tvoie::LitSection(section, ini);
  const std::int32_t n = ini.readInteger(section, cles::kNbre, cles::kNbreDefaut);
  FixeNbreBits(static_cast<std::uint8_t>(std::clamp(n, 0, kNbreBitsMax)));
  FixeMini(0);
}

void TentreeBinaire::EcritSection(const std::string &section, IniSections &ini) {
  Tvoie::EcritSection(section, ini);
  ini.writeInteger(section, cles::kNbre, Nbre);
}

}  // namespace kvx::model
