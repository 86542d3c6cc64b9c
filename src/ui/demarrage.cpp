// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/demarrage.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QSessionManager>

#include "device/acquisition_engine.h"
#include "device/box_link.h"
#include "exchange/ligne_commande.h"
#include "platform/event_pump.h"
#include "platform/instance_unique.h"
#include "platform/signaux_fermeture.h"
#include "ui/dialogue_modal.h"
#include "ui/kvxmain.h"
#include "ui/session.h"

namespace kvx::ui {

QString TexteDeLigneCommande(const std::vector<std::string> &autres) {
  const std::string texte = exchange::TexteTransmis(autres);
  return QString::fromStdString(exchange::CheminDepuis(texte, QDir::currentPath().toStdString()));
}

void FermeDepuisDehors(TKVXmainForm &fenetre, TSession &session) {
  session.DemandeFermeture([&fenetre] { fenetre.close(); });
}

void RelieSession(TKVXmainForm &fenetre, TSession &session, platform::ServeurInstance *serveur,
                  platform::SignauxFermeture *signaux) {
  session.FixeAuPremierPlan([&fenetre] {
    if (fenetre.isMinimized()) fenetre.showNormal();
    fenetre.show();
    fenetre.raise();
    fenetre.activateWindow();
  });
  session.FixeReglagesCourants([&fenetre](exchange::Reglages &reglages) {
    reglages.numeroPort = fenetre.lien().ComNumber();
    // A run that never found the box keeps the path of the last one that did.
    if (const std::string &chemin = fenetre.lien().foundPortName(); !chemin.empty())
      reglages.cheminPort = chemin;
    reglages.etatFenetre = EtatFenetre(fenetre);
  });
  session.FixeOccupe(&platform::DansPompe);
  session.FixeAvertissement([&fenetre](const QString &texte) {
    MontreMessage(&fenetre, QMessageBox::Warning, QString::fromUtf8(kTitreFenetre), texte);
  });
  session.FixeAutourLecture([&fenetre] { fenetre.moteur().HaltAcquisition(); },
                            [&fenetre] { fenetre.moteur().ApplyConfiguration(); });
  fenetre.FixeFermeture([&session] { session.Fermeture(); });
  fenetre.FixeDemarrage(
      [&fenetre, &session] { AppliqueEtatFenetre(fenetre, session.reglages().etatFenetre); });
  if (serveur)
    QObject::connect(serveur, &platform::ServeurInstance::demandeRecue, &session,
                     [&session](const QString &texte) { session.RecoitDemande(texte); });
  if (signaux)
    QObject::connect(signaux, &platform::SignauxFermeture::fermetureDemandee, &fenetre,
                     [&fenetre, &session] { FermeDepuisDehors(fenetre, session); });
  // The desktop asks for the data before a logout that may still be
  // cancelled: it gets the saves of the closing sequence, and the window
  // stays with its curves. The logout itself quits the application, which
  // closes the window through the whole closing sequence (or sends SIGTERM).
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, &session,
                   [&session](QSessionManager &) { session.Sauvegarde(); });
}

}  // namespace kvx::ui
