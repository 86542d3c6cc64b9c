// SPDX-License-Identifier: GPL-3.0-or-later
// The "Seuil" and "Bouge" waits on a real pseudo-terminal paced like the
// 9600-baud line, the simulated box at the far end:
//
//  1. pass rate: a "Bouge" wait on a steady input that never moves, for a
//     few seconds; requests answered per second, against the line's limit
//     (a one-byte request and its one-byte answer: 2.08 ms, 480 a second);
//  2. reaction: a "Seuil" wait on a 10 Hz sine, re-armed after each short
//     acquisition, over many triggers; the time from the read of the code
//     that crossed to "XEAP" written to the port.
//
//   trigger_bench [--triggers N] [--seconds S]   (defaults 100 and 3)
//
// The window's event loop is a poll() on the port (while the link is not
// lent to the worker) and on a pipe the worker's notice writes to, as the
// queued call does in the window.

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/acquisition_engine.h"
#include "device/acquisition_timer.h"
#include "device/box_link.h"
#include "device/sans_fenetre.h"
#include "device/simulated_box.h"
#include "display/graphe.h"
#include "platform/port_table.h"
#include "platform/pty_server.h"

namespace {

using namespace kvx;
using Steady = std::chrono::steady_clock;

using SteadyTimer = device::MinuterieReguliere;

// The worker's notice wakes the loop through a pipe, from the worker's thread.
class BenchView final : public device::VueSansFenetre {
 public:
  explicit BenchView(int wakeFd) : m_wake(wakeFd) {}
  void showBoxAbsent() override { absent = true; }
  void triggerWaitPosted() override {
    const char b = 1;
    if (::write(m_wake, &b, 1) < 0) {
      // A full pipe already holds a notice: nothing is lost.
    }
  }
  bool absent = false;

 private:
  int m_wake;
};

// The port as the link sees it, timing the reads and the writes of "XEAP".
class TimingPort final : public device::SerialPort {
 public:
  explicit TimingPort(std::unique_ptr<device::SerialPort> inner) : m_inner(std::move(inner)) {}
  std::string name() const override { return m_inner->name(); }
  device::PortIo write(const std::uint8_t *data, std::size_t size,
                       std::chrono::nanoseconds timeout) override {
    const auto now = Steady::now();
    if (size >= 4 && std::memcmp(data, "XEAP", 4) == 0) {
      std::lock_guard<std::mutex> lock(m_mutex);
      reactions.push_back(now - m_lastRead);
    }
    return m_inner->write(data, size, timeout);
  }
  device::PortRead read(std::uint8_t *buffer, std::size_t capacity) override {
    device::PortRead r = m_inner->read(buffer, capacity);
    if (r.count > 0) {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_lastRead = Steady::now();
    }
    return r;
  }
  device::PortIo waitReadable(std::chrono::nanoseconds timeout) override {
    return m_inner->waitReadable(timeout);
  }
  void flushInput() override { m_inner->flushInput(); }
  int nativeHandle() const override { return m_inner->nativeHandle(); }

  std::size_t reactionCount() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return reactions.size();
  }
  std::vector<Steady::duration> reactions;

 private:
  std::unique_ptr<device::SerialPort> m_inner;
  std::mutex m_mutex;
  Steady::time_point m_lastRead{};
};

class TimingPorts final : public device::PortProvider {
 public:
  explicit TimingPorts(device::PortProvider &inner) : m_inner(inner) {}
  int portCount() const override { return m_inner.portCount(); }
  std::string portName(int n) const override { return m_inner.portName(n); }
  device::OpenResult open(int n) override {
    device::OpenResult r = m_inner.open(n);
    if (r.port) {
      auto timing = std::make_unique<TimingPort>(std::move(r.port));
      last = timing.get();
      r.port = std::move(timing);
    }
    return r;
  }
  TimingPort *last = nullptr;

 private:
  device::PortProvider &m_inner;
};

struct Loop {
  device::BoxLink &link;
  device::AcquisitionEngine &engine;
  SteadyTimer &timer;
  int wake;
  // One turn of the window's event loop.
  void turn() {
    pollfd fds[2] = {{wake, POLLIN, 0}, {link.nativeHandle(), POLLIN, 0}};
    const bool watchPort = fds[1].fd >= 0 && !link.lent();
    ::poll(fds, watchPort ? 2 : 1, timer.msToNext());
    if (fds[0].revents & POLLIN) {
      char sink[64];
      if (::read(wake, sink, sizeof sink) < 0) {
        // Nothing to drain after all: the news is taken below regardless.
      }
    }
    engine.TriggerWaitEvents();
    link.ServiceInput();
    if (timer.due()) engine.TimerTimer();
  }
};

