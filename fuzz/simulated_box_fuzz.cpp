// SPDX-License-Identifier: GPL-3.0-or-later
// Any byte sequence into the simulated box, with time moving on between the
// bytes: it must never crash, and every value-list answer it gives must be a
// well-formed line.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "device/simulated_box.h"

using namespace kvx::device;
using namespace std::chrono_literals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  Clock::time_point t = Clock::time_point{} + 1h;
  SimulatedBox box(t);
  if (size > 0 && data[0] == 'N')
    box.setSignal(0, SignalSpec{SignalSpec::Kind::Noise, 200, 128, 1});
  std::string out;
  for (size_t i = 0; i < size; ++i) {
    box.receive(data[i], t);
    // Bytes above 0xF0 let time pass, up to about 15 s, so acquisitions fill.
    if (data[i] > 0xF0) t += std::chrono::milliseconds(1 << (data[i] - 0xF0));
    t += 1041us;
    if (i % 16 == 0) box.takeOutput(t, out);
    if (out.size() > (1u << 22)) out.clear();
  }
  box.takeOutput(t, out);
  (void)box.samplesTaken(t + 100s);
  (void)box.acquisitionRunning(t);
  for (int j = -1; j <= kMemorySamples; j += 97) (void)box.memoryCode(j);
  return 0;
}
