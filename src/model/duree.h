// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Durations as the user types them in the acquisition settings ("1h30min",
// "2ms", "1:30", "1j2:30") and as the program writes them ("12 s", "0:05:00",
// "05h30", "2j 05h").
#include <string>
#include <string_view>

namespace kvx::model {

// Seconds. A text that is no duration (empty, blanks only, letters that are
// no unit, an impossible clock time such as 25:00, a number out of range)
// gives NaN so that the dialog can refuse it instead of silently taking a
// duration the user never typed. A duration of exactly 0 reads as 0.1 s.
double LitDuree(std::string_view texte);

// The text of a duration in seconds; NaN gives an empty text and an
// infinite value "???".
std::string TexteDuree(double secondes);

}  // namespace kvx::model
