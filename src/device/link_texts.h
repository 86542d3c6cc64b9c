// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the link tells the user, word for word (status bar and the panel shown
// when the box is not found). UTF-8.

#include <string>

namespace kvx::device::texts {

// Two blanks after "Erreur", as the users of the box know it.
inline constexpr const char *kPortError = "Erreur  gestion voie série";
inline constexpr const char *kBoxPresent = "Nuvex KVX présente";
inline constexpr const char *kSearching = "Vérification présence de Nuvex KVX";
// Followed by the number of the last port tried and its device path.
inline constexpr const char *kNotFoundOnPort = "Nuvex KVX non trouvé sur COM";

// The NuvexAbsent panel.
inline constexpr const char *kAbsentTitle = "Nuvex KVX non trouvé";
inline constexpr const char *kAbsentRetry = "Verifier puis cliquer ici";
inline constexpr const char *kAbsentEscape = "Abandon";
inline constexpr const char *kAbsentAdvice = "Eteindre Nuvex KVX puis rallumer";

// A serial device this user may not open: the box may well be there, and
// switching it off and on would not help. Followed by the device path, then
// the remedy.
inline constexpr const char *kRefusedPort = "Accès refusé à ";
inline constexpr const char *kRefusedRemedy =
    " : rejoindre le groupe dialout, puis se reconnecter";

inline std::string RefusedPortText(const std::string &device) {
  return kRefusedPort + device + kRefusedRemedy;
}

}  // namespace kvx::device::texts
