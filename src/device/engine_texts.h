// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the acquisition engine tells the user, word for word (status bar,
// button hints, questions and messages). UTF-8.

namespace kvx::device::texts {

inline constexpr const char *kAcquisitionEnCours = "Acquisition en cours";
inline constexpr const char *kAttenteValeurs = "Attente des valeurs envoyées par KVX";
inline constexpr const char *kAcquisitionTerminee = "Acquisition terminée";
inline constexpr const char *kAttenteFront = "Attente d'un front";
inline constexpr const char *kCliquerPourDemarrer =
    "Cliquer \"Acquisition\" ou frapper la barre d'espace pour démarrer l'enregistrement";
inline constexpr const char *kAttenteDeclenchement =
    "Attente de déclenchement (barre d'espace ou clic sur \"Acquisition\")";
// Arming a threshold wait and waiting on it say it slightly differently.
inline constexpr const char *kAttentePassageSeuil = "Attente de passage du seuil";
inline constexpr const char *kAttenteDuPassageSeuil = "Attente du passage du seuil";
inline constexpr const char *kAttenteModification = "Attente de modification de l'entrée";
inline constexpr const char *kFourcheOptique = "Fourche optique";

// Point by point, with `PointAutoCB` ticked or not, and keyboard entry.
inline constexpr const char *kDecocherAutomatique =
    "Décocher \"Automatique\" pour arrêter l'acquisition";
inline constexpr const char *kCliquerPourEnregistrer =
    "Cliquer \"Acquisition\" ou frapper la barre d'espace pour enregistrer le point courant";
inline constexpr const char *kTaperLaValeur =
    "Taper la valeur en haut à droite puis valider pour enregistrer le point courant";
// In the read-out of a channel whose value could not be read.
inline constexpr const char *kErreurAcquisitionVoie = "Erreur d'acquisition sur une voie";
// A typed value out of range: lower bound, "< ", the channel's name, " <",
// upper bound ("0< x <100").
inline constexpr const char *kAvantNom = "< ";
inline constexpr const char *kApresNom = " <";

inline constexpr const char *kHintEnregistrePoint = "|Enregistre le point courant";
inline constexpr const char *kHintLanceAcquisition = "|Lance l'acquisition";

inline constexpr const char *kSuppressionAcquisition = "Suppression de l'acquisition courante";
inline constexpr const char *kActiverLaVoie = "Activer la voie : ";
inline constexpr const char *kMonocoupObligatoire = "Monocoup obligatoire";

// Ours: a typed duration or point count that the box's sampling grid changed.
// "Durée demandée 30 s : 29,95 s et 256 points, car la période ..."
inline constexpr const char *kDureeDemandee = "Durée demandée ";
inline constexpr const char *kNombreDemande = "Nombre demandé ";
inline constexpr const char *kPointsEt = " et ";
inline constexpr const char *kPointsSur = " points sur ";
inline constexpr const char *kCar = ", car ";
inline constexpr const char *kEtRaison = " et ";
inline constexpr const char *kRaisonDureeMini = "la durée la plus courte est ";
inline constexpr const char *kRaisonDureeMaxi = "la durée la plus longue est ";
inline constexpr const char *kRaisonPointsMaxi = "le boîtier garde au plus ";
inline constexpr const char *kRaisonPointsMaxiSuite = " points pour ces entrées";
inline constexpr const char *kRaisonPointsMini = "il faut au moins 8 points";
inline constexpr const char *kRaisonPeriodeMini =
    "la période d'échantillonnage est au plus de 16 s";
inline constexpr const char *kRaisonPeriodeMaxi =
    "la période d'échantillonnage ne descend pas sous ";
inline constexpr const char *kRaisonPas =
    "le boîtier compte la période d'échantillonnage par pas de ";
inline constexpr const char *kRaisonSecondes =
    "la période d'échantillonnage est un nombre entier de secondes";
inline constexpr const char *kRaisonMinutes =
    "la période d'échantillonnage est un nombre entier de minutes";

// Ours: a keyboard value that is no number, followed by the reason, then
// kValeurAttendue and the range.
inline constexpr const char *kNombreMalEcrit = "Nombre mal écrit : ";
inline constexpr const char *kValeurAttendue = "\nValeur attendue : ";
inline constexpr const char *kAucuneValeur = "aucune valeur tapée";

// Ours: after the count of points recorded, in the second status panel.
inline constexpr const char *kPointsCompte = " pts";

inline constexpr const char *kDeltat = "δt=";
inline constexpr const char *kFech = "Fech=";
inline constexpr const char *kMini = "Mini";
inline constexpr const char *kMaxi = "Maxi";

}  // namespace kvx::device::texts
