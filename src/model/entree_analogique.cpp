// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/entree_analogique.h"

#include <array>
#include <cmath>

#include "model/symbole.h"
#include "model/texte_utf8.h"

namespace kvx::model {

namespace {

struct Plages {
  const char *refAltGain6, *refAlt, *ref0VGain6, *ref0V;
};

// Inputs 0..3 take the ×6 module; 4..7 do not, so both columns agree there.
constexpr std::array<Plages, kNbEntreesBoitier> kPlages{{
    {"±15 V module", "±2,5 V prise A", "0-30 V module", "0-5 V prise A"},
    {"±15 V module", "±2,5 V prise A", "0-30 V module", "0-5 V prise A"},
    {"±15 V module", "±2,5 V prise ", "0-30 V module", "0-5 V prise "},
    {"±15 V module", "±2,5 V prise ", "0-30 V module", "0-5 V prise "},
    {"±50 mV prise B", "±50 mV prise B", "0-100 mV prise B", "0-100 mV prise B"},
    {"±50 mV prise B", "±50 mV prise B", "0-100 mV prise B", "0-100 mV prise B"},
    {"±500 mV prise C", "±500 mV prise C", "0-1 V prise C", "0-1 V prise C"},
    {"±1 V prise C", "±1 V prise C", "0-2 V prise C", "0-2 V prise C"},
}};

// Beyond the ASCII letters and digits, the symbol takes these one-byte codes:
// as letters of the analysis program's symbol font, or as the characters of
// the system code page.
constexpr std::array<std::uint8_t, 30> kCodesAdmis{
    147, 148, 152, 155, 158, 160, 163, 166, 168, 169, 177, 178, 179, 180, 181,
    182, 183, 184, 187, 188, 189, 190, 192, 193, 195, 196, 198, 199, 200, 201};

bool CodeAdmis(unsigned code) {
  for (std::uint8_t c : kCodesAdmis)
    if (c == code) return true;
  return false;
}

}  // namespace

std::string TexteEntreeAnalogique(int entree, bool refAlt, bool gain6, bool alim) {
  if (entree < 0 || entree >= kNbEntreesBoitier) return {};
  const Plages &p = kPlages[static_cast<std::size_t>(entree)];
  const bool module = gain6 && entree < 4;
  std::string texte = "EA" + std::to_string(entree) + " ";
  if (refAlt)
    texte += module ? p.refAltGain6 : p.refAlt;
  else
    texte += module ? p.ref0VGain6 : p.ref0V;
  if ((entree == 2 || entree == 3) && !module) texte += alim ? "F" : "D";
  return texte;
}

bool CaractereSymboleAdmis(char32_t c) {
  if ((c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z')) return true;
  if (c == U'#' || c == U'$' || c == U'%' || c == U'\'' || c == 8 || c == 12) return true;
  if (c >= 160 && c <= 255) return CodeAdmis(static_cast<unsigned>(c));
  // A Greek letter the symbol font draws: its font code decides.
  std::string lettre;
  AjouteCodePoint(lettre, c);
  const std::string code = TexteSymbole(lettre);
  if (code.size() == 1) return CodeAdmis(static_cast<unsigned char>(code[0]));
  return false;
}

ResultatEtalonnage EtalonneDeuxPoints(double x1, double y1, double x2, double y2, double &offset,
                                      double &pente) {
  if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2) || y1 == y2)
    return ResultatEtalonnage::NonDefinis;
  if (!(std::fabs(x2 - x1) > kEcartEtalonnageMin)) return ResultatEtalonnage::Imprecis;
  const double p = (y2 - y1) / (x2 - x1);
  const double o = y2 - p * x2;
  if (!std::isfinite(p) || !std::isfinite(o) || p == 0) return ResultatEtalonnage::NonDefinis;
  pente = p;
  offset = o;
  return ResultatEtalonnage::Calcule;
}

}  // namespace kvx::model
