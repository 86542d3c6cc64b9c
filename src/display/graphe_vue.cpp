// SPDX-License-Identifier: GPL-3.0-or-later
// The graph's side of the user's view: the runs kept for the overlays and
// their drawing with a key, the reading cursors on the picture, and the
// pixel-to-fraction conversions the paint box zooms and drags with.

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "display/couleurs.h"
#include "display/graphe.h"
#include "display/lecture_curseurs.h"
#include "display/trace_courbe.h"

namespace kvx::display {

namespace {

// Cursor lines: A dark grey, B dark purple; both dashed so they never pass
// for a curve.
constexpr Rgb kCouleurCurseurs[2] = {{64, 64, 64}, {128, 0, 128}};
constexpr const char *kNomsCurseurs[2] = {"A", "B"};
// Half the size of the ring marking the point a cursor reads on a curve.
constexpr int kRayonLecture = 4;

// A lighter shade of a curve's colour for its earlier runs: the older, the
// paler.
Rgb Eclaircie(Rgb c, std::size_t age) {
  const double t = std::min(0.85, 0.55 + 0.07 * static_cast<double>(age));
  auto m = [t](std::uint8_t v) {
    return static_cast<std::uint8_t>(std::lround(v + (255 - v) * t));
  };
  return {m(c.r), m(c.g), m(c.b)};
}

}  // namespace

void TgrapheKVX::NouvelleAcquisition() {
  if (!m_courantGarde) m_anneau.Garde(*this);
  m_courantGarde = false;
  vue.Reinitialise();
}

void TgrapheKVX::FinAcquisition() {
  m_anneau.Garde(*this);
  m_courantGarde = PointsTenus() >= 2;
}

void TgrapheKVX::FixeSourceSuperpositions(const SourceSuperpositions *source) {
  m_source = source ? source : &m_anneau;
}

std::vector<const AcquisitionGardee *> TgrapheKVX::Superpositions() const {
  std::vector<const AcquisitionGardee *> runs;
  if (!vue.superposer) return runs;
  const std::size_t premier = m_source == &m_anneau && m_courantGarde ? 1 : 0;
  const std::string &abscisse = voie(this->abscisse()).Nom;
  // Only runs that recorded the abscissa and one of the curves shown.
  auto utile = [&](const AcquisitionGardee &run) {
    if (!run.valeurs(abscisse)) return false;
    for (int slot = 2; slot <= kNbCourbes; ++slot)
      if (estOrdonnee(slot) && run.valeurs(voie(slot).Nom)) return true;
    return false;
  };
  for (std::size_t i = premier; i < m_source->nombre() && runs.size() < kMaxSuperpositions; ++i)
    if (utile(m_source->acquisition(i))) runs.push_back(&m_source->acquisition(i));
  return runs;
}

Rect TgrapheKVX::ZoneCourbes() const {
  if (!vue.zoomee()) return cadre;
  return {zone.left, zone.top, zone.right + 1, zone.bottom + 1};
}

double TgrapheKVX::FractionX(int px) const {
  const int l = zone.right - zone.left;
  return l > 0 ? double(px - zone.left) / l : 0.5;
}

double TgrapheKVX::FractionY(int py) const {
  int haut = zone.top, bas = zone.bottom;
  if (AnalLog)
    for (int slot = 2; slot <= kNbCourbes; ++slot) {
      if (!estOrdonnee(slot)) continue;
      haut = courbe(slot).haut;
      bas = courbe(slot).bas;
      if (py <= bas) break;  // the band under the pointer, or the last one
    }
  return bas > haut ? double(bas - py) / (bas - haut) : 0.5;
}

double TgrapheKVX::NiveauSeuil(int y) const {
  if (VoieSynchro < 1 || VoieSynchro > kNbCourbes) return std::numeric_limits<double>::quiet_NaN();
  const TCourbe &c = courbe(VoieSynchro);
  if (c.haut == c.bas) return std::numeric_limits<double>::quiet_NaN();
  if (c.fenetre.pleine()) return double(y - c.bas) * 255.0 / double(c.haut - c.bas);
  const Plage p = c.plage();
  if (c.a == 0) return std::numeric_limits<double>::quiet_NaN();
  return ((y - c.b) / c.a - p.min) / p.largeur() * 255.0;
}

void TgrapheKVX::CollecteSuperpositions() {
  const std::vector<const AcquisitionGardee *> runs = Superpositions();
  const TCourbe &x = courbe(abscisse());
  const Projection px = x.projection();
  const Rect visible = ZoneCourbes();
  // The oldest first, so that the latest earlier run lies nearest the
  // current one.
  for (std::size_t r = runs.size(); r-- > 0;) {
    const std::vector<double> *xs = runs[r]->valeurs(x.voie().Nom);
    if (!xs || xs->empty()) continue;
    const PlagePoints plage = PointsVisibles(xs->data(), 0, static_cast<int>(xs->size()) - 1, px,
                                             visible.left, visible.right - 1);
    for (int slot = 2; slot <= kNbCourbes; ++slot) {
      if (!estOrdonnee(slot)) continue;
      const TCourbe &y = courbe(slot);
      const std::vector<double> *ys = runs[r]->valeurs(y.voie().Nom);
      if (!ys) continue;
      const int fin = std::min(plage.fin, static_cast<int>(ys->size()) - 1);
      TraitsCourbe &trait = NouveauTrait(Eclaircie(CouleurCourbe(y.voie().Couleur), r));
      TraceurCourbe traceur(trait.bouts, visible);
      const Projection py = y.projection();
      for (int i = plage.debut; i <= fin; ++i)
        traceur.ajoute(px.position((*xs)[static_cast<std::size_t>(i)]),
                       py.position((*ys)[static_cast<std::size_t>(i)]));
    }
  }
}

void TgrapheKVX::DessineCle(Canvas &canvas) {
  const std::vector<const AcquisitionGardee *> runs = Superpositions();
  const TCourbe &x = courbe(abscisse());
  int ligne = 0;
  canvas.setTextAlign(TextHAlign::Left, TextVAlign::Top);
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (!runs[r]->valeurs(x.voie().Nom)) continue;
    int premiere = 0;
    for (int slot = 2; slot <= kNbCourbes && premiere == 0; ++slot)
      if (estOrdonnee(slot) && runs[r]->valeurs(voie(slot).Nom)) premiere = slot;
    if (premiere == 0) continue;
    // Which earlier run each pale curve is, the latest first.
    canvas.setFont({NomPolice, hauteurPolice, Eclaircie(CouleurCourbe(voie(premiere).Couleur), r)});
    canvas.text({zone.left + 2 * marge, zone.top + marge + ligne * hauteurPolice},
                "acquisition −" + std::to_string(r + 1));
    ++ligne;
  }
}

