// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

// A fresh user for one test: HOME and the XDG folders point into a temporary
// folder, so nothing touches the real user's settings, documents or desktop
// files. Child processes started by the test inherit it.
namespace kvx::ui::test {

class UtilisateurTemporaire {
 public:
  UtilisateurTemporaire() {
    m_home = m_dossier.path();
    QDir().mkpath(m_home + QStringLiteral("/run"));
    QFile::setPermissions(m_home + QStringLiteral("/run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const char *nom : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                            "XDG_RUNTIME_DIR", "XDG_DOCUMENTS_DIR"})
      m_anciens.emplace_back(nom, qgetenv(nom), qEnvironmentVariableIsSet(nom));
    qputenv("HOME", m_home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (m_home + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (m_home + QStringLiteral("/.local/share")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (m_home + QStringLiteral("/.cache")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (m_home + QStringLiteral("/run")).toLocal8Bit());
    qunsetenv("XDG_DOCUMENTS_DIR");
  }
  ~UtilisateurTemporaire() {
    for (const auto &[nom, valeur, existait] : m_anciens) {
      if (existait) {
        qputenv(nom, valeur);
      } else {
        qunsetenv(nom);
      }
    }
  }
  UtilisateurTemporaire(const UtilisateurTemporaire &) = delete;
  UtilisateurTemporaire &operator=(const UtilisateurTemporaire &) = delete;

  const QString &home() const { return m_home; }
  QString chemin(const QString &relatif) const { return m_home + QLatin1Char('/') + relatif; }

  static QByteArray Lit(const QString &chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  static void Ecrit(const QString &chemin, const QByteArray &octets) {
    QDir().mkpath(QFileInfo(chemin).absolutePath());
    QFile f(chemin);
    if (f.open(QIODevice::WriteOnly)) f.write(octets);
  }

 private:
  QTemporaryDir m_dossier;
  QString m_home;
  std::vector<std::tuple<const char *, QByteArray, bool>> m_anciens;
};

}  // namespace kvx::ui::test
