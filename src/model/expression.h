// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Numeric fields of the calibration, sensor and optical-fork dialogs accept
// small expressions: 1/0.05, 2*PI/100, 10m/2, 1,5+1. There are no variables;
// the one named constant is pi ("PI", "Π" or "π", in any case).
#include <cstddef>
#include <string_view>

#include "model/erreurs.h"

namespace kvx::model {

// The evaluator's limits. A user never types anything near them; they keep
// a pasted text or a runaway nesting from exhausting memory or the stack.
inline constexpr std::size_t kLongueurMaxExpression = 1000;  // bytes after removing blanks
inline constexpr int kProfondeurMaxExpression = 100;         // nested parentheses
inline constexpr int kTaillePileExpression = 10;             // pending values

// Messages of EGetFloatError.
inline constexpr const char *kErreurNombre = "Erreur nombre";
inline constexpr const char *kErreurIdentificateur = "Identificateur trop long (>8)";
inline constexpr const char *kErreurComplexe = "Trop complexe";
inline constexpr const char *kErreurParentheseOuvrante = "Erreur (";
inline constexpr const char *kErreurParentheseFermante = "Erreur )";
inline constexpr const char *kErreurInterne = "Erreur interne";
inline constexpr const char *kErreurTropLongue = "Expression trop longue (>1000)";
inline constexpr const char *kErreurImbrication = "Trop de parenthèses imbriquées (>100)";
inline constexpr const char *kErreurDivisionParZero = "Division par zéro";
inline constexpr const char *kErreurDepassement = "Dépassement de capacité";

// The value of the text; NaN for an empty or blank text. Any other failure
// throws EGetFloatError with one of the messages above. A division by zero
// and a result too large for a double are errors too: the value would land
// in a calibration as an infinite slope.
double Evalue(std::string_view texte);

}  // namespace kvx::model
