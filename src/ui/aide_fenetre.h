// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The help of the main window: "Aide" opens the guide's table of contents
// and "&A propos..." the about box.
namespace kvx::ui {

class TKVXmainForm;

void RelieAide(TKVXmainForm &fenetre);

}  // namespace kvx::ui
