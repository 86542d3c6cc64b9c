// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sauvegarde_sortie.h"

#include <cstdlib>
#include <utility>

namespace kvx::platform {

namespace {

// The program has one window and one closing sequence.
std::function<void()> gSauvegarde;
bool gInscrite = false;

void SauvegardeSiSortieBrutale() {
  // Taken out first: a second exit from inside the saves runs nothing again.
  if (std::function<void()> sauvegarde = std::exchange(gSauvegarde, nullptr)) sauvegarde();
}

}  // namespace

SauvegardeALaSortie::SauvegardeALaSortie(std::function<void()> sauvegarde) {
  gSauvegarde = std::move(sauvegarde);
  if (!gInscrite) gInscrite = std::atexit(SauvegardeSiSortieBrutale) == 0;
}

SauvegardeALaSortie::~SauvegardeALaSortie() {
  gSauvegarde = nullptr;
}

}  // namespace kvx::platform
