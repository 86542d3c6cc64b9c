// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/voie.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/cles_voie.h"
#include "model/erreurs.h"
#include "model/masse.h"
#include "model/nombres.h"
#include "model/separateur_decimal.h"

namespace kvx::model {

namespace {

// Full scale of each box input in volts, before the reference halves it:
// EA0..EA3 0-5 V (socket A/D), EA4 and EA5 0-100 mV (socket B), EA6 0-1 V and
// EA7 0-2 V (socket C).
constexpr std::array<double, kNbEntreesAnalogiques> kPleineEchelle = {5.0, 5.0, 5.0, 5.0,
                                                                      0.1, 0.1, 1.0, 2.0};
constexpr double kFacteurGain6 = 6.0;
// With "Ref Alt" the box's zero sits between codes 127 and 128.
constexpr double kCodeMilieu = 127.5;

// Scale powers beyond these are no range of this box; they only keep the
// arithmetic finite for absurd calibrations.
constexpr int kPuissanceLectureMax = 33;

}  // namespace

std::int32_t CouleurParDefaut(int numero) {
  static constexpr std::array<std::int32_t, 10> kCouleurs = {
      kCouleurNoir,  kCouleurNoir,   kCouleurNoir, kCouleurRouge, kCouleurNoir,
      kCouleurRouge, kCouleurMarine, kCouleurVert, kCouleurNoir,  kCouleurBleu};
  if (numero < 1 || numero > 9) return kCouleurNoir;
  return kCouleurs[static_cast<std::size_t>(numero)];
}

Tvoie::Tvoie(int numero) {
  Nom = "V" + std::to_string(numero);
  FixeUnite("V");
  ChoisitEntree(numero - kVoieV1);
  Couleur = CouleurParDefaut(numero);
  // From the start, not only after a configuration: the read-outs keep one
  // format for the range the channel has.
  CalculeLecture();
}

Tvoie::Tvoie(const std::string &symbole, const std::string &unite, const std::string &signif,
             int numero)
    : Tvoie(numero) {
  Active = false;
  Nom = symbole;
  FixeUnite(unite);
  Signif = signif;
}

std::string Tvoie::NomEntree() const {
  return NumeroNuvex >= 0 ? "EA" + std::to_string(NumeroNuvex) : std::string();
}

std::string Tvoie::TexteValeurCourante() const {
  const std::string s = TexteFixe(valeurCourante / echelleLecture, 5 - chiffresLecture, 3);
  // Pad in front of the program's own separator, so that read-outs line up
  // on a French desktop too.
  const std::size_t found = s.find(SeparateurDecimal());
  const int p = found == std::string::npos ? 0 : static_cast<int>(found) + 1;
  if (chiffresLecture - p >= 0)
    return std::string(static_cast<std::size_t>(chiffresLecture - p + 1), ' ') + s;
  return s;
}

double Tvoie::ValeurDeCode(std::int32_t code) const {
  const double v = TensionDeCode(code);
  return Capteur ? UnVolt * v + Offset : v;
}

double Tvoie::TensionDeCode(std::int32_t code) const {
  return code * pasCode - m_decalage;
}

void Tvoie::CalculeEchelle() {
  if (NumeroNuvex >= 0) {
    Maxi = ValeurDeCode(kCodeMax);
    Mini = ValeurDeCode(0);
    if (Maxi < Mini) std::swap(Maxi, Mini);  // a sensor with a negative slope
  }
  CalculeLecture();
}

void Tvoie::CalculeLecture() {
  const double m = std::max(std::fabs(Maxi), std::fabs(Mini));
  if (!(m > 0) || !std::isfinite(m)) {
    // A range of nothing (a calibration of slope 0) has no size to scale to.
    echelleLecture = 1;
    chiffresLecture = 2;
    return;
  }
  int e = static_cast<int>(std::floor(std::log10(m)));
  // log10 may miss an exact power of ten by one unit of rounding.
  if (std::pow(10.0, e + 1) <= m) ++e;
  if (std::pow(10.0, e) > m) --e;
  int k = e >= 0 ? e / 3 : -((-e + 2) / 3);
  k = std::clamp(k, -kPuissanceLectureMax, kPuissanceLectureMax);
  echelleLecture = std::pow(10.0, 3 * k);
  const double reduit = m / echelleLecture;
  int chiffres = static_cast<int>(std::floor(std::log10(reduit)));
  if (std::pow(10.0, chiffres + 1) <= reduit) ++chiffres;
  chiffresLecture = std::clamp(chiffres + 2, 2, 4);
}

std::string Tvoie::TexteCalibre() const {
  if (Maxi * Mini < 0)
    return "±" + TexteValeur(std::fabs(Maxi) > std::fabs(Mini) ? std::fabs(Maxi) : std::fabs(Mini));
  return TexteValeur(Maxi > 0 ? Maxi : Mini);
}

std::string TexteCadre(const Tvoie &voie) {
  const std::string debut = voie.Nom + "=" + voie.NomEntree();
  if (!voie.Capteur || voie.NumeroNuvex < 0) return debut + " " + voie.TexteCalibre();
  const int p = static_cast<int>(std::lround(std::log10(voie.echelleLecture)));
  const std::string unite = voie.TexteUnite(p);
  return unite.empty() ? debut : debut + " (" + unite + ")";
}

void Tvoie::ChoisitEntree(std::int32_t e) {
  if (e >= kNbEntreesAnalogiques) e = 0;
  NumeroNuvex = e;
  if (e < 0) return;
  double pleine = kPleineEchelle[static_cast<std::size_t>(e)];
  if (gain6 && e < kNbEntreesGain6) pleine *= kFacteurGain6;
  double bas = 0;
  if (Masse()) {
    pleine /= 2;
    bas = -pleine;
  }
  pasCode = (pleine - bas) / kCodeMax;
  m_decalage = Masse() ? kCodeMilieu * pasCode : 0;
  CalculeEchelle();
}

void Tvoie::FixeGain6(bool b) {
  if (NumeroNuvex < 0 || NumeroNuvex >= kNbEntreesGain6) return;
  gain6 = b;
  ChoisitEntree(NumeroNuvex);
}

void Tvoie::FixeMaxi(double x) {
  if (NumeroNuvex < 0) Maxi = x;
}

void Tvoie::FixeMini(double x) {
  if (NumeroNuvex < 0) Mini = x;
}

void Tvoie::LitSection(const std::string &section, const IniSections &ini) {
  Etalonnage = ini.readBool(section, cles::kEtalonnage, false);
  Capteur = ini.readBool(section, cles::kCapteur, false);
  Nom = ini.readString(section, cles::kNom, Nom);
  try {
    FixeUnite(ini.readString(section, cles::kUnite, Unite));
  } catch (const EUniteError &) {
    // The unit keeps its text and shows in power-of-ten form; one mistyped
    // unit must not stop the rest of the configuration from loading.
  }
  Signif = ini.readString(section, cles::kSignif, "");
  FixeMini(ini.readFloat(section, cles::kMini, cles::kMiniDefaut));
  FixeMaxi(ini.readFloat(section, cles::kMaxi, cles::kMaxiDefaut));
  Offset = ini.readFloat(section, cles::kOffset, cles::kOffsetDefaut);
  UnVolt = ini.readFloat(section, cles::kUnVolt, cles::kUnVoltDefaut);
  Active = ini.readBool(section, cles::kActive, false);
  // A missing number keeps the channel's own input: taking EA0 would turn
  // the keyboard or the analog output into a box input.
  ChoisitEntree(ini.readInteger(section, cles::kNumeroNuvex, NumeroNuvex));
  Couleur = ini.readInteger(section, cles::kCouleur, Couleur);
  const std::int32_t motif = ini.readInteger(section, cles::kMotif, 0);
  Motif = motif >= 0 && motif < kNbMotifs ? static_cast<std::uint8_t>(motif) : 0;
  CalculeEchelle();
}

void Tvoie::EcritSection(const std::string &section, IniSections &ini) {
  if (!Capteur) {
    // No calibration applies: the file, and the channel, say so plainly.
    Offset = 0;
    UnVolt = 1;
  }
  ini.writeString(section, cles::kNom, Nom);
  ini.writeString(section, cles::kUnite, Unite);
  ini.writeString(section, cles::kSignif, Signif);
  ini.writeFloat(section, cles::kMini, Mini);
  ini.writeFloat(section, cles::kMaxi, Maxi);
  ini.writeFloat(section, cles::kOffset, Offset);
  ini.writeFloat(section, cles::kUnVolt, UnVolt);
  ini.writeInteger(section, cles::kNumeroNuvex, NumeroNuvex);
  ini.writeBool(section, cles::kActive, Active);
  ini.writeInteger(section, cles::kCouleur, Couleur);
  ini.writeInteger(section, cles::kMotif, Motif);
  ini.writeBool(section, cles::kCapteur, Capteur);
  ini.writeBool(section, cles::kEtalonnage, Etalonnage);
}

void TvoieNonEA::CalculeEchelle() {
  if (!std::isfinite(Mini)) FixeMini(0);
  if (!(Mini < Maxi) || !std::isfinite(Maxi)) FixeMaxi(Mini + 1);
  CalculeLecture();
}

TbaseDeTemps::TbaseDeTemps() : TvoieNonEA("t", "s", "durée", kVoieTemps) {
  ChoisitEntree(-1);
}

void TbaseDeTemps::LitSection(const std::string &section, const IniSections &ini) {
  TvoieNonEA::LitSection(section, ini);
  FixeMaxi(ini.readFloat(section, cles::kDuree, cles::kDureeDefaut));
}

void TbaseDeTemps::EcritSection(const std::string &section, IniSections &ini) {
  TvoieNonEA::EcritSection(section, ini);
  ini.writeFloat(section, cles::kDuree, Maxi);
}

TentreeClavier::TentreeClavier() : TvoieNonEA("X", "", "", kVoieClavier) {}

std::string TentreeClavier::NomEntree() const {
  return "Clavier";
}

}  // namespace kvx::model
