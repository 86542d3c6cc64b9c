// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The decimal separator of the user's desktop ("." or ","). The shell reads it
// from the locale once at start; the core never asks the C library, so
// number texts behave the same whatever locale the process runs under.
namespace kvx::model {

char SeparateurDecimal();
void FixeSeparateurDecimal(char separator);

}  // namespace kvx::model
