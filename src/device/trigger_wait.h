// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Seuil" and "Bouge" triggers: the program itself watches one input of
// the box, asking for its code with the single-byte request (64 + input) over
// and over, and starts the acquisition when the code crosses a threshold or
// moves away from where it was. The watch runs on a worker thread of its own,
// which alone uses the link while it runs (the link is lent to it).
//
// The engine, on the window's thread, starts a `TriggerWorker`, raises its
// stop request and takes its news: the latest code (for the trigger channel's
// read-out) and how the watch ended. The worker never touches the channels
// or the window; it only tells the engine that news waits.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "device/clock.h"

namespace kvx::device {

class BoxLink;

// "Seuil": a code counts as a crossing only after one on the far side of the
// threshold, so a signal already above it when a rising wait is armed must
// first go below and come back.
class ThresholdCrossing {
 public:
  ThresholdCrossing(int threshold, bool falling) : m_threshold(threshold), m_falling(falling) {}
  // True when this code completes the crossing.
  bool feed(int code);
  int phase() const { return m_phase; }

 private:
  int m_threshold;
  bool m_falling;
  int m_phase = 1;  // 1: not yet seen on the far side, 2: seen, 0: crossed
};

// "Bouge": the first code other than 0 becomes the reference (a 0 is what a
// box that has not settled yet answers); a code further from it than the
// width triggers.
class ChangeDetector {
 public:
  explicit ChangeDetector(int width) : m_width(width) {}
  bool feed(int code);
  std::optional<int> reference() const {
    return m_aReference ? std::optional<int>(m_reference) : std::nullopt;
  }

 private:
  int m_width;
  // A flag and a value rather than an optional: GCC's optimiser takes the
  // optional's value for uninitialised where it cannot be.
  bool m_aReference = false;
  int m_reference = 0;
};

struct TriggerWaitSettings {
  bool change = false;  // "Bouge"; else "Seuil"
  std::uint8_t request = 64;
  int threshold = 127;
  bool falling = false;
  int width = 2;
};

enum class TriggerEnd {
  Running,
  Triggered,  // the condition was met: start the acquisition
  Stopped,    // the stop request ended it
  BoxAbsent,  // no box to watch: ended at once
  BoxGone,    // the line went or the box fell silent under the worker
};

struct TriggerNews {
  std::optional<int> code;  // the latest code read ("Seuil" only), not yet shown
  TriggerEnd end = TriggerEnd::Running;
};

class TriggerWorker {
 public:
  // `notify` runs on the worker thread whenever news waits that was not
  // waiting before; the engine's side then takes it with `take`.
  TriggerWorker(BoxLink &link, const TriggerWaitSettings &settings, std::function<void()> notify);
  ~TriggerWorker();  // raises the stop request and waits for the end
  TriggerWorker(const TriggerWorker &) = delete;
  TriggerWorker &operator=(const TriggerWorker &) = delete;

  void requestStop() { m_stop.store(true); }
  bool ended() const { return m_ended.load(); }
  // Waits until the worker has ended.
  void join();
  TriggerNews take();

  // Requests sent and answers received, for the benchmark.
  std::uint64_t requests() const { return m_requests.load(); }
  std::uint64_t answers() const { return m_answers.load(); }

 private:
  void run();
  TriggerEnd watch();
  int awaitAnswer();
  void post(std::optional<int> code, TriggerEnd end);

  BoxLink &m_link;
  TriggerWaitSettings m_settings;
  std::function<void()> m_notify;
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_ended{false};
  std::atomic<std::uint64_t> m_requests{0};
  std::atomic<std::uint64_t> m_answers{0};
  std::mutex m_mutex;
  TriggerNews m_news;                // guarded by m_mutex
  bool m_noticed = false;            // guarded: a notice is out and not yet taken
  Clock::time_point m_lastNotice{};  // guarded
  std::thread m_thread;              // last: starts once everything above is set
};

}  // namespace kvx::device
