// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

#include "exchange/settings_store.h"

namespace kvx::platform {

// The program settings in the user's settings file, ~/.config/KVX.conf here
// (the registry key Software\KVX on Windows).
// Values are kept as the texts the settings logic gives.
class QSettingsStore : public exchange::SettingsStore {
 public:
  QSettingsStore();
  // A store on a given INI file (tests, or a settings file chosen by hand).
  explicit QSettingsStore(const QString &fileName);

  std::optional<std::string> value(const std::string &group,
                                   const std::string &name) const override;
  void setValue(const std::string &group, const std::string &name,
                const std::string &text) override;
  bool flush() override;

  QString fileName() const { return m_settings->fileName(); }

 private:
  std::unique_ptr<QSettings> m_settings;
};

}  // namespace kvx::platform
