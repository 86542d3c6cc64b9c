#pragma once
// What the optical-fork mode tells the user, word for word. UTF-8.

namespace kvx::device::texts {

inline constexpr const char *kImpossibleVeltor = "Impossible d'utiliser Veltor";
inline constexpr const char *kAttenteVeltor = "Attente Veltor";
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
