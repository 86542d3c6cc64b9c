// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Greek letters typed with Ctrl: pupils write "Δt", "ω" or "µ" in channel
// names and units without a special keyboard. Installed once on the
// application, so every edit box of every window gets it.
namespace kvx::ui {

// The character that Ctrl + `lettre` (A..Z, either case) types: the lower-case
// column without Shift, the upper-case column with it. Latin letters that have
// no Greek look-alike stay themselves. Returns 0 for anything but A..Z.
char16_t LettreGrecque(char lettre, bool majuscule);

class TGreekKeyFilter : public QObject {
  Q_OBJECT
 public:
  explicit TGreekKeyFilter(QObject *parent = nullptr);

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
};

}  // namespace kvx::ui
