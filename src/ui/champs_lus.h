// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <initializer_list>

class QLineEdit;
class QWidget;

// Fields read back when a dialog applies its settings: each is read whole
// or the user is shown why, the field selected, and nothing is applied.
namespace kvx::ui {

// The values of the fields through the expression reader (1/0.05, 2*PI), in
// `valeurs`, in the fields' order. At the first one that does not read, the
// reason (put into `format`'s "%1" when given) is shown and false returned.
bool LitExpressions(QWidget *dialogue, std::initializer_list<QLineEdit *> champs, double *valeurs,
                    const QString &format = QStringLiteral("%1"));

// Whether the field holds a unit the program can decompose; else its reason
// is shown and the field selected.
bool UniteLisible(QWidget *dialogue, QLineEdit *champ);

}  // namespace kvx::ui
