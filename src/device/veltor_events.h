// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The event list of a one-way fork recording, cleaned before it is shown:
// the last event (the ruler leaving the fork) goes, a first event cut before
// the movement settled goes, and leading events closer together than the
// fork can truly see (0.1 ms: bounces of the beam) go, the times starting
// at 0 again.

#include <array>
#include <cstdint>

#include "model/voie.h"

namespace kvx::device {

// Events closer together than this are bounces, not stripes.
inline constexpr double kVeltorBounce = 0.0001;

// `times` (the time base's display array) and `counts` (the fork's counts)
// hold n events; n and the fetched count N change as events go (N = n after
// every change, and at least 1 at the end).
void TrimOneWay(model::TableauValeurs &times, std::array<std::int32_t, model::kNbValeurs> &counts,
                int &n, long long &N);

}  // namespace kvx::device
