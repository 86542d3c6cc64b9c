// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/graphe_rapport.h"

namespace kvx::display {

namespace {

constexpr Rgb kBlanc{255, 255, 255};
constexpr Rgb kNoir{0, 0, 0};

// The caption's font follows the labels' sizes for the picture's height.
int HauteurLegende(int hauteur) {
  const int n = hauteur / 30;
  return n < 14 ? 13 : n < 17 ? 16 : 20;
}

}  // namespace

std::string LegendeGraphe(std::string_view commentaire, std::string_view date) {
  std::string legende(commentaire);
  if (!legende.empty() && !date.empty()) legende += " \u2014 ";
  legende += date;
  // A comment typed on several lines is one caption line.
  for (char &c : legende)
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  return legende;
}

void DessineGraphePourRapport(TgrapheKVX &graphe, Canvas &canvas, std::string_view legende) {
  const Size taille = canvas.size();
  const Rect cadreFenetre = graphe.cadre;
  const bool croix = graphe.curseurAffiche;
  const int ySeuil = graphe.ySeuil;

  canvas.fillRect({0, 0, taille.width, taille.height}, kBlanc);
  const int police = HauteurLegende(taille.height);
  const int bande = legende.empty() ? 0 : police + police / 2;
  graphe.cadre = {0, 0, taille.width, taille.height - bande};
  graphe.Dessine(canvas);
  if (bande > 0) {
    canvas.setFont({graphe.NomPolice, police, kNoir, false});
    canvas.setTextAlign(TextHAlign::Center, TextVAlign::Top);
    canvas.text({taille.width / 2, taille.height - bande + police / 4}, legende);
    canvas.setTextAlign(TextHAlign::Left, TextVAlign::Top);
  }

  // The window's scales again, for its next drawing of new points.
  graphe.cadre = cadreFenetre;
  graphe.CalculeEchelles(canvas);
  graphe.curseurAffiche = croix;
  graphe.ySeuil = ySeuil;
}

}  // namespace kvx::display
