// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/ini_document.h"
#include "exchange/ini_values.h"
#include "model/ini_sections.h"

namespace kvx::exchange {

// Everything of a configuration file except the channel sections: the page
// constant, the display options, the mode, the scan, the trigger.
struct ValeursConfiguration {
  std::string constanteNom, constanteComm, constanteUnite;
  std::int32_t abscisse = 5;
  bool ligne = true, points = false;
  std::int32_t mode = 1;
  double duree = 1.0;  // seconds: the time base's maximum
  std::int32_t nombre = 128;
  IniDateTime debutAcq;
  bool monocoup = true;
  bool axeY = true, grille = false, analLog = false;
  std::int32_t dimPoint = 3;
  bool pointAuto = true;
  bool masse = true;
  std::int32_t synchroMode = 0, front = 0, seuil = 127, bouge = 3, voie = 5;
};

// The objects a configuration is read into and written from: the graph with
// its channels, the main window's page settings and the program-wide values.
// The main window implements it; tests give their own.
class ObjetsConfiguration {
 public:
  virtual ~ObjetsConfiguration() = default;

  virtual ValeursConfiguration valeurs() const = 0;
  // The values read, before any channel reads its section: the input
  // reference must be in force when the channels choose their inputs, and the
  // point count goes through the graph's own limits here.
  virtual void appliqueValeurs(const ValeursConfiguration &valeurs) = 0;
  virtual void litVoie(int slot, const std::string &section,
                       const model::IniSections &document) = 0;
  virtual void ecritVoie(int slot, const std::string &section, model::IniSections &document) = 0;
  // After every read that found the file, even one that stopped on an error:
  // the sampling interval is recomputed and the recorded points are dropped.
  virtual void finLecture() = 0;
};

// The name a configuration is read from and written to: the extension is
// replaced by ".KVX" (added when there is none). A name already ending in
// ".kvx" in any letter case keeps its spelling, since on this system
// "essai.kvx" and "essai.KVX" are two files and the user meant the one given.
std::string NomConfiguration(const std::string &nom);

// The values of a document, each missing or unreadable key giving its
// default, then clamped: "Durée" to 0.001..1000 s, "Nombre" to 8..6400 (1..6400
// in optical-fork mode), "Voie" outside 5..8 to 5, and every other index to
// its range. `actuelles` gives the default of "DimPoint", `maintenant` that of
// "DebutAcq".
ValeursConfiguration LitValeurs(const IniDocument &document, const ValeursConfiguration &actuelles,
                                const IniDateTime &maintenant);
void EcritValeurs(IniDocument &document, const ValeursConfiguration &valeurs);

enum class ResultatLecture {
  Absent,      // no such file: nothing changed
  Lu,          // read whole
  Interrompu,  // stopped on an error; what was read before it stays
  // The file holds none of a configuration's sections (a text, a picture, an
  // empty file, another program's settings): nothing changed, not even the
  // recorded points, so the user keeps the setup and can be told the file is
  // not a configuration.
  PasUneConfiguration,
  // A folder, a device or a pipe: not opened (a pipe would wait for a
  // writer), nothing changed.
  PasUnFichier
};

// Reads the configuration file `nom` (after the extension rule) into `objets`.
// A file with at least one section of a configuration (see
// configuration_cles.h, channel sections included) is read; its missing keys
// take their defaults. A folder, a device or a pipe is not opened and gives
// PasUnFichier. Never throws and never writes the file.
ResultatLecture LitConfiguration(const std::string &nom, ObjetsConfiguration &objets,
                                 const IniDateTime &maintenant);

// Writes the configuration to `nom` (after the extension rule) over what the
// file already holds, keeping sections and keys of other programs or
// versions. The file is replaced in one step: a failed save leaves the old
// file whole. Only a regular file is saved over (see writeFileAtomically).
// Throws FileError with the user's message when it fails. A channel whose
// calibration is off is reset to no calibration (offset 0, 1 per volt) by its
// own section writer, also in memory.
void EcritConfiguration(const std::string &nom, ObjetsConfiguration &objets);

// The bytes EcritConfiguration writes for a new file: the recording history
// keeps them with each recording, so a recording comes back with the very
// setup it was taken with.
std::string TexteConfiguration(ObjetsConfiguration &objets);

// Reads a configuration from its bytes (as TexteConfiguration gives them),
// with the rules of LitConfiguration; never Absent nor PasUnFichier.
ResultatLecture LitTexteConfiguration(std::string_view texte, ObjetsConfiguration &objets,
                                      const IniDateTime &maintenant);

}  // namespace kvx::exchange
