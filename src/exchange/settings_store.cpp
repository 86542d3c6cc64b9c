// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/settings_store.h"

namespace kvx::exchange {

std::optional<std::string> MemorySettingsStore::value(const std::string &group,
                                                      const std::string &name) const {
  auto found = m_values.find({group, name});
  if (found == m_values.end()) return std::nullopt;
  return found->second;
}

void MemorySettingsStore::setValue(const std::string &group, const std::string &name,
                                   const std::string &text) {
  m_values[{group, name}] = text;
}

}  // namespace kvx::exchange
