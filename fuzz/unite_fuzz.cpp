// SPDX-License-Identifier: GPL-3.0-or-later
// Unit texts from dialogs and configuration files: parsing refuses with
// EUniteError or decomposes, and every display of the result is defined.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/unite.h"

using namespace kvx::model;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 9) return 0;
  // The first 8 bytes are a value to show, the rest the unit text.
  double x = 0;
  std::memcpy(&x, data, sizeof x);
  const std::string texte(reinterpret_cast<const char *>(data) + 8, size - 8);
  Tunite u;
  u.Nom = "X";
  try {
    u.FixeUnite(texte);
    if (!u.correcte) std::abort();
  } catch (const EUniteError &) {
    if (u.correcte || u.Unite != texte) std::abort();
  }
  if (!texte.empty() && u.TexteUnite(0) != texte) std::abort();
  for (int p = -30; p <= 30; ++p) u.TexteUnite(p);
  u.TexteUnite(-128);
  u.TexteUnite(127);
  for (double v : {x, -x, x * 1e-9, x * 1e9, 0.0}) {
    const std::string t = u.TexteValeur(v);
    if (std::isnan(v) != t.empty()) std::abort();
    u.TexteValeurFixe(v);
    u.TexteAxe(v);
    u.TexteNomValeur(v);
  }
  return 0;
}
