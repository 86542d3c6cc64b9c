// SPDX-License-Identifier: GPL-3.0-or-later
// The "Seuil" and "Bouge" waits over a real pseudo-terminal paced at 9600
// baud: the exact bytes the box hears around Stop, a trigger firing on the
// simulated box's own signal, and the pseudo-terminal closed under the worker.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "../device/engine_fakes.h"
#include "device/acquisition_engine.h"
#include "device/box_link.h"
#include "device/simulated_box.h"
#include "display/graphe.h"
#include "platform/port_table.h"
#include "platform/pty_server.h"

namespace kvx::platform {
namespace {

using namespace std::chrono_literals;
using namespace kvx::device;
using steady = std::chrono::steady_clock;

// What the box hears when it is found and reset.
const std::string kFound = "XERR\rXRESET\r";

// The simulated box, recording every byte it hears.
class HearingBox : public WirePeer {
 public:
  HearingBox() : box(steady::now()) {}
  void receive(std::uint8_t byte, time_point at) override {
    heard.push_back(static_cast<char>(byte));
    box.receive(byte, at);
  }
  void takeOutput(time_point now, std::string &out) override { box.takeOutput(now, out); }
  SimulatedBox box;
  std::string heard;
};

class GoneToEngine : public LinkView {
 public:
  void showLinkStatus(const std::string &) override {}
  void boxGone() override {
    ++gone;
    if (engine) engine->BoxGone();
  }
  AcquisitionEngine *engine = nullptr;
  int gone = 0;
};

class PtyTriggerTest : public ::testing::Test {
 protected:
  // A box whose input 2 sees `signal`, found on a pty; the engine set for
  // the trigger on V1 wired to input 2 (request byte 66, "B").
  void start(const SignalSpec &signal, int trigger) {
    auto peer = std::make_unique<HearingBox>();
    peer->box.setSignal(2, signal);
    server = std::make_unique<PtyServer>(std::move(peer));
    std::string error;
    ASSERT_TRUE(server->start(&error)) << error;
    table = std::make_unique<PortTable>(std::vector<std::string>{server->slavePath()}, "");
    LinkOptions options;
    options.traceFolder = ::testing::TempDir();
    link = std::make_unique<BoxLink>(*table, linkView, SteadyClock::instance(), options);
    engine = std::make_unique<AcquisitionEngine>(graphe, *link, timer, view);
    linkView.engine = engine.get();
    graphe.Abscisse = 1;
    graphe.voie(6).Active = false;
    graphe.voie(5).ChoisitEntree(2);
    graphe.VoieSynchro = 5;
    graphe.ModeSynchro = static_cast<std::uint8_t>(trigger);
    graphe.Seuil = 127;
    graphe.Bouge = 3;
    link->IdentifyBox(1);
    ASSERT_TRUE(link->BoxPresent());
    engine->ApplyConfiguration();
    ASSERT_TRUE(engine->triggerWaitArmed());
  }
  void TearDown() override {
    engine.reset();
    if (server) server->stop();
  }
  // The window's loop, bounded in real time: the worker's news, the port's
  // bytes, the timer.
  bool serveUntil(const std::function<bool()> &done, std::chrono::milliseconds limit = 5s) {
    const auto end = steady::now() + limit;
    for (;;) {
      engine->TriggerWaitEvents();
      link->ServiceInput();
      if (timer.due()) engine->TimerTimer();
      if (done()) return true;
      if (steady::now() >= end) return false;
      view.waitPosted(1ms);
    }
  }
  std::string heard() {
    return server->withPeer([](WirePeer &p) { return static_cast<HearingBox &>(p).heard; });
  }
  static SignalSpec Constant(double code) {
    SignalSpec s;
    s.kind = SignalSpec::Kind::Constant;
    s.offset = code;
    return s;
  }

  std::unique_ptr<PtyServer> server;
  std::unique_ptr<PortTable> table;
  GoneToEngine linkView;
  std::unique_ptr<BoxLink> link;
  display::TgrapheKVX graphe;
  testing::ManualTimer timer{SteadyClock::instance()};
  testing::RecordingView view;
  std::unique_ptr<AcquisitionEngine> engine;
};

TEST_F(PtyTriggerTest, StopEndsTheWorkerWithinOnePassThenTheStopCommandGoesOut) {
  start(Constant(90), kTriggerSeuil);
  ASSERT_TRUE(serveUntil([&] { return server->bytesFromProgram() >= kFound.size() + 20; }));
  const auto before = steady::now();
  engine->StopBtnClick(true);
  const auto took = steady::now() - before;
  // One pass waits 10 ms at most; the rest is the scheduler's.
  EXPECT_LT(took, 30ms);
  EXPECT_FALSE(engine->triggerWaitArmed());
  ASSERT_TRUE(serveUntil([&] {
    const std::string h = heard();
    return h.size() >= 10 && h.compare(h.size() - 10, 10, "XPEA0 0,1\r") == 0;
  }));
  const std::string h = heard();
  ASSERT_EQ(h.substr(0, kFound.size()), kFound);
  const std::string wait = h.substr(kFound.size(), h.size() - kFound.size() - 10);
  EXPECT_GE(wait.size(), 20u);
  EXPECT_EQ(wait, std::string(wait.size(), 'B'));
  // Each request answered by one raw byte, the code 90, and nothing else.
  const std::string identity = std::string(SimulatedBox::kIdentity) + "\r";
  EXPECT_EQ(server->bytesToProgram(), identity.size() + wait.size());
}

TEST_F(PtyTriggerTest, ARisingSineFiresAndTheAcquisitionStarts) {
  SignalSpec sine;
  sine.kind = SignalSpec::Kind::Sine;
  sine.amplitude = 100;
  sine.offset = 128;
  sine.frequency = 5;
  start(sine, kTriggerSeuil);
  ASSERT_TRUE(serveUntil([&] { return engine->state() == AcqState::Acquiring; }, 2s));
  const std::string start = engine->acquisitionCommand() + "\rXEAP\r";
  ASSERT_TRUE(serveUntil([&] { return heard().find(start) != std::string::npos; }));
  const std::string h = heard();
  const std::size_t at = h.find(start);
  const std::string wait = h.substr(kFound.size(), at - kFound.size());
  EXPECT_FALSE(wait.empty());
  EXPECT_EQ(wait, std::string(wait.size(), 'B'));
  // And the acquisition runs to its end.
  EXPECT_TRUE(serveUntil([&] { return graphe.nbPoints == graphe.nombre; }, 10s));
}

TEST_F(PtyTriggerTest, ThePtyClosedUnderTheWorkerEndsItAtOnce) {
  start(Constant(90), kTriggerBouge);
  ASSERT_TRUE(serveUntil([&] { return server->bytesFromProgram() >= kFound.size() + 5; }));
  const auto before = steady::now();
  server->stop();
  ASSERT_TRUE(serveUntil([&] { return !engine->triggerWaitArmed(); }, 2s));
  EXPECT_LT(steady::now() - before, 200ms);
  EXPECT_EQ(link->state(), LinkState::Gone);
  EXPECT_EQ(linkView.gone, 1);
  EXPECT_EQ(view.boxAbsent, 1);
  EXPECT_EQ(engine->state(), AcqState::Finished);
  engine->StopBtnClick(true);  // nothing left to stop, and nothing hangs
  EXPECT_EQ(link->state(), LinkState::Gone);
}

}  // namespace
}  // namespace kvx::platform
