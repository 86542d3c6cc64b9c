// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace kvx::exchange {

// The few program settings that outlive a configuration file (port of the box,
// configuration folder, trace switch, window state) are kept as texts by group
// and name. The desktop shell gives a store backed by the user's settings
// file; tests give the memory store below.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // Nothing when the value was never written (or the store cannot be read).
  virtual std::optional<std::string> value(const std::string &group,
                                           const std::string &name) const = 0;
  virtual void setValue(const std::string &group, const std::string &name,
                        const std::string &text) = 0;
  // Makes the written values durable; false when they could not be saved.
  virtual bool flush() = 0;
};

// Settings held in memory only: for tests, and for a session whose settings
// must not touch the user's file.
class MemorySettingsStore : public SettingsStore {
 public:
  std::optional<std::string> value(const std::string &group,
                                   const std::string &name) const override;
  void setValue(const std::string &group, const std::string &name,
                const std::string &text) override;
  bool flush() override { return true; }

  const std::map<std::pair<std::string, std::string>, std::string> &values() const {
    return m_values;
  }

 private:
  std::map<std::pair<std::string, std::string>, std::string> m_values;
};

}  // namespace kvx::exchange
