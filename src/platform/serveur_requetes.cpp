// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/serveur_requetes.h"

#include <QDir>
#include <QStandardPaths>

#include "exchange/requete_dde.h"

namespace kvx::platform {

QString CheminService(const QString &service) {
  if (service.contains(QLatin1Char('/'))) return service;
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder + QLatin1Char('/') + service + QStringLiteral(".ServeurDDE");
}

ServeurRequetes::ServeurRequetes(int delaiClientMs, QObject *parent)
    : QObject(parent), m_serveur(std::make_unique<ServeurInstance>(delaiClientMs)) {
  connect(m_serveur.get(), &ServeurInstance::demandeRecue, this, &ServeurRequetes::traite);
}

ServeurRequetes::~ServeurRequetes() = default;

bool ServeurRequetes::ecoute(const QString &chemin) {
  return m_serveur->ecoute(chemin);
}

QString ServeurRequetes::chemin() const {
  return m_serveur->chemin();
}

void ServeurRequetes::traite(const QString &texte) {
  const QByteArray octets = texte.toUtf8();
  const exchange::EffetRequete effet = exchange::EffetDeCommande(
      exchange::CommandeDeRequete(std::string_view(octets.constData(), octets.size())));
  if (effet.nouvellePage) emit nouvellePageDemandee();
  if (effet.focus) emit focusDemande();
}

}  // namespace kvx::platform