void TgrapheKVX::DessineCurseurs(Canvas &canvas) {
  const int n = PointsTenus();
  const TCourbe &x = courbe(abscisse());
  for (int c = 0; c < 2; ++c) {
    const int i = vue.curseur(static_cast<CurseurLecture>(c));
    if (i < 0 || i >= n) continue;
    const int px = x.Ecran(x.voie().valeurs[static_cast<std::size_t>(i)]);
    if (px == kHorsEcran || px < zone.left || px > zone.right) continue;
    canvas.setPen({kCouleurCurseurs[c], 1, PenStyle::Dash});
    canvas.setBrush({});
    canvas.line({px, zone.top}, {px, zone.bottom});
    canvas.setFont({NomPolice, hauteurPolice, kCouleurCurseurs[c]});
    // Beside its line, on the side where the plot has room for it.
    const bool aGauche = px + 2 * largeurCar > zone.right;
    canvas.setTextAlign(aGauche ? TextHAlign::Right : TextHAlign::Left, TextVAlign::Top);
    canvas.text({aGauche ? px - 2 : px + 2, zone.top}, kNomsCurseurs[c]);
    for (int slot = 2; slot <= kNbCourbes; ++slot) {
      if (!estOrdonnee(slot)) continue;
      const int j = PointDeLaCourbe(*this, slot, i);
      if (j < 0) continue;
      const TCourbe &y = courbe(slot);
      const int qx = x.Ecran(x.voie().valeurs[static_cast<std::size_t>(j)]);
      const int qy = y.Ecran(y.voie().valeurs[static_cast<std::size_t>(j)]);
      if (qx == kHorsEcran || qy == kHorsEcran) continue;
      if (qx < zone.left || qx > zone.right || qy < zone.top || qy > zone.bottom) continue;
      canvas.setPen({CouleurCourbe(y.voie().Couleur), 2});
      canvas.ellipse(
          {qx - kRayonLecture, qy - kRayonLecture, qx + kRayonLecture + 1, qy + kRayonLecture + 1});
    }
  }
  canvas.setPen({CouleurCourbe(x.voie().Couleur)});
}

}  // namespace kvx::display
