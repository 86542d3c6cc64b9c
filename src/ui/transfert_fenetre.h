// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "exchange/transfert.h"
#include "platform/client_tabulyse.h"

class QWidget;

namespace kvx::platform {
class ServeurRequetes;
}

// The ways the recorded table leaves the window: "Tabulyse" (the constant
// dialog, then the table to the analysis program), "Copier données" (the
// same transfer without the dialog), "Sauver données" (the ASCII file), and
// the requests of other programs (to the front, the next transfer a new
// page). After a transfer the window takes the acquisition up again when it
// gets the focus back, so that the analysis program, which takes the focus,
// does not leave a scan running behind it.
namespace kvx::ui {

class TConstanteDlg;
class TKVXmainForm;
class TSession;
struct TPage;

// The export for a spreadsheet: the OpenDocument spreadsheet first (the
// default), then CSV.
inline constexpr char kFiltreOds[] = "Classeur OpenDocument (*.ods)";
inline constexpr char kFiltreCsv[] = "Texte CSV (*.csv)";
inline constexpr char kCopieSansTabulyse[] =
    "Tableau copié dans le presse-papiers (Tabulyse n'est pas installé)";
inline constexpr char kTabulyseAbsent[] =
    "Tabulyse n'est pas installé sur cet ordinateur.\n\n"
    "Le tableau des mesures est dans le presse-papiers : il se colle tel quel dans un "
    "tableur.\n\nVoulez-vous l'exporter pour un tableur (classeur .ods ou texte .csv) ?";

// The Qt filter of the data file dialog: both spellings, as names are case
// sensitive here.
inline constexpr char kFiltreDonnees[] = "Fichier ASCII (*.Txt *.txt)";
inline constexpr char kExtensionDonnees[] = "Txt";

// What the transfers ask of the outside; tests replace them.
struct DialoguesTransfert {
  // The save dialog of the data file, starting in `dossier`; empty when
  // cancelled.
  std::function<QString(QWidget *parent, const QString &dossier)> sauver;
  // A message to the user ("Impossible de lancer Tabulyse", a failed save).
  std::function<void(QWidget *parent, const QString &message)> message;
  // Hands the clipboard to the analysis program with `commande`.
  std::function<platform::ResultatTransfert(const std::string &commande)> transfere;
  // Whether the analysis program is installed at all (a path in the
  // settings, or on the PATH); taken as installed when not set.
  std::function<bool()> installe;
  // The spreadsheet export's save dialog (.ods or .csv); empty when
  // cancelled.
  std::function<QString(QWidget *parent, const QString &dossier)> exporter;
  // Asks whether to export when the analysis program is missing.
  std::function<bool(QWidget *parent, const QString &question)> proposeExport;

  static DialoguesTransfert Standard();
};

class TTransfertFenetre : public QObject {
  Q_OBJECT
 public:
  TTransfertFenetre(TKVXmainForm &fenetre, TSession &session, TPage &page,
                    DialoguesTransfert dialogues);
  ~TTransfertFenetre() override;

  TConstanteDlg &constantes() { return *m_constantes; }

  void RegSaveBtnClick();
  void CopyDataClick();
  void SaveDataClick();
  void ExporteTableurClick();
  void CopieTableurClick();
  // The table on the clipboard, then to the analysis program; true when it
  // took it.
  bool EnvoieDonnees();
  // The ASCII file; the user's message when it could not be written, else
  // an empty text.
  QString SauveDonnees(const QString &fichier);
  // The spreadsheet export (.ods, or .csv by its extension); the user's
  // message when it could not be written, else an empty text.
  QString ExporteTableur(const QString &fichier);
  // The requests of other programs.
  void PrepareNouvellePage();
  void DonneFocus();

  // Set by a transfer, read when the window gets the focus back.
  bool donneesEnvoyees() const { return m_donneesEnvoyees; }

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  // After a transfer: the acquisition is taken up when the user is back.
  void ApresTransfert(bool envoye);
  exchange::DonneesTransfert Donnees();
  // The table on the clipboard: the analysis program's text as plain text
  // and the spreadsheet forms beside it.
  void CopiePressePapiers(const exchange::DonneesTransfert &d);
  enum class Envoi { Envoye, Echec, NonInstalle };
  Envoi Envoie();

  TKVXmainForm &m_fenetre;
  TSession &m_session;
  TPage &m_page;
  DialoguesTransfert m_dialogues;
  TConstanteDlg *m_constantes;
  bool m_donneesEnvoyees = false;
};

// Enables the data commands of the window and gives them their actions; the
// requests of `serveur` (none when the program has no request server) reach
// the window. The object lives as long as the window.
TTransfertFenetre *RelieTransferts(TKVXmainForm &fenetre, TSession &session, TPage &page,
                                   platform::ServeurRequetes *serveur,
                                   DialoguesTransfert dialogues = DialoguesTransfert::Standard());

}  // namespace kvx::ui
