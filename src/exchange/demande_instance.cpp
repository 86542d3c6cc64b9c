// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/demande_instance.h"

#include <cstdint>

#include "exchange/text_encoding.h"

namespace kvx::exchange {

bool EstDemandeValide(std::string_view texte) {
  if (texte.size() > LecteurDemandes::kTailleMax) return false;
  for (const char c : texte) {
    const auto byte = static_cast<std::uint8_t>(c);
    if ((byte < 0x20 && c != '\t') || byte == 0x7F) return false;
  }
  return isValidUtf8(texte);
}

std::vector<std::optional<std::string>> LecteurDemandes::ajoute(std::string_view octets) {
  std::vector<std::optional<std::string>> demandes;
  while (!octets.empty()) {
    m_entamee = true;
    const auto fin = octets.find('\n');
    const auto morceau = octets.substr(0, fin);
    // An overlong request is not kept in memory: its bytes are counted out.
    if (!m_tropLongue && m_ligne.size() + morceau.size() > kTailleMax + 1) {
      m_tropLongue = true;
      m_ligne.clear();
    }
    if (!m_tropLongue) m_ligne.append(morceau);
    if (fin == std::string_view::npos) break;
    demandes.push_back(complete());
    octets.remove_prefix(fin + 1);
  }
  return demandes;
}

std::optional<std::optional<std::string>> LecteurDemandes::termine() {
  if (!m_entamee) return std::nullopt;
  m_ligne.clear();
  m_tropLongue = false;
  m_entamee = false;
  return std::optional<std::string>();
}

std::optional<std::string> LecteurDemandes::complete() {
  std::optional<std::string> demande;
  if (!m_tropLongue) {
    if (!m_ligne.empty() && m_ligne.back() == '\r') m_ligne.pop_back();
    if (EstDemandeValide(m_ligne)) demande = m_ligne;
  }
  m_ligne.clear();
  m_tropLongue = false;
  m_entamee = false;
  return demande;
}

}  // namespace kvx::exchange
