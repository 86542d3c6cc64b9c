// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/courbe.h"

#include <utility>

namespace kvx::display {

namespace {

// Six one-minute steps.
constexpr double kVueHorlogeMin = 360;

}  // namespace

TCourbe::TCourbe(std::unique_ptr<model::Tvoie> voie) : m_voie(std::move(voie)) {}

void TCourbe::ChoisitGraduation(bool dense) {
  const Plage p = plageAffichee();
  // Clock steps are whole minutes at least: a view zoomed below a few
  // minutes of a long recording reads in seconds instead.
  const bool horloge = m_voie->Unite == "s" && (fenetre.pleine() || p.largeur() >= kVueHorlogeMin);
  const Graduation g = display::ChoisitGraduation(p.min, p.max, horloge, logarithmique, dense);
  pas = g.pas;
  premier = g.premier;
  echelle = g.echelle;
  chiffres = static_cast<std::uint8_t>(g.chiffres);
  formatTemps = g.formatTemps;
}

void TCourbe::FixeEchelle(int debut, int fin) {
  const Plage p = plageAffichee();
  const Projection proj = ProjectionEntre(p.min, p.max, debut, fin, logarithmique);
  a = proj.a;
  b = proj.b;
}

}  // namespace kvx::display
