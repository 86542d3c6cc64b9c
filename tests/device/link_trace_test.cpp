// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/link_trace.h"

#include <gtest/gtest.h>

#include "link_test_support.h"

namespace kvx::device {
namespace {

using namespace std::chrono_literals;

TEST(LinkTrace, WritesReadableTraceAndLogFiles) {
  LinkTrace trace;
  auto t0 = std::chrono::steady_clock::time_point{} + 1h;
  trace.begin(3, "/dev/ttyUSB0", t0);
  trace.event("open /dev/ttyUSB0 as COM3: opened", t0);
  const std::uint8_t xerr[] = {'X', 'E', 'R', 'R', 13};
  trace.sent(xerr, sizeof xerr, t0 + 1ms);
  const std::uint8_t answer[] = {'N', 'U', 0x01, '"', '\\', 13, 0xFF};
  trace.received(answer, 3, t0 + 30ms);
  trace.received(answer + 3, 4, t0 + 31ms);  // same burst up to the carriage return
  testing_support::TempFolder folder;
  ASSERT_TRUE(trace.writeFiles(folder.path()));
  EXPECT_EQ(folder.read("KVX3.trc"),
            "KVX trace of COM3 (/dev/ttyUSB0), seconds since the port was opened; -> to the "
            "box, <- from the box\n"
            "     0.001000 ->   5 \"XERR\\r\"\n"
            "     0.030000 <-   6 \"NU\\x01\\\"\\\\\\r\"\n"
            "     0.031000 <-   1 \"\\xFF\"\n");
  EXPECT_EQ(folder.read("KVX3.log"),
            "KVX log of COM3 (/dev/ttyUSB0)\n     0.000000  open /dev/ttyUSB0 as COM3: opened\n");
}

TEST(LinkTrace, KeepsTheNewestEntriesOnly) {
  LinkTrace trace;
  auto t = std::chrono::steady_clock::time_point{};
  trace.begin(1, "x", t);
  const std::uint8_t cr = 13;
  for (std::size_t i = 0; i < LinkTrace::kMaxEntries + 10; ++i) {
    trace.sent(&cr, 1, t);
    trace.event("e", t);
  }
  EXPECT_EQ(trace.traceEntryCount(), LinkTrace::kMaxEntries);
  EXPECT_EQ(trace.logEntryCount(), LinkTrace::kMaxEntries);
  // A burst longer than an entry is cut into entries of 64 bytes.
  trace.begin(1, "x", t);
  std::string long_(200, 'a');
  trace.received(reinterpret_cast<const std::uint8_t *>(long_.data()), long_.size(), t);
  EXPECT_EQ(trace.traceEntryCount(), 4u);
}

}  // namespace
}  // namespace kvx::device
