// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>

#include "exchange/configuration.h"
#include "exchange/reglages.h"
#include "exchange/settings_store.h"
#include "platform/association_bureau.h"
#include "platform/dossiers.h"

class QWidget;

namespace kvx::ui {

// The local date and time, as configuration files keep it.
exchange::IniDateTime Maintenant();

// The window state as the settings keep it: 0 normal, 1 minimised,
// 2 maximised (a full-screen window counts as maximised).
int EtatFenetre(const QWidget &fenetre);
void AppliqueEtatFenetre(QWidget &fenetre, int etat);

// What the program keeps from one run to the next and does at its ends: the
// settings, the data folders, the configuration files named by the user, by
// the command line and by a second start, and the closing sequence that
// leaves the box stopped and saves the settings, the file association and
// the last configuration. The main window owns one; its parts join through
// the hooks below, so the session is tested without a window.
class TSession : public QObject {
  Q_OBJECT
 public:
  struct Chemins {
    platform::Dossiers dossiers;
    platform::DossiersBureau bureau;
    QString executable;  // what a double-click on a ".KVX" file starts
  };

  // Creates the data folders and reads the settings.
  TSession(std::unique_ptr<exchange::SettingsStore> store, Chemins chemins,
           QObject *parent = nullptr);
  ~TSession() override;

  exchange::Reglages &reglages() { return m_reglages; }
  // Where the settings are kept, for files that record their place there.
  exchange::SettingsStore &store() { return *m_store; }
  const Chemins &chemins() const { return m_chemins; }

  // The graph, channels and window values a configuration fills; none until
  // the graph exists, and then configurations are not read.
  void FixeObjets(exchange::ObjetsConfiguration *objets) { m_objets = objets; }
  // Around a configuration read while the program runs: stop the live
  // display before, apply the settings to the panels and the box after.
  void FixeAutourLecture(std::function<void()> avant, std::function<void()> apres);
  // True while the window waits on the box or shows a dialog: requests from
  // outside (a second start, a signal) wait until it is free.
  void FixeOccupe(std::function<bool()> occupe) { m_occupe = std::move(occupe); }
  void FixeAuPremierPlan(std::function<void()> action) { m_auPremierPlan = std::move(action); }
  // Tells the user why a file was not read (not a configuration, not a file).
  void FixeAvertissement(std::function<void(const QString &)> avertit) {
    m_avertit = std::move(avertit);
  }
  // Puts the port in use and the window state into the settings to write.
  void FixeReglagesCourants(std::function<void(exchange::Reglages &)> courants) {
    m_reglagesCourants = std::move(courants);
  }

  // The receiver's rule on `texte`, then the file is read (no hooks: for the
  // start, before the first activation applies everything).
  exchange::ResultatLecture Charge(const QString &texte);
  // The open command: the live display stops, the user chooses a file
  // (`choix` gives an empty name when cancelled), it is read, and the
  // configuration is applied in every case.
  void OuvreConfiguration(const std::function<QString()> &choix);
  // Writes the configuration to `fichier`; the user's message when it failed,
  // else an empty text. The file's folder becomes the dialogs' folder.
  QString Sauve(const QString &fichier);
  // The name after the receiver's rule.
  QString NomRecu(const QString &texte) const;
  // A request of another start: to the front, and the file it names, if
  // any, is read as by the open command. Waits while the window is busy.
  void RecoitDemande(const QString &texte);
  // Runs `action` from the event loop as soon as the window is not busy.
  void QuandLibre(std::function<void()> action);

  // Closes from outside the user's hands (a signal, the session ending):
  // `fermer` runs once the box is not being waited on and every dialog has
  // been dismissed, even those opened after the request.
  void DemandeFermeture(std::function<void()> fermer);

  // The closing sequence after the window has stopped the box, once: the
  // settings, the file association, then the configuration "KVX.KVX" in the
  // data folder. A step that fails does not keep the next ones from running.
  void Fermeture();
  // The saves of the closing sequence, the program going on (the desktop
  // asking for its data before a logout).
  void Sauvegarde();
  bool fermee() const { return m_fermee; }
  QString FichierAutomatique() const;

 signals:
  // After a configuration was read at another start's request.
  void configurationRecue(const QString &fichier);

 private:
  void TraiteAttente();
  void TraiteDemandes();
  void Planifie(int delaiMs);
  void RetientDossier(const QString &fichier);
  exchange::ResultatLecture Lit(const QString &fichier);

  std::unique_ptr<exchange::SettingsStore> m_store;
  Chemins m_chemins;
  exchange::Reglages m_reglages;
  exchange::ObjetsConfiguration *m_objets = nullptr;
  std::function<void()> m_avantLecture, m_apresLecture, m_auPremierPlan;
  std::function<bool()> m_occupe;
  std::function<void(const QString &)> m_avertit;
  std::function<void(exchange::Reglages &)> m_reglagesCourants;
  std::function<void()> m_fermetureDemandee;
  std::deque<std::function<void()>> m_attente;
  bool m_traitementPrevu = false;
  bool m_fermee = false;
};

}  // namespace kvx::ui
