// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kvx::model {

// Shown by --version and the about box.
inline constexpr const char *kVersion = "0.1.0";

}  // namespace kvx::model
