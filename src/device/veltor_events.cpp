// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/veltor_events.h"

#include <algorithm>

namespace kvx::device {

namespace {

// Drops the first `k` events and starts the times at the new first one.
void dropLeading(model::TableauValeurs &times, std::array<std::int32_t, model::kNbValeurs> &counts,
                 int &n, int k) {
  const double origin = times[static_cast<std::size_t>(k)];
  n -= k;
  for (int i = 0; i < n; ++i) {
    const auto to = static_cast<std::size_t>(i);
    const auto from = static_cast<std::size_t>(i + k);
    times[to] = times[from] - origin;
    counts[to] = counts[from];
  }
}

}  // namespace

void TrimOneWay(model::TableauValeurs &times, std::array<std::int32_t, model::kNbValeurs> &counts,
                int &n, long long &N) {
  n = std::clamp(n, 0, model::kNbValeurs);
  if (n < 3) {
    n = 1;
    N = n;
    return;
  }
  --n;  // the last event
  N = n;
  if (n >= 3 && times[2] - times[1] < times[1] - times[0]) {
    dropLeading(times, counts, n, 1);
    N = n;
  }
  // Only real events are searched: the arrays hold stale values past n.
  int j = 1;
  while (j < n && times[static_cast<std::size_t>(j)] - times[static_cast<std::size_t>(j - 1)] <=
                      kVeltorBounce)
    ++j;
  if (j > 1) {
    dropLeading(times, counts, n, j - 1);
    N = n;
  }
  if (N < 1) N = 1;
}

}  // namespace kvx::device
