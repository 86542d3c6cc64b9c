// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

// Qt's own texts in French: the standard buttons ("Oui", "Non", "Annuler")
// and the file dialogs speak the language of the rest of the program,
// whatever the desktop's language.
namespace kvx::platform {

// Loads Qt's French translation into `application`; false when the
// translation files are not installed (the texts then stay English).
bool ChargeTraductionQt(QCoreApplication &application);

}  // namespace kvx::platform
