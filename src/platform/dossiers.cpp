// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dossiers.h"

#include <QDir>
#include <QStandardPaths>

namespace kvx::platform {

Dossiers DossiersUtilisateur() {
  Dossiers dossiers;
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty()) documents = QDir::homePath();
  dossiers.donnees = QDir::cleanPath(documents + QStringLiteral("/Tabulyse")) + QLatin1Char('/');
  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  dossiers.application = QDir::cleanPath(data + QStringLiteral("/Tabulyse"));
  return dossiers;
}

QString DossierHistorique() {
  QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (data.isEmpty()) data = QDir::homePath() + QStringLiteral("/.local/share/KVX");
  return QDir::cleanPath(data + QStringLiteral("/historique"));
}

bool CreeDossiers(const Dossiers &dossiers) {
  const bool donnees = QDir().mkpath(dossiers.donnees);
  const bool application = QDir().mkpath(dossiers.application);
  return donnees && application;
}

}  // namespace kvx::platform
