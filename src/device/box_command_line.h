// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the command lines the box receives: the word, then decimal
// arguments separated by ",". The simulated box uses it and stays silent on
// anything it does not accept.

#include <optional>
#include <string_view>
#include <vector>

namespace kvx::device {

// The arguments of `text` after `prefix`, exactly `count` decimal numbers of
// at most six digits each; nothing when the line is not of that form.
std::optional<std::vector<int>> ParseCommandArguments(std::string_view text,
                                                      std::string_view prefix, std::size_t count);

}  // namespace kvx::device
