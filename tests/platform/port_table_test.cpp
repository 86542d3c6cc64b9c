// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/port_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace kvx::platform {
namespace {

namespace fs = std::filesystem;

class PortTableTest : public testing::Test {
 protected:
  void SetUp() override {
    dev = fs::temp_directory_path() / ("kvx-dev-" + std::to_string(::getpid()));
    fs::create_directories(dev);
  }
  void TearDown() override { fs::remove_all(dev); }
  void touch(const std::string &name) { std::ofstream(dev / name).put('\0'); }
  std::string at(const std::string &name) const { return (dev / name).string(); }

  fs::path dev;
};

TEST_F(PortTableTest, ListsGivenPathsThenDevicesInNaturalOrder) {
  for (auto n : {"ttyS10", "ttyS2", "ttyUSB1", "ttyACM0", "ttyUSB0", "ttyS0", "ttyprintk", "ttyUSB",
                 "tty5", "ttyS1x"})
    touch(n);
  PortTable table({"/tmp/box-pty", at("ttyUSB1")}, dev.string());
  std::vector<std::string> expected = {"/tmp/box-pty", at("ttyUSB1"), at("ttyUSB0"), at("ttyACM0"),
                                       at("ttyS0"),    at("ttyS2"),   at("ttyS10")};
  EXPECT_EQ(table.paths(), expected);
  EXPECT_EQ(table.portCount(), 7);
  EXPECT_EQ(table.portName(1), "/tmp/box-pty");
  EXPECT_EQ(table.portName(0), "");
  EXPECT_EQ(table.portName(8), "");
}

TEST_F(PortTableTest, HoldsAtMostFiftyPorts) {
  for (int i = 0; i < 60; ++i) touch("ttyS" + std::to_string(i));
  PortTable table({}, dev.string());
  ASSERT_EQ(table.portCount(), 50);
  EXPECT_EQ(table.portName(50), at("ttyS49"));
}

TEST_F(PortTableTest, TheStoredPathWinsOverTheStoredNumber) {
  touch("ttyUSB0");
  touch("ttyUSB1");
  PortTable table({"/tmp/sim"}, dev.string());
  EXPECT_EQ(table.resolveStored(1, at("ttyUSB1")), 3);
  EXPECT_EQ(table.resolveStored(2, "/dev/gone"), 2);
  EXPECT_EQ(table.resolveStored(2, ""), 2);
  EXPECT_EQ(table.numberOf("/tmp/sim"), 1);
  EXPECT_EQ(table.numberOf("/nope"), 0);
}

TEST_F(PortTableTest, PortsOutsideTheTableDoNotOpen) {
  PortTable table({}, "");
  EXPECT_EQ(table.portCount(), 0);
  EXPECT_EQ(table.open(0).failure, device::OpenFailure::Missing);
  EXPECT_EQ(table.open(51).failure, device::OpenFailure::Missing);
}

TEST(NaturalOrder, ComparesDigitRunsAsNumbers) {
  EXPECT_TRUE(PortTable::NaturalLess("ttyS2", "ttyS10"));
  EXPECT_FALSE(PortTable::NaturalLess("ttyS10", "ttyS2"));
  EXPECT_TRUE(PortTable::NaturalLess("ttyS9", "ttyS0010"));
  EXPECT_FALSE(PortTable::NaturalLess("ttyS3", "ttyS3"));
  EXPECT_TRUE(PortTable::NaturalLess("a", "a1"));
  EXPECT_TRUE(PortTable::NaturalLess("ttyS99999999999999999999", "ttyS100000000000000000000"));
}

}  // namespace
}  // namespace kvx::platform
