// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "exchange/configuration.h"
#include "exchange/historique.h"
#include "ui/kvxmain.h"

class QMenu;

// The window's side of the recording history: it keeps what the graph shows
// at the moments the window reports (a recording ended, about to be cleared,
// dropped by a change of settings, the close), and brings an entry back from
// the menu "Acquisitions récentes" exactly as it was recorded, its
// configuration applied as a dialog would, ready for the transfers.
namespace kvx::ui {

class THistoriqueFenetre : public QObject {
  Q_OBJECT
 public:
  THistoriqueFenetre(TKVXmainForm &fenetre, exchange::ObjetsConfiguration &objets,
                     const QString &dossier, exchange::Historique::Limites limites = {});
  ~THistoriqueFenetre() override;

  exchange::Historique &historique() { return m_historique; }
  QMenu *menu() const { return m_menu; }

  // Keeps the recording shown, when it holds a point and is not the one kept
  // last (`toujours`: even then, for a recording that just ended). `serie`:
  // see Historique::Ecrit.
  void Garde(bool toujours = false, std::uint64_t serie = 0);
  // Waits until what was kept is on the disk, at most `ms`.
  bool Attend(int ms);
  // Brings the entry back; the user's message when it cannot be, else empty
  // (the message is also shown).
  QString Rappelle(const QString &chemin);
  // The menu's items, from the folder as it is now.
  void RemplitMenu();
  // How a message is shown; tests replace it.
  void FixeMessage(std::function<void(const QString &)> montre) { m_montre = std::move(montre); }
  // What the window reports, as RelieHistorique joins it.
  void Moment(TKVXmainForm::Moment moment);

 private:
  exchange::Enregistrement Instantane();
  void Garde(exchange::Enregistrement e, bool toujours, std::uint64_t serie);
  void Restaure(const exchange::Enregistrement &e);
  void EchecEcriture(const QString &message);
  // The last runs of earlier sessions that recorded a curve shown now join
  // those of this one for the overlays.
  void ChargeSuperpositions();

  TKVXmainForm &m_fenetre;
  exchange::ObjetsConfiguration &m_objets;
  exchange::Historique m_historique;
  std::unique_ptr<exchange::EcrivainHistorique> m_ecrivain;
  QMenu *m_menu = nullptr;
  std::function<void(const QString &)> m_montre;
  // Taken when a change of settings starts; kept if the change dropped it.
  std::optional<exchange::Enregistrement> m_avantReglages;
  // Fingerprints of the recordings kept last: the same curve is not kept
  // twice because several moments saw it.
  std::deque<std::size_t> m_empreintes;
  bool m_rappel = false;
  // The entries of earlier sessions already given to the overlays.
  std::set<std::string> m_superposees;
  // Entries from this instant on are this session's: already in memory.
  QDateTime m_debut;
  bool m_echecDit = false;
  std::size_t m_ecritesAuMessage = 0;
};

// Makes the history of the window in `dossier`, adds "Acquisitions récentes"
// to its menu and joins it to the window's moments. Lives as long as the
// window.
THistoriqueFenetre *RelieHistorique(TKVXmainForm &fenetre, exchange::ObjetsConfiguration &objets,
                                    const QString &dossier);

// The menu item's text for an entry: date and time, mode, points, symbols.
QString TexteElement(const exchange::Historique::Element &element);

}  // namespace kvx::ui
