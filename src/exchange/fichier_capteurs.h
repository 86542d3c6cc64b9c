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

// The sensors of a document: "Nombre" of them (at most kNbCapteursMax; a
// negative count reads as none), each missing or unreadable key giving its
// default, an input outside EA0..EA7 reading as EA0. A document with no
// sensor gives the one sensor made from scratch, so the list is never empty.
model::TlisteCapteur LitCapteurs(const IniDocument &document);

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
ResultatCapteurs ChargeCapteurs(const std::filesystem::path &fichier, model::TlisteCapteur &liste);

// Saves the library over the file in one step, keeping the file's other
// sections and keys, then records the file's full path as the setting
// "Capteurs"/"Fichier" for other programs that read the same sensors. Throws
// FileError when the file cannot be written (the old file stays whole) or
// when the setting cannot be saved (the file is then saved already).
void SauveCapteurs(const std::filesystem::path &fichier, const model::TlisteCapteur &liste,
                   SettingsStore &reglages);

}  // namespace kvx::exchange
