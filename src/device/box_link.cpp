// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/box_link.h"

#include <algorithm>

#include "device/link_texts.h"

namespace kvx::device {

namespace {

constexpr const char *kLineWent = "the line went (hang-up, end of file or I/O error)";

const char *failureText(OpenFailure f) {
  switch (f) {
    case OpenFailure::Held:
      return "held by another program";
    case OpenFailure::Refused:
      return "access denied";
    case OpenFailure::Missing:
      return "no such port";
    case OpenFailure::Error:
      return "not a usable serial port";
    case OpenFailure::None:
      break;
  }
  return "opened";
}

}  // namespace

BoxLink::BoxLink(PortProvider &ports, LinkView &view, Clock &clock, LinkOptions options)
    : m_ports(ports), m_view(view), m_clock(clock), m_options(std::move(options)) {}

BoxLink::~BoxLink() = default;

void BoxLink::setPump(std::function<void()> pump) {
  m_pump = std::move(pump);
  m_pumpThread = std::this_thread::get_id();
}

std::string BoxLink::portName() const {
  return m_port ? m_port->name() : std::string();
}

std::string BoxLink::PortText(int n) const {
  std::string texte = std::to_string(n);
  if (n <= 0 || n > m_ports.portCount()) return texte;
  const std::string chemin = m_ports.portName(n);
  if (!chemin.empty()) texte += " (" + chemin + ")";
  return texte;
}

bool BoxLink::PortExists(int n) {
  if (n <= 0 || n > m_ports.portCount()) return false;
  OpenResult r = m_ports.open(n);
  // A port another program holds, or this user may not open, is there all
  // the same: the search moves on after its open fails, and the user sees why.
  return r.failure == OpenFailure::None || r.failure == OpenFailure::Held ||
         r.failure == OpenFailure::Refused;
}

void BoxLink::IdentifyBox(int n) {
  ownerUse();
  closePort();
  m_state = LinkState::Closed;
  m_trace.begin(n, m_ports.portName(n), m_clock.now());
  m_lastPortSet = n;
  OpenResult r = m_ports.open(n);
  m_trace.event("open " + m_ports.portName(n) + " as COM" + std::to_string(n) + ": " +
                    failureText(r.failure) + (r.detail.empty() ? "" : " (" + r.detail + ")"),
                m_clock.now());
  if (r.failure == OpenFailure::Refused) {
    // Every serial device refuses a user outside their group: the search
    // tells the first one once, at its end, with the remedy.
    if (m_refusedPort.empty()) m_refusedPort = m_ports.portName(n);
    return;
  }
  if (r.failure != OpenFailure::None || !r.port) {
    m_view.showLinkStatus(texts::kPortError);
    return;
  }
  m_port = std::move(r.port);
  m_state = LinkState::Open;
  m_received.clear();
  // Identification reads its answer by polling.
  removeDataAvailable();
  sendRaw("XERR\r");
  LineRead answer = ReadLine(kIdentifyTicks);
  m_trace.event("identification answer: \"" +
                    LinkTrace::escape(reinterpret_cast<const std::uint8_t *>(answer.text.data()),
                                      answer.text.size()) +
                    "\"",
                m_clock.now());
  if (m_state == LinkState::Open && answer.text.find(kIdentityWord) != std::string::npos) {
    m_view.setBusy(true);
    m_ComNumber = n;
    m_foundPortName = m_port->name();
    m_state = LinkState::Present;
    SendCommand(cmd::kReset);
    m_view.showLinkStatus(texts::kBoxPresent);
    m_view.boxIdentified();
    m_view.setBusy(false);
    return;
  }
  m_trace.event("no box on this port", m_clock.now());
  WriteTrace();
  closePort();
}

void BoxLink::SearchBox() {
  ownerUse();
  m_view.showLinkStatus(texts::kSearching);
  // No command reaches the box until it has answered again.
  closePort();
  m_state = LinkState::Closed;
  m_refusedPort.clear();
  if (PortExists(m_ComNumber)) IdentifyBox(m_ComNumber);
  int last = std::min(kMaxPorts, m_ports.portCount());
  for (int n = 1; n <= last && !BoxPresent(); ++n) {
    if (n == m_ComNumber || !PortExists(n)) continue;
    IdentifyBox(n);
  }
  if (BoxPresent()) {
    m_view.showBoxAbsent(false);
    return;
  }
  if (!m_refusedPort.empty()) {
    m_view.showAbsentAdvice(texts::RefusedPortText(m_refusedPort));
    m_view.showBoxAbsent(true);
    m_view.showLinkStatus(texts::RefusedPortText(m_refusedPort));
    return;
  }
  m_view.showAbsentAdvice(texts::kAbsentAdvice);
  m_view.showBoxAbsent(true);
  // The port the user named, where they look for the box; else the last tried.
  const int userNamed = std::min(m_ports.namedPortCount(), m_ports.portCount());
  int named = m_lastPortSet > 0 ? m_lastPortSet : m_ComNumber;
  if (userNamed > 0 && (named < 1 || named > userNamed)) named = userNamed;
  m_view.showLinkStatus(std::string(texts::kNotFoundOnPort) + PortText(named));
}

void BoxLink::SendCommand(std::string_view text) {
  ownerUse();
  if (!BoxPresent()) return;
  std::string line(text);
  line.push_back(static_cast<char>(kCarriageReturn));
  sendRaw(line);
}

bool BoxLink::sendRaw(std::string_view bytes) {
  ownerUse();
  if (!portUsable()) return false;
  const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.data());
  m_trace.sent(data, bytes.size(), m_clock.now());
  PortIo r = m_port->write(data, bytes.size(), ticks(kWriteTicks));
  if (r == PortIo::Ok) m_bytesSent += bytes.size();
  if (r == PortIo::Gone) {
    markGone(kLineWent);
    return false;
  }
  if (r == PortIo::Timeout)
    m_trace.event("write timed out: the line does not drain", m_clock.now());
  return r == PortIo::Ok;
}

