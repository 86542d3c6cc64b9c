// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qsettings_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "exchange/reglages.h"

namespace kvx::platform {
namespace {

QByteArray contentsOf(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

TEST(QSettingsStore, KeepsTheSettingsInTheUsersKvxFile) {
  QSettingsStore store;
  EXPECT_EQ(store.fileName().toStdString(),
            (QDir::homePath() + QStringLiteral("/.config/KVX.conf")).toStdString());
}

TEST(QSettingsStore, WritesTheSettingsAsTextsAndReadsThemBack) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("KVX.conf"));
  exchange::Reglages reglages;
  reglages.numeroPort = 3;
  reglages.cheminPort = "/dev/ttyUSB0";
  reglages.dossierConfig = "/home/élève/TP, physique/";
  reglages.trace = true;
  reglages.etatFenetre = 2;
  {
    QSettingsStore store(path);
    ASSERT_TRUE(exchange::EcritReglages(store, reglages));
  }
  const QByteArray text = contentsOf(path);
  EXPECT_TRUE(text.contains("[COM]\nDevice=/dev/ttyUSB0\nNum=3\n")) << text.constData();
  EXPECT_TRUE(text.contains("[Window]\nState=2\n")) << text.constData();
  EXPECT_TRUE(text.contains("Trace=1\n")) << text.constData();
  QSettingsStore again(path);
  const auto lus = exchange::LitReglages(again, "/defaut/");
  EXPECT_EQ(lus.numeroPort, 3);
  EXPECT_EQ(lus.cheminPort, "/dev/ttyUSB0");
  EXPECT_EQ(lus.dossierConfig, "/home/élève/TP, physique/");
  EXPECT_TRUE(lus.trace);
  EXPECT_EQ(lus.etatFenetre, 2);
}

TEST(QSettingsStore, HandEditedOrDamagedFilesGiveTheDefaults) {
  const QByteArray files[] = {
      "[COM]\nNum=abc\n[Window]\nState=maxi\n[Config]\nTrace=oui\nPath=\n",
      "[COM]\nNum=2, 3\n[Config]\nPath=a, b\n",
      QByteArray("\x00\xFF\xFE garbage [[[ ===\n\x01", 21),
      "Num=4\n[Window]\nState=1e3\n",
  };
  for (const auto &bytes : files) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("KVX.conf"));
    writeFile(path, bytes);
    QSettingsStore store(path);
    const auto lus = exchange::LitReglages(store, "/defaut/");
    EXPECT_EQ(lus.numeroPort, 1) << bytes.constData();
    EXPECT_EQ(lus.dossierConfig, "/defaut/") << bytes.constData();
    EXPECT_FALSE(lus.trace);
    EXPECT_EQ(lus.etatFenetre, 0);
    EXPECT_EQ(contentsOf(path), bytes) << "reading changed the file";
  }
}

TEST(QSettingsStore, ReportsAFileThatCannotBeWritten) {
  QTemporaryDir folder;
  // A plain file where the folder should be: not even root can write there.
  const QString blocker = folder.filePath(QStringLiteral("blocker"));
  writeFile(blocker, "x");
  QSettingsStore store(blocker + QStringLiteral("/KVX.conf"));
  EXPECT_FALSE(exchange::EcritReglages(store, exchange::Reglages{}));
}

}  // namespace
}  // namespace kvx::platform
