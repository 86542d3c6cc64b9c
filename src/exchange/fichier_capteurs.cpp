// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/fichier_capteurs.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <string>
#include <system_error>

#include "exchange/atomic_file.h"
#include "exchange/capteurs_cles.h"
#include "exchange/reglages_cles.h"

namespace kvx::exchange {

using namespace capteurs;

namespace {

model::TCapteur LitCapteur(const IniDocument &doc, const std::string &section) {
  model::TCapteur c;
  c.Etalonnage = doc.readBool(section, kCleEtalonnage, kEtalonnageDefaut);
  c.Ampli = doc.readBool(section, kCleAmpli, kAmpliDefaut);
  c.Alim = doc.readBool(section, kCleAlim, kAlimDefaut);
  c.Valeur0V = doc.readFloat(section, kCleValeur0V, kValeur0VDefaut);
  c.Pente = doc.readFloat(section, kClePente, kPenteDefaut);
  c.Nom = doc.readString(section, kCleNom, c.Nom);
  c.Unite = doc.readString(section, kCleUnite, kUniteDefaut);
  c.Signif = doc.readString(section, kCleSignif, kSignifDefaut);
  c.Aide = doc.readString(section, kCleAide, kAideDefaut);
  const std::int32_t numero = doc.readInteger(section, kCleNumero, kNumeroDefaut);
  // The box has EA0..EA7; an input it does not have is taken as EA0, as the
  // channel does when asked for one.
  c.Numero = static_cast<std::uint8_t>(numero >= 0 && numero <= kNumeroMax ? numero : 0);
  c.Masse = doc.readBool(section, kCleMasse, kMasseDefaut);
  return c;
}

void EcritCapteur(IniDocument &doc, const std::string &section, const model::TCapteur &c) {
  doc.writeBool(section, kCleEtalonnage, c.Etalonnage);
  doc.writeBool(section, kCleAmpli, c.Ampli);
  doc.writeBool(section, kCleAlim, c.Alim);
  doc.writeFloat(section, kCleValeur0V, c.Valeur0V);
  doc.writeFloat(section, kClePente, c.Pente);
  doc.writeString(section, kCleNom, c.Nom);
  doc.writeString(section, kCleUnite, c.Unite);
  doc.writeString(section, kCleSignif, c.Signif);
  doc.writeString(section, kCleAide, c.Aide);
  doc.writeInteger(section, kCleNumero, c.Numero);
  doc.writeBool(section, kCleMasse, c.Masse);
}

model::TlisteCapteur UnCapteurParDefaut() {
  model::TlisteCapteur liste;
  liste.Ajoute(model::TCapteur());
  return liste;
}

}  // namespace

model::TlisteCapteur LitCapteurs(const IniDocument &document, std::string *ecart) {
  // A count the reader cannot take (absent, not a number, out of int range)
  // is told apart from a written 0 or a negative one.
  constexpr std::int32_t kIllisible = std::numeric_limits<std::int32_t>::min();
  const std::int32_t lu = document.readInteger(kSectionCapteurs, kCleNombre, kIllisible);
  const bool compteValide =
      lu >= 1 && lu <= static_cast<std::int32_t>(model::kNbCapteursMax);
  // Only the sensors the file describes: a damaged count never makes blank
  // sensors, which a save would then write over the user's library. A valid
  // count still bounds the reading, so the sections of a longer library saved
  // before stay unread.
  const std::size_t borne =
      compteValide ? static_cast<std::size_t>(lu) : model::kNbCapteursMax;
  model::TlisteCapteur liste;
  for (std::size_t i = 1; i <= borne; ++i) {
    const std::string section = std::to_string(i);
    if (document.hasSection(section)) liste.Ajoute(LitCapteur(document, section));
  }
  const std::size_t decrits = liste.Nombre();
  if (ecart != nullptr) {
    ecart->clear();
    const bool aucunCompte = lu == kIllisible && !document.hasKey(kSectionCapteurs, kCleNombre);
    if (compteValide && decrits != static_cast<std::size_t>(lu))
      *ecart = "annonce " + std::to_string(lu) + " capteurs mais n'en décrit que " +
               std::to_string(decrits);
    else if (!compteValide && decrits > 0)
      *ecart = (aucunCompte ? std::string("n'indique pas son nombre de capteurs")
                            : "indique un nombre de capteurs impossible (« " +
                                  document.value(kSectionCapteurs, kCleNombre).value_or("") +
                                  " »)") +
               " mais en décrit " + std::to_string(decrits);
  }
  if (liste.Nombre() == 0) liste.Ajoute(model::TCapteur());
  return liste;
}

void EcritCapteurs(IniDocument &document, const model::TlisteCapteur &liste) {
  document.writeInteger(kSectionCapteurs, kCleNombre, static_cast<std::int32_t>(liste.Nombre()));
  for (std::size_t i = 0; i < liste.Nombre(); ++i)
    EcritCapteur(document, std::to_string(i + 1), liste.Capteur(i));
}

ResultatCapteurs ChargeCapteurs(const std::filesystem::path &fichier, model::TlisteCapteur &liste,
                                std::string *message) {
  if (message != nullptr) message->clear();
  std::error_code erreur;
  if (!std::filesystem::exists(fichier, erreur) && !erreur) {
    liste = UnCapteurParDefaut();
    return ResultatCapteurs::Absent;
  }
  try {
    std::string ecart;
    liste = LitCapteurs(IniDocument::parse(readWholeFile(fichier, kTailleMax)), &ecart);
    if (message != nullptr && !ecart.empty())
      *message = "La bibliothèque de capteurs « " + fichier.string() + " » " + ecart +
                 " : seuls ceux-ci sont lus, et le nombre sera corrigé au prochain "
                 "enregistrement.";
    return ResultatCapteurs::Lu;
  } catch (const std::exception &e) {
    // Unreadable, a folder or a pipe, or far too large: the program works
    // with one sensor, and the file is only ever replaced once the user has
    // said so.
    liste = UnCapteurParDefaut();
    if (message != nullptr)
      *message = std::string(e.what()) +
                 ".\nLa bibliothèque de capteurs par défaut est utilisée ; ce fichier ne "
                 "sera remplacé que si vous le confirmez.";
    return ResultatCapteurs::Illisible;
  }
}

void SauveCapteurs(const std::filesystem::path &fichier, const model::TlisteCapteur &liste,
                   SettingsStore &reglages) {
  // Before the old content is read, so that a folder or a pipe in the way is
  // reported as the failed save it is, and a pipe is never waited on.
  checkSaveTarget(fichier);
  IniDocument document;
  std::error_code erreur;
  if (std::filesystem::exists(fichier, erreur)) {
    try {
      document = IniDocument::parse(readWholeFile(fichier, kTailleMax));
    } catch (const FileError &) {
      // Far too large to be a library, or writable but not readable: the user
      // chose to replace it with the library in memory.
    }
  }
  EcritCapteurs(document, liste);
  document.saveFile(fichier);
  const std::filesystem::path complet = std::filesystem::absolute(fichier, erreur);
  reglages.setValue(reglages::kGroupeCapteurs, reglages::kCleFichier,
                    (erreur ? fichier : complet).lexically_normal().string());
  if (!reglages.flush())
    throw FileError(
        "La bibliothèque de capteurs est enregistrée, mais son chemin n'a pas pu "
        "être noté dans les réglages");
}

}  // namespace kvx::exchange