LineRead BoxLink::ReadLine(int tickCount) {
  ownerUse();
  LineRead result;
  const auto deadline = m_clock.now() + ticks(tickCount);
  for (;;) {
    while (!m_received.empty()) {
      std::uint8_t b = m_received.front();
      m_received.pop_front();
      if (b == kCarriageReturn) {
        result.end = LineEnd::Line;
        return result;
      }
      if (b >= 32 && result.text.size() < kMaxLineLength)
        result.text.push_back(static_cast<char>(b));
    }
    if (!waitForByte(deadline)) {
      result.end = portUsable() ? LineEnd::TimedOut : LineEnd::Gone;
      return result;
    }
  }
}

void BoxLink::DrainPort() {
  ownerUse();
  // Flush, then listen for 110 ms without pumping: if the box still talks, its
  // answer is not over yet. Bounded, so a device that never stops cannot hang
  // the window.
  const auto limit = m_clock.now() + ticks(kDrainLimitTicks);
  do {
    FlushInput();
    m_clock.sleepFor(ticks(kDrainQuietTicks));
    pumpUi();
  } while (ByteReady() && m_clock.now() < limit);
  m_received.clear();
}

void BoxLink::WriteTrace() {
  // The worker may be adding to the trace: take the link back first.
  ownerUse();
  if (m_options.traceFiles) m_trace.writeFiles(m_options.traceFolder);
}

void BoxLink::Close() {
  ownerUse();
  closePort();
  m_state = LinkState::Closed;
}

void BoxLink::FlushInput() {
  ownerUse();
  if (portUsable()) m_port->flushInput();
  m_received.clear();
}

bool BoxLink::ByteReady() {
  ownerUse();
  pullFromPort();
  return !m_received.empty();
}

int BoxLink::GetByte() {
  ownerUse();
  if (m_received.empty()) pullFromPort();
  if (m_received.empty()) return -1;
  int b = m_received.front();
  m_received.pop_front();
  return b;
}

bool BoxLink::waitForByte(Clock::time_point deadline) {
  ownerUse();
  for (;;) {
    pullFromPort();
    if (!m_received.empty()) return true;
    if (!portUsable()) return false;
    auto now = m_clock.now();
    if (now >= deadline) return false;
    pumpUi();
    if (!portUsable()) return false;
    auto slice = std::min<Clock::duration>(deadline - now, m_options.pollSlice);
    if (m_port->waitReadable(slice) == PortIo::Gone) pullFromPort();
  }
}

