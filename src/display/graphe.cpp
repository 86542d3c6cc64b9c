// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/graphe.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "display/couleurs.h"
#include "display/lecture_curseurs.h"
#include "display/marqueur.h"
#include "display/trace_courbe.h"

namespace kvx::display {

const std::array<const char *, 5> kNomsModes = {"Clavier", "Temps", "Point par point",
                                                "Sortie analog.", "Veltor"};
const std::array<const char *, 5> kNomsSynchro = {"Front", "Relaxé", "Clavier", "Seuil", "Bouge"};

namespace {

constexpr int kPremierEA = model::kVoieV1;  // slots 5..8 hold the analog inputs
constexpr int kDernierEA = model::kVoieV4;
constexpr int kMiniPoints = 8;
// Half the length of a live cursor cross's arms, in pixels.
constexpr int kBrasCroix = 10;
// The slope mark sits this far above the threshold line.
constexpr int kHauteurMarquePente = 10;

}  // namespace

TgrapheKVX::TgrapheKVX() {
  auto temps = std::make_unique<model::TbaseDeTemps>();
  auto sortie = std::make_unique<model::TsortieAnalogique>();
  auto clavier = std::make_unique<model::TentreeClavier>();
  auto binaire = std::make_unique<model::TentreeBinaire>();
  auto veltor = std::make_unique<model::Tveltor>();
  m_temps = temps.get();
  m_sortie = sortie.get();
  m_clavier = clavier.get();
  m_binaire = binaire.get();
  m_veltor = veltor.get();
  m_courbes[1] = std::make_unique<TCourbe>(std::move(temps));
  m_courbes[2] = std::make_unique<TCourbe>(std::move(sortie));
  m_courbes[3] = std::make_unique<TCourbe>(std::move(clavier));
  m_courbes[4] = std::make_unique<TCourbe>(std::move(binaire));
  for (int slot = kPremierEA; slot <= kDernierEA; ++slot)
    m_courbes[slot] = std::make_unique<TCourbe>(
        std::make_unique<model::Tvoie>("V" + std::to_string(slot - kPremierEA + 1), "V", "", slot));
  m_courbes[9] = std::make_unique<TCourbe>(std::move(veltor));
  voie(5).Active = true;
  voie(6).Active = true;
  // No curve may vanish on the white graph.
  for (int slot = 1; slot <= kNbCourbes; ++slot)
    if (voie(slot).Couleur == kCouleurFenetre) voie(slot).Couleur = kCouleurTitreActif;
  UniteVolt.FixeUnite("V");
}

TCourbe &TgrapheKVX::courbe(int slot) {
  if (slot < 1 || slot > kNbCourbes) throw std::out_of_range("slot of the graph");
  return *m_courbes[static_cast<std::size_t>(slot)];
}

const TCourbe &TgrapheKVX::courbe(int slot) const {
  if (slot < 1 || slot > kNbCourbes) throw std::out_of_range("slot of the graph");
  return *m_courbes[static_cast<std::size_t>(slot)];
}

int TgrapheKVX::abscisse() const {
  // A damaged setting must not make the graph index outside its slots.
  return Abscisse >= 1 && Abscisse <= kNbCourbes ? Abscisse : kPremierEA;
}

bool TgrapheKVX::estOrdonnee(int slot) const {
  return slot >= 2 && slot <= kNbCourbes && slot != abscisse() && voie(slot).Active;
}

int TgrapheKVX::compteOrdonnees() const {
  int n = 0;
  for (int slot = 2; slot <= kNbCourbes; ++slot) n += estOrdonnee(slot);
  return n;
}

int TgrapheKVX::PointsTenus() const {
  return std::clamp(nbPoints, 0, model::kNbValeurs);
}

void TgrapheKVX::FixeNombre(std::int32_t n) {
  nombre = n;
  if (Mode == kModeVeltor) {
    nbEA = 1;
    // The fork sets its own count, but never beyond what the arrays hold.
    nombre = std::clamp(n, 1, model::kMaxPoints);
  } else {
    nbEA = 0;
    for (int i = kPremierEA; i <= kDernierEA; ++i) {
      if (!voie(i).Active) continue;
      ++nbEA;
      for (int j = kPremierEA; j < i; ++j)
        if (!voie(j).Active) {
          std::swap(m_courbes[static_cast<std::size_t>(i)], m_courbes[static_cast<std::size_t>(j)]);
          break;
        }
    }
    if (nbEA == 0) {
      voie(kPremierEA).Active = true;
      nbEA = 1;
    }
    if (nbEA == 1 || nbEA == 2) {
      k = nbEA;
    } else if (nbEA <= 4) {
      // Four inputs sampled together must sit in the same half of the box.
      bool basses = true, hautes = true;
      for (int slot = kPremierEA; slot < kPremierEA + nbEA; ++slot) {
        basses = basses && voie(slot).NumeroNuvex < 4;
        hautes = hautes && voie(slot).NumeroNuvex > 3;
      }
      k = basses || hautes ? 4 : 8;
    } else {
      k = 8;
    }
    nombre = std::max(std::min(n, model::kMaxPoints / k), kMiniPoints);
  }
  // Every box names the slot its channel is in now.
  for (int slot = kPremierEA; slot <= kNbCourbes; ++slot)
    if (courbe(slot).cadreVoie) courbe(slot).cadreVoie->FixeNumero(slot);
}

void TgrapheKVX::CalculeEchelles(Canvas &canvas) {
  const int hauteur = std::max(0, cadre.bottom - cadre.top);
  const int largeur = std::max(0, cadre.right - cadre.left);
  const int n = hauteur / 30;
  hauteurPolice = n < 14 ? 13 : n < 17 ? 16 : 20;
  canvas.setFont({NomPolice, hauteurPolice, {}});
  largeurCar = 2 * hauteurPolice / 3;
  marge = largeurCar / 2;

  // The bands follow the curves actually shown, whatever nbCourbesY says
  // (a configuration loaded before the first run can leave it at 0).
  const int courbesY = std::max(1, compteOrdonnees());
  const int kk = AnalLog ? courbesY : 1;
  const int h5 = hauteur / 5;
  placeY = (hauteurPolice * 5 * kk) / 4 < h5 && (AnalLog || AxeY);
  placeX = largeurCar * 20 < largeur;
  denseY = (hauteurPolice * 10 * kk) / 4 < h5;
  denseX = largeurCar * 40 < largeur;

  zone = cadre;
  zone.left += marge;
  zone.bottom -= marge;
  zone.top += marge;
  if (placeY) zone.left += 4 * largeurCar;
  if (placeY && compteOrdonnees() > 1) zone.right -= 4 * largeurCar;
  if (placeX) zone.bottom -= hauteurPolice;

  for (int slot = 1; slot <= kNbCourbes; ++slot) {
    courbe(slot).haut = zone.top;
    courbe(slot).bas = zone.bottom;
  }
  if (AnalLog) {
    const int h = (zone.bottom - zone.top) / courbesY - marge;
    int j = 0;
    for (int slot = 1; slot <= kNbCourbes; ++slot) {
      if (!estOrdonnee(slot)) continue;  // the time base has no band when it is not the abscissa
      TCourbe &c = courbe(slot);
      c.haut = zone.top + j * h + (j + 1) * marge;
      c.bas = c.haut + h;
      ++j;
    }
  }

  for (int slot = 1; slot <= kNbCourbes; ++slot) courbe(slot).fenetre = vue.fenetreY();
  TCourbe &x = courbe(abscisse());
  x.fenetre = vue.fenetreX();
  x.FixeEchelle(zone.left, zone.right);
  x.ChoisitGraduation(denseX);
  for (int slot = 1; slot <= kNbCourbes; ++slot) {
    if (!voie(slot).Active || slot == abscisse()) continue;
    TCourbe &c = courbe(slot);
    c.FixeEchelle(c.bas, c.haut);
    c.ChoisitGraduation(denseY);
  }
}

void TgrapheKVX::Dessine(Canvas &canvas) {
  canvas.setClip(cadre);
  canvas.setPen({CouleurCourbe(voie(1).Couleur), 1, PenStyle::Dot, PenMode::Copy});
  canvas.setBrush({});
  CalculeEchelles(canvas);
  DessineAxes(canvas);
  // Zoomed, the curves would run over the labels beyond the plotting zone.
  if (vue.zoomee()) canvas.setClip(ZoneCourbes());
  DessineCourbes(canvas);
  if (vue.zoomee()) canvas.setClip(cadre);
  DessineCle(canvas);
  DessineCurseurs(canvas);
  DessineSeuil(canvas);
  canvas.clearClip();
  curseurAffiche = false;
}

void TgrapheKVX::DessineCourbes(Canvas &canvas) {
  const int n = PointsTenus();
  std::vector<int> slots;  // the slot of each current curve in m_traits, 0 for an earlier run
  m_nbTraits = 0;
  CollecteSuperpositions();
  const Rect visible = ZoneCourbes();
  const TCourbe &x = courbe(abscisse());
  const double *xs = x.voie().valeurs.data();
  const Projection px = x.projection();
  const PlagePoints plage = n > 0
                                ? PointsVisibles(xs, 0, n - 1, px, visible.left, visible.right - 1)
                                : PlagePoints{0, -1};
  if (n > 0 && Ligne)
    for (int slot = 2; slot <= kNbCourbes; ++slot) {
      if (!estOrdonnee(slot)) continue;
      TraitsCourbe &trait = NouveauTrait(CouleurCourbe(voie(slot).Couleur));
      slots.resize(m_nbTraits, 0);
      slots.back() = slot;
      const TCourbe &y = courbe(slot);
      TraceurCourbe traceur(trait.bouts, visible);
      const double *ys = y.voie().valeurs.data();
      const Projection py = y.projection();
      for (int i = plage.debut; i <= plage.fin; ++i)
        traceur.ajoute(px.position(xs[i]), py.position(ys[i]));
    }
  m_traits.resize(m_nbTraits);
  slots.resize(m_nbTraits, 0);
  if (m_traits.size() > 1) CacheTraits(m_traits, visible);
  for (std::size_t t = 0; t < m_traits.size(); ++t) {
    const TraitsCourbe &trait = m_traits[t];
    canvas.setPen({trait.couleur});
    if (!trait.bouts.empty()) canvas.lines(trait.bouts.data(), trait.bouts.size() / 2);
    if (slots[t] != 0 && Points) DessineMarqueurs(canvas, slots[t], 0, n - 1);
  }
  if (n > 0 && !Ligne && Points)
    for (int slot = 2; slot <= kNbCourbes; ++slot) {
      if (!estOrdonnee(slot)) continue;
      canvas.setPen({CouleurCourbe(voie(slot).Couleur)});
      DessineMarqueurs(canvas, slot, 0, n - 1);
    }
}

TraitsCourbe &TgrapheKVX::NouveauTrait(Rgb couleur) {
  if (m_nbTraits == m_traits.size()) m_traits.emplace_back();
  TraitsCourbe &trait = m_traits[m_nbTraits++];
  trait.couleur = couleur;
  trait.bouts.clear();
  return trait;
}

void TgrapheKVX::DessinePoints(Canvas &canvas, int premier, int dernier) {
  if (PointsTenus() == 0) return;
  premier = std::max(premier, 0);
  dernier = std::min(dernier, model::kNbValeurs - 1);
  if (premier > dernier) return;
  canvas.setClip(ZoneCourbes());
  for (int slot = 2; slot <= kNbCourbes; ++slot) {
    if (!estOrdonnee(slot)) continue;
    canvas.setPen({CouleurCourbe(voie(slot).Couleur)});
    // From the last point already drawn, so the new piece joins the curve.
    if (Ligne) DessineCourbe(canvas, slot, std::max(premier - 1, 0), dernier);
    if (Points) DessineMarqueurs(canvas, slot, premier, dernier);
  }
  canvas.clearClip();
}

void TgrapheKVX::DessineCourbe(Canvas &canvas, int slot, int premier, int dernier) {
  const TCourbe &x = courbe(abscisse());
  const TCourbe &y = courbe(slot);
  TraceCourbe(canvas, ZoneCourbes(), x.voie().valeurs.data(), y.voie().valeurs.data(), premier,
              dernier, x.projection(), y.projection());
}

int TgrapheKVX::LargeurMarqueurs() const {
  return (Mode == kModeClavier || Mode == kModePointParPoint) && nbPoints < kPointsPeuNombreux ? 3
                                                                                               : 1;
}

void TgrapheKVX::DessineMarqueurs(Canvas &canvas, int slot, int premier, int dernier) {
  const TCourbe &x = courbe(abscisse());
  const TCourbe &y = courbe(slot);
  const Rgb couleur = CouleurCourbe(y.voie().Couleur);
  canvas.setPen({couleur, LargeurMarqueurs()});
  canvas.setBrush({couleur, BrushStyle::Solid});
  const Projection px = x.projection(), py = y.projection();
  // Markers wholly outside the picture, or on the pixel of the marker just
  // drawn, would change nothing on the screen.
  const int bord = std::clamp(DimPoint, 0, kDimPointMax) + 3;
  const Rect visible = ZoneCourbes();
  const double gauche = visible.left - bord, droite = visible.right + bord;
  const double haut = visible.top - bord, bas = visible.bottom + bord;
  Point dernierPoint{0, 0};
  bool dejaUn = false;
  for (int i = premier; i <= dernier; ++i) {
    const double fx = px.position(x.voie().valeurs[static_cast<std::size_t>(i)]);
    const double fy = py.position(y.voie().valeurs[static_cast<std::size_t>(i)]);
    if (!(fx >= gauche && fx <= droite && fy >= haut && fy <= bas)) continue;
    const Point p{static_cast<int>(ArrondiPixel(fx)), static_cast<int>(ArrondiPixel(fy))};
    if (dejaUn && p == dernierPoint) continue;
    DessineMarqueur(canvas, y.voie().Motif, p, DimPoint);
    dernierPoint = p;
    dejaUn = true;
  }
  canvas.setPen({couleur});
  canvas.setBrush({});
}

void TgrapheKVX::DessinePointCourant(Canvas &canvas, int indice) {
  if (indice < 1 || indice > kNbCourbes) return;
  const TCourbe &x = courbe(abscisse());
  const TCourbe &y = courbe(indice);
  const double fx = x.position(x.voie().valeurCourante);
  const double fy = y.position(y.voie().valeurCourante);
  if (std::isnan(fx) || std::isnan(fy)) return;
  const Rgb couleur = CouleurCourbe(y.voie().Couleur);
  canvas.setClip(cadre);
  canvas.setPen({couleur, LargeurMarqueurs()});
  canvas.setBrush({couleur, BrushStyle::Solid});
  const double limite = kPixelLimite;
  DessineMarqueur(canvas, y.voie().Motif,
                  {static_cast<int>(ArrondiPixel(std::clamp(fx, -limite, limite))),
                   static_cast<int>(ArrondiPixel(std::clamp(fy, -limite, limite)))},
                  DimPoint);
  canvas.setPen({couleur});
  canvas.setBrush({});
  canvas.clearClip();
}

void TgrapheKVX::DessineCroix(Canvas &canvas, int indice) {
  if (indice < 1 || indice > kNbCourbes) return;
  const TCourbe &x = courbe(abscisse());
  const TCourbe &y = courbe(indice);
  const int px = x.Ecran(x.voie().valeurCourante);
  const int py = y.Ecran(y.voie().valeurCourante);
  if (px == kHorsEcran || py == kHorsEcran) return;
  const Rgb couleur = CouleurCourbe(y.voie().Couleur);
  canvas.setClip(cadre);
  canvas.setPen({couleur, 3, PenStyle::Solid, PenMode::NotXor});
  canvas.line({px - kBrasCroix, py}, {px + kBrasCroix, py});
  canvas.line({px, py - kBrasCroix}, {px, py + kBrasCroix});
  canvas.setPen({couleur});
  canvas.clearClip();
}

void TgrapheKVX::DessineSeuil(Canvas &canvas) {
  if (ModeSynchro != kSynchroSeuil || Mode != kModeTemps) return;
  if (VoieSynchro < 1 || VoieSynchro > kNbCourbes || VoieSynchro == abscisse()) return;
  const TCourbe &c = courbe(VoieSynchro);
  const int niveau = std::clamp(Seuil, 0, 255);
  if (c.fenetre.pleine()) {
    ySeuil = c.bas + static_cast<int>(std::lround((c.haut - c.bas) * niveau / 255.0));
  } else {
    // The level is a code of the whole range: zoomed, its line stays on the
    // same value of the curve.
    const Plage p = c.plage();
    const double limite = kPixelLimite;
    ySeuil = static_cast<int>(ArrondiPixel(
        std::clamp(c.a * (p.min + p.largeur() * niveau / 255.0) + c.b, -limite, limite)));
  }
  const Rgb couleur = CouleurCourbe(c.voie().Couleur);
  canvas.setClip(cadre);
  canvas.setPen({couleur, 1, PenStyle::Dash, PenMode::NotXor});
  canvas.line({zone.left, ySeuil}, {zone.right, ySeuil});
  canvas.setFont({NomPolice, hauteurPolice, couleur});
  canvas.setTextAlign(TextHAlign::Left, TextVAlign::Top);
  canvas.text({zone.left, ySeuil - kHauteurMarquePente},
              PenteSynchro == 0 ? kMarqueMontante : kMarqueDescendante);
  canvas.setPen({couleur});
  canvas.clearClip();
}

}  // namespace kvx::display
