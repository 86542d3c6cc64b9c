// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An acquisition engine wired as in the program: a graph, a link to a box on
// an in-process port, the window's timer and a recording view, all on one
// manual clock, so a whole acquisition runs in milliseconds and the same way
// every time. `run` plays the window's event loop: bytes are serviced as
// they arrive and timer ticks are delivered when due.

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "device/acquisition_engine.h"
#include "device/box_link.h"
#include "device/clock.h"
#include "device/simulated_port.h"
#include "device/wire_peer.h"
#include "display/graphe.h"
#include "engine_fakes.h"

namespace kvx::device::testing {

// Records what the link tells the window and hands "box gone" to the engine,
// as the window does.
class EngineLinkView : public LinkView {
 public:
  void showLinkStatus(const std::string &text) override { status = text; }
  void showBoxAbsent(bool absent) override { this->absent = absent; }
  void boxGone() override {
    ++gone;
    if (onGone) onGone();
  }
  std::string status;
  bool absent = false;
  int gone = 0;
  std::function<void()> onGone;
};

class EngineRig {
 public:
  explicit EngineRig(WirePeer &box)
      : folder(std::filesystem::temp_directory_path() /
               ("kvx-engine-test-" + std::to_string(::getpid()))),
        ports(clock),
        link(ports, linkView, clock, Options(folder)),
        timer(clock),
        engine(graphe, link, timer, view) {
    port = ports.addPeer(box);
    // The box of a test is the program's own simulated box.
    engine.setVeltorImageSource({port, {}});
    linkView.onGone = [this] { engine.BoxGone(); };
  }
  ~EngineRig() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  // The box is found on its port and the configuration applied, as at start.
  void start() {
    link.IdentifyBox(port);
    engine.ApplyConfiguration();
  }

  // The window's loop for `span` of box time, in 1 ms steps.
  void run(std::chrono::milliseconds span) {
    const auto end = clock.now() + span;
    while (clock.now() < end) {
      step();
    }
  }
  // Runs until `done` holds or `limit` of box time has passed; true if done.
  bool runUntil(const std::function<bool()> &done, std::chrono::milliseconds limit) {
    const auto end = clock.now() + limit;
    while (!done()) {
      if (clock.now() >= end) return false;
      step();
    }
    return true;
  }
  void step() {
    clock.advance(std::chrono::milliseconds(1));
    const auto before = clock.now();
    link.ServiceInput();
    if (timer.due()) engine.TimerTimer();
    // Box time spent inside one event: how long the window would freeze.
    longestEvent = std::max(longestEvent, clock.now() - before);
  }
  Clock::duration longestEvent{};

  std::filesystem::path folder;
  ManualClock clock;
  SimulatedPortTable ports;
  EngineLinkView linkView;
  BoxLink link;
  display::TgrapheKVX graphe;
  ManualTimer timer;
  RecordingView view;
  AcquisitionEngine engine;
  int port = 0;

 private:
  static LinkOptions Options(const std::filesystem::path &folder) {
    std::filesystem::create_directories(folder);
    LinkOptions options;
    options.traceFolder = folder;
    return options;
  }
};

}  // namespace kvx::device::testing
