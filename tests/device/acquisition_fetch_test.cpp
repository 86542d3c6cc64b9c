// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/acquisition_fetch.h"

#include <gtest/gtest.h>

#include <map>

#include "device/simulated_box.h"
#include "device/simulated_port.h"
#include "link_test_support.h"

namespace kvx::device {
namespace {

using namespace std::chrono_literals;

struct FetchCase {
  const char *what;
  std::vector<int> inputs;
  int points;
  double dt;
  SubMode mode;
};

class AcquisitionFetchTest : public testing::TestWithParam<FetchCase> {
 protected:
  AcquisitionFetchTest() : box(clock.now()), table(clock), link(table, view, clock) {
    for (int i = 0; i < 8; ++i)
      box.setSignal(i, SignalSpec{SignalSpec::Kind::Ramp, 120, 128, 0.7 + 0.1 * i});
    table.addPeer(box);
    link.IdentifyBox(1);
  }

  ManualClock clock;
  SimulatedBox box;
  SimulatedPortTable table;
  testing_support::RecordingView view;
  BoxLink link;
};

TEST_P(AcquisitionFetchTest, FetchesEveryPointOnce) {
  const FetchCase &c = GetParam();
  ASSERT_TRUE(link.BoxPresent());
  AcquisitionCommand a = ComposeAcquisition(c.inputs, c.points, c.dt);
  ASSERT_EQ(a.subMode, c.mode);
  AcquisitionFetch fetch(link, a);
  fetch.start(ComposeStartCommand(false, 0));
  ASSERT_TRUE(fetch.run(220ms, 120s));
  EXPECT_EQ(fetch.pointsReceived(), a.points);
  // Every raw place from 0 to N x q - 1 came, the re-fetched ones the same
  // each time, and each is what the box sampled there.
  const int q = RawPerPoint(a);
  std::map<int, int> codeAt;
  for (const auto &line : fetch.lines()) {
    EXPECT_EQ(line.rawStart, line.firstPoint * q);
    EXPECT_EQ(line.codes.size() % static_cast<std::size_t>(q), 0u);
    for (std::size_t i = 0; i < line.codes.size(); ++i) {
      int place = line.rawStart + static_cast<int>(i);
      auto [it, fresh] = codeAt.emplace(place, line.codes[i]);
      EXPECT_TRUE(fresh || it->second == line.codes[i]) << "place " << place;
      EXPECT_EQ(line.codes[i], box.memoryCode(place)) << "place " << place;
    }
  }
  ASSERT_EQ(static_cast<int>(codeAt.size()), a.points * q);
  EXPECT_EQ(codeAt.rbegin()->first, a.points * q - 1);
  EXPECT_EQ(link.state(), LinkState::Present);
}

INSTANTIATE_TEST_SUITE_P(
    SubModes, AcquisitionFetchTest,
    testing::Values(FetchCase{"fast", {3}, 300, 4 * 5.206E-05, SubMode::Fast},
                    FetchCase{"one", {6}, 400, 0.001, SubMode::OneInput},
                    FetchCase{"two", {1, 4}, 150, 0.002, SubMode::TwoInputs},
                    FetchCase{"four_low", {0, 2, 3}, 100, 0.002, SubMode::FourLow},
                    FetchCase{"four_high", {5, 6, 7, 4}, 100, 0.002, SubMode::FourHigh},
                    FetchCase{"eight", {0, 1, 2, 3, 4, 5, 6, 7}, 60, 0.004, SubMode::Eight}),
    [](const auto &info) { return std::string(info.param.what); });

TEST(AcquisitionFetch, AsksAgainAfterAnEmptyLine) {
  ManualClock clock;
  SimulatedBox box(clock.now());
  SimulatedPortTable table(clock);
  table.addPeer(box);
  testing_support::RecordingView view;
  BoxLink link(table, view, clock);
  link.IdentifyBox(1);
  // 20 points 50 ms apart: the box has the first chunk (20 values) after 1 s.
  AcquisitionCommand a = ComposeAcquisition({0}, 20, 0.05);
  AcquisitionFetch fetch(link, a);
  auto started = clock.now();
  fetch.start("XEAP");
  ASSERT_TRUE(fetch.run(220ms, 10s));
  EXPECT_GE(fetch.emptyAnswers(), 4);
  EXPECT_EQ(fetch.lines().size(), 1u);
  EXPECT_GT(clock.now() - started, 950ms);
  EXPECT_LT(clock.now() - started, 1400ms);
}

}  // namespace
}  // namespace kvx::device
