// SPDX-License-Identifier: GPL-3.0-or-later
// Unit texts for a scale, and values written with prefix and unit.
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "model/formes_unite.h"
#include "model/nombres.h"
#include "model/prefixes.h"
#include "model/separateur_decimal.h"
#include "model/table_unites.h"
#include "model/texte_utf8.h"
#include "model/unite.h"

namespace kvx::model {

namespace {

// A power-of-ten title this long no longer fits a read-out or an axis.
constexpr std::size_t kLongueurMaxPuissance = 17;
// Below this a value is shown as 0 (noise of the computations).
constexpr double kZeroAffiche = 1e-13;

constexpr std::string_view kSymbolesBases[kNbBasesSI] = {"m", "kg", "s", "A", "K", "mol", "cd"};

bool EstLettreUnite(char32_t c) {
  static constexpr std::u32string_view kLettres = U"ACFHJKLNPSTVWbcdglmrs©";
  return c != 0 && kLettres.find(c) != std::u32string_view::npos;
}

bool EstPuissancePrefixe(int q) {
  return (q >= -18 && q <= 18 && q % 3 == 0) || q == -2 || q == -1 || q == 2;
}

std::string TexteGenre(std::uint8_t genre) {
  switch (genre) {
    case kGenreDegre:
      return "°";
    case kGenreRadian:
      return "rad";
    case kGenreDecibel:
      return "dB";
    default:
      return "";
  }
}

// m.s-2, m2.kg.s-3.A-1: positive exponents first, then the negative ones.
std::string TexteCompose(const std::array<std::int8_t, kNbBasesSI> &e) {
  std::string s;
  for (int signe : {1, -1}) {
    for (int i = 0; i < kNbBasesSI; ++i) {
      if (e[i] * signe <= 0) continue;
      if (!s.empty()) s += '.';
      s += kSymbolesBases[i];
      if (e[i] != 1) s += std::to_string(e[i]);
    }
  }
  return s;
}

bool SansDimension(const std::array<std::int8_t, kNbBasesSI> &e) {
  return std::all_of(e.begin(), e.end(), [](std::int8_t v) { return v == 0; });
}

// Square millimetres read mm2: a pure power of the metre with a prefix.
bool PuissanceDuMetre(const Tunite &u, int p, std::string &texte) {
  const int e0 = u.exposants[kMetre];
  if (e0 == 0 || e0 == 1) return false;
  for (int i = 1; i < kNbBasesSI; ++i)
    if (u.exposants[i] != 0) return false;
  if (p % e0 != 0 || !EstPuissancePrefixe(p / e0)) return false;
  texte = FormePrefixee("m", p / e0) + std::to_string(e0);
  return true;
}

// A named unit with the same exponents, or with one more on the second
// (a speed in metres per second reads ms-1).
bool UniteNommee(const Tunite &u, int p, std::string &texte) {
  if (u.genre != kGenreAucun) return false;
  // A named unit keeps its own symbol: a torque in N.m is no energy in J,
  // although both have the same base units.
  if (const int propre = ChercheSymbole(u.Unite);
      propre >= 0 && propre < kNbUnitesNommees && kEntreesUnites[propre].exposants == u.exposants) {
    const EntreeUnite &e = kEntreesUnites[propre];
    texte = FormePrefixee(e.symbole, p - e.puissance);
    return true;
  }
  for (int i = 0; i < kNbUnitesNommees; ++i) {
    const EntreeUnite &e = kEntreesUnites[i];
    if (e.exposants == u.exposants) {
      texte = FormePrefixee(e.symbole, p - e.puissance);
      return true;
    }
  }
  for (int i = 0; i < kNbUnitesNommees; ++i) {
    const EntreeUnite &e = kEntreesUnites[i];
    if (e.symbole == "Hz") continue;
    auto attendus = e.exposants;
    attendus[kSeconde] = static_cast<std::int8_t>(attendus[kSeconde] - 1);
    if (attendus == u.exposants) {
      texte = FormePrefixee(e.symbole, p - e.puissance) + "s-1";
      return true;
    }
  }
  return false;
}

}  // namespace

// "10-4 V": the text preceded by the power of ten, or "S.I." when too long.
std::string FormePuissance(std::string_view t, int p) {
  if (p == 0) return std::string(t);
  const std::string tete = "10" + std::to_string(p) + " ";
  std::string s = tete + std::string(t);
  if (NombreCaracteres(s) >= kLongueurMaxPuissance) s = tete + "S.I.";
  return s;
}

// The text with the prefix letter for power p ("mV"), its own prefix letter
// first folded into p ("kHz" for p = -3 gives "Hz").
std::string FormePrefixee(std::string_view t, int p) {
  // A table symbol keeps its first letter: "cd" is the candela, not a centi-"d".
  if (ChercheSymbole(t) < 0) {
    std::size_t l0 = 0, l1 = 0;
    const char32_t c0 = LitCodePoint(t, 0, l0);
    const char32_t c1 = LitCodePoint(t, l0, l1);
    if (const auto pp = PuissancePrefixeUnite(c0); pp && EstLettreUnite(c1)) {
      p += *pp;
      t = t.substr(l0);
    }
  }
  if (p == 0) return std::string(t);
  if (const auto lettre = LettrePrefixeAffichage(p)) return std::string(*lettre) + std::string(t);
  return FormePuissance(t, p);
}

std::string Tunite::TexteUnite(int p) const {
  // The callers' powers are those of an 8-bit value.
  p = std::clamp(p, -128, 127);
  if (!Unite.empty() && p == 0) return Unite;
  if (!correcte) return FormePuissance(Unite.empty() ? "?" : Unite, p);
  if (SansDimension(exposants)) return FormePrefixee(Unite.empty() ? TexteGenre(genre) : Unite, p);
  const int depuisSI = p + puissance;
  std::string texte;
  if (PuissanceDuMetre(*this, depuisSI, texte)) return texte;
  if (ChercheSymbole(Unite) >= kNbUnitesNommees) return FormePrefixee(Unite, p);
  if (UniteNommee(*this, depuisSI, texte)) return texte;
  // A typed text already carries its own prefix ("mm/s2"): only the scale
  // of the caller is added to it.
  if (!Unite.empty()) return FormePuissance(Unite, p);
  // A unit without text gets the composed one for this call only: storing
  // it would make later calls ignore the unit's own power of ten.
  return FormePuissance(TexteCompose(exposants), depuisSI);
}

std::string Tunite::TexteValeur(double x) const {
  if (std::isnan(x)) return "";
  if (std::fabs(x) < kZeroAffiche) return "0" + TexteUnite(0);
  const bool negatif = x < 0;
  x = std::fabs(x);
  int k = 0;
  while (x >= 999 && k < 24) x /= 1000, k += 3;
  while (x < 0.999 && k > -24) x *= 1000, k -= 3;
  if (x > 1000) return "???";
  // Only a value still below the smallest prefix is shown as 0; 0.9995 V
  // stays a value of its own.
  if (x < 0.999) return "0" + TexteUnite(0);
  std::string s = TexteGeneral(x, 4, SeparateurDecimal());
  if (negatif) s.insert(0, 1, '-');
  return s + " " + TexteUnite(k);
}

std::string Tunite::TexteValeurFixe(double x) const {
  return TexteFixe(x, 2, 3) + TexteUnite(0);
}

std::string Tunite::TexteAxe(double x) const {
  // A scale that is not a positive number has no prefix to show.
  int p = 0;
  if (std::isfinite(x) && x > 0) p = static_cast<int>(std::lround(std::log10(x)));
  const std::string t = TexteUnite(p);
  return t.empty() ? Nom : Nom + "(" + t + ")";
}

std::string Tunite::TexteNomValeur(double x) const {
  return Nom + "=" + TexteValeur(x);
}

}  // namespace kvx::model
