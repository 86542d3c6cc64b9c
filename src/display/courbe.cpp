#include "display/courbe.h"

#include <utility>

namespace kvx::display {

TCourbe::TCourbe(std::unique_ptr<model::Tvoie> voie) : m_voie(std::move(voie)) {}

void TCourbe::ChoisitGraduation(bool dense) {
  const Plage p = plage();
  const Graduation g =
      display::ChoisitGraduation(p.min, p.max, m_voie->Unite == "s", logarithmique, dense);
  pas = g.pas;
  premier = g.premier;
  echelle = g.echelle;
  chiffres = static_cast<std::uint8_t>(g.chiffres);
  formatTemps = g.formatTemps;
}

void TCourbe::FixeEchelle(int debut, int fin) {
  const Plage p = plage();
  const Projection proj = ProjectionEntre(p.min, p.max, debut, fin, logarithmique);
  a = proj.a;
  b = proj.b;
}

}  // namespace kvx::display
