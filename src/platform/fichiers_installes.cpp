// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fichiers_installes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "exchange/reglages_cles.h"
#include "exchange/settings_store.h"

namespace kvx::platform {

QStringList DossiersFichiers(const QString &programme) {
  const QString dossier = QFileInfo(programme).absolutePath();
  return {QDir::cleanPath(dossier),
          QDir::cleanPath(dossier + QStringLiteral("/../share/") + QLatin1String(kDossierPartage))};
}

QString TrouveFichier(const QString &programme, const QString &nom) {
  if (nom.isEmpty()) return QString();
  for (const QString &dossier : DossiersFichiers(programme)) {
    const QFileInfo fichier(dossier + QLatin1Char('/') + nom);
    if (fichier.isFile()) return fichier.absoluteFilePath();
  }
  return QString();
}

QString DossierAide(const QString &programme) {
  const QString sommaire = TrouveFichier(
      programme, QLatin1String(kDossierAide) + QLatin1Char('/') + QLatin1String(kPageSommaire));
  return sommaire.isEmpty() ? QString() : QFileInfo(sommaire).absolutePath();
}

QString ProgrammePourCapteurs(const QString &programme) {
  const QString trouve =
      TrouveFichier(programme, QFileInfo(programme).completeBaseName() + QStringLiteral(".CPT"));
  // Nowhere: the program's own folder, where the search then says it is missing.
  if (trouve.isEmpty()) return programme;
  const QFileInfo info(trouve);
  return info.absolutePath() + QLatin1Char('/') + QFileInfo(programme).completeBaseName();
}

std::vector<std::string> EmplacementsImageVeltor(const exchange::SettingsStore &reglages,
                                                 const QString &programme) {
  namespace r = exchange::reglages;
  std::vector<std::string> places;
  if (const auto choisi = reglages.value(r::kGroupeVeltor, r::kCleImage);
      choisi && !choisi->empty())
    places.push_back(*choisi);
  const QString nom = QLatin1String(r::kFichierImageVeltor);
  const QString donnees = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (!donnees.isEmpty())
    places.push_back(
        QFile::encodeName(QDir::cleanPath(donnees + QLatin1Char('/') + nom)).toStdString());
  places.push_back(
      QFile::encodeName(DossiersFichiers(programme).constLast() + QLatin1Char('/') + nom)
          .toStdString());
  return places;
}

}  // namespace kvx::platform
