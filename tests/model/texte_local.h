// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Expected texts are written with "."; the tests run under both separators.
#include <string>

#include "model/separateur_decimal.h"

namespace kvx::model::test {

inline std::string Local(std::string s) {
  for (char &c : s)
    if (c == '.') c = SeparateurDecimal();
  return s;
}

// The same text with the separator the program does not use.
inline char AutreSeparateur() {
  return SeparateurDecimal() == ',' ? '.' : ',';
}

}  // namespace kvx::model::test
