// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two polled reads of the box: one raw byte for a single-byte request,
// one decimal number for a word command. Both answer 0 when the box is absent
// or silent; the link's state tells whether the line went meanwhile.

#include <cstdint>
#include <optional>
#include <string_view>

#include "device/box_link.h"

namespace kvx::device {

// The request byte (64 + input, or 192) and its one-byte answer, 0 after 165 ms.
int ReadByte(BoxLink &link, std::uint8_t request);
// The command (with its carriage return) and the decimal line it answers,
// 0 after 275 ms or when the text is empty or malformed.
int ReadNumber(BoxLink &link, std::string_view command);
// The same, with nothing when the box is absent or silent or its answer is
// not a number: what the point modes need, where 0 is a true reading.
std::optional<int> TryReadNumber(BoxLink &link, std::string_view command);
// A decimal integer with an optional sign, nothing else, within 32 bits.
std::optional<int> ParseBoxInteger(std::string_view text);

}  // namespace kvx::device
