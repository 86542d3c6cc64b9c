// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/liste_capteurs.h"

#include <stdexcept>
#include <utility>

namespace kvx::model {

namespace {

[[noreturn]] void PasDeCapteur(std::size_t index) {
  throw std::out_of_range("Pas de capteur n° " + std::to_string(index + 1));
}

}  // namespace

TCapteur &TlisteCapteur::Ajoute(std::unique_ptr<TCapteur> capteur) {
  if (!capteur) throw std::invalid_argument("Capteur absent");
  m_capteurs.push_back(std::move(capteur));
  return *m_capteurs.back();
}

TCapteur &TlisteCapteur::Ajoute(const TCapteur &capteur) {
  return Ajoute(std::make_unique<TCapteur>(capteur));
}

void TlisteCapteur::Supprime(std::size_t index) {
  if (index >= m_capteurs.size()) PasDeCapteur(index);
  m_capteurs.erase(m_capteurs.begin() + static_cast<std::ptrdiff_t>(index));
}

TCapteur &TlisteCapteur::Capteur(std::size_t index) {
  if (index >= m_capteurs.size()) PasDeCapteur(index);
  return *m_capteurs[index];
}

const TCapteur &TlisteCapteur::Capteur(std::size_t index) const {
  if (index >= m_capteurs.size()) PasDeCapteur(index);
  return *m_capteurs[index];
}

}  // namespace kvx::model
