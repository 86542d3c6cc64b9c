// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A sensor of the library: a named linear conversion from the volts of a box
// analog input to a physical quantity, with the input it is usually plugged
// into and how it is wired. The user picks one in the channel dialog; applying
// it copies its settings into the channel, which keeps no link to it. The
// sensor-choice dialog edits the library's sensors in place.
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/voie.h"

namespace kvx::model {

// What the sensor dialog lets the user type.
inline constexpr std::size_t kNomCapteurMax = 8;     // characters of the symbol
inline constexpr std::size_t kUniteCapteurMax = 20;  // characters of the unit

// A sensor made from scratch: a thermometer of 10 °C per volt on EA0.
inline constexpr double kValeur0VDefaut = 0;
inline constexpr double kPenteDefaut = 10;
inline constexpr char kNomCapteurDefaut[] = "T";
inline constexpr char kUniteCapteurDefaut[] = "°C";

// Shown when a sensor that needs the box's amplifier is applied: the user
// must plug the amplifier in, the program cannot tell.
inline constexpr char kMessageAmpli[] = "Nécessite un ampli physique branché sur prise F";

// The amplifier of the box is wired to this input, whatever the sensor says.
inline constexpr std::uint8_t kEntreeAmpli = 2;

struct TCapteur {
  bool Etalonnage = false;  // has a calibration potentiometer
  bool Ampli = false;       // needs the box's physical amplifier
  bool Alim = false;        // plugged into socket F
  double Valeur0V = kValeur0VDefaut;
  double Pente = kPenteDefaut;  // physical value per volt
  std::string Nom = kNomCapteurDefaut;
  std::string Unite = kUniteCapteurDefaut;
  std::string Signif;
  std::string Aide;         // shown by the channel dialog
  std::uint8_t Numero = 0;  // default box input, 0..7 for EA0..EA7
  bool Masse = false;       // needs "Ref Alt", the mid-scale reference

  bool operator==(const TCapteur &autre) const;
  bool operator!=(const TCapteur &autre) const { return !(*this == autre); }
};

// Every field but Numero: a sensor added as a copy of another starts on the
// input the destination already has.
void CopieCapteur(TCapteur &destination, const TCapteur &source);

// What applying a sensor leaves for the shell to do.
struct ResultatApplication {
  // kMessageAmpli when the sensor needs the amplifier, else empty.
  std::string message;
  // The program-wide input reference changed: every other analog channel
  // must choose its input again (ChoisitEntree(NumeroNuvex)).
  bool masseChangee = false;
};

// Copies the sensor into the channel: symbol, unit, description, help text,
// input (EA2 when it needs the amplifier), wiring flags and calibration, and
// sets the program-wide input reference to the sensor's. The channel's range
// is computed with the new reference, so it is right at once. A unit text the
// program cannot decompose is kept as text (the channel's `correcte` is then
// false) and the rest still applies: a sensor is never half applied. Nothing
// is shown; the caller shows the message it returns.
ResultatApplication AppliqueCapteur(Tvoie &voie, const TCapteur &capteur);

// Texts of the two sensor lists and of the slope label of the sensor dialog.
// The choice list: the symbol cut or padded with blanks to 6 characters,
// ": " and the description.
std::string LigneChoixCapteur(const TCapteur &capteur);
// The list of the channel dialog: symbol, one blank, description.
std::string LigneListeCapteur(const TCapteur &capteur);
// "ΔT/ΔV (°C/V)" for symbol "T" and unit "°C".
std::string TextePente(const std::string &nom, const std::string &unite);

}  // namespace kvx::model
