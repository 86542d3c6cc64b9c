// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace kvx::platform {

// The files of the closing sequence when the program ends without closing
// its window: the toolkit ends the program with exit() when the X server or
// the desktop session goes away (a crash, a cut remote session), past the
// window's close. While one of these objects lives, its function runs from
// the exit handlers in that case; destroyed (the normal close is over, or the
// program returns from main), it runs nothing. One at a time.
class SauvegardeALaSortie {
 public:
  explicit SauvegardeALaSortie(std::function<void()> sauvegarde);
  ~SauvegardeALaSortie();
  SauvegardeALaSortie(const SauvegardeALaSortie &) = delete;
  SauvegardeALaSortie &operator=(const SauvegardeALaSortie &) = delete;
};

}  // namespace kvx::platform
