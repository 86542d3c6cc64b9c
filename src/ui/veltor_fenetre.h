// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The optical fork in the main window: its settings dialog opened from the
// fork's boxes, and what the engine's fork runs show there (the upload
// label, the hourglass, the non-modal stop dialog).
namespace kvx::ui {

class TKVXmainForm;

// Gives the engine the window's side of the fork and has "Fourche optique"
// (the fork's read-out box and its mode panel) open `TVeltorCfg`.
void RelieVeltor(TKVXmainForm &fenetre);

}  // namespace kvx::ui
