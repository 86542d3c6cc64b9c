// SPDX-License-Identifier: GPL-3.0-or-later
// The link over real pseudo-terminals: discovery, draining, whole
// acquisitions from the simulated box, and a box that misbehaves or goes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "device/acquisition_fetch.h"
#include "device/box_link.h"
#include "device/box_reads.h"
#include "device/link_texts.h"
#include "device/scripted_peer.h"
#include "device/simulated_box.h"
#include "platform/port_table.h"
#include "platform/pty_server.h"

namespace kvx::platform {
namespace {

using namespace std::chrono_literals;
using namespace kvx::device;
using steady = std::chrono::steady_clock;

class RecordingView : public LinkView {
 public:
  void showLinkStatus(const std::string &text) override { statuses.push_back(text); }
  void showBoxAbsent(bool absent) override { absent_ = absent; }
  void boxGone() override { ++gone; }
  std::vector<std::string> statuses;
  bool absent_ = false;
  int gone = 0;
};

class PtyLinkTest : public testing::Test {
 protected:
  // A scripted device on a new pty; `identity` is its answer to "XERR".
  std::string addScripted(const std::string &identity = "",
                          std::chrono::nanoseconds byteTime = kByteTime) {
    auto peer = std::make_unique<ScriptedPeer>();
    if (!identity.empty()) peer->answer("XERR", identity);
    scripted.push_back(peer.get());
    return serve(std::move(peer), byteTime);
  }
  std::string addBox(std::chrono::nanoseconds byteTime = kByteTime) {
    auto box = std::make_unique<SimulatedBox>(steady::now());
    for (int i = 0; i < 7; ++i)
      box->setSignal(i, SignalSpec{SignalSpec::Kind::Constant, 0, 10.0 * (i + 1), 1});
    box->setSignal(7, SignalSpec{SignalSpec::Kind::Ramp, 120, 128, 3});
    return serve(std::move(box), byteTime);
  }
  std::string serve(std::unique_ptr<WirePeer> peer, std::chrono::nanoseconds byteTime) {
    servers.push_back(std::make_unique<PtyServer>(std::move(peer), PtyServer::Options{byteTime}));
    std::string error;
    EXPECT_TRUE(servers.back()->start(&error)) << error;
    return servers.back()->slavePath();
  }
  // The link over these paths; a short tick keeps silent ports quick.
  BoxLink &makeLink(std::vector<std::string> paths, std::chrono::milliseconds tick = 5ms) {
    table = std::make_unique<PortTable>(std::move(paths), "");
    LinkOptions options;
    options.tick = tick;
    options.traceFolder = ::testing::TempDir();
    link = std::make_unique<BoxLink>(*table, view, SteadyClock::instance(), options);
    return *link;
  }
  std::vector<std::string> heardXerr(std::size_t i) {
    return servers[i]->withPeer([](WirePeer &p) {
      std::vector<std::string> out;
      for (auto &l : static_cast<ScriptedPeer &>(p).lines()) out.push_back(l.line);
      return out;
    });
  }

