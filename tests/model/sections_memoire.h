// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An in-memory stand-in for the configuration document, for the channel
// tests: it records every write in order, with its kind, and answers reads
// of values of the same kind (any other kind reads as unreadable).
#include <cctype>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "model/ini_sections.h"
#include "model/masse.h"

namespace kvx::model {

class SectionsMemoire : public IniSections {
 public:
  using Valeur = std::variant<std::string, std::int32_t, double, bool>;
  struct Cle {
    std::string section;
    std::string cle;
    Valeur valeur;
  };

  void met(const std::string &section, const std::string &cle, Valeur valeur) {
    if (Cle *c = trouve(section, cle)) {
      c->valeur = std::move(valeur);
      return;
    }
    m_cles.push_back({section, cle, std::move(valeur)});
  }
  // Key names of a section in writing order.
  std::vector<std::string> cles(const std::string &section) const {
    std::vector<std::string> noms;
    for (const Cle &c : m_cles)
      if (egal(c.section, section)) noms.push_back(c.cle);
    return noms;
  }
  template <typename T>
  const T *lit(const std::string &section, const std::string &cle) const {
    const Cle *c = trouve(section, cle);
    return c ? std::get_if<T>(&c->valeur) : nullptr;
  }

  std::string readString(const std::string &s, const std::string &k,
                         const std::string &d) const override {
    return valeur(s, k, d);
  }
  std::int32_t readInteger(const std::string &s, const std::string &k,
                           std::int32_t d) const override {
    return valeur(s, k, d);
  }
  double readFloat(const std::string &s, const std::string &k, double d) const override {
    return valeur(s, k, d);
  }
  bool readBool(const std::string &s, const std::string &k, bool d) const override {
    return valeur(s, k, d);
  }
  void writeString(const std::string &s, const std::string &k, const std::string &v) override {
    met(s, k, v);
  }
  void writeInteger(const std::string &s, const std::string &k, std::int32_t v) override {
    met(s, k, v);
  }
  void writeFloat(const std::string &s, const std::string &k, double v) override { met(s, k, v); }
  void writeBool(const std::string &s, const std::string &k, bool v) override { met(s, k, v); }

 private:
  static bool egal(const std::string &a, const std::string &b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(a[i])) !=
          std::tolower(static_cast<unsigned char>(b[i])))
        return false;
    return true;
  }
  const Cle *trouve(const std::string &section, const std::string &cle) const {
    for (const Cle &c : m_cles)
      if (egal(c.section, section) && egal(c.cle, cle)) return &c;
    return nullptr;
  }
  Cle *trouve(const std::string &section, const std::string &cle) {
    return const_cast<Cle *>(static_cast<const SectionsMemoire *>(this)->trouve(section, cle));
  }
  template <typename T>
  T valeur(const std::string &s, const std::string &k, T defaut) const {
    const T *v = lit<T>(s, k);
    return v ? *v : defaut;
  }

  std::vector<Cle> m_cles;
};

// Sets the program's input reference for one test and puts it back after.
class MasseTemporaire {
 public:
  explicit MasseTemporaire(bool refAlt) : m_avant(Masse()) { FixeMasse(refAlt); }
  ~MasseTemporaire() { FixeMasse(m_avant); }
  MasseTemporaire(const MasseTemporaire &) = delete;
  MasseTemporaire &operator=(const MasseTemporaire &) = delete;

 private:
  bool m_avant;
};

}  // namespace kvx::model
