// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace kvx::model {
struct TCapteur;
class TlisteCapteur;
class Tvoie;
}  // namespace kvx::model

// The three windows of the sensor library: the library itself, where the
// teacher adds, edits and removes sensors and saves them ("Capteurs" of the
// menu); one sensor's settings; and the list a channel picks its sensor from.
namespace kvx::ui {

// "Configuration des capteurs": one sensor, on two pages. OK stores every
// field, or, when a number does not read, none: the field is shown with the
// reason and the dialog stays open.
class TCapteurCfgDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TCapteurCfgDlg(QWidget *parent = nullptr);

  // Shows the sensor and edits it in place on OK.
  int Edite(model::TCapteur &capteur);
  void FormActivate();

  QTabWidget *Pages;
  QLineEdit *EditNom;
  QLineEdit *EditUnite;
  QLineEdit *EditSignif;
  QLineEdit *val0Edit;
  QLabel *PenteLabel;
  QLineEdit *PenteEdit;
  QComboBox *NumeroCB;
  QLineEdit *EditAide;
  QCheckBox *EtalonnageCB;
  QCheckBox *AmpliCB;
  QCheckBox *AlimCB;
  QCheckBox *RefCB;
  QPushButton *OKBtn;
  QPushButton *CancelBtn;
  QPushButton *HelpBtn;

 private:
  void OKBtnClick();
  void MetPente();

  model::TCapteur *m_capteur = nullptr;
};

// "Capteurs" from the menu: the whole library. Edits live in memory until
// "Enregistrer", or "Oui" to the question on "Quitter".
class TChoixCapteursDlg : public QDialog {
  Q_OBJECT
 public:
  // `sauve` writes the library to its file; it throws exchange::FileError
  // (shown to the user, the library staying modified) when it cannot.
  TChoixCapteursDlg(model::TlisteCapteur &liste, std::function<void()> sauve,
                    QWidget *parent = nullptr);

  // The library's file exists but could not be read at start (`*fichier`
  // names it; empty once a save has replaced it): the list is marked as the
  // default one, and a save asks before it replaces the file.
  void FixeFichierIllisible(std::shared_ptr<QString> fichier);
  void FormActivate();
  // Edits still unsaved when the program closes under the dialog are saved,
  // as the default answer to "Sauvegarde des modifications" would.
  int Execute();
  bool modifie() const { return m_modifie; }

  QLabel *DefautLabel;  // shown while the list is the default one
  QListWidget *ListeCapteursBox;
  QPushButton *EnregistreBtn;
  QPushButton *AddBtn;
  QPushButton *DelBtn;
  QPushButton *ModifBtn;
  QPushButton *ExitBtn;

 private:
  void Remplit();
  void Rafraichit();
  bool Sauve();
  void AddBtnClick();
  void DelBtnClick();
  void ModifBtnClick();
  void ExitBtnClick();
  int Selection() const;

  model::TlisteCapteur &m_liste;
  std::function<void()> m_sauve;
  std::shared_ptr<QString> m_illisible = std::make_shared<QString>();
  TCapteurCfgDlg *m_cfg = nullptr;  // made at the first activation
  bool m_modifie = false;
};

// "Capteurs" from the analog-input dialog: OK applies the chosen sensor to
// the channel.
class TListeCapteursDlg : public QDialog {
  Q_OBJECT
 public:
  TListeCapteursDlg(const model::TlisteCapteur &liste, model::Tvoie &voie,
                    QWidget *parent = nullptr);

  int Execute();
  // What the user must be told after OK (the amplifier to plug in).
  QString message() const { return m_message; }

  QListWidget *ListeCapteursBox;
  QPushButton *OKBtn;
  QPushButton *CancelBtn;

 private:
  void OKBtnClick();

  const model::TlisteCapteur &m_liste;
  model::Tvoie &m_voie;
  QString m_message;
};

}  // namespace kvx::ui