  std::vector<std::unique_ptr<PtyServer>> servers;
  std::vector<ScriptedPeer *> scripted;
  std::unique_ptr<PortTable> table;
  RecordingView view;
  std::unique_ptr<BoxLink> link;
};

TEST_F(PtyLinkTest, StoredPortSevenBoxOnThree) {
  std::vector<std::string> paths;
  for (int n = 1; n <= 8; ++n) paths.push_back(n == 3 ? addBox() : addScripted());
  BoxLink &l = makeLink(paths);
  l.setComNumber(7);
  l.SearchBox();
  ASSERT_TRUE(l.BoxPresent());
  EXPECT_EQ(l.ComNumber(), 3);
  EXPECT_EQ(view.statuses.back(), texts::kBoxPresent);
  // Tried in order 7, 1, 2 before 3; 4, 5, 6 and 8 never heard a thing.
  auto when = [this](std::size_t i) {
    return servers[i]->withPeer([](WirePeer &p) {
      auto &lines = static_cast<ScriptedPeer &>(p).lines();
      return lines.empty() ? steady::time_point::max() : lines.front().at;
    });
  };
  EXPECT_LT(when(6), when(0));
  EXPECT_LT(when(0), when(1));
  for (std::size_t i : {0u, 1u, 6u}) EXPECT_EQ(heardXerr(i), std::vector<std::string>{"XERR"});
  for (std::size_t i : {3u, 4u, 5u, 7u}) EXPECT_TRUE(heardXerr(i).empty()) << "port " << i + 1;
}

TEST_F(PtyLinkTest, AHeldPortExistsAndTheSearchMovesOn) {
  std::string held = addScripted("NUVEX\r");
  std::string box = addBox();
  int other = ::open(held.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  BoxLink &l = makeLink({held, box});
  EXPECT_TRUE(l.PortExists(1));
  l.SearchBox();
  ::close(other);
  EXPECT_TRUE(l.BoxPresent());
  EXPECT_EQ(l.ComNumber(), 2);
  EXPECT_EQ(view.statuses,
            (std::vector<std::string>{texts::kSearching, texts::kPortError, texts::kBoxPresent}));
}

TEST_F(PtyLinkTest, TheWordMustBeThereInCapitals) {
  std::string lower = addScripted("nuvex kvx\r");
  std::string among = addScripted("\x01\xfe?? NUVEX-KVX\n junk\r");
  BoxLink &l = makeLink({lower, among});
  l.SearchBox();
  EXPECT_TRUE(l.BoxPresent());
  EXPECT_EQ(l.ComNumber(), 2);
}

TEST_F(PtyLinkTest, NoBoxAnywhereNamesTheLastPortTried) {
  std::vector<std::string> paths = {addScripted(), addScripted(), addScripted(),
                                    "/nonexistent/kvx-port", "/nonexistent/kvx-port2"};
  BoxLink &l = makeLink(paths);
  auto start = steady::now();
  l.SearchBox();
  auto took = steady::now() - start;
  EXPECT_FALSE(l.BoxPresent());
  EXPECT_TRUE(view.absent_);
  // The user knows the port by its device path.
  EXPECT_EQ(view.statuses.back(), std::string(texts::kNotFoundOnPort) + "3 (" + paths[2] + ")");
  // Three silent ports at 36 ticks of 5 ms each.
  EXPECT_GE(took, 3 * 180ms);
  EXPECT_LT(took, 3 * 180ms + 600ms);
}

TEST_F(PtyLinkTest, DrainReturnsAfter110MsOfSilence) {
  BoxLink &l = makeLink({addBox()}, kTick);
  l.IdentifyBox(1);
  ASSERT_TRUE(l.BoxPresent());
  auto start = steady::now();
  l.DrainPort();
  auto took = steady::now() - start;
  EXPECT_GE(took, 110ms);
  EXPECT_LT(took, 300ms);
}

TEST_F(PtyLinkTest, DrainWaitsUntilAnAnswerIsOver) {
  BoxLink &l = makeLink({addBox()}, kTick);
  l.IdentifyBox(1);
  ASSERT_TRUE(l.BoxPresent());
  // 200 values "10," of input 0: about 600 bytes, 0.63 s on the wire.
  l.SendCommand("XPEA1 0,8,2,0");
  l.SendCommand("XEAP");
  std::this_thread::sleep_for(150ms);
  auto start = steady::now();
  l.SendCommand("XRESUL 0,0,200");
  l.DrainPort();
  auto took = steady::now() - start;
  EXPECT_GE(took, 600ms);
  EXPECT_LT(took, 1200ms);
  EXPECT_FALSE(l.ByteReady());
}

struct ModeCase {
  const char *what;
  std::vector<int> inputs;
  int points;
  double dt;
};

class PtyFetchTest : public PtyLinkTest, public testing::WithParamInterface<ModeCase> {};

TEST_P(PtyFetchTest, AWholeAcquisitionMatchesTheSignals) {
  const ModeCase &c = GetParam();
  // A quicker line: the pacing is checked elsewhere, here the codes matter.
  BoxLink &l = makeLink({addBox(200us)}, kTick);
  l.IdentifyBox(1);
  ASSERT_TRUE(l.BoxPresent());
  AcquisitionCommand a = ComposeAcquisition(c.inputs, c.points, c.dt);
  AcquisitionFetch fetch(l, a);
  fetch.start("XEAP");
  ASSERT_TRUE(fetch.run(220ms, 10s));
  const int q = RawPerPoint(a);
  int checked = 0;
  for (const auto &line : fetch.lines()) {
    for (std::size_t i = 0; i < line.codes.size(); ++i) {
      int place = line.rawStart + static_cast<int>(i);
      int code = line.codes[i];
      // The input sampled at this place by the sub-mode's layout.
      int input = 0;
      switch (a.subMode) {
        case SubMode::Fast:
        case SubMode::OneInput:
          input = c.inputs[0];
          break;
        case SubMode::TwoInputs:
          input = c.inputs[static_cast<std::size_t>(place % 2)];
          break;
        case SubMode::FourLow:
          input = place % 4;
          break;
        case SubMode::FourHigh:
          input = 4 + place % 4;
          break;
        case SubMode::Eight:
          input = place % 8;
          break;
      }
      if (input < 7) {
        EXPECT_EQ(code, 10 * (input + 1)) << "place " << place;
      } else {
        int boxCode = servers[0]->withPeer(
            [place](WirePeer &p) { return static_cast<SimulatedBox &>(p).memoryCode(place); });
        EXPECT_EQ(code, boxCode) << "place " << place;
      }
      ++checked;
    }
  }
  EXPECT_GE(checked, a.points * q);
  EXPECT_EQ(fetch.pointsReceived(), a.points);
}

INSTANTIATE_TEST_SUITE_P(SubModes, PtyFetchTest,
                         testing::Values(ModeCase{"fast", {7}, 200, 2 * 5.206E-05},
                                         ModeCase{"one", {2}, 300, 0.0005},
                                         ModeCase{"two", {7, 1}, 150, 0.001},
                                         ModeCase{"four_low", {3, 0, 1}, 60, 0.001},
                                         ModeCase{"four_high", {4, 7}, 60, 0.001},
                                         ModeCase{"eight", {0, 5, 2}, 40, 0.001}),
                         [](const auto &info) { return std::string(info.param.what); });

TEST_F(PtyLinkTest, AnUnplugDuringAFetchIsReportedAtOnce) {
  BoxLink &l = makeLink({addBox()}, kTick);
  l.IdentifyBox(1);
  ASSERT_TRUE(l.BoxPresent());
  AcquisitionFetch fetch(l, ComposeAcquisition({0}, 6400, 0.0005));
  fetch.start("XEAP");
  std::thread unplug([this] {
    std::this_thread::sleep_for(300ms);
    servers[0]->stop();
  });
  auto start = steady::now();
  EXPECT_FALSE(fetch.run(220ms, 20s));
  auto took = steady::now() - start;
  unplug.join();
  EXPECT_LT(took, 800ms);
  EXPECT_TRUE(l.boxGone());
  EXPECT_EQ(view.gone, 1);
  EXPECT_TRUE(view.absent_);
  EXPECT_EQ(view.statuses.back(),
            std::string(texts::kNotFoundOnPort) + "1 (" + l.foundPortName() + ")");
  EXPECT_EQ(ReadNumber(l, "XEA 0"), 0);
}

TEST_F(PtyLinkTest, ABoxThatFallsSilentCostsOnlyTheTimeOut) {
  BoxLink &l = makeLink({addScripted("NUVEX\r")}, kTick);
  l.IdentifyBox(1);
  ASSERT_TRUE(l.BoxPresent());
  AcquisitionFetch fetch(l, ComposeAcquisition({0}, 100, 0.01));
  fetch.start("XEAP");
  auto start = steady::now();
  EXPECT_FALSE(fetch.run(220ms, 500ms));
  EXPECT_LT(steady::now() - start, 700ms);
  start = steady::now();
  EXPECT_EQ(ReadNumber(l, "XEA 0"), 0);
  auto took = steady::now() - start;
  EXPECT_GE(took, 270ms);
  EXPECT_LT(took, 600ms);
  EXPECT_TRUE(l.BoxPresent());  // silent is not gone
}

TEST_F(PtyLinkTest, GarbageAndEndlessLinesAreBounded) {
  std::string path = addScripted("NUVEX\r", 0ns);
  BoxLink &l = makeLink({path}, 5ms);
  l.IdentifyBox(1);
  ASSERT_TRUE(l.BoxPresent());
  servers[0]->withPeer([](WirePeer &p) {
    auto &s = static_cast<ScriptedPeer &>(p);
    s.answer("XEA 0", std::string("\x00\xff\x80 garbage\r", 13));
    s.answer("XEA 1", "123456789012345678901234567890\r");
    s.say(std::string(100 * 1024, 'A'));
    return 0;
  });
  auto start = steady::now();
  LineRead endless = l.ReadLine(36);
  EXPECT_LT(steady::now() - start, 36 * 5ms + 100ms);
  EXPECT_LE(endless.text.size(), BoxLink::kMaxLineLength);
  l.DrainPort();
  EXPECT_EQ(ReadNumber(l, "XEA 0"), 0);
  EXPECT_EQ(ReadNumber(l, "XEA 1"), 0);
  EXPECT_TRUE(l.BoxPresent());
}

}  // namespace
}  // namespace kvx::platform
