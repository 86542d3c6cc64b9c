// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/prefixes.h"

#include <string>

#include "model/texte_utf8.h"

namespace kvx::model {

namespace {

constexpr char32_t kMicro = U'µ';

std::optional<int> PuissanceDe(char32_t c, std::u32string_view admises) {
  if (admises.find(c) == std::u32string_view::npos) return std::nullopt;
  std::string lettre;
  AjouteCodePoint(lettre, c);
  for (const auto &p : kPrefixes)
    if (p.lettre == lettre) return p.puissance;
  return std::nullopt;
}

}  // namespace

std::optional<int> PuissancePrefixeNombre(char32_t c) {
  static constexpr char32_t kLettres[] = {U'y', U'z', U'a', U'f', U'p', U'n', kMicro, U'm', U'k',
                                          U'M', U'G', U'T', U'P', U'E', U'Z', U'Y',   0};
  return PuissanceDe(c, kLettres);
}

std::optional<int> PuissancePrefixeUnite(char32_t c) {
  static constexpr char32_t kLettres[] = {U'E', U'G', U'M', U'P', U'T', U'a', U'c',   U'd',
                                          U'f', U'h', U'k', U'm', U'n', U'p', kMicro, 0};
  return PuissanceDe(c, kLettres);
}

std::optional<std::string_view> LettrePrefixeAffichage(int p) {
  if (p < -18 || p > 18) return std::nullopt;
  for (const auto &prefixe : kPrefixes)
    if (prefixe.puissance == p) return prefixe.lettre;
  return std::nullopt;
}

}  // namespace kvx::model
