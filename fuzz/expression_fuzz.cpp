// SPDX-License-Identifier: GPL-3.0-or-later
// Expressions typed in the numeric fields: evaluation gives a finite value,
// NaN for a blank text, or EGetFloatError; never a crash or a deep stack.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/expression.h"
#include "model/nombres.h"
#include "model/separateur_decimal.h"

using namespace kvx::model;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  FixeSeparateurDecimal(data[0] & 1 ? ',' : '.');
  const std::string texte(reinterpret_cast<const char *>(data) + 1, size - 1);
  try {
    const double x = Evalue(texte);
    if (std::isnan(x) != SupprimeBlancs(texte).empty()) std::abort();
    if (!std::isnan(x) && !std::isfinite(x)) std::abort();
  } catch (const EGetFloatError &e) {
    if (std::string(e.what()).empty()) std::abort();
  }
  return 0;
}
