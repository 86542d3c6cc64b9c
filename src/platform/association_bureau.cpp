// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/association_bureau.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "exchange/association.h"
#include "exchange/association_cles.h"

namespace kvx::platform {

namespace {

// The cache tools take well under a second; past this the close goes on.
constexpr int kDelaiOutilMs = 5000;

enum class Ecriture { Inchangee, Ecrite, Echec };

QByteArray contentsOf(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

Ecriture writeIfDifferent(const QString &path, const QByteArray &text) {
  if (QFile::exists(path) && contentsOf(path) == text) return Ecriture::Inchangee;
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return Ecriture::Echec;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return Ecriture::Echec;
  if (file.write(text) != text.size()) return Ecriture::Echec;
  return file.commit() ? Ecriture::Ecrite : Ecriture::Echec;
}

bool runTool(const QString &name, const QString &folder) {
  const QString program = QStandardPaths::findExecutable(name);
  if (program.isEmpty()) return true;  // nothing to update without the tool
  QProcess process;
  process.setStandardErrorFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(program, {folder});
  if (!process.waitForFinished(kDelaiOutilMs)) {
    process.kill();
    process.waitForFinished(1000);
    return false;
  }
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

}  // namespace

DossiersBureau DossiersBureauUtilisateur() {
  return {QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
          QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)};
}

bool EntreeInstallee(const QString &executable) {
  const QString prefixe = QFileInfo(executable).absolutePath() + QStringLiteral("/..");
  return QFileInfo(QDir::cleanPath(prefixe + QStringLiteral("/share/applications/") +
                                   QLatin1String(exchange::association::kFichierEntreeInstallee)))
      .isFile();
}

std::vector<std::string> DefautsUtilisateur(const DossiersBureau &dossiers) {
  QStringList fichiers;
  // "GNOME:Unity" reads gnome-mimeapps.list, then unity-mimeapps.list.
  const QStringList bureaux =
      qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts);
  for (const QString &bureau : bureaux)
    fichiers << dossiers.configuration + QLatin1Char('/') + bureau.toLower() +
                    QStringLiteral("-mimeapps.list");
  fichiers << dossiers.configuration + QStringLiteral("/mimeapps.list");
  // Where older desktops kept it.
  fichiers << dossiers.donnees + QStringLiteral("/applications/mimeapps.list");
  std::vector<std::string> defauts;
  for (const QString &fichier : fichiers) {
    const auto lus = exchange::ProgrammesParDefaut(contentsOf(fichier).toStdString());
    defauts.insert(defauts.end(), lus.begin(), lus.end());
  }
  return defauts;
}

// Earlier versions wrote their entry and type into the home even when
// installed, hiding the package's and staying after its removal. Exactly
// what they wrote goes; anything the user changed stays.
bool RetireAncienneAssociation(const QString &executable, const DossiersBureau &dossiers) {
  using namespace exchange::association;
  if (dossiers.donnees.isEmpty()) return true;
  const QString applications = dossiers.donnees + QStringLiteral("/applications");
  const QString mime = dossiers.donnees + QStringLiteral("/mime");
  const QString entry = applications + QLatin1Char('/') + QLatin1String(kFichierEntreeInstallee);
  const QString type = mime + QStringLiteral("/packages/") + QLatin1String(kFichierTypeMime);
  const auto ancienne = exchange::TexteEntreeBureauAncienne(executable.toStdString());
  bool ok = true;
  if (ancienne && QFile::exists(entry) && contentsOf(entry) == QByteArray::fromStdString(*ancienne)) {
    ok = QFile::remove(entry);
    ok = runTool(QStringLiteral("update-desktop-database"), applications) && ok;
  }
  if (QFile::exists(type) &&
      contentsOf(type) == QByteArray::fromStdString(exchange::TexteTypeMime())) {
    ok = QFile::remove(type) && ok;
    ok = runTool(QStringLiteral("update-mime-database"), mime) && ok;
  }
  return ok;
}

bool EcritAssociation(const QString &executable, const DossiersBureau &dossiers) {
  using namespace exchange::association;
  if (EntreeInstallee(executable)) return RetireAncienneAssociation(executable, dossiers);
  if (dossiers.donnees.isEmpty() || dossiers.configuration.isEmpty()) return false;
  if (!exchange::AucunChoixUtilisateur(DefautsUtilisateur(dossiers))) return true;
  const auto entry = exchange::TexteEntreeBureau(executable.toStdString());
  if (!entry) return false;
  const QString applications = dossiers.donnees + QStringLiteral("/applications");
  const QString mime = dossiers.donnees + QStringLiteral("/mime");
  const QString mimeapps = dossiers.configuration + QStringLiteral("/mimeapps.list");

  bool ok = true;
  const auto desktop = writeIfDifferent(applications + QLatin1Char('/') + kFichierEntree,
                                        QByteArray::fromStdString(*entry));
  const auto type =
      writeIfDifferent(mime + QStringLiteral("/packages/") + QLatin1String(kFichierTypeMime),
                       QByteArray::fromStdString(exchange::TexteTypeMime()));
  const auto defaults = writeIfDifferent(
      mimeapps, QByteArray::fromStdString(
                    exchange::AvecProgrammeParDefaut(contentsOf(mimeapps).toStdString())));
  for (const auto result : {desktop, type, defaults})
    if (result == Ecriture::Echec) ok = false;
  if (type == Ecriture::Ecrite) ok = runTool(QStringLiteral("update-mime-database"), mime) && ok;
  if (desktop == Ecriture::Ecrite)
    ok = runTool(QStringLiteral("update-desktop-database"), applications) && ok;
  return ok;
}

}  // namespace kvx::platform
