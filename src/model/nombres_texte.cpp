// SPDX-License-Identifier: GPL-3.0-or-later
// Writing numbers: edit fields, read-outs, range texts and the "." format.
// Digits come from std::to_chars, which never looks at the process locale;
// the layout (fixed or exponent form, separator) is built here.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "model/nombres.h"
#include "model/separateur_decimal.h"

namespace kvx::model {

namespace {

constexpr int kPrecisionMax = 17;  // a double holds no more significant digits

// |x| rounded to n significant digits: the digits without trailing zeros
// ("0" for zero) and the decimal exponent of the first one.
struct Decimale {
  std::string chiffres;
  int exposant = 0;
};

// Rounds the shortest text that reads back as x, half away from zero, as a
// person rounds the number shown: 12345 to 4 digits is 1.235E4.
Decimale Arrondit(double x, int n) {
  char tampon[64];
  const auto r =
      std::to_chars(tampon, tampon + sizeof tampon, std::fabs(x), std::chars_format::scientific);
  const std::string_view s(tampon, static_cast<std::size_t>(r.ptr - tampon));
  Decimale d;
  const std::size_t e = s.find('e');
  for (std::size_t i = 0; i < e; ++i)
    if (s[i] != '.') d.chiffres += s[i];
  std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), d.exposant);
  if (static_cast<int>(d.chiffres.size()) > n) {
    const bool plus = d.chiffres[n] >= '5';
    d.chiffres.resize(n);
    for (int i = n - 1; plus && i >= 0; --i) {
      if (d.chiffres[i] != '9') {
        ++d.chiffres[i];
        break;
      }
      d.chiffres[i] = '0';
      if (i == 0) {  // 9.99 -> 10.0: one more digit before the point
        d.chiffres.insert(0, 1, '1');
        d.chiffres.pop_back();
        ++d.exposant;
      }
    }
  }
  while (d.chiffres.size() > 1 && d.chiffres.back() == '0') d.chiffres.pop_back();
  return d;
}

std::string Fixe(const Decimale &d, char sep) {
  const int n = static_cast<int>(d.chiffres.size());
  if (d.exposant < 0)
    return "0" + std::string(1, sep) + std::string(-d.exposant - 1, '0') + d.chiffres;
  if (d.exposant + 1 >= n) return d.chiffres + std::string(d.exposant + 1 - n, '0');
  return d.chiffres.substr(0, d.exposant + 1) + sep + d.chiffres.substr(d.exposant + 1);
}

std::string Scientifique(const Decimale &d, char sep, int chiffresExposant) {
  std::string s(1, d.chiffres[0]);
  if (d.chiffres.size() > 1) s += sep + d.chiffres.substr(1);
  s += 'E';
  if (d.exposant < 0) s += '-';
  std::string e = std::to_string(std::abs(d.exposant));
  if (static_cast<int>(e.size()) < chiffresExposant) e.insert(0, chiffresExposant - e.size(), '0');
  return s + e;
}

}  // namespace

std::string TexteGeneral(double x, int precision, char separateur, int chiffresExposant) {
  precision = std::clamp(precision, 1, kPrecisionMax);
  if (x == 0) return "0";
  const Decimale d = Arrondit(x, precision);
  // Fixed notation as long as the rounded integer part fits the precision.
  const bool fixe = d.exposant + 1 <= precision && std::fabs(x) >= 0.00001;
  const std::string s = fixe ? Fixe(d, separateur) : Scientifique(d, separateur, chiffresExposant);
  return std::signbit(x) ? "-" + s : s;
}

std::string TexteEdition(double x, int precision) {
  if (!std::isfinite(x)) return " ";
  return TexteGeneral(x, precision, SeparateurDecimal());
}

std::string TextePoint(double x) {
  if (!std::isfinite(x)) return "";
  return TexteGeneral(x, 7, '.', 2);
}

