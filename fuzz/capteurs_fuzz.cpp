// SPDX-License-Identifier: GPL-3.0-or-later
// Reads any bytes as a sensor library, as the program does at start: the
// library is never empty nor larger than the dialogs can show, every input is
// one of the box's, and what is saved reads back as the same sensors.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exchange/fichier_capteurs.h"
#include "exchange/ini_document.h"

namespace {

bool MemeNombre(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  if (a == b) return true;
  // Saved with 15 significant digits.
  return std::fabs(a - b) <= 1e-14 * std::max(std::fabs(a), std::fabs(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  using kvx::exchange::IniDocument;
  using kvx::exchange::IniError;
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  IniDocument doc;
  try {
    doc = IniDocument::parse(bytes);
  } catch (const IniError &) {
    return 0;  // refused as too large: the program then uses one sensor
  }
  const kvx::model::TlisteCapteur liste = kvx::exchange::LitCapteurs(doc);
  if (liste.Nombre() < 1 || liste.Nombre() > kvx::model::kNbCapteursMax) std::abort();
  for (std::size_t i = 0; i < liste.Nombre(); ++i)
    if (liste.Capteur(i).Numero > 7) std::abort();

  IniDocument ecrit;
  kvx::exchange::EcritCapteurs(ecrit, liste);
  const kvx::model::TlisteCapteur relue =
      kvx::exchange::LitCapteurs(IniDocument::parse(ecrit.serialize()));
  if (relue.Nombre() != liste.Nombre()) std::abort();
  for (std::size_t i = 0; i < liste.Nombre(); ++i) {
    kvx::model::TCapteur a = liste.Capteur(i), b = relue.Capteur(i);
    if (!MemeNombre(a.Valeur0V, b.Valeur0V) || !MemeNombre(a.Pente, b.Pente)) std::abort();
    a.Valeur0V = b.Valeur0V = a.Pente = b.Pente = 0;
    if (a != b) std::abort();
  }
  return 0;
}
