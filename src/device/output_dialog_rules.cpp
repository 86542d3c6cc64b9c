// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/output_dialog_rules.h"

#include <algorithm>

#include "model/nombres.h"
#include "model/sortie_analogique.h"

namespace kvx::device {

namespace {

// "10.00 s" is the longest step shown.
constexpr int kChiffresDeltat = 4;

}  // namespace

OutputLevels StartMoved(OutputLevels l) {
  l.debut = std::clamp(l.debut, 0, kCodeSortieMax);
  l.fin = std::clamp(l.fin, 0, kCodeSortieMax);
  if (l.debut > l.fin - kEcartSortieMin) l.debut = l.fin - kEcartSortieMin;
  if (l.debut < 0) {
    l.debut = 0;
    l.fin = kEcartSortieMin;
  }
  return l;
}

OutputLevels EndMoved(OutputLevels l) {
  l.debut = std::clamp(l.debut, 0, kCodeSortieMax);
  l.fin = std::clamp(l.fin, 0, kCodeSortieMax);
  if (l.debut > l.fin - kEcartSortieMin) l.fin = l.debut + kEcartSortieMin;
  if (l.fin > kCodeSortieMax) {
    l.fin = kCodeSortieMax;
    l.debut = kCodeSortieMax - kEcartSortieMin;
  }
  return l;
}

int DeltatDown(int deltat) {
  return deltat > kDeltatMin ? std::max(deltat - kDeltatPas, kDeltatMin) : deltat;
}

int DeltatUp(int deltat) {
  return deltat < kDeltatMax ? std::min(deltat + kDeltatPas, kDeltatMax) : deltat;
}

std::string DeltatText(int deltat) {
  return model::TexteFixe(deltat / 1000.0, 2, kChiffresDeltat) + " s";
}

std::string OutputLevelText(const model::TsortieAnalogique &sortie, int code) {
  return sortie.TexteValeur(sortie.ValeurDeCode(code));
}

}  // namespace kvx::device