void BoxLink::setDataAvailable(DataAvailable callback) {
  ownerUse();
  m_dataAvailable = std::move(callback);
}

void BoxLink::ServiceInput() {
  if (m_lent.load()) return;
  pullFromPort();
  if (!m_dataAvailable || m_received.empty()) return;
  std::vector<std::uint8_t> bytes(m_received.begin(), m_received.end());
  m_received.clear();
  // A copy: the callback may remove or replace itself.
  DataAvailable callback = m_dataAvailable;
  callback(bytes.data(), bytes.size());
}

void BoxLink::pullFromPort() {
  if (!portUsable()) return;
  std::uint8_t buffer[512];
  for (;;) {
    PortRead r = m_port->read(buffer, sizeof buffer);
    if (r.count > 0) {
      m_bytesReceived += r.count;
      m_trace.received(buffer, r.count, m_clock.now());
      for (std::size_t i = 0; i < r.count; ++i) {
        if (m_received.size() >= kReceiveBufferSize) {
          // Nobody reads: like a full receive buffer, the newest bytes are lost.
          if (!m_overrunLogged) m_trace.event("receive buffer full: bytes lost", m_clock.now());
          m_overrunLogged = true;
          break;
        }
        m_received.push_back(buffer[i]);
      }
    }
    if (r.gone) {
      markGone(kLineWent);
      return;
    }
    if (r.count < sizeof buffer) return;
  }
}

void BoxLink::markGone(const char *why) {
  if (m_lostWhileLent.load()) return;
  const bool wasPresent = m_state == LinkState::Present;
  m_trace.event(why, m_clock.now());
  if (usedByWorker()) {
    // The port is closed and the window told on the user-interface thread,
    // when the link is taken back; the worker only stops using it.
    m_state = LinkState::Gone;
    m_lostWhileLent = true;
    return;
  }
  closePort();
  if (!wasPresent) {
    // During identification a vanished port is just not the box.
    m_state = LinkState::Closed;
    return;
  }
  m_state = LinkState::Gone;
  reportGone(true);
}

void BoxLink::reportGone(bool tellView) {
  if (m_options.traceFiles) m_trace.writeFiles(m_options.traceFolder);
  if (!tellView) return;
  m_view.showLinkStatus(std::string(texts::kNotFoundOnPort) + PortText(m_lastPortSet));
  m_view.showAbsentAdvice(texts::kAbsentAdvice);
  m_view.showBoxAbsent(true);
  m_view.boxGone();
}

void BoxLink::boxSilent() {
  if (!BoxPresent()) return;
  markGone("the box stopped answering");
}

void BoxLink::lend(std::function<void()> reclaim) {
  m_ownerThread = std::this_thread::get_id();
  m_reclaim = std::move(reclaim);
  m_lostWhileLent = false;
  m_lent = true;
}

void BoxLink::takeBack(bool tellView) {
  if (!m_lent.load()) return;
  m_lent = false;
  m_reclaim = nullptr;
  if (!m_lostWhileLent.load()) return;
  m_lostWhileLent = false;
  closePort();
  reportGone(tellView);
}

void BoxLink::ownerUse() {
  if (!m_lent.load() || std::this_thread::get_id() != m_ownerThread) return;
  // A copy: taking the link back clears the hook while it runs.
  std::function<void()> reclaim = m_reclaim;
  if (reclaim) reclaim();
}

void BoxLink::closePort() {
  if (m_port) m_trace.event("close", m_clock.now());
  m_port.reset();
  m_received.clear();
  m_overrunLogged = false;
  if (m_state != LinkState::Gone) m_state = LinkState::Closed;
}

void BoxLink::pumpUi() {
  // Never from the trigger worker: the pump runs the window's events.
  if (std::this_thread::get_id() != m_pumpThread || !m_pump || m_inPump) return;
  // A timer handler run by the pump may itself wait on the box: no nesting.
  struct Guard {
    bool &flag;
    ~Guard() { flag = false; }
  } guard{m_inPump = true};
  m_pump();
}

}  // namespace kvx::device
