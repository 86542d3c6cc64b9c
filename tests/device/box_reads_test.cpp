// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/box_reads.h"

#include <gtest/gtest.h>

#include "device/scripted_peer.h"
#include "device/simulated_port.h"
#include "link_test_support.h"

namespace kvx::device {
namespace {

using namespace std::chrono_literals;

class BoxReadsTest : public testing::Test {
 protected:
  BoxReadsTest() : table(clock), link(table, view, clock) {
    peer.answer("XERR", "NUVEX\r");
    table.addPeer(peer);
  }
  void identify() {
    link.IdentifyBox(1);
    ASSERT_TRUE(link.BoxPresent());
    clock.advance(std::chrono::milliseconds(20));  // "XRESET" crosses the wire
    link.ByteReady();
    sentBefore = peer.bytes().size();
  }
  std::string sentSince() const { return peer.bytes().substr(sentBefore); }

  ManualClock clock;
  SimulatedPortTable table;
  ScriptedPeer peer;
  testing_support::RecordingView view;
  BoxLink link;
  std::size_t sentBefore = 0;
};

TEST_F(BoxReadsTest, ReadByteSendsTheLoneByteAndTakesOneByte) {
  identify();
  peer.answerByte(67, std::string("\xC8", 1));
  EXPECT_EQ(ReadByte(link, 67), 200);
  EXPECT_EQ(sentSince(), "C");
}

TEST_F(BoxReadsTest, ReadByteForgetsStaleBytesFirst) {
  identify();
  peer.say("junk");
  link.ByteReady();  // the box starts sending
  clock.advance(10ms);
  peer.answerByte(192, std::string("\x05", 1));
  EXPECT_EQ(ReadByte(link, 192), 5);
}

TEST_F(BoxReadsTest, ReadByteGivesZeroAfter165Ms) {
  identify();
  auto before = clock.now();
  EXPECT_EQ(ReadByte(link, 64), 0);
  EXPECT_EQ(clock.now() - before, 165ms);
}

struct NumberCase {
  const char *what;
  std::string answer;
  int value;
};

class ReadNumberTest : public BoxReadsTest, public testing::WithParamInterface<NumberCase> {};

TEST_P(ReadNumberTest, ConvertsTheAnswer) {
  identify();
  peer.answer("XEA 3", GetParam().answer);
  auto before = clock.now();
  EXPECT_EQ(ReadNumber(link, "XEA 3"), GetParam().value);
  clock.advance(20ms);
  link.ByteReady();
  EXPECT_EQ(sentSince(), "XEA 3\r");
  EXPECT_LE(clock.now() - before, 275ms + 20ms);
}

INSTANTIATE_TEST_SUITE_P(Answers, ReadNumberTest,
                         testing::Values(NumberCase{"plain", "123\r", 123},
                                         NumberCase{"blanks", " 1 2\n\r", 12},
                                         NumberCase{"negative", "-5\r", -5},
                                         NumberCase{"letters", "12a\r", 0},
                                         NumberCase{"empty", "\r", 0}, NumberCase{"silent", "", 0},
                                         NumberCase{"no end", "77", 77},
                                         NumberCase{"beyond 32 bits", "99999999999\r", 0},
                                         NumberCase{"endless", std::string(500, '9') + "\r", 0},
                                         NumberCase{"sign only", "-\r", 0}),
                         [](const auto &info) {
                           std::string s = info.param.what;
                           for (char &c : s)
                             if (c == ' ') c = '_';
                           return s;
                         });

TEST_F(BoxReadsTest, NothingIsSentWhileTheBoxIsAbsent) {
  EXPECT_EQ(ReadNumber(link, "XEA 0"), 0);
  EXPECT_EQ(ReadByte(link, 64), 0);
  EXPECT_EQ(peer.bytes(), "");
}

TEST_F(BoxReadsTest, AReadOnAnUnpluggedBoxReturnsAtOnce) {
  identify();
  table.unplug(1);
  auto before = clock.now();
  EXPECT_EQ(ReadNumber(link, "XEA 0"), 0);
  EXPECT_EQ(clock.now(), before);
  EXPECT_TRUE(link.boxGone());
}

TEST(ParseBoxInteger, AcceptsOnlyWholeDecimalNumbers) {
  EXPECT_EQ(ParseBoxInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseBoxInteger("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseBoxInteger("2147483648"), std::nullopt);
  EXPECT_EQ(ParseBoxInteger("+7"), 7);
  EXPECT_EQ(ParseBoxInteger(""), std::nullopt);
  EXPECT_EQ(ParseBoxInteger("1 2"), std::nullopt);
}

}  // namespace
}  // namespace kvx::device
