#pragma once
// What the optical-fork mode tells the user, word for word. UTF-8.

namespace kvx::device::texts {

inline constexpr const char *kImpossibleVeltor = "Impossible d'utiliser Veltor";
inline constexpr const char *kAttenteVeltor = "Attente Veltor";

}  // namespace kvx::device::texts
