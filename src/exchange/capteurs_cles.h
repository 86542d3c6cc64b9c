// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// Sections, keys and defaults of the sensor library file (".CPT"), in the
// order in which the program writes them. Names are matched without regard to
// letter case. A key missing from a sensor's section takes the default given
// here, which is not always the value of a sensor made from scratch (see
// model/capteur.h): a section written by hand without "1V" reads as 1 per volt.
namespace kvx::exchange::capteurs {

// The library beside the program has the program's name with this extension.
inline constexpr char kExtension[] = ".CPT";

// A library is a few kilobytes; anything far larger is not one and is refused
// before it fills the memory.
inline constexpr std::size_t kTailleMax = 1u << 20;

inline constexpr char kSectionCapteurs[] = "Capteurs";
inline constexpr char kCleNombre[] = "Nombre";  // sensors that follow
inline constexpr std::int32_t kNombreDefaut = 0;

// Then one section a sensor, "1", "2", ..., with these keys in this order.
inline constexpr char kCleEtalonnage[] = "Etalonnage";
inline constexpr bool kEtalonnageDefaut = false;
inline constexpr char kCleAmpli[] = "Ampli";
inline constexpr bool kAmpliDefaut = false;
inline constexpr char kCleAlim[] = "Alim";
inline constexpr bool kAlimDefaut = false;
inline constexpr char kCleValeur0V[] = "0V";
inline constexpr double kValeur0VDefaut = 0;
inline constexpr char kClePente[] = "1V";
inline constexpr double kPenteDefaut = 1;
inline constexpr char kCleNom[] = "Nom";  // missing: the symbol of a new sensor
inline constexpr char kCleUnite[] = "Unite";
inline constexpr char kUniteDefaut[] = "";
inline constexpr char kCleSignif[] = "Signif";
inline constexpr char kSignifDefaut[] = "";
inline constexpr char kCleAide[] = "Aide";
inline constexpr char kAideDefaut[] = "";
inline constexpr char kCleNumero[] = "Numero";  // box input 0..7; any other reads as 0
inline constexpr std::int32_t kNumeroDefaut = 0;
inline constexpr std::int32_t kNumeroMax = 7;
inline constexpr char kCleMasse[] = "Masse";
inline constexpr bool kMasseDefaut = true;

}  // namespace kvx::exchange::capteurs
