// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The time the link and the simulated box go by. The program uses the steady
// clock; tests give a manual clock so time-outs pass in no time and timing is
// exact.

#include <atomic>
#include <chrono>

namespace kvx::device {

class Clock {
 public:
  using time_point = std::chrono::steady_clock::time_point;
  using duration = std::chrono::steady_clock::duration;

  virtual ~Clock() = default;
  virtual time_point now() const = 0;
  // Waits without doing anything else (a manual clock just moves on).
  virtual void sleepFor(duration d) = 0;
};

// Real time: std::chrono::steady_clock and std::this_thread::sleep_for.
class SteadyClock final : public Clock {
 public:
  time_point now() const override;
  void sleepFor(duration d) override;
  // The one real clock of the program, for callers that pass none.
  static SteadyClock &instance();
};

// Time that moves only when told to (or when someone sleeps on it). Safe to
// read and advance from several threads.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(time_point start = time_point{} + std::chrono::hours(1));
  time_point now() const override;
  void sleepFor(duration d) override { advance(d); }
  void advance(duration d);
  void advanceTo(time_point t);  // never moves back

 private:
  std::atomic<std::chrono::steady_clock::rep> m_ticks;
};

}  // namespace kvx::device
