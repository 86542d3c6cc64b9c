// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Nuvex KVX box in software, for everyone without one on the desk: tests,
// `kvx-sim` and `kvx --simulate`. It answers every command and single-byte
// request the program sends, samples its eight inputs into an acquisition
// memory in real time at the commanded period, waits for an edge when asked,
// drives its analog output, and reads binary inputs. What it sees on its
// inputs is set with SignalSpec and BinarySpec.
//
// Time is never read from a clock: each byte comes with the time it arrived,
// and the box works out from that which samples it has taken. Feed it bytes
// directly (deterministic tests) or serve it on a paced line (SimulatedPort,
// the pseudo-terminal server). It stays silent on anything malformed and
// survives any byte sequence.

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "device/acquisition_command.h"
#include "device/box_accessory.h"
#include "device/box_facts.h"
#include "device/simulated_signal.h"
#include "device/wire_peer.h"

namespace kvx::device {

class SimulatedBox final : public WirePeer {
 public:
  // What the box answers to "XERR".
  static constexpr std::string_view kIdentity = "NUVEX KVX 1.0 simulation";
  // Longest command line it listens to; a longer one is ignored up to its end.
  static constexpr std::size_t kMaxCommandLength = 128;

  // `powerOn` is time zero of the signals.
  explicit SimulatedBox(time_point powerOn);
  ~SimulatedBox() override;

  void setSignal(int input, const SignalSpec &spec);
  // The signals start again from their time zero when the next scan starts,
  // so that scan's samples are the same whenever it is run (the pictures of
  // the user's guide).
  void restartSignalsAtNextStart() { m_restartAtStart = true; }
  void setBinary(int input, const BinarySpec &spec);
  // "N=SPEC" (analog input 0..7) or "bN=SPEC" (binary input), as the
  // command lines' --signal takes it; returns an error text or "".
  std::string applySignal(const std::string &arg);
  const SignalSpec &signal(int input) const;
  const BinarySpec &binary(int input) const;
  // The optical-fork program (or any other) the box can run; none by default.
  void setAccessory(std::unique_ptr<BoxAccessory> accessory);

  void receive(std::uint8_t byte, time_point at) override;
  void takeOutput(time_point now, std::string &out) override;

  // ---- What a test may look at ----------------------------------------------
  int outputCode() const { return m_output; }
  // The code input `input` has at `at` (what a live read would answer).
  std::uint8_t inputCode(int input, time_point at) const;
  std::uint8_t binaryState(time_point at) const;
  // Raw samples of the current acquisition taken by `at` (0 before its start).
  int samplesTaken(time_point at);
  // The code stored at raw place j of the memory (j below samplesTaken).
  std::uint8_t memoryCode(int j) const;
  bool acquisitionRunning(time_point at);

 private:
  enum class Phase { Idle, Armed, WaitingEdge, Running };
  struct Acquisition {
    SubMode mode = SubMode::OneInput;
    int first = 0;   // input of the one-input forms, first of two, or the group
    int second = 0;  // second input of the two-input form
    int capacity = 0;
    double period = 0;  // seconds between time points (the fast step in the fast form)
    Phase phase = Phase::Idle;
    int edgeInput = 0;
    time_point armedAt{};
    time_point start{};
  };

  void handleLine(std::string_view line, time_point at);
  void handleSingleByte(std::uint8_t byte, time_point at);
  bool handleAcquisitionCommand(std::string_view line, time_point at);
  void handleFetch(std::string_view line, time_point at);
  void setOutput(int code, time_point at);
  void answer(std::string_view text);
  void resolveEdge(time_point now);
  time_point sampleTime(int j) const;
  int sampleInput(int j) const;
  int outputAt(time_point at) const;
  std::optional<time_point> startEdge(int input, time_point from, time_point to) const;
  double seconds(time_point at) const;

  time_point m_powerOn;
  bool m_restartAtStart = false;
  std::array<SignalSpec, kInputCount> m_signals;
  std::array<BinarySpec, kInputCount> m_binaries;
  std::unique_ptr<BoxAccessory> m_accessory;
  Acquisition m_acquisition;
  int m_output = 0;
  // Output changes with their times, so that samples taken before a change
  // keep the old value when they are read out later.
  std::deque<std::pair<time_point, int>> m_outputHistory;
  std::string m_line;
  bool m_inLine = false;
  bool m_overlong = false;
  std::string m_pending;
};

}  // namespace kvx::device
