// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the optical-fork mode tells the user, word for word. UTF-8.

namespace kvx::device::texts {

inline constexpr const char *kImpossibleVeltor = "Impossible d'utiliser Veltor";
inline constexpr const char *kAttenteVeltor = "Attente Veltor";
// Ours: a real box needs the maker's fork program, which the user installs.
// Followed by the places searched, joined by kOuVeltor.
inline constexpr const char *kProgrammeVeltorAbsent =
    "Programme de la fourche Veltor introuvable : copiez le fichier veltor.hex fourni par le "
    "fabricant de la fourche dans ";
inline constexpr const char *kOuVeltor = " ou ";
// Followed by the file's path, kRefusVeltor and the reason.
inline constexpr const char *kProgrammeVeltorRefuse = "Programme de la fourche Veltor ";
inline constexpr const char *kRefusVeltor = " refusé : ";
inline constexpr const char *kRetourPointParPoint = ".\nKVX passe en mode point par point.";
// Ours, after "Attente Veltor" while a run counts: nothing is kept until the
// first object crosses the beam, then how many crossings so far.
inline constexpr const char *kAttenteVeltorRien =
    " : rien n'est enregistré avant le premier passage dans la fourche";
inline constexpr const char *kAttenteVeltorPassages = " : passages comptés ";
// Ours: a run that ended with nothing through the beam.
inline constexpr const char *kAucunPassageVeltor =
    "Aucun passage dans la fourche : rien n'a été enregistré";
// Ours: a run that ends without events because the box's count answers were
// noise, so the user does not take it for a run where nothing passed.
inline constexpr const char *kCompteVeltorIllisible =
    "Aucun événement : les réponses de la fourche n'ont pas pu être lues (liaison perturbée ?)";

}  // namespace kvx::device::texts
