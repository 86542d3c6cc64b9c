// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/configuration.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <filesystem>
#include <optional>

#include "exchange/atomic_file.h"
#include "exchange/configuration_cles.h"
#include "exchange/ini_document.h"

namespace kvx::exchange {

using namespace configuration;

namespace {

std::int32_t within(std::int32_t value, std::int32_t lowest, std::int32_t highest,
                    std::int32_t fallback) {
  return value < lowest || value > highest ? fallback : value;
}

// Milliseconds as the file keeps them: to the nearest integer, halves to even.
std::int32_t millisecondsOf(double seconds) {
  double milliseconds = std::nearbyint(seconds * 1000.0);
  if (!std::isfinite(milliseconds)) milliseconds = kDureeMsDefaut;
  milliseconds = std::clamp(milliseconds, -2147483648.0, 2147483647.0);
  return static_cast<std::int32_t>(milliseconds);
}

bool equalsIgnoringCase(const std::string &a, const std::string &b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// A file with none of these is something else the user picked by mistake: a
// text, a picture, another program's settings.
bool estUneConfiguration(const IniDocument &document) {
  const char *const sections[] = {kSectionConstante, kSectionAffichage, kSectionAcquisition,
                                  kSectionBalayage,  kSectionSynchro,   kSectionPoint};
  for (const char *section : sections)
    if (document.hasSection(section)) return true;
  for (const auto &voie : kVoiesLues)
    if (document.hasSection(voie.section)) return true;
  return false;
}

ResultatLecture LitDocument(const IniDocument &document, ObjetsConfiguration &objets,
                            const IniDateTime &maintenant) {
  // Before anything changes: defaults in place of the whole setup would be
  // a poor answer to opening the wrong file.
  if (!estUneConfiguration(document)) return ResultatLecture::PasUneConfiguration;
  auto resultat = ResultatLecture::Lu;
  try {
    objets.appliqueValeurs(LitValeurs(document, objets.valeurs(), maintenant));
    for (const auto &voie : kVoiesLues) objets.litVoie(voie.slot, voie.section, document);
  } catch (const std::exception &) {
    // A value a channel cannot take: the reading stops there and keeps what
    // it read, without a message, as the user can still open another file
    // or set the values by hand.
    resultat = ResultatLecture::Interrompu;
  }
  objets.finLecture();
  return resultat;
}

}  // namespace

std::string NomConfiguration(const std::string &nom) {
  const auto slash = nom.rfind('/');
  const auto base = slash == std::string::npos ? 0 : slash + 1;
  const auto dot = nom.rfind('.');
  // A dot before the base name belongs to a folder; one that starts the base
  // name marks a hidden file, not an extension.
  if (dot == std::string::npos || dot <= base) return nom + "." + kExtension;
  if (equalsIgnoringCase(nom.substr(dot + 1), kExtension)) return nom;
  return nom.substr(0, dot + 1) + kExtension;
}

ValeursConfiguration LitValeurs(const IniDocument &doc, const ValeursConfiguration &actuelles,
                                const IniDateTime &maintenant) {
  ValeursConfiguration v;
  v.constanteNom = doc.readString(kSectionConstante, kCleConstanteNom, "");
  v.constanteUnite = doc.readString(kSectionConstante, kCleConstanteUnite, "");
  v.constanteComm = doc.readString(kSectionConstante, kCleConstanteComm, "");
  v.abscisse = within(doc.readInteger(kSectionAffichage, kCleAbscisse, kAbscisseDefaut),
                      kAbscisseMin, kAbscisseMax, kAbscisseDefaut);
  v.ligne = doc.readBool(kSectionAffichage, kCleLigne, kLigneDefaut);
  v.points = doc.readBool(kSectionAffichage, kClePoints, kPointsDefaut);
  v.grille = doc.readBool(kSectionAffichage, kCleGrille, kGrilleDefaut);
  v.analLog = doc.readBool(kSectionAffichage, kCleAnalLog, kAnalLogDefaut);
  v.mode = within(doc.readInteger(kSectionAcquisition, kCleMode, kModeDefaut), kModeMin, kModeMax,
                  kModeDefaut);
  v.debutAcq = doc.readDateTime(kSectionBalayage, kCleDebutAcq, maintenant);
  const double seconds = doc.readInteger(kSectionBalayage, kCleDuree, kDureeMsDefaut) / 1000.0;
  v.duree = std::clamp(seconds, kDureeMinS, kDureeMaxS);
  const auto lowest = v.mode == kModeVeltor ? kNombreMinVeltor : kNombreMin;
  v.nombre =
      std::clamp(doc.readInteger(kSectionBalayage, kCleNombre, kNombreDefaut), lowest, kNombreMax);
  v.monocoup = doc.readBool(kSectionSynchro, kCleMonocoup, kMonocoupDefaut);
  v.pointAuto = doc.readBool(kSectionPoint, kCleAuto, kAutoDefaut);
  v.axeY = doc.readBool(kSectionAffichage, kCleAxeY, kAxeYDefaut);
  v.front =
      within(doc.readInteger(kSectionSynchro, kCleFront, kFrontDefaut), 0, kFrontMax, kFrontDefaut);
  v.seuil =
      std::clamp(doc.readInteger(kSectionSynchro, kCleSeuil, kSeuilDefaut), kSeuilMin, kSeuilMax);
  v.bouge =
      std::clamp(doc.readInteger(kSectionSynchro, kCleBouge, kBougeDefaut), kBougeMin, kBougeMax);
  v.voie = within(doc.readInteger(kSectionSynchro, kCleVoie, kVoieDefaut), kVoieMin, kVoieMax,
                  kVoieDefaut);
  v.masse = doc.readBool(kSectionAcquisition, kCleMasse, kMasseDefaut);
  v.synchroMode = within(doc.readInteger(kSectionSynchro, kCleSynchroMode, kSynchroModeDefaut),
                         kSynchroModeMin, kSynchroModeMax, kSynchroModeDefaut);
  v.dimPoint = std::clamp(doc.readInteger(kSectionAffichage, kCleDimPoint, actuelles.dimPoint),
                          kDimPointMin, kDimPointMax);
  return v;
}

void EcritValeurs(IniDocument &doc, const ValeursConfiguration &v) {
  doc.writeString(kSectionConstante, kCleConstanteNom, v.constanteNom);
  doc.writeString(kSectionConstante, kCleConstanteComm, v.constanteComm);
  doc.writeString(kSectionConstante, kCleConstanteUnite, v.constanteUnite);
  doc.writeInteger(kSectionAffichage, kCleAbscisse, v.abscisse);
  doc.writeBool(kSectionAffichage, kCleLigne, v.ligne);
  doc.writeBool(kSectionAffichage, kClePoints, v.points);
  doc.writeInteger(kSectionAcquisition, kCleMode, v.mode);
  doc.writeInteger(kSectionBalayage, kCleDuree, millisecondsOf(v.duree));
  doc.writeInteger(kSectionBalayage, kCleNombre, v.nombre);
  doc.writeDateTime(kSectionBalayage, kCleDebutAcq, v.debutAcq);
  doc.writeBool(kSectionSynchro, kCleMonocoup, v.monocoup);
  doc.writeBool(kSectionAffichage, kCleAxeY, v.axeY);
  doc.writeBool(kSectionAffichage, kCleGrille, v.grille);
  doc.writeBool(kSectionAffichage, kCleAnalLog, v.analLog);
  doc.writeInteger(kSectionAffichage, kCleDimPoint, v.dimPoint);
  doc.writeBool(kSectionPoint, kCleAuto, v.pointAuto);
  doc.writeBool(kSectionAcquisition, kCleMasse, v.masse);
  doc.writeInteger(kSectionSynchro, kCleSynchroMode, v.synchroMode);
  doc.writeInteger(kSectionSynchro, kCleFront, v.front);
  doc.writeInteger(kSectionSynchro, kCleSeuil, v.seuil);
  doc.writeInteger(kSectionSynchro, kCleBouge, v.bouge);
  doc.writeInteger(kSectionSynchro, kCleVoie, v.voie);
}

ResultatLecture LitConfiguration(const std::string &nom, ObjetsConfiguration &objets,
                                 const IniDateTime &maintenant) {
  const std::filesystem::path file = NomConfiguration(nom);
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return ResultatLecture::Absent;
  // A link to a regular file is followed; anything else is left alone.
  if (!std::filesystem::is_regular_file(file, error)) return ResultatLecture::PasUnFichier;
  std::optional<IniDocument> document;
  try {
    document = IniDocument::loadFile(file);
  } catch (const std::exception &) {
    // Unreadable or far too large: read as far as nothing, as below.
    objets.finLecture();
    return ResultatLecture::Interrompu;
  }
  if (!document) return ResultatLecture::Absent;
  return LitDocument(*document, objets, maintenant);
}

ResultatLecture LitTexteConfiguration(std::string_view texte, ObjetsConfiguration &objets,
                                      const IniDateTime &maintenant) {
  try {
    return LitDocument(IniDocument::parse(texte), objets, maintenant);
  } catch (const std::exception &) {
    // Refused whole (too large): nothing was read, nothing changed.
    return ResultatLecture::PasUneConfiguration;
  }
}

void EcritConfiguration(const std::string &nom, ObjetsConfiguration &objets) {
  const std::filesystem::path file = NomConfiguration(nom);
  // Before the old content is read, so that a folder or a pipe in the way is
  // reported as the failed save it is, and a pipe is not waited on.
  checkSaveTarget(file);
  IniDocument document;
  try {
    if (auto existing = IniDocument::loadFile(file)) document = std::move(*existing);
  } catch (const IniError &) {
    // Far too large to be a configuration: the user chose to replace it.
  }
  EcritValeurs(document, objets.valeurs());
  for (const auto &voie : kVoiesEcrites) objets.ecritVoie(voie.slot, voie.section, document);
  document.saveFile(file);
}

}  // namespace kvx::exchange

namespace kvx::exchange {

std::string TexteConfiguration(ObjetsConfiguration &objets) {
  IniDocument document;
  EcritValeurs(document, objets.valeurs());
  for (const auto &voie : kVoiesEcrites) objets.ecritVoie(voie.slot, voie.section, document);
  return document.serialize();
}

}  // namespace kvx::exchange
