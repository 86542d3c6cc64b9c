// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The two kinds of input error of the measurement model. Their message is the
// French text the user sees in the error box.
#include <stdexcept>
#include <string>

namespace kvx::model {

// A unit text that cannot be decomposed into SI base units.
class EUniteError : public std::runtime_error {
 public:
  EUniteError() : std::runtime_error("Erreur unité") {}
};

// A numeric field that the expression evaluator cannot read.
class EGetFloatError : public std::runtime_error {
 public:
  explicit EGetFloatError(const std::string &message) : std::runtime_error(message) {}
};

}  // namespace kvx::model
