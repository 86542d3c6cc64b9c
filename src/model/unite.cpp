// SPDX-License-Identifier: GPL-3.0-or-later
// Decomposition of a typed unit text into SI base units.
#include "model/unite.h"

#include <algorithm>
#include <string_view>

#include "model/prefixes.h"
#include "model/table_unites.h"
#include "model/texte_utf8.h"

namespace kvx::model {

namespace {

// A power of ten written after "1E" larger than this is no unit anybody
// types, and keeping it small keeps the display arithmetic far from overflow.
constexpr int kPuissanceMax = 9999;
// Bytes of the longest symbol of the table.
constexpr std::size_t kLongueurMaxSymbole = 8;

bool EstLettreAscii(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A prefix letter is one when a unit follows it: an ASCII letter, "µ", or
// the first character of a table symbol such as "Ω" or "°C" (kΩ, m°C).
bool PeutSuivrePrefixe(char32_t c) {
  if (c < 0x80) return EstLettreAscii(static_cast<char>(c));
  if (c == U'µ') return true;
  std::string debut;
  AjouteCodePoint(debut, c);
  for (const EntreeUnite &e : kEntreesUnites)
    if (e.symbole.substr(0, debut.size()) == debut) return true;
  return false;
}

// The exponent characters: digits, the superscripts 1 to 3, and the
// characters the box's symbol font shows as the superscripts 4 to 9.
int ValeurExposant(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  static constexpr char32_t kExposants[] = {U'¹', U'²', U'³', U'¥', U'©', U'¬', 0x00AD, U'®', U'¼'};
  for (int i = 0; i < 9; ++i)
    if (kExposants[i] == c) return i + 1;
  return -1;
}

// Reads the factors of a unit text one after the other; any failure is
// reported by returning false, and the caller turns it into EUniteError.
class LecteurUnite {
 public:
  LecteurUnite(std::string_view texte, Tunite &u) : m_texte(texte), m_unite(u) {}

  bool Lit() {
    if (m_texte.size() >= 2 && m_texte.substr(0, 2) == "1E" && !LitPuissance()) return false;
    while (m_pos < m_texte.size()) {
      if (!LitFacteur()) return false;
      if (m_pos < m_texte.size() && m_texte[m_pos] == '.') {
        ++m_pos;
        if (m_pos == m_texte.size()) return false;  // a "." with no factor after it
      }
    }
    return true;
  }

 private:
  // "1E-3 m": the signed digits after "1E" are the power of ten, and one
  // blank after them is skipped.
  bool LitPuissance() {
    m_pos = 2;
    bool negatif = false;
    if (m_pos < m_texte.size() && (m_texte[m_pos] == '+' || m_texte[m_pos] == '-'))
      negatif = m_texte[m_pos++] == '-';
    const std::size_t debut = m_pos;
    long valeur = 0;
    for (; m_pos < m_texte.size() && m_texte[m_pos] >= '0' && m_texte[m_pos] <= '9'; ++m_pos) {
      valeur = valeur * 10 + (m_texte[m_pos] - '0');
      if (valeur > kPuissanceMax) return false;
    }
    if (m_pos == debut) return false;
    if (m_pos < m_texte.size() && (m_texte[m_pos] == '+' || m_texte[m_pos] == '-')) return false;
    m_unite.puissance = static_cast<std::int32_t>(negatif ? -valeur : valeur);
    if (m_pos < m_texte.size() && m_texte[m_pos] == ' ') ++m_pos;
    return true;
  }

  // End of the symbol run starting at `debut`: its first character (which
  // may be "Ω", "°", "%"...) and every ASCII letter after it.
  std::size_t FinDeSuite(std::size_t debut) const {
    std::size_t longueur = 0;
    LitCodePoint(m_texte, debut, longueur);
    std::size_t fin = debut + longueur;
    // No symbol is longer than this: a longer run is never one as a whole,
    // and not scanning it to its end keeps "HzsHzs..." linear.
    const std::size_t limite = std::min(m_texte.size(), debut + kLongueurMaxSymbole + 1);
    while (fin < limite && EstLettreAscii(m_texte[fin])) ++fin;
    return fin;
  }

  // The table entry read at m_pos, with its prefix power; m_pos moves past it.
  bool LitSymbole(int &indice, int &prefixe) {
    std::size_t debut = m_pos;
    std::size_t fin = FinDeSuite(debut);
    prefixe = 0;
    // A run of letters that is itself a symbol ("mol", "Pa", "cd") is never
    // read as a prefix and the rest, which would refuse it; a lone letter
    // before a symbol character is a prefix ("mΩ", "m°C").
    std::size_t l = 0;
    LitCodePoint(m_texte, debut, l);
    if (fin - debut == l || ChercheSymbole(m_texte.substr(debut, fin - debut)) < 0) {
      std::size_t l0 = 0, l1 = 0;
      const char32_t c0 = LitCodePoint(m_texte, debut, l0);
      const char32_t c1 = LitCodePoint(m_texte, debut + l0, l1);
      const auto p = PuissancePrefixeUnite(c0);
      if (p && l1 > 0 && PeutSuivrePrefixe(c1)) {
        prefixe = *p;
        debut += l0;
        fin = FinDeSuite(debut);
      }
    }
    indice = ChercheSymbole(m_texte.substr(debut, fin - debut));
    if (indice < 0) {
      // "Nm": the shortest beginning that is a symbol, the rest is the next factor.
      std::size_t longueur = 0;
      LitCodePoint(m_texte, debut, longueur);
      for (std::size_t e = debut + longueur; e < fin && indice < 0; ++e) {
        indice = ChercheSymbole(m_texte.substr(debut, e - debut));
        if (indice >= 0) fin = e;
      }
      if (indice < 0) return false;
    }
    m_pos = fin;
    return true;
  }

  // Optional "^", optional sign, one exponent character; 1 by default.
  bool LitExposant(int &exposant) {
    exposant = 1;
    bool attendu = false;
    if (m_pos < m_texte.size() && m_texte[m_pos] == '^') ++m_pos, attendu = true;
    bool negatif = false;
    if (m_pos < m_texte.size() && (m_texte[m_pos] == '+' || m_texte[m_pos] == '-'))
      negatif = m_texte[m_pos++] == '-', attendu = true;
    std::size_t longueur = 0;
    const int v = ValeurExposant(LitCodePoint(m_texte, m_pos, longueur));
    if (v >= 0) {
      exposant = v;
      m_pos += longueur;
    } else if (attendu) {
      return false;  // "m^" or "m-" without its exponent
    }
    if (negatif) exposant = -exposant;
    return true;
  }

  bool LitFacteur() {
    bool divise = false;
    if (m_texte[m_pos] == '/') divise = true, ++m_pos;
    if (m_pos >= m_texte.size()) return false;
    int indice = 0, prefixe = 0, exposant = 1;
    if (!LitSymbole(indice, prefixe) || !LitExposant(exposant)) return false;
    if (divise) exposant = -exposant;
    const EntreeUnite &e = kEntreesUnites[indice];
    for (int i = 0; i < kNbBasesSI; ++i) {
      const int v = m_unite.exposants[i] + e.exposants[i] * exposant;
      if (v < -128 || v > 127) return false;
      m_unite.exposants[i] = static_cast<std::int8_t>(v);
    }
    // The prefix and the symbol's own power are raised with the factor:
    // km2 is 1E6 m2 and /ms is 1E3 /s.
    const long p = m_unite.puissance + static_cast<long>(prefixe + e.puissance) * exposant;
    if (p < -kPuissanceMax || p > kPuissanceMax) return false;
    m_unite.puissance = static_cast<std::int32_t>(p);
    return true;
  }

  std::string_view m_texte;
  Tunite &m_unite;
  std::size_t m_pos = 0;
};

}  // namespace

void Tunite::FixeUnite(const std::string &texte) {
  Unite = texte;
  puissance = 0;
  correcte = true;
  exposants = {};
  avecUnite = !texte.empty();
  // A unit that was an angle or decibel before is an ordinary one now.
  genre = kGenreAucun;
  if (texte.empty()) return;
  if (const int i = ChercheSymbole(texte); i >= 0) {
    CopieUnite(TableUnites()[i]);
    return;
  }
  if (!LecteurUnite(texte, *this).Lit()) {
    correcte = false;
    exposants = {};
    puissance = 0;
    throw EUniteError();
  }
}

void Tunite::CopieUnite(const Tunite &source) {
  Unite = source.Unite;
  correcte = source.correcte;
  avecUnite = source.avecUnite;
  genre = source.genre;
  exposants = source.exposants;
  puissance = source.puissance;
}

}  // namespace kvx::model
