// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/veltor.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

#include "model/cles_voie.h"

namespace kvx::model {

namespace {

constexpr double kTailleDeplacement = 0.0018;

std::optional<std::int64_t> entier(std::string_view texte) {
  std::int64_t valeur = 0;
  const auto [fin, ec] = std::from_chars(texte.data(), texte.data() + texte.size(), valeur);
  if (ec != std::errc() || fin != texte.data() + texte.size() || texte.empty()) return std::nullopt;
  // The box sends 16-bit halves and counts; anything far beyond is noise.
  if (valeur < -(std::int64_t{1} << 40) || valeur > (std::int64_t{1} << 40)) return std::nullopt;
  return valeur;
}

}  // namespace

Tveltor::Tveltor() : TvoieNonEA("x", "m", "Fourche optique", kVoieVeltor) {
  // The input choice of the base constructor ran before the fork existed and
  // gave it the range of input EA4; the fork is no box input, its range is
  // the one every channel starts with until a recording sets it.
  Mini = 0;
  Maxi = 1;
  TvoieNonEA::CalculeEchelle();
  FixeUnite("m");
  FixeAngle(false);
  FixeRadian(false);
  Taille = cles::kTailleDefaut;
  Increment = cles::kIncrementDefaut;
  ChoisitEntree(-1);
  nbremax = cles::kNbremaxDefaut;
}

std::string Tveltor::TexteValeurCourante() const {
  return {};
}

double Tveltor::ValeurDeCode(std::int32_t code) const {
  return code * Taille;
}

std::string Tveltor::TexteCalibre() const {
  return {};
}

void Tveltor::FixeAngle(bool b) {
  if (b == angle) return;
  angle = b;
  if (b) {
    FixeUnite(radian ? "rad" : "°");
  } else {
    Taille = kTailleDeplacement;
    FixeUnite("m");
  }
}

void Tveltor::FixeRadian(bool b) {
  if (b == radian || !angle) return;
  radian = b;
  FixeUnite(b ? "rad" : "°");
}

int Tveltor::nombreEvenements() const {
  return std::clamp(nbEvenements, 0, kNbValeurs);
}

double Tveltor::LitLigne() {
  // Three decimal integers separated by single blanks.
  std::string_view reste(ligneRecue);
  while (!reste.empty() && static_cast<unsigned char>(reste.back()) <= ' ') reste.remove_suffix(1);
  std::array<std::optional<std::int64_t>, 3> nombres{};
  for (auto &nombre : nombres) {
    const std::size_t blanc = reste.find(' ');
    nombre = entier(reste.substr(0, blanc));
    reste = blanc == std::string_view::npos ? std::string_view() : reste.substr(blanc + 1);
  }
  const std::int64_t c = nombres[0] ? *nombres[0] - kOrigineComptes : 0;
  // An event beyond the arrays has no place: its time is still told.
  if (nbEvenements >= 0 && nbEvenements < kNbValeurs)
    comptes[static_cast<std::size_t>(nbEvenements)] =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(c, INT32_MIN, INT32_MAX));
  // The box's clock is a 32-bit counter that wraps about every 78 minutes:
  // the time since the first event is the 32-bit difference, read signed.
  const std::uint32_t t =
      nombres[1] && nombres[2]
          ? static_cast<std::uint32_t>(static_cast<std::uint64_t>(*nombres[1] * 65536 + *nombres[2]))
          : 0;
  if (nbEvenements == 0) origineTemps = t;
  const std::uint32_t ecart = t - static_cast<std::uint32_t>(origineTemps);
  const std::int64_t signe =
      ecart >= 0x80000000u ? static_cast<std::int64_t>(ecart) - (std::int64_t{1} << 32) : ecart;
  return static_cast<double>(signe) * kPeriodeHorlogeVeltor;
}

void Tveltor::DetecteMonotone() {
  const int n = nombreEvenements();
  monotone = n > 16;
  if (!monotone) return;
  int montees = 0;
  int autres = 0;
  for (int i = 2; i <= n - 2; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (comptes[k - 1] < comptes[k])
      ++montees;
    else
      ++autres;
  }
  monotone = montees < n / 3 || autres < n / 3;
}

void Tveltor::CalculePositions() {
  const int n = nombreEvenements();
  if (monotone) {
    const double pas = Negatif ? -2 * Taille : 2 * Taille;
    if (Negatif) {
      Maxi = 0;
      Mini = (n + 2) * pas;
    } else {
      Maxi = (n + 2) * pas;
      Mini = 0;
    }
    for (int i = 0; i < n; ++i) valeurs[static_cast<std::size_t>(i)] = i * pas;
    return;
  }
  // An oscillation: positions around the middle of the counts seen.
  std::int64_t plusPetit = 0;
  std::int64_t plusGrand = 0;
  if (n > 0) {
    const auto [mini, maxi] = std::minmax_element(comptes.begin(), comptes.begin() + n);
    plusPetit = *mini;
    plusGrand = *maxi;
  }
  const std::int64_t centre = (plusPetit + plusGrand) / 2;
  double amplitude = 0;
  for (int i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    valeurs[k] = static_cast<double>(comptes[k] - centre) * Taille;
    amplitude = std::max(amplitude, std::fabs(valeurs[k]));
  }
  Maxi = 10 * Taille >= amplitude ? 11 * Taille : 1.05 * amplitude;
  Mini = -Maxi;
}

void Tveltor::LitSection(const std::string &section, const IniSections &ini) {
  TvoieNonEA::LitSection(section, ini);
  FixeAngle(ini.readBool(section, cles::kAngle, false));
  FixeRadian(ini.readBool(section, cles::kRadian, false));
  Increment = ini.readFloat(section, cles::kIncrement, cles::kIncrementDefaut);
  // The fork program fills arrays of kMaxPoints events at most.
  nbremax =
      std::clamp(ini.readInteger(section, cles::kNbremax, cles::kNbremaxDefaut), 1, kMaxPoints);
  Taille = ini.readFloat(section, cles::kTaille, cles::kTailleDefaut);
  Negatif = ini.readBool(section, cles::kNegatif, cles::kNegatifDefaut);
}

void Tveltor::EcritSection(const std::string &section, IniSections &ini) {
  TvoieNonEA::EcritSection(section, ini);
  ini.writeBool(section, cles::kRadian, radian);
  ini.writeBool(section, cles::kAngle, angle);
  ini.writeBool(section, cles::kNegatif, Negatif);
  ini.writeInteger(section, cles::kNbremax, nbremax);
  ini.writeFloat(section, cles::kTaille, Taille);
  ini.writeFloat(section, cles::kIncrement, Increment);
}

}  // namespace kvx::model
