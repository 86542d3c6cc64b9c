// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one graph of the program. It owns the nine channels in their fixed
// slots (1 time base, 2 analog output, 3 keyboard entry, 4 binary inputs,
// 5..8 the analog inputs V1..V4, 9 optical fork), the display settings, the
// acquisition mode, the point count of a timed scan and the trigger settings,
// and draws the scientific graph a pupil watches all lesson: one abscissa
// against up to eight curves, with automatic graduations, an optional grid,
// one shared plotting area or one band per curve, markers or joined lines,
// the trigger threshold and the live cursor crosses.
//
// The main window creates it at start-up and keeps it to the end. It paints
// the whole graph (`Dessine`) from its paint event; during an acquisition the
// engine has only the new points drawn over what is on screen
// (`DessinePoints`), which relies on the scales of the last full redraw.
// Every drawing call takes the canvas to draw on, since the window's painter
// only lives while it paints.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "display/canvas.h"
#include "display/courbe.h"
#include "display/superpositions.h"
#include "display/trace_courbe.h"
#include "display/vue_graphe.h"
#include "model/entree_binaire.h"
#include "model/sortie_analogique.h"
#include "model/unite.h"
#include "model/veltor.h"
#include "model/voie.h"

namespace kvx::display {

inline constexpr int kNbCourbes = 9;
// The slope marks of the threshold line and of the edge inputs: the box's
// users know them as the two arrow glyphs of its symbol font, the first for
// the rising slope (0), the second for the falling one (1).
inline constexpr const char *kMarqueMontante = "\u2197";
inline constexpr const char *kMarqueDescendante = "\u2198";

// Acquisition modes (`Mode`) and trigger modes (`ModeSynchro`).
enum ModeAcquisition : std::uint8_t {
  kModeClavier = 0,
  kModeTemps = 1,
  kModePointParPoint = 2,
  kModeSortieAnalogique = 3,
  kModeVeltor = 4
};
enum ModeSynchro : std::uint8_t {
  kSynchroFront = 0,
  kSynchroRelaxe = 1,
  kSynchroClavier = 2,
  kSynchroSeuil = 3,
  kSynchroBouge = 4
};

// The names the mode and trigger panels show.
extern const std::array<const char *, 5> kNomsModes;
extern const std::array<const char *, 5> kNomsSynchro;

// Markers are drawn with a 3-pixel pen below this many points in the manual
// modes, so that a few hand-recorded points stay visible.
inline constexpr int kPointsPeuNombreux = 32;

class TgrapheKVX {
 public:
  TgrapheKVX();
  TgrapheKVX(const TgrapheKVX &) = delete;
  TgrapheKVX &operator=(const TgrapheKVX &) = delete;

  // --- Slots -----------------------------------------------------------
  // The curve and the channel of slot 1..9 (std::out_of_range otherwise).
  TCourbe &courbe(int slot);
  const TCourbe &courbe(int slot) const;
  model::Tvoie &voie(int slot) { return courbe(slot).voie(); }
  const model::Tvoie &voie(int slot) const { return courbe(slot).voie(); }
  // The channels that never change slot, with their own kind.
  model::TbaseDeTemps &temps() { return *m_temps; }
  model::TsortieAnalogique &sortieAnalogique() { return *m_sortie; }
  model::TentreeClavier &clavier() { return *m_clavier; }
  model::TentreeBinaire &entreeBinaire() { return *m_binaire; }
  model::Tveltor &veltor() { return *m_veltor; }
  // The slot on the horizontal axis: `Abscisse`, read as 5 when outside 1..9.
  int abscisse() const;
  // Active slots 2..9 other than the abscissa: the curves drawn.
  bool estOrdonnee(int slot) const;
  int compteOrdonnees() const;

  // --- Operations --------------------------------------------------------
  // Sets the point count of a timed scan, moving the active analog inputs
  // to the first analog slots and limiting the count to what the box can
  // sample per point.
  void FixeNombre(std::int32_t n);
  // Font size, room for labels, plotting zone, bands and every scale, for
  // the current `cadre`. Run by `Dessine`.
  void CalculeEchelles(Canvas &canvas);
  // The whole graph inside `cadre` (the caller has filled it with the window
  // colour).
  void Dessine(Canvas &canvas);
  // Points premier..dernier (inclusive) of every curve, over what is drawn.
  void DessinePoints(Canvas &canvas, int premier, int dernier);
  // The marker of curve `indice` at the current values.
  void DessinePointCourant(Canvas &canvas, int indice);
  // The cursor cross of curve `indice` at the current values, in not-xor
  // with a 3-pixel pen: drawing it twice erases it.
  void DessineCroix(Canvas &canvas, int indice);
  // The trigger threshold line in not-xor (drawn twice it goes), with its
  // slope mark, when the trigger is "Seuil" in a timed scan.
  void DessineSeuil(Canvas &canvas);

