#include "platform/association_bureau.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace kvx::platform {
namespace {

QByteArray contentsOf(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

TEST(EcritAssociation, DefaultsAreTheUsersDesktopFolders) {
  const auto dossiers = DossiersBureauUtilisateur();
  EXPECT_EQ(dossiers.donnees, QDir::homePath() + QStringLiteral("/.local/share"));
  EXPECT_EQ(dossiers.configuration, QDir::homePath() + QStringLiteral("/.config"));
}

TEST(EcritAssociation, WritesEntryTypeAndDefaultKeepingTheUsersOtherChoices) {
  QTemporaryDir folder;
  const DossiersBureau dossiers{folder.filePath(QStringLiteral("share")),
                                folder.filePath(QStringLiteral("config"))};
  const QString mimeapps = dossiers.configuration + QStringLiteral("/mimeapps.list");
  writeFile(mimeapps, "[Default Applications]\ntext/html=firefox.desktop\n");
  ASSERT_TRUE(EcritAssociation(QStringLiteral("/opt/mes outils/kvx"), dossiers));

  const QString entry = dossiers.donnees + QStringLiteral("/applications/kvx.desktop");
  EXPECT_TRUE(contentsOf(entry).contains("\nExec=\"/opt/mes outils/kvx\" %f\n"));
  EXPECT_TRUE(contentsOf(dossiers.donnees + QStringLiteral("/mime/packages/kvx.xml"))
                  .contains("<glob pattern=\"*.KVX\"/>"));
  EXPECT_EQ(contentsOf(mimeapps),
            "[Default Applications]\ntext/html=firefox.desktop\napplication/x-kvx=kvx.desktop\n");
  if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
    EXPECT_TRUE(contentsOf(dossiers.donnees + QStringLiteral("/mime/globs2")).contains("*.kvx"));
  }

  // The next close finds everything in place and rewrites nothing.
  const auto written = QFileInfo(entry).lastModified();
  QThread::msleep(20);
  ASSERT_TRUE(EcritAssociation(QStringLiteral("/opt/mes outils/kvx"), dossiers));
  EXPECT_EQ(QFileInfo(entry).lastModified(), written);
  // A moved program is written again.
  ASSERT_TRUE(EcritAssociation(QStringLiteral("/usr/bin/kvx"), dossiers));
  EXPECT_TRUE(contentsOf(entry).contains("\nExec=\"/usr/bin/kvx\" %f\n"));
}

TEST(EcritAssociation, FailsQuietlyWhereNothingCanBeWritten) {
  QTemporaryDir folder;
  const QString blocker = folder.filePath(QStringLiteral("blocker"));
  writeFile(blocker, "x");
  EXPECT_FALSE(EcritAssociation(QStringLiteral("/usr/bin/kvx"), {blocker, blocker}));
  EXPECT_FALSE(EcritAssociation(
      QStringLiteral("/usr/bin/k\nvx"),
      {folder.filePath(QStringLiteral("s")), folder.filePath(QStringLiteral("c"))}));
  EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("s"))));
}

}  // namespace
}  // namespace kvx::platform
