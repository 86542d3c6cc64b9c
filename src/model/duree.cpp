// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/duree.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "model/nombres.h"
#include "model/table_unites.h"

namespace kvx::model {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kSecondesParJour = 86400;
// A duration of 0 would stop the time base; the shortest one kept instead.
constexpr double kDureeNulle = 0.1;
// Longer digit runs are no count of days, hours or minutes.
constexpr std::size_t kChiffresEntierMax = 9;

std::optional<long> LitEntier(std::string_view s) {
  bool negatif = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) negatif = s[0] == '-', s.remove_prefix(1);
  if (s.empty() || s.size() > kChiffresEntierMax) return std::nullopt;
  long v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return negatif ? -v : v;
}

// hours:minutes[:seconds], as a clock shows it: 0..23, 0..59, 0..59 (the
// seconds may carry a decimal part).
std::optional<double> LitHeure(std::string_view s) {
  std::array<std::string_view, 3> champs;
  std::size_t n = 0;
  while (true) {
    const std::size_t i = s.find(':');
    if (n == champs.size()) return std::nullopt;
    champs[n++] = s.substr(0, i);
    if (i == std::string_view::npos) break;
    s.remove_prefix(i + 1);
  }
  if (n < 2) return std::nullopt;
  const auto h = LitEntier(champs[0]);
  const auto m = LitEntier(champs[1]);
  if (!h || !m || *h < 0 || *h > 23 || *m < 0 || *m > 59) return std::nullopt;
  double sec = 0;
  if (n == 3) {
    const std::string_view t = champs[2];
    if (t.empty() || t[0] < '0' || t[0] > '9') return std::nullopt;
    sec = LitNombre(t);
    if (std::isnan(sec) || sec < 0 || sec >= 60 || t.find_first_not_of("0123456789.,") != t.npos)
      return std::nullopt;
  }
  return *h * 3600.0 + *m * 60.0 + sec;
}

// 1j2:30, 12:30, 5:30 (a single leading digit is minutes:seconds).
double LitHorloge(std::string s) {
  double jours = 0;
  if (const std::size_t j = s.find('j'); j != std::string::npos) {
    const auto n = LitEntier(std::string_view(s).substr(0, j));
    if (!n) return kNaN;
    jours = static_cast<double>(*n);
    s.erase(0, j + 1);
  } else if (s.size() <= 2 || s.find(':', 2) == std::string::npos) {
    s.insert(0, "0:");
  }
  const auto heure = LitHeure(s);
  return heure ? jours * kSecondesParJour + *heure : kNaN;
}

struct Marqueur {
  std::string_view texte;
  bool entier;
  double secondes;
  double suivant;  // unit of a bare number written after it (0: none)
};

// In this order: "min" before "m", which is the milli prefix here.
constexpr std::array<Marqueur, 5> kMarqueurs{{
    {"j", true, 86400, 3600},
    {"h", true, 3600, 60},
    {"min", false, 60, 1},
    {"m", false, 0.001, 1e-6},
    {"µ", false, 1e-6, 0},
}};

// 1h30min, 2ms, 2.5s; a bare number after the last marker counts in the
// next smaller unit (1h30 is 1 h 30 min), or in seconds when it ends in "s".
double LitMarqueurs(std::string s) {
  double somme = 0;
  bool lu = false;
  const Marqueur *dernier = nullptr;
  for (const Marqueur &m : kMarqueurs) {
    const std::size_t i = s.find(m.texte);
    if (i == std::string::npos) continue;
    if (i > 0) {  // a marker at the very start adds nothing
      const std::string_view avant = std::string_view(s).substr(0, i);
      double v = kNaN;
      if (m.entier) {
        if (const auto n = LitEntier(avant)) v = static_cast<double>(*n);
      } else {
        v = LitNombre(avant);
      }
      if (std::isnan(v)) return kNaN;
      somme += v * m.secondes;
      lu = true;
    }
    s.erase(0, i + m.texte.size());
    dernier = &m;
  }
  bool enSecondes = false;
  if (const std::size_t i = s.find('s'); i != std::string::npos) s.erase(i, 1), enSecondes = true;
  if (s.empty()) return lu ? somme : kNaN;
  const double v = LitNombre(s);
  if (std::isnan(v)) return kNaN;
  if (!dernier || enSecondes) return somme + v;
  if (dernier->suivant == 0) return kNaN;
  return somme + v * dernier->suivant;
}

std::string DeuxChiffres(double v) {
  char tampon[8];
  std::snprintf(tampon, sizeof tampon, "%02d", static_cast<int>(v));
  return tampon;
}

}  // namespace

double LitDuree(std::string_view texte) {
  std::string s = SupprimeBlancs(texte);
  if (s.empty()) return kNaN;
  const double t = s.find(':') != std::string::npos ? LitHorloge(s) : LitMarqueurs(s);
  if (std::isnan(t) || !std::isfinite(t)) return kNaN;
  return t == 0 ? kDureeNulle : t;
}

std::string TexteDuree(double t) {
  if (std::isnan(t)) return "";
  if (t < 300) return UniteSeconde().TexteValeur(t);
  if (!std::isfinite(t)) return "???";
  if (t > 43200)
    t = std::round(t / 60) * 60;
  else if (t > 7200)
    t = std::round(t / 15) * 15;
  const double jours = std::floor(t / kSecondesParJour);
  const double reste = t - jours * kSecondesParJour;
  if (jours > 0) {
    char tampon[400];
    const auto r =
        std::to_chars(tampon, tampon + sizeof tampon, jours, std::chars_format::fixed, 0);
    return std::string(tampon, r.ptr) + "j " + DeuxChiffres(std::floor(reste / 3600)) + "h";
  }
  const double heures = std::floor(t / 3600);
  const double minutes = std::floor((t - heures * 3600) / 60);
  if (t >= 3600) return DeuxChiffres(heures) + "h" + DeuxChiffres(minutes);
  const double secondes = std::floor(t - minutes * 60);
  return std::to_string(static_cast<int>(heures)) + ":" + DeuxChiffres(minutes) + ":" +
         DeuxChiffres(secondes);
}

}  // namespace kvx::model
