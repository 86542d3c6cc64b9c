// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/bibliotheque_capteurs.h"

#include <QFile>
#include <QFileInfo>

namespace kvx::platform {

exchange::EmplacementCapteurs EmplacementCapteursUtilisateur(const QString &programme,
                                                             const Dossiers &dossiers) {
  const std::filesystem::path pres =
      exchange::NomFichierCapteurs(QFile::encodeName(programme).toStdString());
  const QString presQt = QFile::decodeName(QByteArray::fromStdString(pres.string()));
  const QFileInfo fichier(presQt);
  const bool inscriptible = QFileInfo(fichier.absolutePath()).isWritable() &&
                            (!fichier.exists() || fichier.isWritable());
  const QString copie = dossiers.application + QLatin1Char('/') + fichier.fileName();
  return exchange::ChoisitEmplacementCapteurs(inscriptible, pres,
                                              QFile::encodeName(copie).toStdString(),
                                              QFileInfo::exists(copie));
}

}  // namespace kvx::platform
