// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/vue_graphe.h"

#include <algorithm>
#include <cmath>

namespace kvx::display {

namespace {

constexpr double kLargeurMaximale = 1 + 2 * kDebordMaximal;

}  // namespace

void VueGraphe::Borne(Fenetre &w) {
  double largeur = std::clamp(w.largeur(), kLargeurMinimale, kLargeurMaximale);
  if (!std::isfinite(w.debut) || !std::isfinite(w.fin)) {
    w = {};
    return;
  }
  const double centre = (w.debut + w.fin) / 2;
  double debut = centre - largeur / 2;
  debut = std::clamp(debut, -kDebordMaximal, 1 + kDebordMaximal - largeur);
  w.debut = debut;
  w.fin = debut + largeur;
  // Back to exactly the full view when it is reached, so that the settings'
  // graduations come back unchanged.
  if (std::fabs(w.debut) < 1e-12 && std::fabs(w.fin - 1) < 1e-12) w = {};
}

void VueGraphe::Zoome(Fenetre &w, double f, double facteur) {
  if (!(facteur > 0) || !std::isfinite(facteur) || !std::isfinite(f)) return;
  const double point = w.debut + f * w.largeur();
  const double largeur = std::clamp(w.largeur() * facteur, kLargeurMinimale, kLargeurMaximale);
  Fenetre n{point - f * largeur, point - f * largeur + largeur};
  // Held at an edge, the window slides rather than let the point move more
  // than the limit forces.
  const double debut = std::clamp(n.debut, -kDebordMaximal, 1 + kDebordMaximal - largeur);
  n = {debut, debut + largeur};
  if (std::fabs(n.debut) < 1e-12 && std::fabs(n.fin - 1) < 1e-12) n = {};
  w = n;
}

void VueGraphe::Cadre(Fenetre &w, double f0, double f1) {
  if (!std::isfinite(f0) || !std::isfinite(f1)) return;
  if (f1 < f0) std::swap(f0, f1);
  const double l = w.largeur();
  Fenetre n{w.debut + f0 * l, w.debut + f1 * l};
  if (n.largeur() < kLargeurMinimale) {
    const double centre = (n.debut + n.fin) / 2;
    n = {centre - kLargeurMinimale / 2, centre + kLargeurMinimale / 2};
  }
  Borne(n);
  w = n;
}

void VueGraphe::Deplace(Fenetre &w, double d) {
  if (!std::isfinite(d)) return;
  const double l = w.largeur();
  const double debut = std::clamp(w.debut + d * l, -kDebordMaximal, 1 + kDebordMaximal - l);
  w = {debut, debut + l};
}

void VueGraphe::Reinitialise() {
  VueComplete();
  EnleveCurseurs();
}

void VueGraphe::VueComplete() {
  m_x = {};
  m_y = {};
}

void VueGraphe::PlaceCurseur(CurseurLecture c, int point) {
  m_curseurs[Indice(c)] = point < 0 ? -1 : point;
  m_actif = c;
}

void VueGraphe::DeplaceCurseur(int pas, int nbPoints) {
  int &i = m_curseurs[Indice(m_actif)];
  if (i < 0 || nbPoints <= 0) return;
  i = std::clamp(i + pas, 0, nbPoints - 1);
}

void VueGraphe::EnleveCurseurs() {
  m_curseurs = {-1, -1};
  m_actif = CurseurLecture::A;
}

void VueGraphe::LimiteCurseurs(int nbPoints) {
  for (int &i : m_curseurs)
    if (i >= nbPoints) i = -1;
}

}  // namespace kvx::display
