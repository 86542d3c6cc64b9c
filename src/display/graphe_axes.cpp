// SPDX-License-Identifier: GPL-3.0-or-later
// The axes of the graph: the horizontal axis of the abscissa with its
// graduations, labels and title, and the vertical axes of the curves (the
// left one, the right one for a second curve, or one per band in the
// logic-analyser layout) with their zero lines.

#include <algorithm>
#include <cmath>

#include "display/couleurs.h"
#include "display/graphe.h"
#include "model/nombres.h"
#include "model/separateur_decimal.h"

namespace kvx::display {

namespace {

// At most this many decades on a logarithmic axis: doubles span about 600.
constexpr int kMaxDecades = 700;

}  // namespace

std::string TgrapheKVX::TexteGraduation(const TCourbe &c, double v) const {
  if (c.formatTemps) return TexteHorloge(v);
  return model::TexteGeneral(v / c.echelle, c.chiffres, model::SeparateurDecimal());
}

std::string TgrapheKVX::TitreAxe(const TCourbe &c) const {
  if (c.formatTemps) return c.voie().Nom;
  return c.voie().TexteAxe(c.echelle);
}

void TgrapheKVX::DessineAxes(Canvas &canvas) {
  if (placeX) DessineAxeX(canvas);
  if (AnalLog) {
    for (int slot = 2; slot <= kNbCourbes; ++slot) {
      if (!estOrdonnee(slot)) continue;
      if (placeY)
        DessineAxeGauche(canvas, slot);
      else
        DessineZero(canvas, slot);
    }
  } else {
    if (placeY) {
      int gauche = 0;
      for (int slot = 2; slot <= 8 && gauche == 0; ++slot)
        if (estOrdonnee(slot)) gauche = slot;
      if (gauche == 0 && estOrdonnee(9)) gauche = 9;
      if (gauche != 0) {
        DessineAxeGauche(canvas, gauche);
        for (int slot = gauche + 1; slot <= kNbCourbes; ++slot)
          if (estOrdonnee(slot)) {
            DessineAxeDroit(canvas, slot);
            break;
          }
      }
    }
    for (int slot = 2; slot <= kNbCourbes; ++slot)
      if (estOrdonnee(slot)) DessineZero(canvas, slot);
  }
  canvas.setTextAlign(TextHAlign::Left, TextVAlign::Top);
}

void TgrapheKVX::DessineAxeX(Canvas &canvas) {
  const TCourbe &x = courbe(abscisse());
  const Rgb couleur = CouleurCourbe(x.voie().Couleur);
  const int axeY = zone.bottom;
  const int x0 = x.Ecran(0);
  if (x0 != kHorsEcran && zone.left < x0 && x0 < zone.right) {
    canvas.setPen({couleur, 1, PenStyle::Dash});
    canvas.line({x0, zone.top}, {x0, zone.bottom});
  }
  canvas.setPen({couleur});
  canvas.line({cadre.left, axeY}, {cadre.right, axeY});
  canvas.line({cadre.right - 3 * marge, axeY + marge}, {cadre.right, axeY});
  canvas.line({cadre.right - 3 * marge, axeY - marge}, {cadre.right, axeY});
  // The labels of the horizontal axis take the abscissa's colour, as its lines.
  canvas.setFont({NomPolice, hauteurPolice, couleur});
  canvas.setTextAlign(TextHAlign::Center, TextVAlign::Top);
  const int limite = cadre.right - 2 * largeurCar;
  if (Grille) canvas.setPen({couleur, 1, PenStyle::Dot});
  if (x.logarithmique) {
    DessineAxeXLogarithmique(canvas, axeY, limite);
  } else {
    DessineAxeXLineaire(canvas, axeY, limite);
    canvas.setTextAlign(TextHAlign::Left, TextVAlign::Top);
    canvas.text({cadre.left + marge, axeY + marge}, TitreAxe(x));
  }
  const Plage p = x.plageAffichee();
  if (!x.logarithmique && p.min < 0 && 0 < p.max) {
    canvas.setPen({couleur, 1, PenStyle::Dot});
    canvas.line({x0, zone.top}, {x0, zone.bottom});
  }
  canvas.setPen({couleur});
}

void TgrapheKVX::DessineAxeXLineaire(Canvas &canvas, int axeY, int limite) {
  const TCourbe &x = courbe(abscisse());
  const Plage p = x.plageAffichee();
  const Graduation g{x.pas, x.premier, x.echelle, x.chiffres, x.formatTemps};
  const int n = NombreGraduations(g, p.max);
  for (int i = 0; i < n; ++i) {
    double v = x.premier + i * x.pas;
    const int px = x.Ecran(v);
    if (!(zone.left < px && px < zone.right)) continue;
    if (Grille)
      canvas.line({px, zone.bottom}, {px, zone.top});
    else
      canvas.line({px, axeY}, {px, axeY + marge});
    if (zone.left + marge < px && px < limite) {
      // A graduation a rounding away from zero reads 0, not 1E-17.
      if (std::fabs(v) < p.largeur() / 100) v = 0;
      canvas.text({px, axeY + marge}, TexteGraduation(x, v));
    }
  }
}

void TgrapheKVX::DessineAxeXLogarithmique(Canvas &canvas, int axeY, int limite) {
  const TCourbe &x = courbe(abscisse());
  const Plage p = x.plageAffichee();
  const bool peuDeDecades = p.largeur() <= 3;
  const double premiere = std::max(std::floor(p.min), p.max - kMaxDecades);
  const int decades = static_cast<int>(std::floor(p.max) - premiere);
  auto pixel = [&x](double decade) {
    return static_cast<int>(
        ArrondiPixel(std::clamp(decade * x.a + x.b, -double(kPixelLimite), double(kPixelLimite))));
  };
  auto marque = [&](int px) {
    if (Grille)
      canvas.line({px, zone.bottom}, {px, zone.top});
    else
      canvas.line({px, axeY}, {px, axeY + marge});
  };
  for (int i = 0; i <= decades; ++i) {
    const double d = premiere + i;
    const int pd = pixel(d);
    if (zone.left < pd && pd < zone.right) {
      marque(pd);
      if (zone.left + marge < pd && pd < limite)
        canvas.text({pd, axeY + marge},
                    model::TexteGeneral(std::pow(10.0, d), x.chiffres, model::SeparateurDecimal()));
    }
    const int suivante = pixel(d + 1);
    int precedente = pd;
    for (int m = 2; m <= 9; ++m) {
      const int pm = pixel(std::log10(m) + d);
      if (!(zone.left < pm && pm < zone.right)) continue;
      if (!peuDeDecades) {
        canvas.line({pm, axeY}, {pm, axeY + marge});
        continue;
      }
      marque(pm);
      const int place = 4 * largeurCar;
      if (zone.left + marge < pm && pm < limite && pm > precedente + place &&
          pm < suivante - place && pm < limite - place) {
        canvas.text({pm, axeY + marge},
                    model::TexteGeneral(m, x.chiffres, model::SeparateurDecimal()));
        precedente = pm;
      }
    }
  }
}

void TgrapheKVX::DessineAxeGauche(Canvas &canvas, int slot) {
  const TCourbe &c = courbe(slot);
  const Rgb couleur = CouleurCourbe(c.voie().Couleur);
  const Plage p = c.plageAffichee();
  const int axeY = zone.bottom;
  const int limiteHaute = c.haut + marge + (AnalLog ? hauteurPolice : 0);
  canvas.setTextAlign(TextHAlign::Right, TextVAlign::Top);
  canvas.setPen({couleur});
  DessineZero(canvas, slot);
  canvas.line({zone.left, c.bas}, {zone.left, c.haut});
  canvas.line({zone.left - marge, c.haut + 3 * marge}, {zone.left, c.haut});
  canvas.line({zone.left + marge, c.haut + 3 * marge}, {zone.left, c.haut});
  canvas.setFont({NomPolice, hauteurPolice, couleur});
  if (Grille) canvas.setPen({couleur, 1, PenStyle::Dot});
  const Graduation g{c.pas, c.premier, c.echelle, c.chiffres, c.formatTemps};
  const int n = NombreGraduations(g, p.max);
  for (int i = 0; i < n; ++i) {
    double v = c.premier + i * c.pas;
    const int y = c.Ecran(v);
    if (!(c.haut < y && y < c.bas)) continue;
    if (Grille)
      canvas.line({zone.left, y}, {zone.right, y});
    else
      canvas.line({zone.left, y}, {zone.left + marge, y});
    if (y > limiteHaute && y < c.bas - marge && std::abs(y - axeY) > marge) {
      if (std::fabs(v) < p.largeur() / 1000) v = 0;
      canvas.text({zone.left - marge, y - marge}, TexteGraduation(c, v));
    }
  }
  canvas.text({zone.left - marge, c.haut - marge}, TitreAxe(c));
  canvas.setPen({couleur});
}

void TgrapheKVX::DessineAxeDroit(Canvas &canvas, int slot) {
  const TCourbe &c = courbe(slot);
  const Rgb couleur = CouleurCourbe(c.voie().Couleur);
  const Plage p = c.plageAffichee();
  canvas.setPen({couleur});
  canvas.setFont({NomPolice, hauteurPolice, couleur});
  canvas.setTextAlign(TextHAlign::Left, TextVAlign::Top);
  // The zero line only where zero lies inside the plot, as on the left axis.
  DessineZero(canvas, slot);
  canvas.line({zone.right, zone.bottom}, {zone.right, zone.top});
  canvas.line({zone.right - marge, zone.top + 3 * marge}, {zone.right, zone.top});
  canvas.line({zone.right + marge, zone.top + 3 * marge}, {zone.right, zone.top});
  const Graduation g{c.pas, c.premier, c.echelle, c.chiffres, c.formatTemps};
  const int n = NombreGraduations(g, p.max);
  for (int i = 0; i < n; ++i) {
    double v = c.premier + i * c.pas;
    const int y = c.Ecran(v);
    if (y == kHorsEcran) continue;
    canvas.line({zone.right - marge, y}, {zone.right, y});
    if (std::fabs(v) < p.largeur() / 1000) v = 0;
    canvas.text({zone.right + marge, y - marge}, TexteGraduation(c, v));
  }
  // The title starts right of the axis, but moves left rather than run off
  // the picture when it is longer than the room there.
  const std::string titre = TitreAxe(c);
  const int largeur = canvas.textExtent(titre).width;
  const int xTitre =
      std::max(zone.left, std::min(zone.right + marge, cadre.right - marge - largeur));
  canvas.text({xTitre, cadre.top + marge}, titre);
}

void TgrapheKVX::DessineZero(Canvas &canvas, int slot) {
  const TCourbe &c = courbe(slot);
  const int y0 = c.Ecran(0);
  if (y0 == kHorsEcran || !(c.haut < y0 && y0 < c.bas)) return;
  canvas.setPen({CouleurCourbe(c.voie().Couleur)});
  canvas.line({zone.left, y0}, {zone.right, y0});
}

}  // namespace kvx::display
