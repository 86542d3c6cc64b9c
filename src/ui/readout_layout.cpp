// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/readout_layout.h"

#include <algorithm>

namespace kvx::ui {

namespace {

constexpr int kPremiereAnalogique = 5;
constexpr int kHauteurCachee = 28;      // hidden box in the full-screen voltmeter
constexpr int kPoliceCachee = 8;        // its caption size, points
constexpr int kPlusPetiteHauteur = 15;  // smallest title and value heights, pixels
constexpr int kPoliceRepli = 12;        // points, used when a height hits its floor
constexpr int kHauteurGrande = 601;     // window height from which the read-outs grow
constexpr int kPasGrande = 150;
constexpr int kTailleNormaleMax = 24;

int index(int slot) {
  return slot - kPremiereBoite;
}

SortieBoite BoiteCachee(int hauteur, int taillePoints) {
  SortieBoite b;
  b.hauteur = hauteur;
  b.titre = {taillePoints, false};
  return b;
}

}  // namespace

int TailleNormale(int hauteurFenetre) {
  if (hauteurFenetre < 481) return 10;
  if (hauteurFenetre < 601) return 12;
  // A tall window (a classroom's projector) grows the read-outs on: two
  // points every 150 pixels, up to a size the column still holds.
  const int pas = (hauteurFenetre - kHauteurGrande) / kPasGrande;
  return std::min(14 + 2 * pas, kTailleNormaleMax);
}

SortiesBoites DispositionNormale(const EntreesBoites &boites, int hauteurFenetre) {
  const int s = TailleNormale(hauteurFenetre);
  SortiesBoites sorties;
  for (int i = 0; i < kNbBoites; ++i) {
    if (!boites[i].visible) {
      sorties[i] = BoiteCachee(2 * s, s - 2);
      continue;
    }
    SortieBoite &b = sorties[i];
    b.blanche = true;
    b.hauteur = 4 * s;
    b.titre = {s, false};
    b.valeur = {s + 2, false};
    b.valeurCourierNew = false;
    b.hautLabel = (3 * s) / 2;
    b.changeLabel = true;
  }
  return sorties;
}

SortiesBoites DispositionVoltmetre(const EntreesBoites &entrees, int largeurPanneau,
                                   int hauteurPanneau, int modeAcq) {
  EntreesBoites boites = entrees;
  int n = 0;
  for (int slot = kPremiereAnalogique; slot <= kDerniereBoite; ++slot)
    if (boites[index(slot)].visible) ++n;
  if (n == 0 && modeAcq != 4) {
    // A voltmeter with nothing to show would be an empty window: show V1.
    boites[index(kPremiereAnalogique)].visible = true;
    n = 1;
  }

  SortiesBoites sorties;
  for (int slot = kPremiereBoite; slot <= kDerniereBoite; ++slot)
    if (!boites[index(slot)].visible)
      sorties[index(slot)] = BoiteCachee(kHauteurCachee, kPoliceCachee);
  if (n == 0) return sorties;

  // Every box gets the height that the longest caption allows, so that the
  // caption stays on one line and the boxes line up.
  int h = hauteurPanneau / n;
  for (int slot = kPremiereAnalogique; slot <= kDerniereBoite; ++slot) {
    const EntreeBoite &e = boites[index(slot)];
    if (!e.visible) continue;
    const int longueur = e.longueurTitre > 0 ? e.longueurTitre : 12;
    int f = (2 * largeurPanneau) / longueur;
    f = std::max(std::min(f, largeurPanneau / 4), 13);
    h = std::min(h, 3 * f);
  }
  const int titre = std::max((h / 12) * 2, kPlusPetiteHauteur);
  int valeur = std::min(h - 3 * titre, largeurPanneau / 4);
  valeur = std::max((valeur / 2) * 2, kPlusPetiteHauteur);

  for (int slot = kPremiereBoite; slot <= kDerniereBoite; ++slot) {
    if (!boites[index(slot)].visible) continue;
    SortieBoite &b = sorties[index(slot)];
    b.blanche = true;
    b.hauteur = titre + valeur;
    b.titre =
        titre == kPlusPetiteHauteur ? TaillePolice{kPoliceRepli, false} : TaillePolice{titre, true};
    if (valeur == kPlusPetiteHauteur) {
      b.valeur = {kPoliceRepli, false};
      b.valeurCourierNew = false;
    } else {
      b.valeur = {valeur, true};
      b.valeurCourierNew = true;
    }
    b.hautLabel = titre;
    b.changeLabel = true;
  }
  return sorties;
}

}  // namespace kvx::ui
