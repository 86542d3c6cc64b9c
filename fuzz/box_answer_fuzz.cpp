// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes from the box: as a value list, as the answer to a polled
// read (ReadLine, ReadNumber) and as a decimal text. Nothing may crash, hang
// past the time-outs or write past the 256-byte line buffer.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "device/box_link.h"
#include "device/box_reads.h"
#include "device/scripted_peer.h"
#include "device/simulated_port.h"
#include "device/value_list_parser.h"

using namespace kvx::device;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string bytes(reinterpret_cast<const char *>(data), size);

  ValueListParser parser;
  parser.reset();
  for (std::uint8_t b : bytes) {
    auto event = parser.feed(b);
    if (parser.count() < 0 || parser.count() > kLineBufferSize) std::abort();
    if (event == ValueListParser::Event::EmptyLine && parser.count() != 0) std::abort();
  }

  (void)ParseBoxInteger(bytes);
  (void)LinkTrace::escape(data, size);

  ManualClock clock;
  // An unpaced line: the bytes are what matters here, and runs stay quick.
  SimulatedPortTable table(clock, std::chrono::nanoseconds(0));
  ScriptedPeer peer;
  peer.answer("XERR", "NUVEX\r");
  peer.answer("XEA 0", bytes);
  table.addPeer(peer);
  SilentLinkView view;
  LinkOptions options;
  options.traceFolder = "/nonexistent-kvx-fuzz";  // never written: the box is found
  // Long slices: with a manual clock the waits then jump straight to their end.
  options.pollSlice = std::chrono::seconds(5);
  BoxLink link(table, view, clock, options);
  link.IdentifyBox(1);
  if (!link.BoxPresent()) std::abort();

  auto start = clock.now();
  peer.say(bytes);
  LineRead line = link.ReadLine(kIdentifyTicks);
  if (line.text.size() > BoxLink::kMaxLineLength) std::abort();
  if (clock.now() - start > link.ticks(kIdentifyTicks) + std::chrono::milliseconds(20))
    std::abort();

  link.DrainPort();
  start = clock.now();
  (void)ReadNumber(link, "XEA 0");
  if (clock.now() - start > link.ticks(kReadNumberTicks) + std::chrono::milliseconds(20))
    std::abort();
  return 0;
}
