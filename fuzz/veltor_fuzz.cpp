// SPDX-License-Identifier: GPL-3.0-or-later
// A box that answers an optical-fork run with any bytes: the first input
// line is its answer to the count request, the rest its event lines. The
// engine must never crash nor read out of its arrays, must end the fetch
// (by the count, by silence or by the box going) and keep the events within
// bounds. The same bytes go to the fork program's loader as lines.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "device/acquisition_engine.h"
#include "device/acquisition_timer.h"
#include "device/box_link.h"
#include "device/sans_fenetre.h"
#include "device/simulated_port.h"
#include "device/veltor_fork.h"
#include "device/veltor_image.h"
#include "display/graphe.h"
#include "model/veltor.h"

using namespace kvx::device;
using namespace std::chrono_literals;

namespace {

class Peer final : public WirePeer {
 public:
  std::string count, results;
  void receive(std::uint8_t byte, time_point) override {
    if (byte != '\r') {
      if (m_line.size() < 256) m_line.push_back(static_cast<char>(byte));
      return;
    }
    if (m_line == "XERR") m_out += "NUVEX\r";
    if (m_line == ":00000001FF") m_out += "UTIL\r";
    if (m_line == "XUTIL4") m_out += count + "\r";
    if (m_line == "XUTIL3 32") m_out += results;
    m_line.clear();
  }
  void takeOutput(time_point, std::string &out) override {
    const std::size_t n = std::min<std::size_t>(m_out.size(), 64);
    out.append(m_out, 0, n);
    m_out.erase(0, n);
  }

 private:
  std::string m_line, m_out;
};

class Timer final : public AcquisitionTimer {
 public:
  explicit Timer(const kvx::device::Clock &clock) : m_clock(clock) {}
  void setInterval(int ms) override { m_interval = ms; }
  int interval() const override { return m_interval; }
  void setEnabled(bool on) override {
    if (on && !m_on) m_next = m_clock.now() + std::chrono::milliseconds(m_interval);
    m_on = on;
  }
  bool isEnabled() const override { return m_on; }
  Clock::time_point now() const override { return m_clock.now(); }
  bool due() {
    if (!m_on || m_clock.now() < m_next) return false;
    m_next = m_clock.now() + std::chrono::milliseconds(std::max(m_interval, 1));
    return true;
  }

 private:
  const kvx::device::Clock &m_clock;
  int m_interval = 1;
  bool m_on = false;
  Clock::time_point m_next{};
};

using View = VueSansFenetre;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  // The loader takes any lines without harm.
  {
    SimulatedFork fork(ForkSpec{}, Clock::time_point{});
    std::string answer;
    std::size_t start = 0;
    while (start < input.size()) {
      std::size_t end = input.find('\n', start);
      if (end == std::string::npos) end = input.size();
      const std::string line = input.substr(start, end - start);
      (void)ParseHexLine(line);
      fork.programLine(line, Clock::time_point{}, answer);
      start = end + 1;
    }
  }
  Peer peer;
  const std::size_t cr = input.find('\r');
  peer.count = input.substr(0, cr == std::string::npos ? 0 : cr);
  peer.results = cr == std::string::npos ? input : input.substr(cr + 1);
  ManualClock clock;
  SimulatedPortTable ports(clock, 20us);
  const int port = ports.addPeer(peer);
  SilentLinkView linkView;
  LinkOptions options;
  options.traceFiles = false;
  BoxLink link(ports, linkView, clock, options);
  kvx::display::TgrapheKVX graphe;
  graphe.Mode = kvx::display::kModeVeltor;
  Timer timer(clock);
  View view;
  AcquisitionEngine engine(graphe, link, timer, view);
  link.IdentifyBox(port);
  engine.ApplyConfiguration();
  engine.EnregistreBtnClick();
  // At most 60 s of box time: long enough for 64 KB at the fork's pace.
  const auto end = clock.now() + 60s;
  while (clock.now() < end && engine.veltorPhase() != VeltorPhase::Idle) {
    clock.advance(1ms);
    link.ServiceInput();
    if (timer.due()) engine.TimerTimer();
    if (engine.veltorPhase() == VeltorPhase::Counting && clock.now() > end - 50s)
      engine.VeltorStopRequested();
  }
  if (engine.veltorPhase() != VeltorPhase::Idle) std::abort();  // a fetch that never ends
  const kvx::model::Tveltor &fourche = graphe.veltor();
  if (fourche.nbEvenements < 0 || fourche.nbEvenements > kvx::model::kMaxPoints) std::abort();
  if (graphe.nbPoints < 0 || graphe.nbPoints > kvx::model::kMaxPoints) std::abort();
  return 0;
}
