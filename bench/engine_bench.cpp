// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end time of the longest one-input scan at the shortest period, from
// the start command to "Acquisition terminée", against the time its bytes
// take on a 9600-baud line. The simulated box serves a real pseudo-terminal
// paced like the line, and the program's side runs the real port, link and
// engine with a plain poll() loop standing in for the window's event loop.
//
//   engine_bench [--points N]     (default 6400)
//
// A ratio near 100 % means no idle gap between one line and the next
// request: the link is the only limit.

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "device/acquisition_engine.h"
#include "device/acquisition_timer.h"
#include "device/box_link.h"
#include "device/engine_texts.h"
#include "device/sans_fenetre.h"
#include "device/simulated_box.h"
#include "display/graphe.h"
#include "platform/port_table.h"
#include "platform/pty_server.h"

namespace {

using namespace kvx;
using Steady = std::chrono::steady_clock;

using SteadyTimer = device::MinuterieReguliere;

// Only the moment the acquisition ends matters here.
class BenchView final : public device::VueSansFenetre {
 public:
  void setStatus(const std::string &text) override {
    if (text == device::texts::kAcquisitionTerminee && !done) {
      done = true;
      end = Steady::now();
    }
  }
  void showBoxAbsent() override { absent = true; }
  bool done = false;
  bool absent = false;
  Steady::time_point end{};
};

}  // namespace

int main(int argc, char **argv) {
  int points = 6400;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--points") == 0 && i + 1 < argc) {
      points = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: engine_bench [--points N]\n");
      return 2;
    }
  }

  auto box = std::make_unique<device::SimulatedBox>(Steady::now());
  device::SignalSpec sine;
  sine.kind = device::SignalSpec::Kind::Sine;
  sine.frequency = 5;
  box->setSignal(0, sine);
  platform::PtyServer server(std::move(box));
  std::string error;
  if (!server.start(&error)) {
    std::fprintf(stderr, "engine_bench: no pseudo-terminal: %s\n", error.c_str());
    return 1;
  }
  platform::PortTable ports({server.slavePath()}, "");
  device::SilentLinkView linkView;
  device::BoxLink link(ports, linkView);
  display::TgrapheKVX graphe;
  SteadyTimer timer;
  BenchView view;
  device::AcquisitionEngine engine(graphe, link, timer, view);

  link.IdentifyBox(1);
  if (!link.BoxPresent()) {
    std::fprintf(stderr, "engine_bench: the simulated box did not answer\n");
    return 1;
  }
  // One input, the keyboard trigger, then the point count and the shortest
  // period one input keeps for it (0.5 ms: 6400 points in 3.2 s).
  graphe.voie(6).Active = false;
  graphe.Abscisse = 1;
  graphe.ModeSynchro = display::kSynchroClavier;
  engine.ApplyConfiguration();
  engine.NbreEditEnter(std::to_string(points));
  engine.DureeEditEnter(std::to_string(points * 0.0005));
  std::printf("command %s, %d points, dt %.6g s\n", engine.acquisitionCommand().c_str(),
              graphe.nombre, engine.dt());

  const auto in0 = server.bytesFromProgram();
  const auto out0 = server.bytesToProgram();
  const auto start = Steady::now();
  engine.EnregistreBtnClick();
  const auto limit = start + std::chrono::seconds(120);
  while (!view.done && !view.absent && Steady::now() < limit) {
    pollfd fd{link.nativeHandle(), POLLIN, 0};
    ::poll(&fd, fd.fd >= 0 ? 1 : 0, timer.msToNext());
    link.ServiceInput();
    if (timer.due()) engine.TimerTimer();
  }
  if (!view.done) {
    std::fprintf(stderr, "engine_bench: the acquisition did not end\n");
    return 1;
  }
  const double elapsed = std::chrono::duration<double>(view.end - start).count();
  const auto bytes = (server.bytesFromProgram() - in0) + (server.bytesToProgram() - out0);
  const double wire = std::chrono::duration<double>(device::kByteTime).count() * bytes;
  std::printf("points %d, bytes on the line %llu (both ways), wire time %.3f s\n",
              engine.pointsReceived(), static_cast<unsigned long long>(bytes), wire);
  std::printf("start command to \"Acquisition terminée\": %.3f s, %.1f %% of the wire limit\n",
              elapsed, 100.0 * wire / elapsed);
  return 0;
}
