// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The sensor library in memory: the sensors in the order the user sees them.
// The program keeps one, loaded at start and saved on the user's request; the
// sensor dialogs edit it in place. The list owns its sensors, each at a fixed
// address, so a dialog can keep editing the selected sensor while others are
// added.
#include <cstddef>
#include <memory>
#include <vector>

#include "model/capteur.h"

namespace kvx::model {

// The sensor dialogs count with one byte: a larger library cannot be shown.
inline constexpr std::size_t kNbCapteursMax = 255;

class TlisteCapteur {
 public:
  TlisteCapteur() = default;
  TlisteCapteur(TlisteCapteur &&) = default;
  TlisteCapteur &operator=(TlisteCapteur &&) = default;

  // Appends the sensor and returns it. Throws std::invalid_argument for an
  // empty pointer.
  TCapteur &Ajoute(std::unique_ptr<TCapteur> capteur);
  TCapteur &Ajoute(const TCapteur &capteur);
  // Removes and frees the sensor at this 0-based index; throws
  // std::out_of_range when there is none.
  void Supprime(std::size_t index);
  // Throws std::out_of_range when there is no sensor at this index.
  TCapteur &Capteur(std::size_t index);
  const TCapteur &Capteur(std::size_t index) const;
  std::size_t Nombre() const { return m_capteurs.size(); }
  // Frees every sensor.
  void Efface() { m_capteurs.clear(); }

 private:
  std::vector<std::unique_ptr<TCapteur>> m_capteurs;
};

}  // namespace kvx::model
