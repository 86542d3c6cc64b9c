// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fichiers_installes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kvx::platform {
namespace {

// A tree of empty files under a temporary folder, to stand for a build
// folder or an installed prefix.
class Arbre {
 public:
  explicit Arbre(const QStringList &fichiers) {
    for (const QString &f : fichiers) {
      const QString chemin = Chemin(f);
      if (f.endsWith(QLatin1Char('/'))) {
        QDir().mkpath(chemin);
        continue;
      }
      QDir().mkpath(QFileInfo(chemin).absolutePath());
      QFile fichier(chemin);
      EXPECT_TRUE(fichier.open(QIODevice::WriteOnly)) << f.toStdString();
    }
  }
  QString Chemin(const QString &relatif) const {
    return QDir(m_dossier.path()).canonicalPath() + QLatin1Char('/') + relatif;
  }

 private:
  QTemporaryDir m_dossier;
};

struct Disposition {
  const char *cas;
  QStringList fichiers;
  const char *aide;      // the guide's folder found, "" for none
  const char *capteurs;  // what the sensor search takes as the program
};

class FichiersInstallesTest : public testing::TestWithParam<Disposition> {};

TEST_P(FichiersInstallesTest, FindsTheGuideAndTheSensorLibraryWhereTheyAre) {
  const Disposition &d = GetParam();
  const Arbre arbre(d.fichiers);
  const QString programme = arbre.Chemin(QStringLiteral("usr/bin/kvx"));
  const QString aide = QString::fromLatin1(d.aide);
  EXPECT_EQ(DossierAide(programme), aide.isEmpty() ? QString() : arbre.Chemin(aide)) << d.cas;
  EXPECT_EQ(ProgrammePourCapteurs(programme), arbre.Chemin(QString::fromLatin1(d.capteurs)))
      << d.cas;
}

INSTANTIATE_TEST_SUITE_P(
    Dispositions, FichiersInstallesTest,
    testing::Values(
        // Run from its build folder: everything beside the program.
        Disposition{"build folder",
                    {"usr/bin/kvx", "usr/bin/kvx.CPT", "usr/bin/aide/index.html"},
                    "usr/bin/aide",
                    "usr/bin/kvx"},
        // Installed: under the prefix's share/kvx.
        Disposition{"installed",
                    {"usr/bin/kvx", "usr/share/kvx/kvx.CPT", "usr/share/kvx/aide/index.html"},
                    "usr/share/kvx/aide",
                    "usr/share/kvx/kvx"},
        // A build folder inside a prefix never reads the older installed copy.
        Disposition{"both",
                    {"usr/bin/kvx", "usr/bin/kvx.CPT", "usr/bin/aide/index.html",
                     "usr/share/kvx/kvx.CPT", "usr/share/kvx/aide/index.html"},
                    "usr/bin/aide",
                    "usr/bin/kvx"},
        // Each file on its own: the library beside, the guide installed.
        Disposition{"mixed",
                    {"usr/bin/kvx", "usr/bin/kvx.CPT", "usr/share/kvx/aide/index.html"},
                    "usr/share/kvx/aide",
                    "usr/bin/kvx"},
        // Nothing anywhere: no guide, and the library is looked for beside
        // the program, where its absence is reported.
        Disposition{"nothing", {"usr/bin/kvx"}, "", "usr/bin/kvx"},
        // A guide folder without its table of contents, or a folder where the
        // files should be, is no guide and no library.
        Disposition{"hollow",
                    {"usr/bin/kvx", "usr/bin/aide/aide-6.html", "usr/share/kvx/aide/index.html/",
                     "usr/share/kvx/kvx.CPT/"},
                    "",
                    "usr/bin/kvx"}),
    [](const testing::TestParamInfo<Disposition> &info) { return std::to_string(info.index); });

TEST(FichiersInstalles, LooksBesideTheProgramThenUnderItsPrefix) {
  EXPECT_EQ(DossiersFichiers(QStringLiteral("/opt/kvx/bin/kvx")),
            (QStringList{QStringLiteral("/opt/kvx/bin"), QStringLiteral("/opt/kvx/share/kvx")}));
  EXPECT_TRUE(TrouveFichier(QStringLiteral("/nowhere/bin/kvx"), QString()).isEmpty());
}

}  // namespace
}  // namespace kvx::platform
