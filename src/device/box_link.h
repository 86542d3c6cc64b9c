// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The link to the box: finds the port it is on, identifies it, and gives the
// rest of the program its send and receive operations. The main window owns
// one; the acquisition engine, the trigger worker and the dialogs talk to the
// box through it.
//
// Every wait polls the port in short slices and, between them, calls the
// pump hook the shell installed (paint and timers only, never user input), so
// the window stays drawn while the box is asked something. No wait lasts
// longer than its time-out. Time is read from the injected clock.
//
// The link is used by one thread at a time: the user-interface thread, or the
// trigger worker while the link is lent to it (`lend`, `takeBack`). The pump
// hook runs only on the thread that installed it, and the view is told things
// only on the user-interface thread: a line that goes under the worker is
// reported when the link is taken back.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "device/box_facts.h"
#include "device/clock.h"
#include "device/link_trace.h"
#include "device/link_view.h"
#include "device/serial_port.h"

namespace kvx::device {

struct LinkOptions {
  // Where "KVXn.trc" and "KVXn.log" go, and whether they are written at all
  // (the user's "Trace" setting; the trace is always kept in memory).
  std::filesystem::path traceFolder = ".";
  bool traceFiles = true;
  // Length of one time-out tick; only tests shorten it.
  std::chrono::milliseconds tick = kTick;
  // Longest single wait on the port between two pump steps.
  std::chrono::milliseconds pollSlice{10};
};

enum class LinkState {
  Closed,   // no port open
  Open,     // a port is open, the box has not answered (identification)
  Present,  // the box answered: commands go out
  Gone,     // the line went while the box was present (unplugged)
};

enum class LineEnd { Line, TimedOut, Gone };

struct LineRead {
  std::string text;  // the bytes of 32 and above, possibly empty
  LineEnd end = LineEnd::TimedOut;
};

class BoxLink {
 public:
  // Bytes that arrived while a data-available callback is installed.
  using DataAvailable = std::function<void(const std::uint8_t *data, std::size_t size)>;

  // Longest text ReadLine keeps; further bytes of an endless line are dropped.
  static constexpr std::size_t kMaxLineLength = 1024;

  BoxLink(PortProvider &ports, LinkView &view, Clock &clock = SteadyClock::instance(),
          LinkOptions options = {});
  ~BoxLink();
  BoxLink(const BoxLink &) = delete;
  BoxLink &operator=(const BoxLink &) = delete;

  // The shell's pump step (paint and timers). Called only on this thread.
  void setPump(std::function<void()> pump);

  bool BoxPresent() const { return m_state.load() == LinkState::Present; }
  int ComNumber() const { return m_ComNumber; }
  void setComNumber(int n) { m_ComNumber = n; }
  LinkState state() const { return m_state.load(); }
  // True once the line went while the box was present, until the next search.
  bool boxGone() const { return m_state.load() == LinkState::Gone; }
  // The port number last set on the port (tried by identification).
  int lastPortTried() const { return m_lastPortSet; }
  // The device path of the first port the last search was refused, or empty.
  const std::string &refusedPort() const { return m_refusedPort; }
  std::string portName() const;
  // Port `n` as the user knows it here: its number and its device path,
  // "1 (/dev/ttyUSB0)", to follow "COM" in the texts; the number alone when
  // the table has no such port.
  std::string PortText(int n) const;
  // The device path where the box last answered, kept after the port is
  // closed (the box unplugged): the next start tries it first.
  const std::string &foundPortName() const { return m_foundPortName; }

  bool PortExists(int n);
  void IdentifyBox(int n);
  void SearchBox();
  // Sends the text and a carriage return when the box is present.
  void SendCommand(std::string_view text);
  LineRead ReadLine(int ticks);
  void DrainPort();
  // Writes the trace and the log of the current port (shutdown).
  void WriteTrace();
  void Close();

