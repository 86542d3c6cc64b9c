// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace kvx::model {

// The typed keys of a configuration document, section by section, as a channel
// sees them when it reads or writes its settings. The channels only need these
// few operations; the document with its file layout and encodings lives in the
// exchange layer and implements this, so the measurement model never depends
// on file code. Section and key names are matched without regard to letter
// case. Every read returns the given default when the key is missing or its
// text cannot be converted.
class IniSections {
 public:
  virtual ~IniSections() = default;

  virtual std::string readString(const std::string &section, const std::string &key,
                                 const std::string &fallback) const = 0;
  virtual std::int32_t readInteger(const std::string &section, const std::string &key,
                                   std::int32_t fallback) const = 0;
  virtual double readFloat(const std::string &section, const std::string &key,
                           double fallback) const = 0;
  virtual bool readBool(const std::string &section, const std::string &key,
                        bool fallback) const = 0;

  virtual void writeString(const std::string &section, const std::string &key,
                           const std::string &value) = 0;
  virtual void writeInteger(const std::string &section, const std::string &key,
                            std::int32_t value) = 0;
  virtual void writeFloat(const std::string &section, const std::string &key, double value) = 0;
  virtual void writeBool(const std::string &section, const std::string &key, bool value) = 0;
};

}  // namespace kvx::model
