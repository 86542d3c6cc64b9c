// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Keys of a channel's section in a configuration file, with the value a
// missing key leaves. The section names ("EB", "Veltor", "SA", "Clavier",
// "V1".."V4") belong to the configuration file itself.
namespace kvx::model::cles {

// Every channel, in writing order.
inline constexpr const char *kNom = "Nom";                  // current symbol
inline constexpr const char *kUnite = "Unite";              // current unit
inline constexpr const char *kSignif = "Signif";            // empty
inline constexpr const char *kMini = "Mini";                // kMiniDefaut
inline constexpr const char *kMaxi = "Maxi";                // kMaxiDefaut
inline constexpr const char *kOffset = "Offset";            // kOffsetDefaut
inline constexpr const char *kUnVolt = "UnVolt";            // kUnVoltDefaut
inline constexpr const char *kNumeroNuvex = "NumeroNuvex";  // current input
inline constexpr const char *kActive = "Active";            // false
inline constexpr const char *kCouleur = "Couleur";          // current colour
inline constexpr const char *kMotif = "Motif";              // 0
inline constexpr const char *kCapteur = "Capteur";          // false
inline constexpr const char *kEtalonnage = "Etalonnage";    // false

inline constexpr double kMiniDefaut = 0;
inline constexpr double kMaxiDefaut = 5;
inline constexpr double kOffsetDefaut = 0;
inline constexpr double kUnVoltDefaut = 1;

// Time base: its duration in seconds.
inline constexpr const char *kDuree = "Durée";
inline constexpr double kDureeDefaut = 1;

// Analog output: the ramp.
inline constexpr const char *kDebut = "Debut";
inline constexpr const char *kFin = "Fin";
inline constexpr const char *kDeltat = "Deltat";  // current step
inline constexpr const char *kInverse = "Inverse";
inline constexpr int kDebutDefaut = 50;
inline constexpr int kFinDefaut = 250;

// Binary inputs: how many bits are read.
inline constexpr const char *kNbre = "Nbre";
inline constexpr int kNbreDefaut = 8;

// Optical fork.
inline constexpr const char *kRadian = "radian";
inline constexpr const char *kAngle = "angle";
inline constexpr const char *kNegatif = "Negatif";
inline constexpr const char *kNbremax = "nbremax";
inline constexpr const char *kTaille = "Taille";
inline constexpr const char *kIncrement = "Increment";
inline constexpr double kTailleDefaut = 0.0018;
inline constexpr double kIncrementDefaut = 0.0018;
inline constexpr int kNbremaxDefaut = 256;
inline constexpr bool kNegatifDefaut = true;

}  // namespace kvx::model::cles