  // ---- Byte operations, for the protocol and the trigger worker ------------
  // Sends the bytes as they are, present box or not; false when no port is open.
  bool sendRaw(std::string_view bytes);
  void FlushInput();
  // Takes what the port has received (no pump step) and tells whether a byte waits.
  bool ByteReady();
  // The next received byte, or -1 when none is there.
  int GetByte();
  // Waits until a byte is ready (true), or the deadline passes or the line goes
  // (false). Pumps the user interface while waiting.
  bool waitForByte(Clock::time_point deadline);

  // While installed, every arriving byte is handed to the callback by
  // ServiceInput instead of being kept for GetByte.
  void setDataAvailable(DataAvailable callback);
  void removeDataAvailable() { m_dataAvailable = nullptr; }
  bool hasDataAvailable() const { return static_cast<bool>(m_dataAvailable); }
  // Moves arrived bytes to the callback. The shell calls it when the port's
  // handle is readable (or at each timer tick); a wait may call it too. While
  // the link is lent it does nothing: the bytes are the worker's answers.
  void ServiceInput();
  int nativeHandle() const { return m_port ? m_port->nativeHandle() : -1; }

  // ---- Lending to the trigger worker ----------------------------------------
  // While a "Seuil" or "Bouge" wait runs, its worker thread alone talks to the
  // box. The user-interface thread lends it the link and takes it back once the
  // worker has ended. Any other use of the link by the lending thread meanwhile
  // (a search, a command at shutdown) first calls `reclaim`, which must end
  // the worker and take the link back, so that nothing reaches the box while
  // the worker is still asking it for codes.
  void lend(std::function<void()> reclaim);
  // `tellView` false: a line that went under the worker is closed but not
  // reported (the engine is being torn down).
  void takeBack(bool tellView = true);
  bool lent() const { return m_lent.load(); }
  // The box stopped answering though the line is still there: from here on it
  // is treated as gone, as if unplugged.
  void boxSilent();

  std::chrono::milliseconds ticks(int count) const { return m_options.tick * count; }
  Clock &clock() const { return m_clock; }
  const LinkTrace &trace() const { return m_trace; }
  // Bytes that went to and came from the box since the link was made.
  std::uint64_t bytesSent() const { return m_bytesSent.load(); }
  std::uint64_t bytesReceived() const { return m_bytesReceived.load(); }
  const LinkOptions &options() const { return m_options; }

 private:
  void pullFromPort();
  void markGone(const char *why);
  void reportGone(bool tellView);
  void closePort();
  void pumpUi();
  // The lending thread wants the link back before it uses it.
  void ownerUse();
  bool usedByWorker() const { return m_lent.load() && std::this_thread::get_id() != m_ownerThread; }
  // The port, unless the line went under the worker (closed when taken back).
  bool portUsable() const { return m_port && !m_lostWhileLent.load(); }

  PortProvider &m_ports;
  LinkView &m_view;
  Clock &m_clock;
  LinkOptions m_options;
  std::unique_ptr<SerialPort> m_port;
  // Read by the user-interface thread while the worker may set it.
  std::atomic<LinkState> m_state{LinkState::Closed};
  int m_ComNumber = 1;
  std::string m_foundPortName;
  int m_lastPortSet = 0;
  // The first port of this search the user may not open; told once, at its end.
  std::string m_refusedPort;
  std::deque<std::uint8_t> m_received;
  bool m_overrunLogged = false;
  DataAvailable m_dataAvailable;
  std::function<void()> m_pump;
  std::thread::id m_pumpThread;
  bool m_inPump = false;
  LinkTrace m_trace;
  std::atomic<std::uint64_t> m_bytesSent{0};
  std::atomic<std::uint64_t> m_bytesReceived{0};
  std::atomic<bool> m_lent{false};
  std::atomic<bool> m_lostWhileLent{false};
  std::thread::id m_ownerThread;
  std::function<void()> m_reclaim;
};

}  // namespace kvx::device
