// SPDX-License-Identifier: GPL-3.0-or-later
// Reads any bytes as a recording history entry: refused with a reason or
// read whole; what is read stays within the channels' arrays, and writing it
// again and reading that back gives the same recording, bit for bit.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "exchange/historique.h"

namespace {

using namespace kvx::exchange;

void check(bool condition) {
  if (!condition) std::abort();
}

bool memes(const std::vector<double> &a, const std::vector<double> &b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  try {
    const EnteteEntree h = LitEntete(bytes);
    check(h.nbPoints >= 0 && h.nbPoints <= 6401 && h.mode >= 0 && h.mode <= 4);
  } catch (const HistoriqueError &) {
  }
  Enregistrement e;
  try {
    e = LitEntree(bytes);
  } catch (const HistoriqueError &) {
    return 0;
  }
  check(e.nbPoints >= 0 && e.nbPoints <= 6401 && !e.configuration.empty());
  for (const auto &c : e.colonnes) {
    check(c.slot >= 1 && c.slot <= 9);
    check(c.valeurs.size() == static_cast<std::size_t>(e.nbPoints));
  }
  check(!e.fourche || e.comptes.size() == static_cast<std::size_t>(e.nbPoints));
  const Enregistrement relu = LitEntree(TexteEntree(e));
  check(relu.nbPoints == e.nbPoints && relu.configuration == e.configuration &&
        relu.colonnes.size() == e.colonnes.size() && relu.comptes == e.comptes &&
        relu.symboles == e.symboles);
  for (std::size_t k = 0; k < e.colonnes.size(); ++k)
    check(memes(relu.colonnes[k].valeurs, e.colonnes[k].valeurs));
  return 0;
}
