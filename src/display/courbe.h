// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One slot of the graph as a plotted curve: the channel it shows and what the
// graph computes for it at every full redraw (its scale in pixels, its
// graduation, its band in the logic-analyser layout), plus the window's box
// that shows the channel's read-out.
//
// The channel stays a channel of the model (the acquisition engine, the
// configuration file and the dialogs work on it); the curve only adds the
// drawing side and keeps the channel with it when the graph moves channels
// between slots.

#include <cstdint>
#include <memory>

#include "display/graduation.h"
#include "display/projection.h"
#include "display/vue_graphe.h"
#include "model/voie.h"

namespace kvx::display {

// The window's group box of a channel with its read-out label. The graph
// tells it the slot its channel now sits in, so that a click on the box
// addresses that slot.
class CadreVoie {
 public:
  virtual ~CadreVoie() = default;
  virtual void FixeNumero(int slot) = 0;
};

class TCourbe {
 public:
  explicit TCourbe(std::unique_ptr<model::Tvoie> voie);

  model::Tvoie &voie() { return *m_voie; }
  const model::Tvoie &voie() const { return *m_voie; }

  // The pixel of a value, or kHorsEcran (-1) when it cannot be drawn (NaN,
  // infinite, not above zero on a logarithmic axis).
  std::int32_t Ecran(double valeur) const { return projection().Ecran(valeur); }
  // The exact pixel position (NaN when it cannot be drawn).
  double position(double valeur) const { return projection().position(valeur); }
  Projection projection() const { return {a, b, logarithmique}; }

  // The range the axis is drawn with: the channel's Mini..Maxi, made
  // drawable when it is empty, reversed or not finite.
  Plage plage() const { return PlageAffichable(m_voie->Mini, m_voie->Maxi); }
  // The part of that range the user's zoom shows: the scale, the graduations
  // and the labels follow it.
  Plage plageAffichee() const {
    return fenetre.pleine() ? plage() : PlageAffichable(fenetre.applique(plage()).min,
                                                        fenetre.applique(plage()).max);
  }
  // Fills pas, premier, echelle, chiffres and formatTemps for this range.
  void ChoisitGraduation(bool dense);
  // Scale so that the range runs from pixel `debut` (Mini) to `fin` (Maxi).
  void FixeEchelle(int debut, int fin);

  double a = 1;
  double b = 0;
  double pas = 1;
  double echelle = 1;
  double premier = 0;
  bool logarithmique = false;
  bool formatTemps = false;
  std::uint8_t chiffres = 3;
  std::int32_t bas = 0;
  std::int32_t haut = 0;
  Fenetre fenetre;                 // the zoom on this curve's axis, set by the graph
  CadreVoie *cadreVoie = nullptr;  // not owned; null until the window binds it

 private:
  std::unique_ptr<model::Tvoie> m_voie;
};

}  // namespace kvx::display
