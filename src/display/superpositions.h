// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Earlier recordings drawn behind the current one, so that a pupil compares
// this run with the previous ones. The graph reads them through
// `SourceSuperpositions`; the program keeps the last finished recordings in
// memory (`AnneauAcquisitions`), and a saved history of recordings can feed
// the same interface.

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace kvx::display {

class TgrapheKVX;

// One finished recording: the values of each channel it held, by symbol.
struct AcquisitionGardee {
  struct Serie {
    std::string nom;  // channel symbol ("t", "V1", ...): how a later run finds it
    std::vector<double> valeurs;
  };
  std::vector<Serie> series;
  // The values of the channel named `nom`, or null when it was not recorded.
  const std::vector<double> *valeurs(const std::string &nom) const;
};

// At most this many earlier runs are overlaid: more would hide the current one.
inline constexpr std::size_t kMaxSuperpositions = 5;
// Runs kept in memory: more than are shown, so that going back to channels
// recorded a few runs ago still finds earlier runs of them.
inline constexpr std::size_t kAcquisitionsGardees = 20;

class SourceSuperpositions {
 public:
  virtual ~SourceSuperpositions() = default;
  // Earlier runs, the most recent first.
  virtual std::size_t nombre() const = 0;
  virtual const AcquisitionGardee &acquisition(std::size_t i) const = 0;
};

// The last kAcquisitionsGardees finished recordings, copied when each ends.
class AnneauAcquisitions : public SourceSuperpositions {
 public:
  std::size_t nombre() const override { return m_runs.size(); }
  const AcquisitionGardee &acquisition(std::size_t i) const override { return m_runs.at(i); }
  // Keeps the recording the graph holds now (the active channels and the
  // abscissa, nbPoints values each); fewer than two points are no curve.
  void Garde(const TgrapheKVX &graphe);
  void Ajoute(AcquisitionGardee run);
  // A run older than all those kept (from the history of an earlier
  // session), kept only while there is room.
  void AjouteAncienne(AcquisitionGardee run);
  void Vide() { m_runs.clear(); }

 private:
  std::deque<AcquisitionGardee> m_runs;
};

}  // namespace kvx::display
