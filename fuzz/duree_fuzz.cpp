// SPDX-License-Identifier: GPL-3.0-or-later
// Durations typed in the acquisition settings: every text gives a duration
// or NaN, and every duration has a text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/duree.h"
#include "model/separateur_decimal.h"

using namespace kvx::model;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  FixeSeparateurDecimal(data[0] & 1 ? ',' : '.');
  const std::string texte(reinterpret_cast<const char *>(data) + 1, size - 1);
  const double t = LitDuree(texte);
  if (!std::isnan(t)) {
    if (!std::isfinite(t) || t == 0) std::abort();
    if (TexteDuree(t).empty()) std::abort();
  }
  if (size >= 9) {
    double v = 0;
    std::memcpy(&v, data + 1, sizeof v);
    if (std::isnan(v) != TexteDuree(v).empty()) std::abort();
  }
  return 0;
}
