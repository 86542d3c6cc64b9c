// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "exchange/settings_store.h"

namespace kvx::exchange {

// The settings the main window keeps between two runs. Read when the window
// is created, written back when it closes.
struct Reglages {
  std::int32_t numeroPort = 1;   // port to try first, 1..50
  std::string cheminPort;        // its device path; empty when never found
  std::string dossierConfig;     // folder of the configuration dialogs
  bool trace = false;            // write the serial trace and log files
  std::int32_t etatFenetre = 0;  // 0 normal, 1 minimised, 2 maximised
};

// A decimal integer as the settings keep it (blanks around it allowed);
// nothing for any other text or a value beyond 32 bits.
std::optional<std::int32_t> LitEntierReglage(std::string_view text);

// Every value that is missing or unreadable gives its default; a port number
// outside 1..50 or a window state outside 0..2 counts as unreadable, and so
// does an empty folder. `dossierDonnees` is the default folder.
Reglages LitReglages(const SettingsStore &store, const std::string &dossierDonnees);

// Writes the five values and flushes the store; false when they could not be
// saved (the caller goes on closing: a lost setting only costs a default).
bool EcritReglages(SettingsStore &store, const Reglages &reglages);

}  // namespace kvx::exchange
