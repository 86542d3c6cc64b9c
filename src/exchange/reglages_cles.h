// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Names and defaults of the program settings, as they appear in the user's
// settings file. Every value is stored as text: an integer as its decimal
// text, a boolean as "1" or "0".
namespace kvx::exchange::reglages {

// Port on which the box was last found: its number in the port table, tried
// first at the next start, and the device path beside it, which survives a
// change in the order of the table (an adapter plugged into another socket).
inline constexpr char kGroupeCom[] = "COM";
inline constexpr char kCleNum[] = "Num";
inline constexpr char kCleDevice[] = "Device";
inline constexpr std::int32_t kNumDefaut = 1;
inline constexpr std::int32_t kNumMin = 1;
inline constexpr std::int32_t kNumMax = 50;

// Folder of the open and save dialogs; by default the data folder (the user's
// documents folder followed by "Tabulyse/").
inline constexpr char kGroupeConfig[] = "Config";
inline constexpr char kClePath[] = "Path";
// Write the serial trace and log files at close.
inline constexpr char kCleTrace[] = "Trace";
inline constexpr bool kTraceDefaut = false;

// State of the main window at close: 0 normal, 1 minimised, 2 maximised.
inline constexpr char kGroupeWindow[] = "Window";
inline constexpr char kCleState[] = "State";
inline constexpr std::int32_t kEtatNormal = 0;
inline constexpr std::int32_t kEtatMinimise = 1;
inline constexpr std::int32_t kEtatMaximise = 2;
inline constexpr std::int32_t kStateDefaut = kEtatNormal;

// Full path of the sensor library, written at every save of the library so
// that other programs can read the same sensors; never read by this one.
inline constexpr char kGroupeCapteurs[] = "Capteurs";
inline constexpr char kCleFichier[] = "Fichier";

// The optical fork's program for a real box: the maker's file, where the user
// put it. Without this value the program looks in the user's data folder
// (~/.local/share/KVX/veltor.hex), then beside its own shared files.
inline constexpr char kGroupeVeltor[] = "Veltor";
inline constexpr char kCleImage[] = "Image";
inline constexpr char kFichierImageVeltor[] = "veltor.hex";

}  // namespace kvx::exchange::reglages
