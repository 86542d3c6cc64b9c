// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/association_bureau.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "exchange/association.h"

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

// Every file under `folder`, relative, sorted: what a close left in a home.
QStringList filesUnder(const QString &folder) {
  QStringList files;
  QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) files << QDir(folder).relativeFilePath(it.next());
  files.sort();
  return files;
}

TEST(EcritAssociation, AnInstalledProgramWritesNothingIntoTheHome) {
  QTemporaryDir prefix, home;
  writeFile(prefix.filePath(QStringLiteral("share/applications/kvx.desktop")), "[Desktop Entry]\n");
  const QString installed = prefix.filePath(QStringLiteral("bin/kvx"));
  EXPECT_TRUE(EntreeInstallee(installed));
  EXPECT_FALSE(EntreeInstallee(home.filePath(QStringLiteral("build/dev/bin/kvx"))));
  const DossiersBureau dossiers{home.filePath(QStringLiteral(".local/share")),
                                home.filePath(QStringLiteral(".config"))};
  // Whether the user chose a default or not.
  EXPECT_TRUE(EcritAssociation(installed, dossiers));
  EXPECT_EQ(filesUnder(home.path()), QStringList());
  writeFile(dossiers.configuration + QStringLiteral("/mimeapps.list"),
            "[Default Applications]\napplication/x-kvx=kvx.desktop\n");
  EXPECT_TRUE(EcritAssociation(installed, dossiers));
  EXPECT_EQ(filesUnder(home.path()), QStringList{QStringLiteral(".config/mimeapps.list")});
}

TEST(EcritAssociation, AnInstalledProgramTakesAwayWhatEarlierVersionsWroteAsTheyWroteIt) {
  QTemporaryDir prefix, home;
  writeFile(prefix.filePath(QStringLiteral("share/applications/kvx.desktop")), "[Desktop Entry]\n");
  const QString installed = prefix.filePath(QStringLiteral("bin/kvx"));
  const DossiersBureau dossiers{home.filePath(QStringLiteral(".local/share")),
                                home.filePath(QStringLiteral(".config"))};
  const QString entry = dossiers.donnees + QStringLiteral("/applications/kvx.desktop");
  const QString type = dossiers.donnees + QStringLiteral("/mime/packages/kvx.xml");
  const QByteArray ancienne =
      QByteArray::fromStdString(*exchange::TexteEntreeBureauAncienne(installed.toStdString()));
  EXPECT_TRUE(ancienne.contains("Categories=Education;Science;\n"));

  // Edited by the user, or written for a program elsewhere: they stay.
  writeFile(entry, ancienne + "Keywords=tp;\n");
  writeFile(type, QByteArray::fromStdString(exchange::TexteTypeMime()) + "\n");
  EXPECT_TRUE(EcritAssociation(installed, dossiers));
  EXPECT_TRUE(QFileInfo::exists(entry));
  EXPECT_TRUE(QFileInfo::exists(type));
  writeFile(entry, QByteArray::fromStdString(
                       *exchange::TexteEntreeBureauAncienne("/opt/autre/kvx")));
  EXPECT_TRUE(EcritAssociation(installed, dossiers));
  EXPECT_TRUE(QFileInfo::exists(entry));

  // Exactly as an earlier version wrote them: they go.
  writeFile(entry, ancienne);
  writeFile(type, QByteArray::fromStdString(exchange::TexteTypeMime()));
  EXPECT_TRUE(EcritAssociation(installed, dossiers));
  EXPECT_FALSE(QFileInfo::exists(entry));
  EXPECT_FALSE(QFileInfo::exists(type));
  if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
    EXPECT_FALSE(contentsOf(dossiers.donnees + QStringLiteral("/mime/globs2")).contains("kvx"));
  }
}

TEST(EcritAssociation, ABuildFolderNeverReplacesADefaultTheUserChose) {
  struct Case {
    const char *file;  // below the home
    QByteArray text;
  };
  const Case cases[] = {
      {".config/mimeapps.list", "[Default Applications]\napplication/x-kvx=autre.desktop\n"},
      {".config/mimeapps.list", "[Default Applications]\napplication/x-kvx=kvx.desktop;\n"},
      // The desktop's own list, read before the common one.
      {".config/kde-mimeapps.list", "[Default Applications]\napplication/x-kvx=autre.desktop\n"},
      // Where older desktops kept it.
      {".local/share/applications/mimeapps.list",
       "[Default Applications]\napplication/x-kvx=autre.desktop\n"},
  };
  const QByteArray bureau = qgetenv("XDG_CURRENT_DESKTOP");
  qputenv("XDG_CURRENT_DESKTOP", "KDE");
  for (const auto &c : cases) {
    QTemporaryDir home;
    const DossiersBureau dossiers{home.filePath(QStringLiteral(".local/share")),
                                  home.filePath(QStringLiteral(".config"))};
    writeFile(home.filePath(QString::fromLatin1(c.file)), c.text);
    EXPECT_TRUE(EcritAssociation(home.filePath(QStringLiteral("build/dev/bin/kvx")), dossiers))
        << c.file;
    EXPECT_EQ(filesUnder(home.path()), QStringList{QString::fromLatin1(c.file)}) << c.file;
    EXPECT_EQ(contentsOf(home.filePath(QString::fromLatin1(c.file))), c.text) << c.file;
  }
  if (bureau.isNull())
    qunsetenv("XDG_CURRENT_DESKTOP");
  else
    qputenv("XDG_CURRENT_DESKTOP", bureau);
}

TEST(EcritAssociation, ABuildFolderWithNoUserDefaultRegistersKeepingOtherChoices) {
  QTemporaryDir folder;
  const DossiersBureau dossiers{folder.filePath(QStringLiteral("share")),
                                folder.filePath(QStringLiteral("config"))};
  const QString mimeapps = dossiers.configuration + QStringLiteral("/mimeapps.list");
  writeFile(mimeapps, "[Default Applications]\ntext/html=firefox.desktop\n");
  ASSERT_TRUE(EcritAssociation(QStringLiteral("/opt/mes outils/kvx"), dossiers));

  const QString entry =
      dossiers.donnees + QStringLiteral("/applications/kvx-construction.desktop");
  // Never under the installed entry's name, which it would hide.
  EXPECT_FALSE(QFileInfo::exists(dossiers.donnees + QStringLiteral("/applications/kvx.desktop")));
  EXPECT_TRUE(contentsOf(entry).contains("\nExec=\"/opt/mes outils/kvx\" %f\n"));
  EXPECT_TRUE(contentsOf(dossiers.donnees + QStringLiteral("/mime/packages/kvx.xml"))
                  .contains("<glob pattern=\"*.KVX\"/>"));
  EXPECT_EQ(contentsOf(mimeapps), "[Default Applications]\ntext/html=firefox.desktop\n"
                                  "application/x-kvx=kvx-construction.desktop\n");
  if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
    EXPECT_TRUE(contentsOf(dossiers.donnees + QStringLiteral("/mime/globs2")).contains("*.kvx"));
  }

  // The next close finds everything in place and rewrites nothing.
  const auto written = QFileInfo(entry).lastModified();
  QThread::msleep(20);
  ASSERT_TRUE(EcritAssociation(QStringLiteral("/opt/mes outils/kvx"), dossiers));
  EXPECT_EQ(QFileInfo(entry).lastModified(), written);
  // A moved program is written again: the default is its own.
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
