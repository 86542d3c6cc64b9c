// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/lecture_curseurs.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "display/graphe.h"
#include "model/nombres.h"
#include "model/separateur_decimal.h"
#include "model/unite.h"

namespace kvx::display {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

int Tenus(const TgrapheKVX &g) {
  return std::clamp(g.nbPoints, 0, model::kNbValeurs);
}

// The abscissa as the axis measures it: decades on a logarithmic axis, so
// that "nearest" means nearest on the screen.
double SurLAxe(const TCourbe &x, double v) {
  if (!x.logarithmique) return std::isfinite(v) ? v : kNaN;
  return v > 0 && std::isfinite(v) ? std::log10(v) : kNaN;
}

// A value with its curve's unit and prefixes, "—" when there is none.
std::string TexteValeur(const model::Tunite &u, double v) {
  if (!std::isfinite(v)) return "—";
  // The value text writes a zero without its space ("0V"): beside "1.578 V"
  // in the same column the readings keep one form.
  if (v == 0) return u.Unite.empty() ? "0" : "0 " + u.Unite;
  const std::string t = u.TexteValeur(v);
  return t.empty() ? "—" : t;
}

// The slope in the curve's unit per abscissa unit: the curve's value text
// with its prefix, over the abscissa's unit ("900 mV/s").
std::string TextePente(const model::Tunite &y, const model::Tunite &x, double pente) {
  if (!std::isfinite(pente)) return "—";
  if (x.Unite.empty()) return TexteValeur(y, pente);
  if (y.Unite.empty())
    return model::TexteGeneral(pente, 4, model::SeparateurDecimal()) + " /" + x.Unite;
  return TexteValeur(y, pente) + "/" + x.Unite;
}

}  // namespace

int PointLePlusProche(const TgrapheKVX &g, double px) {
  const TCourbe &x = g.courbe(g.abscisse());
  const int n = Tenus(g);
  int meilleur = -1;
  double distance = std::numeric_limits<double>::infinity();
  for (int i = 0; i < n; ++i) {
    const double p = x.position(x.voie().valeurs[static_cast<std::size_t>(i)]);
    if (std::isnan(p)) continue;
    const double d = std::fabs(p - px);
    if (d < distance) {
      distance = d;
      meilleur = i;
    }
  }
  return meilleur;
}

int PointDeLaCourbe(const TgrapheKVX &g, int slot, int i) {
  const int n = Tenus(g);
  if (i < 0 || i >= n) return -1;
  const TCourbe &x = g.courbe(g.abscisse());
  const TCourbe &y = g.courbe(slot);
  auto valide = [&](int j) {
    const auto s = static_cast<std::size_t>(j);
    return !std::isnan(SurLAxe(x, x.voie().valeurs[s])) &&
           !std::isnan(y.position(y.voie().valeurs[s]));
  };
  if (valide(i)) return i;
  const double xi = SurLAxe(x, x.voie().valeurs[static_cast<std::size_t>(i)]);
  int meilleur = -1;
  double distance = std::numeric_limits<double>::infinity();
  for (int j = 0; j < n; ++j) {
    if (!valide(j)) continue;
    // Along the abscissa when the cursor's own point has one, else in
    // recording order.
    const double xj = SurLAxe(x, x.voie().valeurs[static_cast<std::size_t>(j)]);
    const double d = std::isnan(xi) ? std::abs(j - i) : std::fabs(xj - xi);
    if (d < distance || (d == distance && std::abs(j - i) < std::abs(meilleur - i))) {
      distance = d;
      meilleur = j;
    }
  }
  return meilleur;
}

LectureCurseurs LitCurseurs(const TgrapheKVX &g) {
  LectureCurseurs l;
  const TCourbe &x = g.courbe(g.abscisse());
  const int n = Tenus(g);
  for (int c = 0; c < 2; ++c) {
    const int i = g.vue.curseur(static_cast<CurseurLecture>(c));
    l.place[static_cast<std::size_t>(c)] = i >= 0 && i < n;
    l.abscisse[static_cast<std::size_t>(c)] =
        l.place[static_cast<std::size_t>(c)] ? x.voie().valeurs[static_cast<std::size_t>(i)] : kNaN;
  }
  l.deltaX = l.abscisse[1] - l.abscisse[0];
  for (int slot = 2; slot <= kNbCourbes; ++slot) {
    if (!g.estOrdonnee(slot)) continue;
    LectureCourbe lc;
    lc.slot = slot;
    lc.nom = g.voie(slot).Nom;
    for (std::size_t c = 0; c < 2; ++c) {
      lc.valeur[c] = kNaN;
      if (!l.place[c]) continue;
      lc.point[c] = PointDeLaCourbe(g, slot, g.vue.curseur(static_cast<CurseurLecture>(c)));
      if (lc.point[c] >= 0)
        lc.valeur[c] = g.voie(slot).valeurs[static_cast<std::size_t>(lc.point[c])];
    }
    lc.delta = lc.valeur[1] - lc.valeur[0];
    lc.pente = l.deltaX != 0 ? lc.delta / l.deltaX : kNaN;
    l.courbes.push_back(lc);
  }
  return l;
}

std::vector<std::vector<std::string>> TableauLectures(const TgrapheKVX &g,
                                                      const LectureCurseurs &l) {
  std::vector<std::vector<std::string>> lignes;
  if (!l.place[0] && !l.place[1]) return lignes;
  const model::Tvoie &x = g.voie(g.abscisse());
  const bool deux = l.place[0] && l.place[1];
  std::vector<std::string> titre{""};
  if (l.place[0]) titre.push_back("A");
  if (l.place[1]) titre.push_back("B");
  if (deux) {
    titre.push_back("Δ");
    titre.push_back("Δ/Δ" + x.Nom);
  }
  lignes.push_back(titre);
  std::vector<std::string> abscisse{x.Nom};
  for (std::size_t c = 0; c < 2; ++c)
    if (l.place[c]) abscisse.push_back(TexteValeur(x, l.abscisse[c]));
  if (deux) {
    abscisse.push_back(TexteValeur(x, l.deltaX));
    abscisse.push_back("");
  }
  lignes.push_back(abscisse);
  for (const LectureCourbe &lc : l.courbes) {
    const model::Tvoie &y = g.voie(lc.slot);
    std::vector<std::string> ligne{lc.nom};
    for (std::size_t c = 0; c < 2; ++c)
      if (l.place[c]) ligne.push_back(TexteValeur(y, lc.valeur[c]));
    if (deux) {
      ligne.push_back(TexteValeur(y, lc.delta));
      ligne.push_back(TextePente(y, x, lc.pente));
    }
    lignes.push_back(ligne);
  }
  return lignes;
}

}  // namespace kvx::display