namespace {

constexpr int kChiffresPoint = 7;

// The exact powers of ten a double holds.
constexpr double kPuissances[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// |x| scaled to 7 digits before the point: one correctly rounded product or
// quotient by an exact power of ten, so within a billionth of the true value.
double Echelle7(double a, int exposant) {
  const int k = kChiffresPoint - 1 - exposant;
  return k >= 0 ? a * kPuissances[k] : a / kPuissances[-k];
}

// The 7 rounded digits of |x| straight from its binary value. The shortest
// text that reads back as x lies within half a unit of the last place of x,
// so both round the same way unless x is that close to a halfway point of the
// seventh digit: then (and outside the powers of ten a double holds exactly)
// this gives up and the digits come from the shortest text, as before.
bool ChiffresRapides(double a, char *chiffres, int &exposant) {
  int e2 = 0;
  std::frexp(a, &e2);
  exposant = static_cast<int>(std::floor((e2 - 1) * 0.30102999566398120));
  if (exposant < -15 || exposant > 21) return false;
  double m = Echelle7(a, exposant);
  if (m >= 1e7) m = Echelle7(a, ++exposant);
  if (m < 1e6) m = Echelle7(a, --exposant);
  if (exposant < -15 || exposant > 21 || m < 1e6 || m >= 1e7) return false;
  const double entier = std::floor(m);
  if (std::fabs(m - entier - 0.5) < 1e-6) return false;
  auto r = static_cast<std::uint32_t>(entier) + (m - entier > 0.5 ? 1 : 0);
  if (r == 10000000) {
    r = 1000000;
    ++exposant;
  }
  for (int i = kChiffresPoint - 1; i >= 0; --i, r /= 10) chiffres[i] = static_cast<char>('0' + r % 10);
  return true;
}

}  // namespace

void AjouteTextePoint(std::string &sortie, double x) {
  if (!std::isfinite(x)) return;
  if (x == 0) {
    sortie += '0';
    return;
  }
  // The same steps as TexteGeneral(x, 7, '.', 2) in fixed buffers: the
  // shortest digits that read back as x, rounded half away from zero to 7.
  constexpr int kChiffres = kChiffresPoint;
  char chiffres[24];
  int n = kChiffres;
  int exposant = 0;
  if (!ChiffresRapides(std::fabs(x), chiffres, exposant)) {
    char brut[40];
    const auto r =
        std::to_chars(brut, brut + sizeof brut, std::fabs(x), std::chars_format::scientific);
    n = 0;
    exposant = 0;
    const char *p = brut;
    for (; *p != 'e'; ++p)
      if (*p != '.') chiffres[n++] = *p;
    ++p;
    const bool exposantNegatif = *p == '-';
    for (++p; p < r.ptr; ++p) exposant = exposant * 10 + (*p - '0');
    if (exposantNegatif) exposant = -exposant;
    if (n > kChiffres) {
      const bool plus = chiffres[kChiffres] >= '5';
      n = kChiffres;
      int i = kChiffres - 1;
      for (; plus && i >= 0; --i) {
        if (chiffres[i] != '9') {
          ++chiffres[i];
          break;
        }
        chiffres[i] = '0';
      }
      if (plus && i < 0) {  // 9.9999999 -> 10.00000: one more digit before the point
        chiffres[0] = '1';
        ++exposant;
      }
    }
  }
  while (n > 1 && chiffres[n - 1] == '0') --n;
  char texte[48];
  char *q = texte;
  if (std::signbit(x)) *q++ = '-';
  if (exposant + 1 <= kChiffres && std::fabs(x) >= 0.00001) {
    if (exposant < 0) {
      *q++ = '0';
      *q++ = '.';
      for (int i = 0; i < -exposant - 1; ++i) *q++ = '0';
      for (int i = 0; i < n; ++i) *q++ = chiffres[i];
    } else if (exposant + 1 >= n) {
      for (int i = 0; i < n; ++i) *q++ = chiffres[i];
      for (int i = n; i < exposant + 1; ++i) *q++ = '0';
    } else {
      for (int i = 0; i <= exposant; ++i) *q++ = chiffres[i];
      *q++ = '.';
      for (int i = exposant + 1; i < n; ++i) *q++ = chiffres[i];
    }
  } else {
    *q++ = chiffres[0];
    if (n > 1) {
      *q++ = '.';
      for (int i = 1; i < n; ++i) *q++ = chiffres[i];
    }
    *q++ = 'E';
    if (exposant < 0) *q++ = '-';
    const int e = std::abs(exposant);
    if (e < 10) *q++ = '0';
    q = std::to_chars(q, texte + sizeof texte, e).ptr;
  }
  sortie.append(texte, static_cast<std::size_t>(q - texte));
}

std::string TexteFixe(double x, int decimales, int chiffresMax) {
  if (std::isnan(x)) return "";
  if (!std::isfinite(x)) return "???";
  decimales = std::clamp(decimales, 0, kPrecisionMax);
  chiffresMax = std::clamp(chiffresMax, 1, kPrecisionMax);
  const char sep = SeparateurDecimal();
  if (x == 0) return decimales > 0 ? "0" + std::string(1, sep) + std::string(decimales, '0') : "0";
  const Decimale d = Arrondit(x, chiffresMax);
  if (d.exposant + 1 > chiffresMax) return TexteGeneral(x, chiffresMax, sep);
  std::string s;
  if (d.exposant + 1 + decimales >= chiffresMax) {
    // Every significant digit fits: lay them out and pad the decimals.
    s = Fixe(d, '.');
  } else {
    // Fewer places than significant digits: round at the last place.
    char tampon[400];
    const auto r = std::to_chars(tampon, tampon + sizeof tampon, std::fabs(x),
                                 std::chars_format::fixed, decimales);
    s.assign(tampon, r.ptr);
  }
  std::size_t point = s.find('.');
  if (point == std::string::npos && decimales > 0) {
    point = s.size();
    s += '.';
  }
  if (decimales > 0) {
    s.resize(std::max(s.size(), point + 1 + decimales), '0');
    s.resize(point + 1 + decimales);
    s[point] = sep;
  }
  const bool nul = s.find_first_of("123456789") == std::string::npos;
  return std::signbit(x) && !nul ? "-" + s : s;
}

}  // namespace kvx::model
