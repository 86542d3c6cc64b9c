// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Turning one line of codes fetched from the box into points of the
// channels' acquisition arrays. How the codes of a line map to points depends
// on the form of the acquisition command (its sub-mode): the fast form keeps
// one code in r, the two- and eight-input forms sample their second group half
// a period late and are interpolated back onto the first group's instants.
// The engine calls this for every line; it touches nothing but the arrays it
// is given, so it is tested from known code lines.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "device/acquisition_command.h"

namespace kvx::device {

// One channel that takes values from a line: its box input, its code-to-value
// conversion and its acquisition array.
struct UnpackChannel {
  int input = 0;
  std::function<double(int)> convert;
  double *tampon = nullptr;
  std::size_t capacity = 0;
};

// Everything one line needs to know of the acquisition.
struct UnpackRequest {
  SubMode subMode = SubMode::OneInput;
  int ratio = 1;       // fast-form ratio r (taken as 1 when below 1)
  int firstPoint = 0;  // point of the line's first code (`FirstPoint`)
  int pointCount = 0;  // N: no point at or beyond it is written
};

// Stores the points of `codes[0..count)` into the channels and returns how
// many points the line carries (never more than are left before N). The
// channels are, in slot order: the one channel of sub-modes 0 and 1, the
// first and second channel of sub-mode 2, every active channel otherwise.
int UnpackLine(const UnpackRequest &request, const std::uint8_t *codes, int count,
               const UnpackChannel *channels, std::size_t channelCount);

}  // namespace kvx::device
