// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/session.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <exception>

#include "exchange/atomic_file.h"
#include "exchange/configuration_cles.h"
#include "exchange/ligne_commande.h"
#include "exchange/reglages_cles.h"
#include "ui/dialogue_modal.h"

namespace kvx::ui {

namespace {

// A busy window is asked again after this long; short enough that a
// double-clicked file opens without a felt delay after a box exchange.
constexpr int kReessaiMs = 100;
// Time for a dismissed dialog to return from its own event loop.
constexpr int kDialogueMs = 10;

}  // namespace

exchange::IniDateTime Maintenant() {
  const QDateTime now = QDateTime::currentDateTime();
  return {now.date().year(), now.date().month(),  now.date().day(),
          now.time().hour(), now.time().minute(), now.time().second()};
}

int EtatFenetre(const QWidget &fenetre) {
  using namespace exchange::reglages;
  if (fenetre.isMinimized()) return kEtatMinimise;
  if (fenetre.isMaximized() || fenetre.isFullScreen()) return kEtatMaximise;
  return kEtatNormal;
}

void AppliqueEtatFenetre(QWidget &fenetre, int etat) {
  using namespace exchange::reglages;
  if (etat == kEtatMaximise) fenetre.showMaximized();
  if (etat == kEtatMinimise) fenetre.showMinimized();
}

TSession::TSession(std::unique_ptr<exchange::SettingsStore> store, Chemins chemins, QObject *parent)
    : QObject(parent), m_store(std::move(store)), m_chemins(std::move(chemins)) {
  // Without its folders the program still runs; saving there then fails
  // quietly, as any other save of the closing sequence may.
  platform::CreeDossiers(m_chemins.dossiers);
  m_reglages = exchange::LitReglages(*m_store, m_chemins.dossiers.donnees.toStdString());
}

TSession::~TSession() = default;

void TSession::FixeAutourLecture(std::function<void()> avant, std::function<void()> apres) {
  m_avantLecture = std::move(avant);
  m_apresLecture = std::move(apres);
}

QString TSession::NomRecu(const QString &texte) const {
  return QString::fromStdString(
      exchange::ResoutNomTransmis(texte.toStdString(), m_chemins.dossiers.donnees.toStdString()));
}

exchange::ResultatLecture TSession::Lit(const QString &fichier) {
  using exchange::ResultatLecture;
  if (!m_objets || fichier.isEmpty()) return ResultatLecture::Absent;
  const auto resultat = exchange::LitConfiguration(fichier.toStdString(), *m_objets, Maintenant());
  if (m_avertit && resultat == ResultatLecture::PasUneConfiguration)
    m_avertit(QStringLiteral("\"%1\" n'est pas une configuration KVX : rien n'a été changé.")
                  .arg(fichier));
  if (m_avertit && resultat == ResultatLecture::PasUnFichier)
    m_avertit(QStringLiteral("\"%1\" n'est pas un fichier ordinaire : il n'a pas été lu.")
                  .arg(fichier));
  return resultat;
}

exchange::ResultatLecture TSession::Charge(const QString &texte) {
  return Lit(NomRecu(texte));
}

void TSession::OuvreConfiguration(const std::function<QString()> &choix) {
  if (m_avantLecture) m_avantLecture();
  const QString fichier = choix();
  if (!fichier.isEmpty()) {
    RetientDossier(fichier);
    Lit(fichier);
  }
  if (m_apresLecture) m_apresLecture();
}

QString TSession::Sauve(const QString &fichier) {
  RetientDossier(fichier);
  if (!m_objets) return QString();
  try {
    exchange::EcritConfiguration(fichier.toStdString(), *m_objets);
  } catch (const std::exception &erreur) {
    return QStringLiteral("La configuration n'a pas pu être enregistrée.\n") +
           QString::fromStdString(erreur.what());
  }
  return QString();
}

void TSession::RetientDossier(const QString &fichier) {
  m_reglages.dossierConfig = (QFileInfo(fichier).absolutePath() + QLatin1Char('/')).toStdString();
}

void TSession::RecoitDemande(const QString &texte) {
  QuandLibre([this, texte] {
    if (m_auPremierPlan) m_auPremierPlan();
    const QString fichier = NomRecu(texte);
    if (fichier.isEmpty() || m_fermee) return;
    // Loaded as by the open command: the engine must not run on channels
    // that change under it, and the box must get the new settings.
    if (m_avantLecture) m_avantLecture();
    const auto resultat = Lit(fichier);
    if (m_apresLecture) m_apresLecture();
    if (resultat == exchange::ResultatLecture::Lu || resultat == exchange::ResultatLecture::Interrompu) emit configurationRecue(fichier);
  });
}

void TSession::QuandLibre(std::function<void()> action) {
  m_attente.push_back(std::move(action));
  // Never inside the handler that brought the request (a socket's or a
  // signal pipe's): the action may wait on the box and pump events, and
  // that handler must have returned first.
  Planifie(0);
}

void TSession::Planifie(int delaiMs) {
  if (m_traitementPrevu) return;
  m_traitementPrevu = true;
  QTimer::singleShot(delaiMs, this, [this] {
    m_traitementPrevu = false;
    TraiteAttente();
  });
}

void TSession::DemandeFermeture(std::function<void()> fermer) {
  m_fermetureDemandee = std::move(fermer);
  // At once, not when the queue gets there: a question open now would
  // otherwise hold the close until someone answers it.
  TermineModaux();
  Planifie(0);
}

void TSession::TraiteAttente() {
  if (m_occupe && m_occupe()) {
    Planifie(kReessaiMs);
    return;
  }
  if (m_fermetureDemandee) {
    // Dismissed windows still on the call stack return first; the close
    // then runs from the main loop, not from inside one of theirs.
    if (ModauxOuverts() > 0 || QApplication::activeModalWidget() != nullptr) {
      TermineModaux();
      Planifie(kDialogueMs);
      return;
    }
    // A file handed over before the close was answered "OK": the user who
    // double-clicked it and then logged out finds it in KVX.KVX next time.
    TraiteDemandes();
    const auto fermer = std::move(m_fermetureDemandee);
    m_fermetureDemandee = nullptr;
    if (fermer) fermer();
    return;
  }
  if (QApplication::activeModalWidget() != nullptr) {
    Planifie(kReessaiMs);
    return;
  }
  TraiteDemandes();
}

void TSession::TraiteDemandes() {
  while (!m_attente.empty()) {
    auto action = std::move(m_attente.front());
    m_attente.pop_front();
    action();
  }
}

QString TSession::FichierAutomatique() const {
  return m_chemins.dossiers.donnees + QLatin1String(exchange::configuration::kNomAutomatique);
}

void TSession::Fermeture() {
  if (m_fermee) return;
  m_fermee = true;
  Sauvegarde();
}

void TSession::Sauvegarde() {
  if (m_reglagesCourants) m_reglagesCourants(m_reglages);
  // Errors of these three saves are not shown: the program is going, and a
  // lost setting or association only costs a default at the next start.
  if (!exchange::EcritReglages(*m_store, m_reglages))
    std::fprintf(stderr, "kvx: the settings could not be saved\n");
  if (!platform::EcritAssociation(m_chemins.executable, m_chemins.bureau))
    std::fprintf(stderr, "kvx: the .KVX file association could not be written\n");
  if (!m_objets) return;
  try {
    exchange::EcritConfiguration(FichierAutomatique().toStdString(), *m_objets);
  } catch (const std::exception &erreur) {
    std::fprintf(stderr, "kvx: %s\n", erreur.what());
  }
}

}  // namespace kvx::ui
