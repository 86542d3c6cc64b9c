// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/symbole.h"

#include <array>
#include <cstdint>

#include "model/texte_utf8.h"

namespace kvx::model {

namespace {

struct LettreSymbole {
  char32_t lettre;
  std::uint8_t code;
};

constexpr std::array<LettreSymbole, 31> kLettresSymbole{{
    {U'Γ', 152}, {U'Δ', 150}, {U'Θ', 155}, {U'Λ', 153}, {U'Ξ', 158}, {U'Π', 154}, {U'Σ', 156},
    {U'Φ', 151}, {U'Ψ', 159}, {U'Ω', 157}, {U'α', 128}, {U'β', 129}, {U'γ', 134}, {U'δ', 131},
    {U'ε', 132}, {U'ζ', 149}, {U'η', 135}, {U'θ', 140}, {U'κ', 107}, {U'λ', 136}, {U'μ', 181},
    {U'ν', 138}, {U'ξ', 147}, {U'π', 139}, {U'ρ', 141}, {U'σ', 142}, {U'τ', 143}, {U'φ', 133},
    {U'χ', 130}, {U'ψ', 148}, {U'ω', 144},
}};

}  // namespace

std::string TexteSymbole(std::string_view texte) {
  std::string s;
  s.reserve(texte.size());
  std::size_t longueur = 0;
  for (std::size_t pos = 0; pos < texte.size(); pos += longueur) {
    const char32_t c = LitCodePoint(texte, pos, longueur);
    bool remplace = false;
    for (const auto &l : kLettresSymbole) {
      if (l.lettre == c) {
        s += static_cast<char>(l.code);
        remplace = true;
        break;
      }
    }
    if (!remplace) s.append(texte.substr(pos, longueur));
  }
  return s;
}

}  // namespace kvx::model
