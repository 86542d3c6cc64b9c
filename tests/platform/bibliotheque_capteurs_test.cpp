// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/bibliotheque_capteurs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kvx::platform {
namespace {

// A program unpacked where its user may write keeps its library beside it;
// one whose folder is gone (or not the user's) gets a copy in the data folder.
TEST(BibliothequeCapteurs, BesideAWritableProgramElseACopyInTheDataFolder) {
  QTemporaryDir dossier;
  const Dossiers dossiers{dossier.path() + QStringLiteral("/Documents/Tabulyse/"),
                          dossier.path() + QStringLiteral("/donnees")};
  const auto pres = EmplacementCapteursUtilisateur(dossier.path() + QStringLiteral("/kvx"), dossiers);
  EXPECT_EQ(QString::fromStdString(pres.fichier.string()), dossier.path() + QStringLiteral("/kvx.CPT"));
  EXPECT_FALSE(pres.copier);

  const auto ailleurs =
      EmplacementCapteursUtilisateur(dossier.path() + QStringLiteral("/absent/kvx"), dossiers);
  EXPECT_EQ(QString::fromStdString(ailleurs.fichier.string()),
            dossiers.application + QStringLiteral("/kvx.CPT"));
  EXPECT_TRUE(ailleurs.copier);
  EXPECT_EQ(QString::fromStdString(ailleurs.source.string()),
            dossier.path() + QStringLiteral("/absent/kvx.CPT"));
}

}  // namespace
}  // namespace kvx::platform