  // --- The user's view: zoom, reading cursors, overlays ---------------------
  // Back to the settings' full view without cursors: a change of settings, a
  // recording brought back.
  void ReinitialiseVue() { vue.Reinitialise(); }
  // A new recording begins: the view goes back to the full scales, and the
  // recording shown until now joins the earlier runs (when its end did not
  // already keep it).
  void NouvelleAcquisition();
  // The recording shown has ended: kept for later overlays.
  void FinAcquisition();
  // Where the overlaid runs come from: the runs kept in memory unless a
  // history of recordings is given (null goes back to them).
  void FixeSourceSuperpositions(const SourceSuperpositions *source);
  AnneauAcquisitions &anneau() { return m_anneau; }
  // The earlier runs the graph overlays now, the most recent first (the
  // recording on screen is not among them).
  std::vector<const AcquisitionGardee *> Superpositions() const;
  // Where a pixel falls in what is shown, 0 at the left (or the bottom of
  // the band under it) and 1 at the right (or its top), on the graph as
  // last drawn: the paint box zooms around it.
  double FractionX(int px) const;
  double FractionY(int py) const;
  // The threshold code 0..255 (not limited) at pixel row y of the trigger
  // channel's band, through the zoom: the threshold drag follows it.
  double NiveauSeuil(int y) const;
  VueGraphe vue;

  // --- Settings and computed fields ----------------------------------------
  std::int32_t nombre = 128;
  bool Ligne = true;
  bool Points = false;
  std::int32_t nbCourbesY = 0;
  bool placeX = false;
  bool placeY = false;
  bool AxeY = true;
  bool denseX = false;
  bool denseY = false;
  Rect zone;
  Rect cadre;
  std::int32_t largeurCar = 8;
  std::int32_t hauteurPolice = 13;
  std::int32_t marge = 4;
  std::int32_t nbEA = 0;
  std::int32_t k = 1;
  std::int32_t nbPoints = 0;
  std::uint8_t Abscisse = 5;
  bool Grille = false;
  bool AnalLog = false;
  std::uint8_t Mode = kModeTemps;
  bool curseurAffiche = false;
  // Trigger: mode, channel slot, slope (0 rising, 1 falling), threshold code
  // 0..255 and movement tolerance in codes.
  std::uint8_t ModeSynchro = kSynchroClavier;
  std::int32_t VoieSynchro = 5;
  std::uint8_t PenteSynchro = 0;
  std::int32_t Seuil = 127;
  std::int32_t Bouge = 2;
  std::int32_t ySeuil = 0;
  // Half-size of the point markers in pixels.
  std::int32_t DimPoint = 2;
  // Font of the labels (the system's sans-serif stands in when absent).
  std::string NomPolice = "Calibri";

  // The sampling frequency shown by the scan panel, and a free volt unit.
  model::TvoieNonEA Fech{"Fech", "Hz", "fréquence", -1};
  model::Tunite UniteVolt;

 private:
  void DessineAxes(Canvas &canvas);
  void DessineAxeX(Canvas &canvas);
  void DessineAxeXLineaire(Canvas &canvas, int axeY, int limite);
  void DessineAxeXLogarithmique(Canvas &canvas, int axeY, int limite);
  void DessineAxeGauche(Canvas &canvas, int slot);
  void DessineAxeDroit(Canvas &canvas, int slot);
  void DessineZero(Canvas &canvas, int slot);
  void DessineCourbe(Canvas &canvas, int slot, int premier, int dernier);
  void DessineMarqueurs(Canvas &canvas, int slot, int premier, int dernier);
  // The earlier runs and the curves, lines then markers, each over the
  // ones before.
  void DessineCourbes(Canvas &canvas);
  // The pieces of the earlier runs' lines.
  void CollecteSuperpositions();
  // The next curve's pieces in m_traits, emptied.
  TraitsCourbe &NouveauTrait(Rgb couleur);
  void DessineCle(Canvas &canvas);
  void DessineCurseurs(Canvas &canvas);
  // Where the curves may ink: the whole picture, or only the plotting zone
  // once zoomed (the curves then run past the axes).
  Rect ZoneCourbes() const;
  // Label and title texts of an axis.
  std::string TexteGraduation(const TCourbe &c, double v) const;
  std::string TitreAxe(const TCourbe &c) const;
  // The pen of the markers: 3 pixels for few hand-recorded points.
  int LargeurMarqueurs() const;
  // Points 0..nbPoints-1 that the arrays can hold.
  int PointsTenus() const;

  std::array<std::unique_ptr<TCourbe>, kNbCourbes + 1> m_courbes;  // [0] unused
  model::TbaseDeTemps *m_temps;
  model::TsortieAnalogique *m_sortie;
  model::TentreeClavier *m_clavier;
  model::TentreeBinaire *m_binaire;
  model::Tveltor *m_veltor;
  AnneauAcquisitions m_anneau;
  const SourceSuperpositions *m_source = &m_anneau;
  bool m_courantGarde = false;  // the recording on screen is already in m_anneau
  // The pieces of every curve of a repaint, the first m_nbTraits in use;
  // kept from one repaint to the next so that a pan allocates nothing.
  std::vector<TraitsCourbe> m_traits;
  std::size_t m_nbTraits = 0;
};

}  // namespace kvx::display
