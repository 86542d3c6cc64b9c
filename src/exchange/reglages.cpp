// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/reglages.h"

#include <charconv>

#include "exchange/reglages_cles.h"

namespace kvx::exchange {

namespace {

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::int32_t integerIn(const SettingsStore &store, const char *group, const char *name,
                       std::int32_t lowest, std::int32_t highest, std::int32_t fallback) {
  const auto text = store.value(group, name);
  if (!text) return fallback;
  const auto number = LitEntierReglage(*text);
  if (!number || *number < lowest || *number > highest) return fallback;
  return *number;
}

}  // namespace

std::optional<std::int32_t> LitEntierReglage(std::string_view text) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int32_t number = 0;
  const auto *end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return number;
}

Reglages LitReglages(const SettingsStore &store, const std::string &dossierDonnees) {
  using namespace reglages;
  Reglages lus;
  lus.numeroPort = integerIn(store, kGroupeCom, kCleNum, kNumMin, kNumMax, kNumDefaut);
  lus.cheminPort = store.value(kGroupeCom, kCleDevice).value_or(std::string());
  lus.dossierConfig = store.value(kGroupeConfig, kClePath).value_or(std::string());
  if (trimmed(lus.dossierConfig).empty()) lus.dossierConfig = dossierDonnees;
  // A boolean is kept as an integer; any non-zero value is true.
  const auto trace = store.value(kGroupeConfig, kCleTrace);
  const auto traceNumber = trace ? LitEntierReglage(*trace) : std::nullopt;
  lus.trace = traceNumber ? *traceNumber != 0 : kTraceDefaut;
  lus.etatFenetre =
      integerIn(store, kGroupeWindow, kCleState, kEtatNormal, kEtatMaximise, kStateDefaut);
  return lus;
}

bool EcritReglages(SettingsStore &store, const Reglages &reglages) {
  using namespace reglages;
  store.setValue(kGroupeCom, kCleNum, std::to_string(reglages.numeroPort));
  store.setValue(kGroupeCom, kCleDevice, reglages.cheminPort);
  store.setValue(kGroupeConfig, kClePath, reglages.dossierConfig);
  store.setValue(kGroupeConfig, kCleTrace, reglages.trace ? "1" : "0");
  store.setValue(kGroupeWindow, kCleState, std::to_string(reglages.etatFenetre));
  return store.flush();
}

}  // namespace kvx::exchange
