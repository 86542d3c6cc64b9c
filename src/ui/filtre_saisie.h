// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QLineEdit;

// Key filters of the edit fields that take a number or a channel's symbol:
// a key the field cannot take is dropped as it is typed, so the user sees at
// once what the field accepts. Keys that type nothing (arrows, Delete) and
// shortcuts edit as usual.
namespace kvx::ui {

class TFiltreSaisie : public QObject {
  Q_OBJECT
 public:
  // `filtre` gives the character to type for a typed one, 0 to drop it.
  TFiltreSaisie(QLineEdit *edit, std::function<char32_t(char32_t)> filtre);

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  std::function<char32_t(char32_t)> m_filtre;
};

// Numbers: "," and "." type the program's decimal separator; letters that
// are no prefix or exponent are dropped.
void FiltreNombre(QLineEdit *edit);
// A channel's symbol: letters, digits and the few signs the analysis program
// takes in a name.
void FiltreSymbole(QLineEdit *edit);

}  // namespace kvx::ui
