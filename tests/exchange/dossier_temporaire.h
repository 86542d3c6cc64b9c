// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A fresh folder under /tmp for one test, removed with everything in it at the
// end, with helpers to put bytes in a file and read them back.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "exchange/atomic_file.h"

namespace kvx::exchange::test {

class DossierTemporaire : public testing::Test {
 protected:
  void SetUp() override {
    char modele[] = "/tmp/kvx-capteurs-XXXXXX";
    ASSERT_NE(::mkdtemp(modele), nullptr);
    m_dossier = modele;
  }
  void TearDown() override {
    std::error_code erreur;
    std::filesystem::permissions(m_dossier, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, erreur);
    std::filesystem::remove_all(m_dossier, erreur);
  }

  std::filesystem::path chemin(const std::string &nom) const { return m_dossier / nom; }
  void ecrit(const std::string &nom, const std::string &octets) const {
    std::ofstream(chemin(nom), std::ios::binary) << octets;
  }
  std::string lit(const std::string &nom) const { return readWholeFile(chemin(nom), 1u << 30); }

  std::filesystem::path m_dossier;
};

}  // namespace kvx::exchange::test
