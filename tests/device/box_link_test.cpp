// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/box_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "device/link_texts.h"
#include "device/scripted_peer.h"
#include "device/simulated_port.h"
#include "link_test_support.h"

namespace kvx::device {
namespace {

using namespace std::chrono_literals;
using testing_support::RecordingView;
using testing_support::TempFolder;

class BoxLinkTest : public testing::Test {
 protected:
  BoxLinkTest() : table(clock) {}

  // Ports 1..count, each a scripted peer; the box answers on `boxPort`.
  void makePorts(int count, int boxPort, const std::string &identity = "NUVEX KVX 1.0\r") {
    for (int n = 1; n <= count; ++n) {
      peers.push_back(std::make_unique<ScriptedPeer>());
      if (n == boxPort) peers.back()->answer("XERR", identity);
      table.addPeer(*peers.back());
    }
  }
  BoxLink &link() {
    if (!m_link) {
      LinkOptions options;
      options.traceFolder = folder.path();
      options.traceFiles = traceFiles;
      m_link = std::make_unique<BoxLink>(table, view, clock, options);
    }
    return *m_link;
  }
  Clock::duration elapsed() const { return clock.now() - start; }

  bool traceFiles = true;
  ManualClock clock;
  Clock::time_point start = clock.now();
  SimulatedPortTable table;
  std::vector<std::unique_ptr<ScriptedPeer>> peers;
  RecordingView view;
  TempFolder folder;

