// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/traduction_qt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kvx::platform {

bool ChargeTraductionQt(QCoreApplication &application) {
  auto *traduction = new QTranslator(&application);
  const QStringList dossiers = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                QStringLiteral("/usr/share/qt6/translations")};
  for (const QString &dossier : dossiers) {
    if (traduction->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                         QStringLiteral("_"), dossier) &&
        QCoreApplication::installTranslator(traduction))
      return true;
  }
  delete traduction;
  return false;
}

}  // namespace kvx::platform
