// SPDX-License-Identifier: GPL-3.0-or-later
// Recursive-descent evaluator over a fixed stack of values.
#include "model/expression.h"

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "model/nombres.h"
#include "model/texte_utf8.h"

namespace kvx::model {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr std::size_t kLongueurMaxIdentificateur = 8;

bool EstChiffre(char32_t c) {
  return c >= U'0' && c <= U'9';
}

bool EstLettreIdentificateur(char32_t c) {
  return c == U'P' || c == U'p' || c == U'I' || c == U'i' || c == U'Π' || c == U'π';
}

bool EstPrefixeNombre(char32_t c) {
  static constexpr std::u32string_view kPrefixes = U"EGMPTYZafkmnpyzµ";
  return c != 0 && kPrefixes.find(c) != std::u32string_view::npos;
}

class Evaluateur {
 public:
  explicit Evaluateur(std::vector<char32_t> texte) : m_texte(std::move(texte)) {}

  double Resultat() {
    Expression();
    if (m_pos != m_texte.size()) throw EGetFloatError(kErreurNombre);  // text left over
    if (m_taille == 0) throw EGetFloatError(kErreurInterne);
    return m_pile[0];
  }

 private:
  char32_t Courant() const { return m_pos < m_texte.size() ? m_texte[m_pos] : 0; }

  void Empile(double x) {
    if (m_taille == kTaillePileExpression) throw EGetFloatError(kErreurComplexe);
    m_pile[m_taille++] = x;
  }

  double Depile() {
    if (m_taille == 0) throw EGetFloatError(kErreurInterne);
    return m_pile[--m_taille];
  }

  void Applique(char32_t op) {
    const double droite = Depile();
    const double gauche = Depile();
    double r = 0;
    switch (op) {
      case U'+':
        r = gauche + droite;
        break;
      case U'-':
        r = gauche - droite;
        break;
      case U'*':
        r = gauche * droite;
        break;
      default:
        if (droite == 0) throw EGetFloatError(kErreurDivisionParZero);
        r = gauche / droite;
        break;
    }
    if (!std::isfinite(r)) throw EGetFloatError(kErreurDepassement);
    Empile(r);
  }

  void Expression() {
    const char32_t signe = Courant();
    if (signe == U'+' || signe == U'-') ++m_pos;
    Terme();
    if (signe == U'-') Empile(-Depile());
    while (Courant() == U'+' || Courant() == U'-') {
      const char32_t op = Courant();
      ++m_pos;
      Terme();
      Applique(op);
    }
  }

  void Terme() {
    Facteur();
    while (Courant() == U'*' || Courant() == U'/') {
      const char32_t op = Courant();
      ++m_pos;
      Facteur();
      Applique(op);
    }
  }

  void Facteur() {
    const char32_t c = Courant();
    if (c == U'P' || c == U'p' || c == U'Π' || c == U'π') return Identificateur();
    if (EstChiffre(c) || c == U'+' || c == U'-' || c == U'.') return Nombre();
    if (c != U'(') throw EGetFloatError(kErreurParentheseOuvrante);
    if (++m_profondeur > kProfondeurMaxExpression) throw EGetFloatError(kErreurImbrication);
    ++m_pos;
    Expression();
    if (Courant() == U')')
      ++m_pos;
    else if (Courant() != 0)  // the end of the text closes every parenthesis
      throw EGetFloatError(kErreurParentheseFermante);
    --m_profondeur;
  }

  void Identificateur() {
    std::u32string nom;
    while (EstLettreIdentificateur(Courant())) {
      if (nom.size() == kLongueurMaxIdentificateur) throw EGetFloatError(kErreurIdentificateur);
      const char32_t c = Courant();
      nom += c == U'p' ? U'P' : c == U'i' ? U'I' : c == U'π' ? U'Π' : c;
      ++m_pos;
    }
    if (nom != U"PI" && nom != U"Π") throw EGetFloatError(kErreurNombre);
    Empile(kPi);
  }

  // Digits, a decimal part, then an exponent or one prefix letter; the text
  // is read as the number fields read it (2m is 0.002, 5k is 5000).
  void Nombre() {
    const std::size_t debut = m_pos;
    while (EstChiffre(Courant())) ++m_pos;
    if (Courant() == U'.') {
      ++m_pos;
      while (EstChiffre(Courant())) ++m_pos;
    }
    if (Courant() == U'E' || Courant() == U'e') {
      ++m_pos;
      if (Courant() == U'+' || Courant() == U'-') ++m_pos;
      while (EstChiffre(Courant())) ++m_pos;
    } else if (EstPrefixeNombre(Courant())) {
      ++m_pos;
    }
    std::string texte;
    for (std::size_t i = debut; i < m_pos; ++i) AjouteCodePoint(texte, m_texte[i]);
    double x = 0;
    if (!EssaieNombre(texte, x)) throw EGetFloatError(kErreurNombre);
    Empile(x);
  }

  std::vector<char32_t> m_texte;
  std::size_t m_pos = 0;
  std::array<double, kTaillePileExpression> m_pile{};
  int m_taille = 0;
  int m_profondeur = 0;
};

}  // namespace

double Evalue(std::string_view texte) {
  const std::string s = SupprimeBlancs(texte);
  if (s.empty()) return std::numeric_limits<double>::quiet_NaN();
  if (s.size() > kLongueurMaxExpression) throw EGetFloatError(kErreurTropLongue);
  std::vector<char32_t> points;
  std::size_t longueur = 0;
  for (std::size_t pos = 0; pos < s.size(); pos += longueur) {
    const char32_t c = LitCodePoint(s, pos, longueur);
    points.push_back(c == U',' ? U'.' : c);
  }
  return Evaluateur(std::move(points)).Resultat();
}

}  // namespace kvx::model
