// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/emplacement_capteurs.h"

#include <exception>
#include <system_error>

#include "exchange/atomic_file.h"
#include "exchange/capteurs_cles.h"

namespace kvx::exchange {

std::filesystem::path NomFichierCapteurs(const std::filesystem::path &programme) {
  // Both separators: a path written on Windows names its folders with "\".
  const std::string texte = programme.string();
  const auto barre = texte.find_last_of("/\\");
  const auto debut = barre == std::string::npos ? 0 : barre + 1;
  const auto point = texte.rfind('.');
  // A dot that starts the file name marks a hidden file, not an extension.
  const bool extension = point != std::string::npos && point > debut;
  return (extension ? texte.substr(0, point) : texte) + capteurs::kExtension;
}

EmplacementCapteurs ChoisitEmplacementCapteurs(bool presDuProgrammeInscriptible,
                                               const std::filesystem::path &presDuProgramme,
                                               const std::filesystem::path &dansDonnees,
                                               bool copieExiste) {
  if (presDuProgrammeInscriptible) return {presDuProgramme, {}, false};
  return {dansDonnees, presDuProgramme, !copieExiste};
}

ResultatCapteurs OuvreCapteurs(const EmplacementCapteurs &emplacement,
                               model::TlisteCapteur &liste, std::string *message) {
  if (emplacement.copier) {
    std::error_code erreur;
    if (!std::filesystem::exists(emplacement.source, erreur))
      return ChargeCapteurs(emplacement.fichier, liste, message);
    try {
      writeFileAtomically(emplacement.fichier,
                          readWholeFile(emplacement.source, capteurs::kTailleMax));
    } catch (const std::exception &) {
      // The data folder cannot take the copy (full, missing) or the shipped
      // file cannot be read: the sensors shipped still serve this session.
      return ChargeCapteurs(emplacement.source, liste, message);
    }
  }
  return ChargeCapteurs(emplacement.fichier, liste, message);
}

}  // namespace kvx::exchange
