// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/raison_systeme.h"

#include <cerrno>
#include <system_error>

namespace kvx::exchange {

std::string RaisonSysteme(int erreur) {
  switch (erreur) {
    case ENOSPC:
    case EDQUOT:
      return "plus de place sur le disque";
    case EACCES:
    case EPERM:
      return "accès refusé";
    case EROFS:
      return "le disque est en lecture seule";
    case ENOENT:
      return "fichier ou dossier introuvable";
    case ENOTDIR:
      return "un élément du chemin n'est pas un dossier";
    case EISDIR:
      return "c'est un dossier";
    case EFBIG:
      return "fichier trop grand";
    case ENAMETOOLONG:
      return "nom trop long";
    case EIO:
      return "erreur d'entrée-sortie sur le disque";
    case EMFILE:
    case ENFILE:
      return "trop de fichiers ouverts";
    case EBUSY:
    case ETXTBSY:
      return "fichier occupé";
    default:
      return std::generic_category().message(erreur);
  }
}

}  // namespace kvx::exchange
