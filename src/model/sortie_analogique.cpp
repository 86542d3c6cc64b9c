// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/sortie_analogique.h"

#include <algorithm>

#include "model/cles_voie.h"

namespace kvx::model {

TsortieAnalogique::TsortieAnalogique()
    : TvoieNonEA("Vsa", "V", "Tension sortie analogique", kVoieSortieAnalogique) {
  Debut = 0;
  Fin = kCodeMax;
  Mini = 0;
  Maxi = kTensionSortieMax;
  Deltat = 1000;
  ChoisitEntree(-1);
  Inverse = false;
}

std::string TsortieAnalogique::NomEntree() const {
  return "SA";
}

double TsortieAnalogique::ValeurDeCode(std::int32_t code) const {
  return TensionDeCode(code);
}

double TsortieAnalogique::TensionDeCode(std::int32_t code) const {
  return code * kTensionSortieMax / kCodeMax;
}

std::string TsortieAnalogique::TexteCalibre() const {
  return "0-5 V";
}

int TsortieAnalogique::NombrePointsRampe() const {
  return Fin < Debut ? 0 : std::min(Fin - Debut + 1, kNbValeurs);
}

void TsortieAnalogique::CalculeRampe() {
  const int n = NombrePointsRampe();
  for (int i = 0; i < n; ++i) {
    const std::int32_t code = Inverse ? Fin - i : Debut + i;
    const auto index = static_cast<std::size_t>(i);
    tampon[index] = ValeurDeCode(code);
    valeurs[index] = tampon[index];
  }
}

void TsortieAnalogique::LitSection(const std::string &section, const IniSections &ini) {
  TvoieNonEA::LitSection(section, ini);
  // The output takes 8-bit codes: a file cannot ask for more.
  Debut = std::clamp(ini.readInteger(section, cles::kDebut, cles::kDebutDefaut), 0, kCodeMax);
  Fin = std::clamp(ini.readInteger(section, cles::kFin, cles::kFinDefaut), 0, kCodeMax);
  Deltat = ini.readInteger(section, cles::kDeltat, Deltat);
  Inverse = ini.readBool(section, cles::kInverse, false);
  CalculeRampe();
}

void TsortieAnalogique::EcritSection(const std::string &section, IniSections &ini) {
  TvoieNonEA::EcritSection(section, ini);
  ini.writeInteger(section, cles::kDebut, Debut);
  ini.writeInteger(section, cles::kFin, Fin);
  ini.writeInteger(section, cles::kDeltat, Deltat);
  ini.writeBool(section, cles::kInverse, Inverse);
}

}  // namespace kvx::model
