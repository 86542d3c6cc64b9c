// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/superpositions.h"

#include <algorithm>

#include "display/graphe.h"

namespace kvx::display {

const std::vector<double> *AcquisitionGardee::valeurs(const std::string &nom) const {
  for (const Serie &s : series)
    if (s.nom == nom) return &s.valeurs;
  return nullptr;
}

void AnneauAcquisitions::Garde(const TgrapheKVX &graphe) {
  const int n = std::clamp(graphe.nbPoints, 0, model::kNbValeurs);
  if (n < 2) return;
  AcquisitionGardee run;
  for (int slot = 1; slot <= kNbCourbes; ++slot) {
    const model::Tvoie &v = graphe.voie(slot);
    if (!v.Active && slot != graphe.abscisse()) continue;
    run.series.push_back({v.Nom, std::vector<double>(v.valeurs.begin(), v.valeurs.begin() + n)});
  }
  Ajoute(std::move(run));
}

void AnneauAcquisitions::Ajoute(AcquisitionGardee run) {
  m_runs.push_front(std::move(run));
  while (m_runs.size() > kAcquisitionsGardees) m_runs.pop_back();
}

void AnneauAcquisitions::AjouteAncienne(AcquisitionGardee run) {
  if (m_runs.size() < kAcquisitionsGardees) m_runs.push_back(std::move(run));
}

}  // namespace kvx::display