double ms(Steady::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char **argv) {
  int triggers = 100;
  double seconds = 3;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--triggers") == 0 && i + 1 < argc) {
      triggers = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::max(0.5, std::atof(argv[++i]));
    } else {
      std::fprintf(stderr, "usage: trigger_bench [--triggers N] [--seconds S]\n");
      return 2;
    }
  }

  auto box = std::make_unique<device::SimulatedBox>(Steady::now());
  device::SignalSpec sine;
  sine.kind = device::SignalSpec::Kind::Sine;
  sine.frequency = 10;
  box->setSignal(0, sine);
  device::SignalSpec steady;
  steady.kind = device::SignalSpec::Kind::Constant;
  steady.offset = 200;
  box->setSignal(1, steady);
  platform::PtyServer server(std::move(box));
  std::string error;
  if (!server.start(&error)) {
    std::fprintf(stderr, "trigger_bench: no pseudo-terminal: %s\n", error.c_str());
    return 1;
  }
  int wake[2];
  if (::pipe(wake) != 0) return 1;
  // The worker never blocks on a notice: a full pipe already holds one.
  ::fcntl(wake[1], F_SETFL, O_NONBLOCK);
  platform::PortTable table({server.slavePath()}, "");
  TimingPorts ports(table);
  device::SilentLinkView linkView;
  device::BoxLink link(ports, linkView);
  display::TgrapheKVX graphe;
  SteadyTimer timer;
  BenchView view(wake[1]);
  device::AcquisitionEngine engine(graphe, link, timer, view);
  Loop loop{link, engine, timer, wake[0]};

  link.IdentifyBox(1);
  if (!link.BoxPresent() || ports.last == nullptr) {
    std::fprintf(stderr, "trigger_bench: the simulated box did not answer\n");
    return 1;
  }
  // One input: V1, on the steady input first.
  graphe.voie(6).Active = false;
  graphe.Abscisse = 1;
  graphe.VoieSynchro = 5;
  graphe.voie(5).ChoisitEntree(1);
  graphe.ModeSynchro = display::kSynchroBouge;
  graphe.Bouge = 16;
  engine.ApplyConfiguration();
  engine.NbreEditEnter("8");
  engine.DureeEditEnter("0.004");

  // 1. Pass rate.
  const auto in0 = server.bytesFromProgram();
  const auto out0 = server.bytesToProgram();
  const auto start = Steady::now();
  const auto end =
      start + std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(seconds));
  const device::TriggerWorker *worker = engine.triggerWorker();
  if (worker == nullptr) {
    std::fprintf(stderr, "trigger_bench: the change wait did not start\n");
    return 1;
  }
  while (Steady::now() < end) loop.turn();
  const auto answered = worker->answers();
  const auto asked = worker->requests();
  const double took = std::chrono::duration<double>(Steady::now() - start).count();
  const auto in1 = server.bytesFromProgram() - in0;
  const auto out1 = server.bytesToProgram() - out0;
  engine.StopBtnClick(false);
  const double limit = 1.0 / (2 * std::chrono::duration<double>(device::kByteTime).count());
  std::printf(
      "pass rate: %llu requests, %llu answered in %.2f s: %.1f answers/s "
      "(line limit %.0f/s, %.1f %%)\n",
      static_cast<unsigned long long>(asked), static_cast<unsigned long long>(answered), took,
      answered / took, limit, 100.0 * answered / took / limit);
  std::printf("bytes on the line during the wait: %llu to the box, %llu from it\n",
              static_cast<unsigned long long>(in1), static_cast<unsigned long long>(out1));

  // 2. Reaction, on the sine.
  graphe.voie(5).ChoisitEntree(0);
  graphe.ModeSynchro = display::kSynchroSeuil;
  graphe.Seuil = 127;
  graphe.PenteSynchro = 0;
  engine.ApplyConfiguration();
  TimingPort &port = *ports.last;
  const auto give = Steady::now() + std::chrono::seconds(10 + triggers / 2);
  while (port.reactionCount() < static_cast<std::size_t>(triggers) && !view.absent &&
         Steady::now() < give)
    loop.turn();
  engine.StopBtnClick(false);
  std::vector<Steady::duration> r;
  { r = port.reactions; }
  if (r.size() < static_cast<std::size_t>(triggers)) {
    std::fprintf(stderr, "trigger_bench: only %zu triggers\n", r.size());
    return 1;
  }
  r.resize(static_cast<std::size_t>(triggers));
  std::sort(r.begin(), r.end());
  Steady::duration sum{};
  for (auto d : r) sum += d;
  std::printf(
      "crossing code read to \"XEAP\" written, %d triggers: min %.3f ms, median %.3f ms, "
      "mean %.3f ms, 95th %.3f ms, max %.3f ms\n",
      triggers, ms(r.front()), ms(r[r.size() / 2]), ms(sum) / static_cast<double>(r.size()),
      ms(r[r.size() * 95 / 100]), ms(r.back()));
  ::close(wake[0]);
  ::close(wake[1]);
  return 0;
}
