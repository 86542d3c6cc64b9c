// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts typed by the user: reading never fails hard, and what the
// program writes for an edit field or a transfer reads back to the value.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/nombres.h"
#include "model/separateur_decimal.h"

using namespace kvx::model;

namespace {

void Verifie(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the desktop's separator, the rest is the text.
  FixeSeparateurDecimal(data[0] & 1 ? ',' : '.');
  const std::string texte(reinterpret_cast<const char *>(data) + 1, size - 1);
  const double x = LitNombre(texte);
  double y = 0;
  const bool valide = EssaieNombre(texte, y);
  Verifie(valide == !std::isnan(y));
  if (!std::isnan(x)) {
    Verifie(std::isfinite(x));
    Verifie(valide && y == x);  // what LitNombre reads, EssaieNombre reads alike
  }
  for (double v : {x, y}) {
    if (!std::isfinite(v)) {
      Verifie(TexteEdition(v) == " ");
      continue;
    }
    // 17 digits hold every double: the edit text reads back exactly.
    Verifie(LitNombre(TexteEdition(v, 17)) == v);
    const double relu = LitNombre(TexteEdition(v, 4));
    if (std::fabs(v) > 1e-300) Verifie(std::fabs(relu - v) <= 5e-4 * std::fabs(v));
    // The transfer text always has ".", 7 digits.
    const std::string point = TextePoint(v);
    Verifie(point.find(',') == std::string::npos);
    FixeSeparateurDecimal('.');
    const double p = LitNombre(point);
    if (std::fabs(v) > 1e-300) Verifie(std::fabs(p - v) <= 5e-7 * std::fabs(v));
    FixeSeparateurDecimal(data[0] & 1 ? ',' : '.');
    TexteFixe(v, data[0] % 7, 1 + data[0] % 5);
  }
  CompleteA(texte, data[0] % 40);
  FiltreTouche(static_cast<char32_t>(data[size - 1]));
  return 0;
}
