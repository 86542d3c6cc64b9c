// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The optical fork (Veltor) in the simulated box: the box's loader takes the
// fork program line by line and answers "UTIL" only once it has a whole and
// sound image; "XUTIL1" and "XUTIL2" then start a counting run, "XUTIL4"
// tells how many events the fork has counted and "XUTIL3 32" ends the run
// and sends one line per event, "p+30000 high low": the position count and
// the two halves of the box's 32-bit clock (1.08506 µs a tick) when the
// beam was cut.
//
// What passes through the fork: a striped ruler let fall from rest (9.81
// m/s²) a moment after the run starts, or a slotted wheel turning at a set
// speed for as long as the run lasts. Each stripe period cuts the beam once
// and moves the count by two half periods (down for the falling ruler, up
// for the wheel).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/box_accessory.h"

namespace kvx::device {

struct ForkSpec {
  enum class Kind { Ruler, Wheel };
  Kind kind = Kind::Ruler;
  // Ruler: stripe period (3.6 mm: twice the fork's default half period),
  // stripe count, and how far the first edge is above the beam at release.
  double stripePeriod = 0.0036;
  int stripes = 80;
  double firstEdge = 0.002;
  double gravity = 9.81;
  // Seconds between the start of the run and the release of the ruler (or
  // the first slot of the wheel).
  double delay = 0.3;
  // Wheel: turns a second, and slots a turn.
  double turnsPerSecond = 1;
  int slotCount = 20;
};

struct ForkParse {
  std::optional<ForkSpec> spec;
  std::string error;
};
// "ruler" or "wheel[:TURNS_PER_SECOND]" (kvx-sim and kvx --simulate).
ForkParse ParseForkSpec(std::string_view text);
std::string DescribeFork(const ForkSpec &spec);

class SimulatedFork final : public BoxAccessory {
 public:
  // Odd boxes, for the tests of what the program does when things go wrong.
  enum class Fault {
    None,
    GarbageUpload,  // answers noise instead of "UTIL" to a sound image
    SilentCount,    // stops answering "XUTIL4" (the box hangs mid-run)
  };
  // Events the fork's memory keeps; later ones are not counted.
  static constexpr int kCapacity = 6400;
  static constexpr double kClockPeriod = 1.08506e-6;

  // `powerOn` is when the box's 32-bit clock read `clockAtPowerOn`.
  SimulatedFork(ForkSpec spec, time_point powerOn, std::uint32_t clockAtPowerOn = 0);

  void programLine(std::string_view line, time_point at, std::string &answer) override;
  void command(std::string_view line, time_point at, std::string &answer) override;
  void reset(time_point at) override;

  void setFault(Fault fault) { m_fault = fault; }
  // The box's clock reads `value` at `at` (to put its wrap where a test wants it).
  void setClock(time_point at, std::uint32_t value) {
    m_powerOn = at;
    m_clockAtPowerOn = value;
  }
  const ForkSpec &spec() const { return m_spec; }
  // ---- What a test may look at ----------------------------------------------
  bool loaded() const { return m_loaded; }
  int uploads() const { return m_uploads; }
  // Events counted by `at` in the current run (0 outside a run).
  int eventsBy(time_point at) const;
  // Seconds after the start of the run of event i, and its count.
  double eventTime(int i) const;
  int eventCount(int i) const;
  // The box clock at `at`.
  std::uint32_t clockAt(time_point at) const;

 private:
  int totalEvents() const;
  void sendResults(time_point at, std::string &answer);

  ForkSpec m_spec;
  time_point m_powerOn;
  std::uint32_t m_clockAtPowerOn;
  Fault m_fault = Fault::None;
  std::vector<std::string> m_image;
  bool m_imageTooLong = false;
  bool m_loaded = false;
  int m_uploads = 0;
  bool m_armed = false;     // "XUTIL1" seen
  bool m_counting = false;  // "XUTIL2" seen, until "XUTIL3"
  time_point m_start{};
  time_point m_stop{};
};

}  // namespace kvx::device
