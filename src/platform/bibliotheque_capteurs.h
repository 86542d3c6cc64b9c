// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "exchange/emplacement_capteurs.h"
#include "platform/dossiers.h"

namespace kvx::platform {

// Where this user's sensor library is, for the program at `programme`: beside
// it when the user may write there, else a copy in the application-data
// folder (made at the first start).
exchange::EmplacementCapteurs EmplacementCapteursUtilisateur(const QString &programme,
                                                             const Dossiers &dossiers);

}  // namespace kvx::platform
