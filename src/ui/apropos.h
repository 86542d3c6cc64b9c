// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QIcon>
#include <QString>
#include <QUrl>
#include <functional>

#include "projet/adresses.h"

class QLabel;
class QPushButton;

namespace kvx::device {
class BoxLink;
}

// "A propos de KVX": the product, its version, the port the box is on, and a
// button that opens the project's page of new versions in the desktop's
// browser. The main window's "&A propos..." shows it modally.
namespace kvx::ui {

inline constexpr char kTitreAPropos[] = "A propos de KVX";
// The project's home page, where new versions are, and its maintainer's
// address: both from the one place the package takes them (debian/control).
inline constexpr const char *kAdresseMiseAJour = projet::kPageAccueil;
inline constexpr const char *kAdresseContact = projet::kMainteneur;
inline constexpr char kEchecAcces[] = "Impossible d'accéder à ";

// The program's icon, in every size it is drawn in.
QIcon IconeKVX();

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  // Opens an address in the browser; false when the desktop could not.
  using OuvreAdresse = std::function<bool(const QUrl &)>;

  explicit TAboutBox(const device::BoxLink &lien, QWidget *parent = nullptr);

  // A test gives a browser that fails; the desktop's is used by default.
  void FixeOuvreAdresse(OuvreAdresse ouvre) { m_ouvre = std::move(ouvre); }
  // The port in use, as the user knows it: "COM1 (/dev/ttyUSB0)".
  void FormActivate();
  void HelpAbout();  // shows the box modally

  QLabel *ProgramIcon;
  QLabel *ProductName;
  QLabel *Version;
  QLabel *VersionKVX;  // the version of this build
  QLabel *Comments;
  QLabel *Label1;
  QLabel *VoieSerieL;
  QPushButton *OKButton;
  QPushButton *BitBtn1;

 protected:
  void showEvent(QShowEvent *event) override;

 private:
  void BitBtn1Click();

  const device::BoxLink &m_lien;
  OuvreAdresse m_ouvre;
};

}  // namespace kvx::ui
