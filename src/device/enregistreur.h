// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One acquisition without the window, for scripts and long logging (the
// kvx-record tool): reads a configuration file, finds the box, applies the
// configuration with the window's own engine, runs one timed scan (with the
// configuration's trigger), one analog-output sweep, or point by point for a
// given time, and writes the table. A poll() loop stands in for the window's
// event loop. The ports, the file format and where the progress goes are
// the caller's.

#include <cmath>
#include <functional>
#include <string>

#include "exchange/transfert.h"

namespace kvx::device {

class PortProvider;

struct DemandeEnregistrement {
  std::string configuration;  // the ".KVX" file (read as the window reads it)
  std::string sortie;         // the data file
  // Point by point for this many seconds; NaN: the configuration's scan or
  // sweep, once.
  double duree = std::nan("");
};

struct ResultatEnregistrement {
  // 0: the file is written; 1: a failure (no box, unreadable configuration,
  // file or room lacking, box lost or disk full before the end); 2: a usage
  // error; 130: a scan interrupted, no file written.
  int statut = 0;
  std::string message;  // why, for statuses 1 and 2
};

// Writes the table to the file, in the format its name asks for.
using EcritureTable = std::function<exchange::ResultatSauvegarde(
    const std::string &fichier, const exchange::DonneesTransfert &table)>;

class Enregistreur {
 public:
  // The shortest point by point run: one tick of the point modes, the time
  // one point takes.
  static double DureeMin();
  // The longest: the end time is reckoned on the steady clock, and half its
  // range keeps the sum far from overflowing.
  static double DureeMax();

  // `journal` gets each line of progress, `interrompu` tells when the user
  // asked to stop (Ctrl+C). The box is searched on `ports`, from the first.
  Enregistreur(PortProvider &ports, EcritureTable ecrit,
               std::function<void(const std::string &)> journal,
               std::function<bool()> interrompu);

  ResultatEnregistrement Enregistre(const DemandeEnregistrement &demande);

 private:
  PortProvider &m_ports;
  EcritureTable m_ecrit;
  std::function<void(const std::string &)> m_journal;
  std::function<bool()> m_interrompu;
};

}  // namespace kvx::device