 private:
  std::unique_ptr<BoxLink> m_link;
};

TEST_F(BoxLinkTest, TriesTheStoredPortFirstThenCountsUp) {
  makePorts(8, 3);
  link().setComNumber(7);
  link().SearchBox();
  ASSERT_TRUE(link().BoxPresent());
  EXPECT_EQ(link().ComNumber(), 3);
  clock.advance(20ms);  // let "XRESET" cross the wire
  link().ByteReady();
  // Who heard "XERR", in time order.
  std::vector<std::pair<Clock::time_point, int>> heard;
  for (int n = 1; n <= 8; ++n)
    for (const auto &line : peers[n - 1]->lines())
      if (line.line == "XERR") heard.push_back({line.at, n});
  std::sort(heard.begin(), heard.end());
  std::vector<int> order;
  for (auto &h : heard) order.push_back(h.second);
  EXPECT_EQ(order, (std::vector<int>{7, 1, 2, 3}));
  EXPECT_EQ(peers[2]->bytes(), "XERR\rXRESET\r");
  EXPECT_EQ(view.statuses, (std::vector<std::string>{texts::kSearching, texts::kBoxPresent}));
  EXPECT_EQ(view.absentShown, std::vector<bool>{false});
  EXPECT_EQ(view.identified, 1);
  EXPECT_EQ(view.busyCalls, (std::vector<bool>{true, false}));
  // The ports that were not the box left their trace behind.
  EXPECT_TRUE(folder.has("KVX7.trc") && folder.has("KVX1.log") && folder.has("KVX2.trc"));
  EXPECT_FALSE(folder.has("KVX3.trc"));
}

TEST_F(BoxLinkTest, AHeldPortExistsButTheSearchMovesOn) {
  table.addHeld();
  makePorts(1, 1);
  EXPECT_TRUE(link().PortExists(1));
  EXPECT_FALSE(link().PortExists(0));
  EXPECT_FALSE(link().PortExists(3));
  link().SearchBox();
  EXPECT_TRUE(link().BoxPresent());
  EXPECT_EQ(link().ComNumber(), 2);
  EXPECT_EQ(view.statuses,
            (std::vector<std::string>{texts::kSearching, texts::kPortError, texts::kBoxPresent}));
}

struct IdentityCase {
  const char *what;
  std::string answer;
  bool present;
};

class IdentityTest : public BoxLinkTest, public testing::WithParamInterface<IdentityCase> {};

TEST_P(IdentityTest, LooksForTheWordInTheAnswer) {
  makePorts(1, 1, GetParam().answer);
  link().IdentifyBox(1);
  EXPECT_EQ(link().BoxPresent(), GetParam().present);
  EXPECT_LE(elapsed(), 1980ms + 20ms);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, IdentityTest,
    testing::Values(IdentityCase{"among", "\x02garbage NUVEX KVX v2\x7f\r", true},
                    IdentityCase{"lower", "nuvex kvx\r", false},
                    IdentityCase{"split by control bytes", "NU\x01VE\nX\r", true},
                    IdentityCase{"no carriage return", "NUVEX", true},
                    IdentityCase{"nothing", "", false},
                    IdentityCase{"part of it", "NUVE\r", false}),
    [](const auto &info) {
      std::string s = info.param.what;
      std::replace(s.begin(), s.end(), ' ', '_');
      return s;
    });

TEST_F(BoxLinkTest, NoBoxAnywhereNamesTheLastPortTried) {
  makePorts(3, 0);
  table.addMissing();
  table.addHeld();
  table.addMissing();
  link().SearchBox();
  EXPECT_FALSE(link().BoxPresent());
  EXPECT_EQ(view.statuses.back(), std::string(texts::kNotFoundOnPort) + "5 (sim:5)");
  EXPECT_EQ(view.absentShown, std::vector<bool>{true});
  // Each silent port costs its 1.98 s time-out once, the held one nothing.
  EXPECT_EQ(elapsed(), 3 * 1980ms);
  EXPECT_TRUE(folder.has("KVX1.trc") && folder.has("KVX3.log"));
  EXPECT_NE(folder.read("KVX2.trc").find("-> "), std::string::npos);
  EXPECT_NE(folder.read("KVX2.trc").find("\"XERR\\r\""), std::string::npos);
}

TEST_F(BoxLinkTest, RefusedPortsAreToldOnceWithTheFirstPathAndTheRemedy) {
  table.addRefused();
  makePorts(1, 0);
  table.addRefused();
  table.addRefused();
  link().SearchBox();
  EXPECT_FALSE(link().BoxPresent());
  const std::string refused =
      "Accès refusé à sim:1 : rejoindre le groupe dialout, puis se reconnecter";
  // Not "Erreur  gestion voie série" for each: the box may be there, the user lacks the right.
  EXPECT_EQ(view.statuses, (std::vector<std::string>{texts::kSearching, refused}));
  EXPECT_EQ(view.advices, std::vector<std::string>{refused});
  EXPECT_EQ(view.absentShown, std::vector<bool>{true});
  EXPECT_EQ(link().refusedPort(), "sim:1");
  EXPECT_EQ(table.openCount(1), 2);  // the existence test, then the identification
  EXPECT_EQ(elapsed(), 1980ms);      // only the port that opened costs its time-out

  // "Verifier puis cliquer ici" searches again and tells it once again.
  view.statuses.clear();
  view.advices.clear();
  link().SearchBox();
  EXPECT_EQ(view.statuses, (std::vector<std::string>{texts::kSearching, refused}));
  EXPECT_EQ(view.advices, std::vector<std::string>{refused});
}

TEST_F(BoxLinkTest, ABoxFoundAfterARefusedPortNeedsNoRemedy) {
  table.addRefused();
  makePorts(1, 1);
  link().SearchBox();
  ASSERT_TRUE(link().BoxPresent());
  EXPECT_EQ(view.statuses, (std::vector<std::string>{texts::kSearching, texts::kBoxPresent}));
  EXPECT_TRUE(view.advices.empty());
  EXPECT_EQ(view.absentShown, std::vector<bool>{false});
}

TEST_F(BoxLinkTest, NoBoxNamesThePortTheUserGaveRatherThanTheSystemsLast) {
  struct Case {
    int named;      // ports given with --port, first in the table
    int missingAt;  // a named port that is not there (0: none)
    const char *status;
  };
  const Case cases[] = {
      {0, 0, "4 (sim:4)"},  // none named: the last tried
      {1, 0, "1 (sim:1)"},
      {2, 0, "2 (sim:2)"},
      {1, 1, "1 (sim:1)"},  // named but absent: still the one named
  };
  for (const auto &c : cases) {
    SimulatedPortTable ports(clock);
    std::vector<std::unique_ptr<ScriptedPeer>> silent;
    for (int n = 1; n <= 4; ++n) {
      if (n == c.missingAt) {
        ports.addMissing();
        continue;
      }
      silent.push_back(std::make_unique<ScriptedPeer>());
      ports.addPeer(*silent.back());
    }
    ports.setNamedPortCount(c.named);
    RecordingView seen;
    LinkOptions options;
    options.traceFiles = false;
    BoxLink searching(ports, seen, clock, options);
    searching.SearchBox();
    EXPECT_EQ(seen.statuses.back(), std::string(texts::kNotFoundOnPort) + c.status) << c.named;
    EXPECT_EQ(seen.advices, std::vector<std::string>{texts::kAbsentAdvice}) << c.named;
  }
}

TEST_F(BoxLinkTest, CommandsAreDroppedWhileTheBoxIsAbsent) {
  makePorts(1, 0);
  link().SendCommand("XSA 12");
  link().IdentifyBox(1);
  link().SendCommand("XSA 12");
  EXPECT_EQ(peers[0]->bytes(), "XERR\r");
}

TEST_F(BoxLinkTest, ReadLineKeepsPrintableBytesUntilCarriageReturn) {
  makePorts(1, 1);
  link().IdentifyBox(1);
  peers[0]->say(
      "\x01"
      "12\n 3\t4\r5");
  LineRead line = link().ReadLine(5);
  EXPECT_EQ(line.end, LineEnd::Line);
  EXPECT_EQ(line.text, "12 34");
  LineRead rest = link().ReadLine(1);
  EXPECT_EQ(rest.end, LineEnd::TimedOut);
  EXPECT_EQ(rest.text, "5");
}

TEST_F(BoxLinkTest, AnEndlessLineEndsAtTheTimeOut) {
  makePorts(1, 1);
  link().IdentifyBox(1);
  peers[0]->say(std::string(100 * 1024, 'A'));
  auto before = clock.now();
  LineRead line = link().ReadLine(36);
  EXPECT_EQ(line.end, LineEnd::TimedOut);
  EXPECT_EQ(clock.now() - before, 1980ms);
  EXPECT_EQ(line.text.size(), BoxLink::kMaxLineLength);
}

TEST_F(BoxLinkTest, DrainReturnsAfter110MsOfSilence) {
  makePorts(1, 1);
  link().IdentifyBox(1);
  auto before = clock.now();
  link().DrainPort();
  EXPECT_EQ(clock.now() - before, 110ms);
}

TEST_F(BoxLinkTest, DrainWaitsForTheEndOfAnAnswer) {
  makePorts(1, 1);
  link().IdentifyBox(1);
  // 300 bytes: 312.5 ms on the wire.
  peers[0]->say(std::string(299, '1') + "\r");
  auto before = clock.now();
  link().DrainPort();
  // Windows of 110 ms: bytes in the first three, silence in the fourth.
  EXPECT_EQ(clock.now() - before, 440ms);
  EXPECT_FALSE(link().ByteReady());
}

TEST_F(BoxLinkTest, DrainGivesUpOnADeviceThatNeverStops) {
  makePorts(1, 1);
  link().IdentifyBox(1);
  peers[0]->say(std::string(10000, 'z'));
  auto before = clock.now();
  link().DrainPort();
  EXPECT_LE(clock.now() - before, 1980ms + 110ms);
}

TEST_F(BoxLinkTest, AnUnpluggedBoxIsReportedGone) {
  makePorts(1, 1);
  link().IdentifyBox(1);
  ASSERT_TRUE(link().BoxPresent());
  table.unplug(1);
  auto before = clock.now();
  LineRead line = link().ReadLine(36);
  EXPECT_EQ(line.end, LineEnd::Gone);
  EXPECT_EQ(clock.now(), before);  // no waiting for the time-out
  EXPECT_TRUE(link().boxGone());
  EXPECT_FALSE(link().BoxPresent());
  EXPECT_EQ(view.gone, 1);
  EXPECT_EQ(view.statuses.back(), std::string(texts::kNotFoundOnPort) + "1 (sim:1)");
  EXPECT_EQ(view.absentShown.back(), true);
  link().SendCommand("XSA 1");  // dropped, no second report
  EXPECT_EQ(view.gone, 1);
  EXPECT_NE(folder.read("KVX1.log").find("the line went"), std::string::npos);
}

TEST_F(BoxLinkTest, ASearchAfterAnUnplugFindsTheBoxAgain) {
  makePorts(1, 1);
  link().IdentifyBox(1);
  table.unplug(1);
  link().SendCommand("XSA 1");
  ASSERT_TRUE(link().boxGone());
  ScriptedPeer again;
  again.answer("XERR", "NUVEX\r");
  table.addPeer(again);
  EXPECT_EQ(link().foundPortName(), table.portName(1)) << "kept for the next start";
  link().SearchBox();
  EXPECT_TRUE(link().BoxPresent());
  EXPECT_EQ(link().ComNumber(), 2);
  EXPECT_EQ(link().foundPortName(), table.portName(2));
}

TEST_F(BoxLinkTest, WaitsPumpOnlyOnTheThreadThatInstalledThePump) {
  makePorts(1, 1);
  link().IdentifyBox(1);
  int pumps = 0;
  link().setPump([&pumps] { ++pumps; });
  link().ReadLine(2);
  EXPECT_GT(pumps, 0);
  int before = pumps;
  std::thread worker([this] { link().ReadLine(2); });
  worker.join();
  EXPECT_EQ(pumps, before);
}

TEST_F(BoxLinkTest, DataAvailableGetsTheBytesAsTheyCome) {
  makePorts(1, 1);
  link().IdentifyBox(1);
  std::string got;
  link().setDataAvailable([&got](const std::uint8_t *d, std::size_t n) {
    got.append(reinterpret_cast<const char *>(d), n);
  });
  peers[0]->say("1,2,3\r");
  link().ServiceInput();
  EXPECT_EQ(got, "");  // nothing has crossed the wire yet
  clock.advance(10ms);
  link().ServiceInput();
  EXPECT_EQ(got, "1,2,3\r");
  link().removeDataAvailable();
  peers[0]->say("4");
  link().ServiceInput();
  clock.advance(10ms);
  link().ServiceInput();
  EXPECT_EQ(got, "1,2,3\r");
  EXPECT_EQ(link().GetByte(), '4');
}

TEST_F(BoxLinkTest, TraceSettingOffLeavesNoFilesBehind) {
  traceFiles = false;
  makePorts(3, 3);
  link().SearchBox();
  ASSERT_TRUE(link().BoxPresent());
  link().WriteTrace();
  for (const char *name : {"KVX1.trc", "KVX1.log", "KVX2.trc", "KVX3.trc", "KVX3.log"})
    EXPECT_FALSE(folder.has(name)) << name;
  EXPECT_GT(link().trace().traceEntryCount(), 0u) << "still kept in memory";
}

}  // namespace
}  // namespace kvx::device
