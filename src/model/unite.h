// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A physical unit and the symbol of a quantity: the base of every channel.
// The unit text is decomposed into the seven SI base units with a power of
// ten, so that a value can be shown with the prefix that suits its size
// (12.35 mV, 1.5 kHz) and an axis titled with the unit of its scale.
#include <array>
#include <cstdint>
#include <string>

#include "model/erreurs.h"

namespace kvx::model {

// Positions in `exposants`.
enum BaseSI { kMetre = 0, kKilogramme, kSeconde, kAmpere, kKelvin, kMole, kCandela };
inline constexpr int kNbBasesSI = 7;

// Values of `genre`.
enum GenreUnite : std::uint8_t {
  kGenreAucun = 0,
  kGenreDegre = 1,
  kGenreRadian = 2,
  kGenreDecibel = 3
};

class Tunite {
 public:
  Tunite() = default;
  virtual ~Tunite() = default;
  Tunite(const Tunite &) = default;
  Tunite &operator=(const Tunite &) = default;
  Tunite(Tunite &&) = default;
  Tunite &operator=(Tunite &&) = default;

  // Sets `Unite` and decomposes it. A text that cannot be decomposed keeps
  // its text, leaves `correcte` false and throws EUniteError ("Erreur unité").
  void FixeUnite(const std::string &texte);

  // Copies every field except `Nom`.
  void CopieUnite(const Tunite &source);

  // The unit text for values divided by 10^p (p = 0 gives the unit itself).
  std::string TexteUnite(int p) const;

  // A value with prefix and unit ("12.35 mV"); NaN gives an empty text and a
  // value beyond the prefixes "???".
  std::string TexteValeur(double x) const;

  // x with 2 decimals (3 significant digits at most) and the unit without a
  // blank ("2.50V"); for range texts.
  std::string TexteValeurFixe(double x) const;

  // Axis title for a scale x: Nom(unit for x) or Nom alone.
  std::string TexteAxe(double x) const;

  // Nom=value with prefix and unit.
  virtual std::string TexteNomValeur(double x) const;

  std::string Unite;
  bool correcte = true;
  bool avecUnite = false;
  std::uint8_t genre = kGenreAucun;
  std::array<std::int8_t, kNbBasesSI> exposants{};
  std::int32_t puissance = 0;
  std::string Nom;
};

}  // namespace kvx::model
