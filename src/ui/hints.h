// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// Hints in two parts, "short|long": the short part is the tool tip (the long
// part when there is no short one), the long part is what the window's title
// bar shows while the pointer is over the control. A hint without "|" is both.
namespace kvx::ui {

void FixeHint(QWidget *w, const QString &hint);

// The long part of a hint (after "|"), or the whole hint without "|".
QString PartieLongue(const QString &hint);
QString PartieCourte(const QString &hint);

}  // namespace kvx::ui
