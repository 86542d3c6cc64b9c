// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/graduation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace kvx::display {

namespace {

// Beyond this a difference of bounds could overflow, and 10^-e of a width
// below kPlusPetiteLargeur would.
constexpr double kBorneMax = 1e300;
constexpr double kPlusPetiteLargeur = 1e-290;
// A width below this fraction of the bounds cannot be cut into distinct
// graduations by a double.
constexpr double kLargeurRelative = 1e-9;

constexpr double kMinute = 60;
constexpr double kQuartDHeure = 900;
constexpr double kHeure = 3600;
constexpr double kJour = 86400;

double PasHorloge(double pas) {
  if (pas > kJour) return std::ceil(pas / kJour) * kJour;
  if (pas > kHeure) {
    // Hour steps that divide a day well: 1, 2, 3, 4, 6, 8, 12 or 24 hours.
    int n = static_cast<int>(std::nearbyint(pas / kHeure));
    if (n == 5) n = 6;
    if (n == 7) n = 8;
    if (n >= 9 && n <= 17) n = 12;
    if (n >= 18) n = 24;
    return n * kHeure;
  }
  if (pas > kQuartDHeure) return std::ceil(pas / kQuartDHeure) * kQuartDHeure;
  return std::max(1.0, std::ceil(pas / kMinute)) * kMinute;
}

Graduation GraduationHorloge(const Plage &p) {
  Graduation g;
  g.formatTemps = true;
  g.chiffres = 4;
  g.echelle = 1;
  g.pas = PasHorloge(p.largeur() / 6);
  // Clock graduations are the multiples of the step; starting at the first
  // one inside the range (rather than at 0) keeps the loop short for a
  // recording that starts days after midnight.
  g.premier = std::ceil(p.min / g.pas) * g.pas;
  return g;
}

Graduation GraduationDecimale(const Plage &p, bool logarithmique, bool dense) {
  static constexpr std::array<double, 6> kCandidats{0.1, 0.2, 0.5, 1, 2, 5};
  const double largeur = p.largeur();
  const double m = std::max(std::fabs(p.min), std::fabs(p.max));
  int e = static_cast<int>(std::floor(std::log10(largeur)));
  double r = largeur * std::pow(10.0, -e);
  // log10 and pow round: keep 1 <= r < 10 exactly.
  if (r >= 10) {
    r /= 10;
    ++e;
  } else if (r < 1) {
    r *= 10;
    --e;
  }
  const double n = dense ? 10 : 5;
  std::size_t i = 0;
  while (i < 5 && r / kCandidats[i] >= n) ++i;

  Graduation g;
  g.pas = kCandidats[i] * std::pow(10.0, e);
  // The digit count is held in a byte: a negative count wraps to a large one.
  const int brut =
      static_cast<int>(std::ceil(std::log10(m))) - static_cast<int>(std::floor(std::log10(g.pas)));
  int chiffres = static_cast<std::uint8_t>(brut);
  g.premier = std::ceil(p.min / g.pas) * g.pas;
  const int q = static_cast<int>(std::floor(e / 3.0));
  g.echelle = std::pow(10.0, 3 * q);
  const int d = static_cast<int>(std::ceil(std::log10(m / g.echelle)));
  chiffres = std::max({chiffres, d, 3});
  if (chiffres > 4 || logarithmique) chiffres = 4;
  g.chiffres = chiffres;
  return g;
}

}  // namespace

Plage PlageAffichable(double min, double max) {
  const bool minFini = std::isfinite(min);
  const bool maxFini = std::isfinite(max);
  if (!minFini && !maxFini) return {0, 1};
  if (!minFini) min = max;
  if (!maxFini) max = min;
  min = std::clamp(min, -kBorneMax, kBorneMax);
  max = std::clamp(max, -kBorneMax, kBorneMax);
  if (min > max) std::swap(min, max);
  const double m = std::max(std::fabs(min), std::fabs(max));
  const double plusPetite = std::max(m * kLargeurRelative, kPlusPetiteLargeur);
  // Equal bounds open upwards by one unit, as a channel repairs its own
  // range, unless the bounds are so large that one unit is lost in them.
  if (max - min < plusPetite) max = min + std::max(1.0, plusPetite);
  return {min, max};
}

Graduation ChoisitGraduation(double min, double max, bool secondes, bool logarithmique,
                             bool dense) {
  const Plage p = PlageAffichable(min, max);
  const double m = std::max(std::fabs(p.min), std::fabs(p.max));
  if (secondes && !logarithmique && m > kQuartDHeure) return GraduationHorloge(p);
  return GraduationDecimale(p, logarithmique, dense);
}

int NombreGraduations(const Graduation &g, double max) {
  if (!(g.pas > 0) || !std::isfinite(g.premier) || !std::isfinite(max)) return 0;
  const double n = std::ceil((max - g.premier) / g.pas);
  if (!(n > 0)) return 0;
  return static_cast<int>(std::min(n, static_cast<double>(kMaxGraduations)));
}

std::string TexteHorloge(double secondes) {
  if (!std::isfinite(secondes)) return {};
  const bool negatif = secondes < 0;
  const long long total = std::llround(std::min(std::fabs(secondes), 1e15)) / 60;  // minutes
  const long long jours = total / (24 * 60);
  const int heures = static_cast<int>(total / 60 % 24);
  const int minutes = static_cast<int>(total % 60);
  char texte[48];
  if (jours == 0)
    std::snprintf(texte, sizeof texte, "%s%d:%02d", negatif ? "-" : "", heures, minutes);
  else if (heures == 0 && minutes == 0)
    std::snprintf(texte, sizeof texte, "%s%lldj", negatif ? "-" : "", jours);
  else
    std::snprintf(texte, sizeof texte, "%s%lldj %02d:%02d", negatif ? "-" : "", jours, heures,
                  minutes);
  return texte;
}

}  // namespace kvx::display
