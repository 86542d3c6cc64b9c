// SPDX-License-Identifier: GPL-3.0-or-later
// Reads any bytes as a configuration file's values and checks that every
// value the rest of the program indexes with stays inside its range, then
// that writing the values and reading them back gives the same values.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "exchange/configuration.h"
#include "exchange/configuration_cles.h"
#include "exchange/ini_document.h"

namespace {

using namespace kvx::exchange;
using namespace kvx::exchange::configuration;

void check(bool condition) {
  if (!condition) std::abort();
}

bool operator==(const ValeursConfiguration &a, const ValeursConfiguration &b) {
  return a.constanteNom == b.constanteNom && a.constanteComm == b.constanteComm &&
         a.constanteUnite == b.constanteUnite && a.abscisse == b.abscisse && a.ligne == b.ligne &&
         a.points == b.points && a.mode == b.mode && a.duree == b.duree && a.nombre == b.nombre &&
         a.debutAcq == b.debutAcq && a.monocoup == b.monocoup && a.axeY == b.axeY &&
         a.grille == b.grille && a.analLog == b.analLog && a.dimPoint == b.dimPoint &&
         a.pointAuto == b.pointAuto && a.masse == b.masse && a.synchroMode == b.synchroMode &&
         a.front == b.front && a.seuil == b.seuil && a.bouge == b.bouge && a.voie == b.voie;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  IniDocument document;
  try {
    document = IniDocument::parse(bytes);
  } catch (const IniError &) {
    return 0;  // refused as too large
  }
  const IniDateTime now{2024, 1, 2, 3, 4, 5};
  const ValeursConfiguration v = LitValeurs(document, ValeursConfiguration{}, now);
  check(v.abscisse >= kAbscisseMin && v.abscisse <= kAbscisseMax);
  check(v.mode >= kModeMin && v.mode <= kModeMax);
  check(v.synchroMode >= kSynchroModeMin && v.synchroMode <= kSynchroModeMax);
  check(v.front >= 0 && v.front <= kFrontMax);
  check(v.voie >= kVoieMin && v.voie <= kVoieMax);
  check(v.seuil >= kSeuilMin && v.seuil <= kSeuilMax);
  check(v.bouge >= kBougeMin && v.bouge <= kBougeMax);
  check(v.dimPoint >= kDimPointMin && v.dimPoint <= kDimPointMax);
  check(v.nombre >= kNombreMinVeltor && v.nombre <= kNombreMax);
  check(std::isfinite(v.duree) && v.duree >= kDureeMinS && v.duree <= kDureeMaxS);

  IniDocument written;
  EcritValeurs(written, v);
  try {
    const auto again = LitValeurs(IniDocument::parse(written.serialize()), v, now);
    check(again == v);
  } catch (const IniError &) {
    // A page constant near the line limit can make the file too long.
  }
  return 0;
}
