#include "exchange/demande_instance.h"

#include <cstdint>

namespace kvx::exchange {

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool validUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<std::uint8_t>(bytes[i]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07u;
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<std::uint8_t>(bytes[i + k]);
      if ((next & 0xC0u) != 0x80u) return false;
      code = (code << 6) | (next & 0x3Fu);
    }
    if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += length;
  }
  return true;
}

}  // namespace

bool EstDemandeValide(std::string_view texte) {
  if (texte.size() > LecteurDemandes::kTailleMax) return false;
  for (const char c : texte) {
    const auto byte = static_cast<std::uint8_t>(c);
    if ((byte < 0x20 && c != '\t') || byte == 0x7F) return false;
  }
  return validUtf8(texte);
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
  return complete();
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
