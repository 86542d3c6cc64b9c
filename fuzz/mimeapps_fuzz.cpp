// SPDX-License-Identifier: GPL-3.0-or-later
// Sets the default program of ".KVX" files in any text taken as the user's
// mimeapps.list: the result holds the line once in its section, setting it
// again changes nothing, and no other line is lost.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "exchange/association.h"
#include "exchange/association_cles.h"

namespace {

std::size_t linesOf(const std::string &text) {
  std::istringstream in(text);
  std::string line;
  std::size_t count = 0;
  while (std::getline(in, line)) ++count;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string before(reinterpret_cast<const char *>(data), size);
  const std::string after = kvx::exchange::AvecProgrammeParDefaut(before);
  if (kvx::exchange::AvecProgrammeParDefaut(after) != after) std::abort();
  namespace a = kvx::exchange::association;
  const std::string ligne = std::string(a::kTypeMime) + "=" + a::kFichierEntree + "\n";
  if (after.find(ligne) == std::string::npos) std::abort();
  if (linesOf(after) + 1 < linesOf(before)) std::abort();
  return 0;
}
