// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <limits>

class QGroupBox;
class QLineEdit;
class QPushButton;

// "Renseignement sur la page courante": what is sent with the table to the
// analysis program besides the data — an optional constant of the page
// (symbol, unit, value), the page comment, and whether the table opens a new
// file or adds a page to the open one. Made once at start and kept, so the
// value and the choice carry from one transfer to the next; the "Tabulyse"
// button shows it before each transfer and the analysis program's "GETDATA"
// request presets the choice.
namespace kvx::ui {

class TRadioGroup;
struct TPage;

inline constexpr int kAideConstante = 3;
inline constexpr char kNombreMalEcrit[] = "Nombre mal écrit";

class TConstanteDlg : public QDialog {
  Q_OBJECT
 public:
  // Choices of `NewPageCB`.
  enum Choix { NouveauFichier = 0, NouvellePage = 1 };

  explicit TConstanteDlg(TPage &page, QWidget *parent = nullptr);

  // The edits from the page.
  void FormActivate();
  int Execute();

  bool nouvellePage() const;
  void FixeNouvellePage(bool nouvelle);
  // The constant's value; NaN while the user has given none.
  double valeur() const { return m_valeur; }
  void FixeValeur(double valeur) { m_valeur = valeur; }

  QGroupBox *GroupBox2;
  QLineEdit *NomConstEdit;
  QLineEdit *UniteConstEdit;
  QLineEdit *ValeurConstEdit;
  QGroupBox *GroupBox1;
  QLineEdit *EditComm;
  TRadioGroup *NewPageCB;
  QPushButton *OKBtn;
  QPushButton *CancelBtn;
  QPushButton *HelpBtn;

 private:
  void OKBtnClick();

  TPage &m_page;
  double m_valeur = std::numeric_limits<double>::quiet_NaN();
  QString m_valeurAffichee;
};

}  // namespace kvx::ui
