// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix_serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "device/scripted_peer.h"
#include "droits_perdus.h"
#include "platform/pty_server.h"

namespace kvx::platform {
namespace {

using namespace std::chrono_literals;
using device::OpenFailure;
using device::PortIo;
using steady = std::chrono::steady_clock;

class PosixPortTest : public testing::Test {
 protected:
  void SetUp() override {
    auto peer = std::make_unique<device::ScriptedPeer>();
    peer->answer("XERR", "NUVEX KVX\r");
    server = std::make_unique<PtyServer>(std::move(peer));
    std::string error;
    ASSERT_TRUE(server->start(&error)) << error;
  }
  std::unique_ptr<device::SerialPort> openPort() {
    auto r = PosixSerialPort::open(server->slavePath());
    EXPECT_EQ(r.failure, OpenFailure::None) << r.detail;
    return std::move(r.port);
  }
  std::unique_ptr<PtyServer> server;
};

TEST_F(PosixPortTest, SetsTheLineTo9600RawWithoutFlowControl) {
  auto port = openPort();
  ASSERT_TRUE(port);
  termios t{};
  ASSERT_EQ(tcgetattr(port->nativeHandle(), &t), 0);
  EXPECT_EQ(cfgetospeed(&t), B9600);
  EXPECT_EQ(cfgetispeed(&t), B9600);
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL), 0u);
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
  EXPECT_EQ(t.c_cc[VMIN], 1);
  EXPECT_NE(fcntl(port->nativeHandle(), F_GETFL) & O_NONBLOCK, 0);
}

TEST_F(PosixPortTest, AnswerComesBackAtTheSpeedOfTheLine) {
  auto port = openPort();
  ASSERT_TRUE(port);
  auto start = steady::now();
  const std::uint8_t request[] = {'X', 'E', 'R', 'R', 13};
  ASSERT_EQ(port->write(request, sizeof request, 1s), PortIo::Ok);
  std::string got;
  while (got.size() < 10 && steady::now() - start < 1s) {
    if (port->waitReadable(500ms) != PortIo::Ok) break;
    std::uint8_t buffer[64];
    auto r = port->read(buffer, sizeof buffer);
    ASSERT_FALSE(r.gone);
    got.append(reinterpret_cast<char *>(buffer), r.count);
  }
  auto took = steady::now() - start;
  EXPECT_EQ(got, "NUVEX KVX\r");
  // 5 bytes out and 10 back at 1.0417 ms each.
  EXPECT_GE(took, 15 * 1041us - 1ms);
  EXPECT_LT(took, 200ms);
}

TEST_F(PosixPortTest, NothingYetIsNotGone) {
  auto port = openPort();
  ASSERT_TRUE(port);
  EXPECT_EQ(port->waitReadable(20ms), PortIo::Timeout);
  std::uint8_t buffer[8];
  auto r = port->read(buffer, sizeof buffer);
  EXPECT_EQ(r.count, 0u);
  EXPECT_FALSE(r.gone);
}

TEST_F(PosixPortTest, AClosedFarEndIsGone) {
  auto port = openPort();
  ASSERT_TRUE(port);
  server->stop();
  auto start = steady::now();
  // The wait ends at once (hang-up, or readable with the error to come).
  EXPECT_NE(port->waitReadable(2s), PortIo::Timeout);
  std::uint8_t buffer[8];
  EXPECT_TRUE(port->read(buffer, sizeof buffer).gone);
  const std::uint8_t byte = 'X';
  EXPECT_EQ(port->write(&byte, 1, 100ms), PortIo::Gone);
  EXPECT_LT(steady::now() - start, 500ms);
}

TEST_F(PosixPortTest, APortLockedByAnotherProgramIsHeld) {
  int other = ::open(server->slavePath().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  auto r = PosixSerialPort::open(server->slavePath());
  EXPECT_EQ(r.failure, OpenFailure::Held);
  EXPECT_FALSE(r.port);
  ::close(other);
  EXPECT_EQ(PosixSerialPort::open(server->slavePath()).failure, OpenFailure::None);
}

TEST_F(PosixPortTest, ADeviceTheUserMayNotOpenIsRefusedNotHeld) {
  if (const std::string pourquoi = test::SansRefusPossible(); !pourquoi.empty())
    GTEST_SKIP() << pourquoi;
  ASSERT_EQ(::chmod(server->slavePath().c_str(), 0), 0);
  const int failure = test::SansDroitsRoot(
      [this] { return static_cast<int>(PosixSerialPort::open(server->slavePath()).failure); });
  EXPECT_EQ(failure, static_cast<int>(OpenFailure::Refused));
  ASSERT_EQ(::chmod(server->slavePath().c_str(), 0600), 0);
  EXPECT_EQ(PosixSerialPort::open(server->slavePath()).failure, OpenFailure::None);
}

TEST_F(PosixPortTest, OurOwnLockKeepsASecondOpenOut) {
  auto port = openPort();
  ASSERT_TRUE(port);
  EXPECT_EQ(PosixSerialPort::open(server->slavePath()).failure, OpenFailure::Held);
  port.reset();
  EXPECT_EQ(PosixSerialPort::open(server->slavePath()).failure, OpenFailure::None);
}

TEST(PosixPort, MissingAndNonTerminalPathsAreNotPorts) {
  EXPECT_EQ(PosixSerialPort::open("/nonexistent/ttyUSB0").failure, OpenFailure::Missing);
  char name[] = "/tmp/kvx-not-a-port-XXXXXX";
  int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(PosixSerialPort::open(name).failure, OpenFailure::Error);
  ::close(fd);
  std::remove(name);
}

}  // namespace
}  // namespace kvx::platform
