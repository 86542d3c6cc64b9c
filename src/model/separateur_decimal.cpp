// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/separateur_decimal.h"

namespace kvx::model {

namespace {
// Program-wide: the desktop has one decimal separator.
char gSeparateur = '.';
}  // namespace

char SeparateurDecimal() {
  return gSeparateur;
}

void FixeSeparateurDecimal(char separator) {
  gSeparateur = separator == ',' ? ',' : '.';
}

}  // namespace kvx::model
