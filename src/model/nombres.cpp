// SPDX-License-Identifier: GPL-3.0-or-later
// Reading numbers typed by the user, and the small text helpers of nombres.h.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

#include "model/nombres.h"
#include "model/prefixes.h"
#include "model/separateur_decimal.h"
#include "model/texte_utf8.h"

namespace kvx::model {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Exponents beyond this are far outside any double; counting further would
// only risk overflowing the counter.
constexpr long long kExposantSature = 1'000'000;

bool EstChiffre(char c) {
  return c >= '0' && c <= '9';
}

// Where the last character of the text starts (it may be several bytes).
std::size_t DebutDernierCaractere(std::string_view s) {
  std::size_t debut = s.size() - 1;
  for (int i = 0; i < 3 && debut > 0; ++i) {
    if ((static_cast<unsigned char>(s[debut]) & 0xC0) != 0x80) break;
    --debut;
  }
  std::size_t longueur = 0;
  LitCodePoint(s, debut, longueur);
  return debut + longueur == s.size() ? debut : s.size() - 1;
}

// Checks the form [+-]digits[sep digits][(E|e)[+-]digits] with at least one
// mantissa digit, and estimates the decimal exponent of its first non-zero
// digit so that an out-of-range result can be told overflow or underflow.
bool FormeValide(std::string_view s, char sep, long long &ordre, bool &zero) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  long long chiffresEntiers = 0, premier = -1, position = 0;
  std::size_t debutChiffres = i;
  for (; i < s.size() && EstChiffre(s[i]); ++i, ++chiffresEntiers, ++position)
    if (premier < 0 && s[i] != '0') premier = position;
  std::size_t chiffres = i - debutChiffres;
  if (i < s.size() && s[i] == sep) {
    ++i;
    const std::size_t debut = i;
    for (; i < s.size() && EstChiffre(s[i]); ++i, ++position)
      if (premier < 0 && s[i] != '0') premier = position;
    chiffres += i - debut;
  }
  if (chiffres == 0) return false;
  long long exposant = 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    ++i;
    bool negatif = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negatif = s[i++] == '-';
    const std::size_t debut = i;
    for (; i < s.size() && EstChiffre(s[i]); ++i)
      if (exposant < kExposantSature) exposant = exposant * 10 + (s[i] - '0');
    if (i == debut) return false;
    if (negatif) exposant = -exposant;
  }
  if (i != s.size()) return false;
  zero = premier < 0;
  ordre = exposant + chiffresEntiers - premier - 1;
  return true;
}

// Locale-free conversion of a text already in the program's form.
double Convertit(std::string_view s, char sep) {
  long long ordre = 0;
  bool zero = false;
  if (!FormeValide(s, sep, ordre, zero)) return kNaN;
  const bool negatif = s[0] == '-';
  std::string tampon;
  tampon.reserve(s.size());
  for (char c : s) {
    if (c == '+' && tampon.empty()) continue;
    tampon += c == sep ? '.' : c;
  }
  double x = 0;
  const auto [fin, erreur] = std::from_chars(tampon.data(), tampon.data() + tampon.size(), x);
  if (erreur == std::errc::result_out_of_range) {
    if (zero || ordre < 0) return negatif ? -0.0 : 0.0;  // underflow: nearest value
    return kNaN;                                         // overflow: not a number
  }
  if (erreur != std::errc() || fin != tampon.data() + tampon.size() || !std::isfinite(x))
    return kNaN;
  return x;
}

// The exponent text that replaces a final prefix letter ("k" -> "E+3").
std::string TexteExposant(int puissance) {
  std::string t = puissance < 0 ? "E-" : "E+";
  t += std::to_string(puissance < 0 ? -puissance : puissance);
  return t;
}

}  // namespace

std::string SupprimeBlancs(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 33) s += c;
  return s;
}

double LitNombre(std::string_view text) {
  std::string s = SupprimeBlancs(text);
  if (s.empty()) return kNaN;
  const char sep = SeparateurDecimal();
  // Either separator is accepted: the first "other" one becomes the program's.
  const char autre = sep == ',' ? '.' : ',';
  if (const auto i = s.find(autre); i != std::string::npos) s[i] = sep;
  const std::size_t debut = DebutDernierCaractere(s);
  std::size_t longueur = 0;
  if (const auto p = PuissancePrefixeNombre(LitCodePoint(s, debut, longueur))) {
    s.erase(debut);
    s += TexteExposant(*p);
  }
  return Convertit(s, sep);
}

double LitNombreDefaut(std::string_view text, double defaut) {
  const double x = LitNombre(text);
  return std::isnan(x) ? defaut : x;
}

bool EssaieNombre(std::string_view text, double &x) {
  std::string s(text);
  if (!s.empty() && (s[0] == 'E' || s[0] == 'e'))
    s.insert(0, 1, '1');
  else if (!s.empty() && (s[0] == '.' || s[0] == ','))
    s.insert(0, 1, '0');
  x = LitNombre(s);
  return !std::isnan(x);
}

std::string CompleteA(std::string_view text, int n) {
  std::string s;
  if (n <= 0) return s;
  std::size_t pos = 0, longueur = 0;
  int compte = 0;
  for (; compte < n && pos < text.size(); ++compte, pos += longueur)
    LitCodePoint(text, pos, longueur);
  s.assign(text.substr(0, pos));
  s.append(static_cast<std::size_t>(n - compte), ' ');
  return s;
}

std::string TexteHexa4(long long n) {
  static constexpr char kChiffres[] = "0123456789ABCDEF";
  const auto v = static_cast<std::uint16_t>(static_cast<unsigned long long>(n) & 0xFFFF);
  std::string s(4, '0');
  for (int i = 0; i < 4; ++i) s[3 - i] = kChiffres[(v >> (4 * i)) & 0xF];
  return s;
}

std::string TexteBinaire16(long long n) {
  const auto v = static_cast<std::uint16_t>(static_cast<unsigned long long>(n) & 0xFFFF);
  std::string s(16, '0');
  for (int i = 0; i < 16; ++i)
    if (v & (1u << i)) s[15 - i] = '1';
  return s;
}

char32_t FiltreTouche(char32_t touche) {
  if (touche == U',' || touche == U'.') return static_cast<char32_t>(SeparateurDecimal());
  if (touche >= U'0' && touche <= U'9') return touche;
  static constexpr char32_t kPassent[] = {8,    9,    13,   U'(', U')', U'+', U'-', U'E', U'G',
                                          U'M', U'T', U'e', U'f', U'k', U'm', U'n', U'µ'};
  for (char32_t c : kPassent)
    if (c == touche) return touche;
  return 0;
}

}  // namespace kvx::model
