// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "exchange/ini_document.h"
#include "exchange/settings_store.h"
#include "model/liste_capteurs.h"

namespace kvx::exchange {

// The sensor library file: an INI text with the number of sensors in section
// "Capteurs" and one section a sensor, "1" to "n" (keys and defaults in
// capteurs_cles.h). The program loads it once at start and saves it when the
// user asks in the sensor-choice dialog.

// The sensors of a document: those whose sections "1".."Nombre" exist, or,
// when "Nombre" is missing, not a number or outside 1..kNbCapteursMax, those
// of sections "1".."255" that exist; each missing or unreadable key gives its
// default, an input outside EA0..EA7 reads as EA0. A document with no sensor
// gives the one sensor made from scratch, so the list is never empty. When
// the count and the sections disagree, `ecart` (if given) says how, in French
// ("annonce 9 capteurs mais n'en décrit que 7"); otherwise it is emptied.
model::TlisteCapteur LitCapteurs(const IniDocument &document, std::string *ecart = nullptr);

// Writes the count and one section a sensor over what the document holds;
// sections of a longer library saved before stay, unread since the count
// bounds the reading.
void EcritCapteurs(IniDocument &document, const model::TlisteCapteur &liste);

enum class ResultatCapteurs {
  Lu,        // the file was read (its missing keys took their defaults)
  Absent,    // no such file: the one sensor made from scratch
  Illisible  // not readable, not a regular file or far too large: likewise
};

// Replaces the library with the sensors of the file. Never throws: without a
// readable file the program still works with one sensor, and the file is
// created at the next save. A folder, a device or a pipe is never opened.
// `message` (if given) receives what the user must be told, in French: why
// the file could not be read, or how its count and its sensors disagree;
// empty when there is nothing to tell.
ResultatCapteurs ChargeCapteurs(const std::filesystem::path &fichier, model::TlisteCapteur &liste,
                                std::string *message = nullptr);

// Saves the library over the file in one step, keeping the file's other
// sections and keys, then records the file's full path as the setting
// "Capteurs"/"Fichier" for other programs that read the same sensors. Throws
// FileError when the file cannot be written (the old file stays whole) or
// when the setting cannot be saved (the file is then saved already).
void SauveCapteurs(const std::filesystem::path &fichier, const model::TlisteCapteur &liste,
                   SettingsStore &reglages);

}  // namespace kvx::exchange
