// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds any bytes, cut into chunks by the input itself, to the reader of
// requests of other starts: every request it gives is valid text of at most
// 64 KiB, and the cut does not change what is read.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/demande_instance.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  using kvx::exchange::LecteurDemandes;
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  const auto readAll = [&](std::size_t chunk) {
    LecteurDemandes lecteur;
    std::vector<std::optional<std::string>> all;
    for (std::size_t i = 0; i < bytes.size(); i += chunk)
      for (auto &d : lecteur.ajoute(bytes.substr(i, chunk))) all.push_back(std::move(d));
    if (auto last = lecteur.termine()) all.push_back(std::move(*last));
    return all;
  };
  const auto whole = readAll(bytes.size() + 1);
  const std::size_t chunk = size ? 1 + data[0] % 17 : 1;
  if (readAll(chunk) != whole) std::abort();
  for (const auto &request : whole)
    if (request && !kvx::exchange::EstDemandeValide(*request)) std::abort();
  return 0;
}
