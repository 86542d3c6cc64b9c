// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One channel of an experiment: the time base, the box's analog output, a
// value typed at the keyboard, the binary inputs, one of the box's eight
// analog inputs, or the optical fork. A channel knows the box input it reads,
// turns the box's 8-bit codes into volts and into its physical quantity,
// holds its displayed range and read-out format, its colour and marker, and
// two fixed arrays of recorded values (nothing is allocated per sample).
//
// The graph creates one channel per slot at start-up and keeps it to the
// end; the acquisition engine fills the arrays through ValeurDeCode, the
// graph draws them, and the configuration file saves and restores each
// channel's settings through LitSection/EcritSection. The analog inputs V1 to
// V4 are plain Tvoie; the other kinds derive from it.
#include <array>
#include <cstdint>
#include <string>

#include "model/ini_sections.h"
#include "model/unite.h"

namespace kvx::model {

// Capacity of the value arrays; a recording holds at most kMaxPoints points.
inline constexpr int kNbValeurs = 6401;
inline constexpr int kMaxPoints = 6400;
using TableauValeurs = std::array<double, kNbValeurs>;

// The box's analog inputs EA0..EA7 and its 8-bit converter.
inline constexpr int kNbEntreesAnalogiques = 8;
inline constexpr int kCodeMax = 255;
// The ×6 connection module exists for EA0..EA3 only.
inline constexpr int kNbEntreesGain6 = 4;

// Slots of the graph, numbered the same in the configuration file and the
// dialogs; a channel is built with its slot as its number.
enum NumeroVoie : int {
  kVoieTemps = 1,
  kVoieSortieAnalogique = 2,
  kVoieClavier = 3,
  kVoieEntreeBinaire = 4,
  kVoieV1 = 5,
  kVoieV4 = 8,
  kVoieVeltor = 9,
};

// Colours as configuration files keep them: 0x00BBGGRR, and system colours
// with the top byte 0xFF.
inline constexpr std::int32_t kCouleurNoir = 0x000000;
inline constexpr std::int32_t kCouleurRouge = 0x0000FF;
inline constexpr std::int32_t kCouleurMarine = 0x800000;
inline constexpr std::int32_t kCouleurVert = 0x008000;
inline constexpr std::int32_t kCouleurBleu = 0xFF0000;

// The colour a channel of this slot starts with (black outside 1..9).
std::int32_t CouleurParDefaut(int numero);

// Marker styles 0..4: "Croix", "Croix diag.", "Cercle", "Carré", "Losange".
inline constexpr std::uint8_t kNbMotifs = 5;

class Tvoie : public Tunite {
 public:
  // Channel number n (a graph slot): symbol "V" + n, unit "V", range 0..1,
  // no calibration, the slot's colour, and the box input n − 5 (so slots 5..8
  // read EA0..EA3 and the others no input at all).
  explicit Tvoie(int numero);
  // As the graph builds its slots: then not active, with this symbol, unit
  // text and description.
  Tvoie(const std::string &symbole, const std::string &unite, const std::string &signif,
        int numero);
  ~Tvoie() override = default;
  Tvoie(const Tvoie &) = default;
  Tvoie &operator=(const Tvoie &) = default;

  // "EA0".."EA7" for a box input, else empty.
  virtual std::string NomEntree() const;
  // The read-out text of valeurCourante at echelleLecture, padded so that
  // the decimal separators of successive read-outs line up.
  virtual std::string TexteValeurCourante() const;
  // The physical value of a converter code: the voltage, through the
  // calibration when Capteur is set. Cheap: called for every sample.
  virtual double ValeurDeCode(std::int32_t code) const;
  // The voltage of a converter code: code 0 is the low end of the range and
  // code 255 the high end.
  virtual double TensionDeCode(std::int32_t code) const;
  // Derives the range of a box input from its codes (through the
  // calibration), then the read-out scale and digits.
  virtual void CalculeEchelle();
  // Reads and writes the channel's keys in a configuration section.
  virtual void LitSection(const std::string &section, const IniSections &ini);
  virtual void EcritSection(const std::string &section, IniSections &ini);
  // The range as text: "±2.5 V", "5 V".
  virtual std::string TexteCalibre() const;

  // Selects box input e (above 7 means EA0; negative: no box input) and its
  // converter step for the program's input reference and the ×6 module.
  void ChoisitEntree(std::int32_t e);
  // The ×6 module, for EA0..EA3 only; elsewhere nothing happens.
  void FixeGain6(bool b);
  // The range of a channel that is not a box input; a box input's range
  // follows from its input, so there they do nothing.
  void FixeMaxi(double x);
  void FixeMini(double x);

  std::int32_t NumeroNuvex = 0;
  double Mini = 0;
  double Maxi = 1;
  double pasCode = 0;
  bool gain6 = false;
  double Offset = 0;
  double UnVolt = 1;
  double valeurLue = 0;
  double valeurCourante = 0;
  bool Etalonnage = false;
  bool ampli = false;
  bool alim = false;
  std::string Signif;
  std::string aide;
  double echelleLecture = 1;
  std::int32_t chiffresLecture = 0;
  TableauValeurs valeurs{};
  TableauValeurs tampon{};
  bool Active = false;
  std::int32_t Couleur = kCouleurNoir;
  std::uint8_t Motif = 0;
  bool Capteur = false;

 protected:
  // Read-out scale and digits from the larger range bound.
  void CalculeLecture();

 private:
  // The voltage of code 0 below the mid-scale reference, fixed with pasCode
  // when the input is chosen so that both always agree.
  double m_decalage = 0;
};

// The caption of a channel's box in the voltmeter column: "V1=EA0 ±2.5 V",
// the input and its range. A calibrated input's range is the converter's
// span carried through the calibration, a figure no sensor reaches ("±567.6
// °C"): its caption names the unit of the read-out instead, "T=EA0 (°C)",
// with the prefix of the read-out's scale.
std::string TexteCadre(const Tvoie &voie);

// A channel that is not a box analog input: its range is set, not derived
// from codes; an empty or reversed range is repaired to Mini .. Mini + 1.
class TvoieNonEA : public Tvoie {
 public:
  using Tvoie::Tvoie;
  void CalculeEchelle() override;
};

// The time base "t" in seconds; its range is the scan duration.
class TbaseDeTemps : public TvoieNonEA {
 public:
  TbaseDeTemps();
  // Plus "Durée", the duration in seconds, kept as Maxi.
  void LitSection(const std::string &section, const IniSections &ini) override;
  void EcritSection(const std::string &section, IniSections &ini) override;
};

// Values typed at the keyboard, "X".
class TentreeClavier : public TvoieNonEA {
 public:
  TentreeClavier();
  std::string NomEntree() const override;
};

}  // namespace kvx::model
