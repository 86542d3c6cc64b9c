// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/signaux_fermeture.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <csignal>

namespace kvx::platform {
namespace {

class ClosingSignal : public testing::TestWithParam<int> {};

TEST_P(ClosingSignal, ReachesTheWindowThreadAsACloseRequest) {
  SignauxFermeture signaux;
  ASSERT_TRUE(signaux.actif());
  QSignalSpy spy(&signaux, &SignauxFermeture::fermetureDemandee);
  ASSERT_EQ(::raise(GetParam()), 0);
  ASSERT_TRUE(spy.count() == 1 || spy.wait(2000));
  EXPECT_EQ(spy.at(0).at(0).toInt(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Signals, ClosingSignal, testing::Values(SIGTERM, SIGINT, SIGHUP));

// The desktop may send SIGTERM twice while the close is saving: the second
// one must not kill the program half-way through the files.
TEST(SignauxFermeture, ASecondSignalDuringTheCloseIsCaughtToo) {
  SignauxFermeture signaux;
  QSignalSpy spy(&signaux, &SignauxFermeture::fermetureDemandee);
  ASSERT_EQ(::raise(SIGTERM), 0);
  ASSERT_EQ(::raise(SIGTERM), 0);  // the default action would end the test here
  while (spy.count() < 2 && spy.wait(2000)) {
  }
  EXPECT_EQ(spy.count(), 2);
}

TEST(SignauxFermeture, OnlyOneCatcherAProcess) {
  SignauxFermeture first;
  SignauxFermeture second;
  EXPECT_TRUE(first.actif());
  EXPECT_FALSE(second.actif());
}

}  // namespace
}  // namespace kvx::platform
