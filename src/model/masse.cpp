// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/masse.h"

namespace kvx::model {

namespace {
// Program-wide: the box has one reference for all its inputs.
bool gMasse = kMasseDefaut;
}  // namespace

bool Masse() {
  return gMasse;
}

void FixeMasse(bool refAlt) {
  gMasse = refAlt;
}

}  // namespace kvx::model
