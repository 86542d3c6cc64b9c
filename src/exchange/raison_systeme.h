// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kvx::exchange {

// Why the system refused a file operation, in the words a French user reads
// in the rest of the message: "plus de place sur le disque" rather than the C
// library's English. Reasons without a French text fall back to the system's
// own words.
std::string RaisonSysteme(int erreur);

}  // namespace kvx::exchange
