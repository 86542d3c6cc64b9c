// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qsettings_store.h"

namespace kvx::platform {

namespace {

QString keyOf(const std::string &group, const std::string &name) {
  return QString::fromStdString(group) + QLatin1Char('/') + QString::fromStdString(name);
}

}  // namespace

// "KVX" given as the organisation with no application names the file
// ~/.config/KVX.conf (and the key Software\KVX on Windows) whatever the
// application's own names are.
QSettingsStore::QSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("KVX"))) {}

QSettingsStore::QSettingsStore(const QString &fileName)
    : m_settings(std::make_unique<QSettings>(fileName, QSettings::IniFormat)) {}

std::optional<std::string> QSettingsStore::value(const std::string &group,
                                                 const std::string &name) const {
  const QVariant stored = m_settings->value(keyOf(group, name));
  // A list or a map (a hand-edited file with commas) is no text of ours: the
  // caller then takes the default.
  if (!stored.isValid() || !stored.canConvert<QString>()) return std::nullopt;
  if (stored.typeId() == QMetaType::QStringList) return std::nullopt;
  return stored.toString().toStdString();
}

void QSettingsStore::setValue(const std::string &group, const std::string &name,
                              const std::string &text) {
  m_settings->setValue(keyOf(group, name), QString::fromStdString(text));
}

bool QSettingsStore::flush() {
  m_settings->sync();
  return m_settings->status() == QSettings::NoError;
}

}  // namespace kvx::platform
