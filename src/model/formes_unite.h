// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The two shapes of a unit text for a scale, used by unit display and by
// the axis titles: "mV" (prefix letter) and "10-4 S.I." (power of ten).
#include <string>
#include <string_view>

namespace kvx::model {

// Power-of-ten form: p = 0 gives t; otherwise "10", p, a blank and t, or
// "S.I." instead of t when the whole would reach 17 characters.
std::string FormePuissance(std::string_view t, int p);

// Prefixed form: a prefix letter of t followed by a unit letter is folded
// into p (a table symbol such as "cd" keeps its letters); then the prefix
// letter for p in front of t, or the power-of-ten form when p has none.
std::string FormePrefixee(std::string_view t, int p);

}  // namespace kvx::model
