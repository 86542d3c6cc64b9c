// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Sections, keys, defaults and limits of a ".KVX" configuration file, in the
// order in which the program writes them. Section and key names are matched
// without regard to letter case; accents matter ("Unité" is not "Unite").
namespace kvx::exchange::configuration {

inline constexpr char kExtension[] = "KVX";
// The configuration saved at every close, in the data folder.
inline constexpr char kNomAutomatique[] = "KVX";

// Page constant and comment (constant dialog), sent with the data.
inline constexpr char kSectionConstante[] = "Constante";
inline constexpr char kCleConstanteNom[] = "Nom";
inline constexpr char kCleConstanteComm[] = "Comm";
inline constexpr char kCleConstanteUnite[] = "Unité";

// Display of the graph.
inline constexpr char kSectionAffichage[] = "Affichage";
inline constexpr char kCleAbscisse[] = "Abscisse";  // graph slot 1..9
inline constexpr std::int32_t kAbscisseDefaut = 5;
inline constexpr std::int32_t kAbscisseMin = 1;
inline constexpr std::int32_t kAbscisseMax = 9;
inline constexpr char kCleLigne[] = "Ligne";
inline constexpr bool kLigneDefaut = true;
inline constexpr char kClePoints[] = "Points";
inline constexpr bool kPointsDefaut = false;
inline constexpr char kCleAxeY[] = "AxeY";
inline constexpr bool kAxeYDefaut = true;
inline constexpr char kCleGrille[] = "Grille";
inline constexpr bool kGrilleDefaut = false;
inline constexpr char kCleAnalLog[] = "AnalLog";
inline constexpr bool kAnalLogDefaut = false;
// Half-size of the point markers in pixels; missing keeps the current one.
// Bounded so that a damaged file cannot ask for markers the size of a screen.
inline constexpr char kCleDimPoint[] = "DimPoint";
inline constexpr std::int32_t kDimPointMin = 1;
inline constexpr std::int32_t kDimPointMax = 20;

// Acquisition mode 0 keyboard, 1 timed scan, 2 point by point, 3 analog-output
// sweep, 4 optical fork; input reference ("Ref Alt" when true).
inline constexpr char kSectionAcquisition[] = "Acquisition";
inline constexpr char kCleMode[] = "Mode";
inline constexpr std::int32_t kModeDefaut = 1;
inline constexpr std::int32_t kModeMin = 0;
inline constexpr std::int32_t kModeMax = 4;
inline constexpr std::int32_t kModeVeltor = 4;
inline constexpr char kCleMasse[] = "Masse";
inline constexpr bool kMasseDefaut = true;

// The timed scan: duration in milliseconds, point count, start of the last
// acquisition.
inline constexpr char kSectionBalayage[] = "Balayage";
inline constexpr char kCleDuree[] = "Durée";
inline constexpr std::int32_t kDureeMsDefaut = 1000;
inline constexpr double kDureeMinS = 0.001;
inline constexpr double kDureeMaxS = 1000.0;
inline constexpr char kCleNombre[] = "Nombre";
inline constexpr std::int32_t kNombreDefaut = 128;
inline constexpr std::int32_t kNombreMin = 8;
// The channels hold 6401 values; the box's memory gives 6400 points to one
// input (6400 div k to k inputs, which the graph's point-count rule applies).
inline constexpr std::int32_t kNombreMax = 6400;
inline constexpr std::int32_t kNombreMinVeltor = 1;
inline constexpr char kCleDebutAcq[] = "DebutAcq";

// Trigger.
inline constexpr char kSectionSynchro[] = "Synchro";
inline constexpr char kCleMonocoup[] = "Monocoup";
inline constexpr bool kMonocoupDefaut = true;
inline constexpr char kCleSynchroMode[] = "Mode";  // "Front" .. "Bouge"
inline constexpr std::int32_t kSynchroModeDefaut = 0;
inline constexpr std::int32_t kSynchroModeMin = 0;
inline constexpr std::int32_t kSynchroModeMax = 4;
inline constexpr char kCleFront[] = "Front";  // edge input EF0 or EF1
inline constexpr std::int32_t kFrontDefaut = 0;
inline constexpr std::int32_t kFrontMax = 1;
inline constexpr char kCleSeuil[] = "Seuil";  // converter code
inline constexpr std::int32_t kSeuilDefaut = 127;
inline constexpr std::int32_t kSeuilMin = 2;
inline constexpr std::int32_t kSeuilMax = 253;
inline constexpr char kCleBouge[] = "Bouge";  // change width in codes
inline constexpr std::int32_t kBougeDefaut = 3;
inline constexpr std::int32_t kBougeMin = 1;
inline constexpr std::int32_t kBougeMax = 16;
inline constexpr char kCleVoie[] = "Voie";  // trigger channel, slot 5..8
inline constexpr std::int32_t kVoieDefaut = 5;
inline constexpr std::int32_t kVoieMin = 5;
inline constexpr std::int32_t kVoieMax = 8;

// Point by point: automatic recording.
inline constexpr char kSectionPoint[] = "Point";
inline constexpr char kCleAuto[] = "Auto";
inline constexpr bool kAutoDefaut = true;

// One section a channel, by graph slot, in reading and in writing order.
struct SectionVoie {
  const char *section;
  int slot;
};
inline constexpr SectionVoie kVoiesLues[] = {{"SA", 2}, {"Veltor", 9}, {"EB", 4}, {"Clavier", 3},
                                             {"V1", 5}, {"V2", 6},     {"V3", 7}, {"V4", 8}};
inline constexpr SectionVoie kVoiesEcrites[] = {{"EB", 4}, {"Veltor", 9}, {"SA", 2}, {"Clavier", 3},
                                                {"V1", 5}, {"V2", 6},     {"V3", 7}, {"V4", 8}};

}  // namespace kvx::exchange::configuration
