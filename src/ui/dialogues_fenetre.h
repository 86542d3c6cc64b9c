// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The settings dialogs that live as long as the main window, and the clicks
// on its panels that open them. Each round trip halts the engine first, lets
// the dialog edit the graph and the engine, then applies the configuration
// to the window and the box.
namespace kvx::ui {

class TKVXmainForm;

// Creates the acquisition mode dialog, then the trigger dialog, as children
// of the window, and has "Mode et options" and "Synchronisation" open them.
void RelieDialogues(TKVXmainForm &fenetre);

}  // namespace kvx::ui
