#pragma once

namespace kvx::model {

// Shown by --version and the about box.
inline constexpr const char *kVersion = "0.1.0";

}  // namespace kvx::model
