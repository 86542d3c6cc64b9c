// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Room in the simulated box for a program of its own besides the acquisition
// firmware: the optical-fork program is uploaded as lines of Intel HEX and
// then driven with "XUTIL..." commands. A box without an accessory stays
// silent to both, as a box that refuses the program would.

#include <string>
#include <string_view>

#include "device/clock.h"

namespace kvx::device {

class BoxAccessory {
 public:
  using time_point = Clock::time_point;
  virtual ~BoxAccessory() = default;
  // A line beginning with ':' (a line of the uploaded program). Appends the
  // box's answer, if any, with its carriage return.
  virtual void programLine(std::string_view line, time_point at, std::string &answer) = 0;
  // A command beginning with "XUTIL".
  virtual void command(std::string_view line, time_point at, std::string &answer) = 0;
  // "XRESET": the box returns to its own program.
  virtual void reset(time_point at) { (void)at; }
};

}  // namespace kvx::device
