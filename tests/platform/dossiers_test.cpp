// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dossiers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

namespace kvx::platform {
namespace {

TEST(Dossiers, DataFolderIsTabulyseInTheDocumentsAndBothAreCreated) {
  const auto dossiers = DossiersUtilisateur();
  EXPECT_EQ(dossiers.donnees, QDir::homePath() + QStringLiteral("/Documents/Tabulyse/"));
  EXPECT_EQ(dossiers.application, QDir::homePath() + QStringLiteral("/.local/share/KVX/Tabulyse"));
  ASSERT_TRUE(CreeDossiers(dossiers));
  EXPECT_TRUE(QFileInfo(dossiers.donnees).isDir());
  EXPECT_TRUE(QFileInfo(dossiers.application).isDir());
  EXPECT_TRUE(CreeDossiers(dossiers)) << "second start with the folders present";
}

}  // namespace
}  // namespace kvx::platform
