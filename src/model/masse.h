// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The input reference of the box's analog inputs, one setting for the whole
// program (the box has one reference switch for all its inputs): true is
// "Ref Alt", every range centred on 0 V; false is "Ref 0V", every range from
// 0 V up. Saved as "Masse" of the configuration's "Acquisition" section.
//
// A channel reads it only when its input is chosen (`Tvoie::ChoisitEntree`)
// and keeps the resulting range and offset, so the code-to-value conversion
// of every sample never looks at it. Whoever changes it re-applies
// ChoisitEntree(NumeroNuvex) to the analog channels.
namespace kvx::model {

inline constexpr bool kMasseDefaut = true;

bool Masse();
void FixeMasse(bool refAlt);

}  // namespace kvx::model
