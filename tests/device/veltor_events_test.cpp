// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/veltor_events.h"

#include <gtest/gtest.h>

#include <vector>

namespace kvx::device {
namespace {

struct TrimCase {
  const char *name;
  std::vector<double> times;
  std::vector<double> kept;  // times after trimming
  long long N;
};

class TrimOneWayRecording : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimOneWayRecording, KeepsTheEventsOfTheMovement) {
  const TrimCase &c = GetParam();
  model::TableauValeurs t{};
  std::array<std::int32_t, model::kNbValeurs> counts{};
  for (std::size_t i = 0; i < c.times.size(); ++i) {
    t[i] = c.times[i];
    counts[i] = static_cast<std::int32_t>(100 + i);
  }
  int n = static_cast<int>(c.times.size());
  long long N = 999;
  TrimOneWay(t, counts, n, N);
  ASSERT_EQ(n, static_cast<int>(c.kept.size()));
  EXPECT_EQ(N, c.N);
  for (std::size_t i = 0; i < c.kept.size(); ++i) EXPECT_NEAR(t[i], c.kept[i], 1e-12) << i;
  // The counts moved with their times.
  if (c.kept.size() > 1) {
    EXPECT_EQ(counts[1] - counts[0], 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, TrimOneWayRecording,
    ::testing::Values(
        TrimCase{"two events", {0, 1}, {0}, 1}, TrimCase{"none", {}, {0}, 1},
        // Slowing down: only the last goes.
        TrimCase{"slowing", {0, 1, 3, 6, 10}, {0, 1, 3, 6}, 4},
        // Speeding up (a fall): the first goes too, times from the second.
        TrimCase{"falling", {0, 3, 5, 6, 6.5}, {0, 2, 3}, 3},
        // Bounces of the beam at the start: closer than 0.1 ms.
        TrimCase{"bounces", {0, 0.00002, 0.00005, 1, 2, 3, 4}, {0, 0.99995, 1.99995, 2.99995}, 4},
        // Nothing but bounces: one event stays, never a read past the events.
        TrimCase{"all bounces", {0, 0.00001, 0.00002, 0.00003, 0.00004}, {0}, 1}));

}  // namespace
}  // namespace kvx::device
