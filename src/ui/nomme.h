// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kvx::ui {

// Gives a control the object name the user's documentation and the tests
// know it by, where it is made.
template <class W>
W *Nomme(W *w, const char *nom) {
  w->setObjectName(QString::fromLatin1(nom));
  return w;
}

}  // namespace kvx::ui
