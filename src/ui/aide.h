// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QTextBrowser;
class QToolButton;

// The program's help: the French user's guide, HTML pages shown in a window
// of the program's own (no browser needed). "Aide" opens the table of
// contents, each dialog's help button the page of its help topic. The window
// is not modal and there is only one: a second request shows the new page in
// it. Opened from a modal dialog, it is lent to that dialog while it runs so
// the user can scroll and follow links, then stands on its own again.
namespace kvx::ui {

// Topic 0 is the table of contents, "index.html"; topic n is "aide-n.html".
QString FichierRubrique(int rubrique);

class TAideFenetre : public QWidget {
  Q_OBJECT
 public:
  explicit TAideFenetre(const QString &dossier, QWidget *parent = nullptr);

  // Shows the page of `rubrique` (the table of contents when it has none)
  // and brings the window to the front.
  void MontreRubrique(int rubrique);
  QString dossier() const { return m_dossier; }
  // The page shown, as a file name ("aide-6.html").
  QString PageCourante() const;

  QTextBrowser *Navigateur;
  QToolButton *SommaireBtn;
  QToolButton *PrecedentBtn;
  QToolButton *SuivantBtn;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void Ouvre(const QString &fichier);
  void SuitModal();
  void Libere();

  QString m_dossier;
  QPointer<QWidget> m_modal;  // the modal dialog the window is lent to
};

// The guide's folder used by MontreAide: found beside the program or under
// its prefix unless set (tests, the picture tool).
void FixeDossierAide(const QString &dossier);
QString DossierAideCourant();

// Opens the help window on `rubrique` (0 = table of contents), making it at
// the first call; the same window afterwards.
void MontreAide(int rubrique);
// The help window when it has been made, else null.
TAideFenetre *FenetreAide();

}  // namespace kvx::ui
