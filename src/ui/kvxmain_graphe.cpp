// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of the graph: the paint box, the live cursor
// crosses, the read-outs of the channels and the threshold drag.
#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QStatusTipEvent>
#include <algorithm>
#include <cmath>

#include "display/couleurs.h"
#include "display/graphe.h"
#include "platform/qpainter_canvas.h"
#include "ui/kvxmain.h"
#include "ui/oscillo.h"
#include "ui/panel_courbe.h"
#include "ui/panel_mode.h"
#include "ui/panel_voies.h"
#include "ui/vue_oscillo.h"

namespace kvx::ui {

namespace {

constexpr int kSeuilMin = 9;  // the trigger cannot fire on a level the input never leaves
constexpr int kSeuilMax = 246;
constexpr int kPriseSeuil = 4;  // pixels around the threshold line that catch the pointer

display::Size Taille(const QWidget *w) {
  return {w->width(), w->height()};
}

}  // namespace

int TKVXmainForm::ModeAcquisition() const {
  return m_graphe->Mode;
}

int TKVXmainForm::ModeSynchro() const {
  return m_graphe->ModeSynchro;
}

void TKVXmainForm::CreeGraphe() {
  m_graphe = std::make_unique<display::TgrapheKVX>();
  // Each channel owns its box: when the graph gathers the active inputs into
  // the first slots, the boxes keep their places in the column and learn the
  // slot their channel went to.
  for (int slot = kPremiereBoite; slot <= kDerniereBoite; ++slot)
    m_graphe->courbe(slot).cadreVoie = PanelVoies->cadre(slot);
  TOscillo *o = PanelCourbe->Oscillo;
  o->FixePeintre([this](QPainter &p, const QRect &cadre) { OscilloPaint(p, cadre); });
  connect(o, &TOscillo::souris, this, &TKVXmainForm::OscilloSouris);
  new TVueOscillo(PanelCourbe, *m_graphe, [this](QPoint pos) { return SurSeuil(pos); });
  // Earlier runs behind the current one; an export carries them only when
  // asked.
  Menu->addSeparator();
  QAction *superposer = Menu->addAction(QStringLiteral("Superposer les acquisitions"));
  superposer->setObjectName(QStringLiteral("SuperposerItem"));
  superposer->setCheckable(true);
  connect(superposer, &QAction::toggled, this, [this](bool b) {
    if (b) MomentHistorique(Moment::Superposition);
    m_graphe->vue.superposer = b;
    RedessineGraphe();
  });
  QAction *exporter = Menu->addAction(QStringLiteral("Exporter avec les superpositions"));
  exporter->setObjectName(QStringLiteral("ExporterSuperpositionsItem"));
  exporter->setCheckable(true);
  connect(exporter, &QAction::toggled, this,
          [this](bool b) { m_graphe->vue.exporterSuperpositions = b; });
}

bool TKVXmainForm::SurSeuil(QPoint pos) const {
  const display::TgrapheKVX &g = *m_graphe;
  return g.ModeSynchro == display::kSynchroSeuil && g.Mode == display::kModeTemps &&
         std::abs(pos.y() - g.ySeuil) < kPriseSeuil;
}

void TKVXmainForm::OscilloPaint(QPainter &p, const QRect &cadre) {
  display::TgrapheKVX &g = *m_graphe;
  g.cadre = {0, 0, cadre.width(), cadre.height()};
  platform::QPainterCanvas canvas(p, {cadre.width(), cadre.height()});
  g.Dessine(canvas);
  m_deplaceSeuil = false;
  // The crosses start from the last values read from the box; a cross at
  // mid-range would be a value the box never gave.
  for (int slot = 1; slot <= display::kNbCourbes; ++slot) {
    model::Tvoie &v = g.voie(slot);
    v.valeurCourante = v.valeurLue;
  }
  if (g.Mode == display::kModeTemps || g.Mode == display::kModeVeltor || Acquiert()) return;
  // As `AfficheCurseur`: the read-outs with the crosses, so that a window
  // uncovered or resized never shows crosses beside blank read-outs.
  for (int slot = kPremiereBoite; slot <= kDerniereBoite; ++slot)
    if (g.voie(slot).Active) AfficheValeur(slot);
  TraceCroix(canvas, true);
}

void TKVXmainForm::TraceCroix(display::Canvas &canvas, bool affiche) {
  display::TgrapheKVX &g = *m_graphe;
  if (g.curseurAffiche == affiche) return;
  for (int slot = 2; slot <= display::kNbCourbes; ++slot)
    if (g.estOrdonnee(slot)) g.DessineCroix(canvas, slot);
  g.curseurAffiche = affiche;
}

void TKVXmainForm::SurOscillo(const std::function<void(display::Canvas &)> &dessin) {
  TOscillo *o = PanelCourbe->Oscillo;
  o->MetAJour();  // a pending full redraw first, so the crosses' state is the image's
  o->DessineSur([&](QPainter &p) {
    platform::QPainterCanvas canvas(p, Taille(o));
    dessin(canvas);
  });
}

void TKVXmainForm::AfficheCurseur() {
  for (int slot = kPremiereBoite; slot <= kDerniereBoite; ++slot)
    if (m_graphe->voie(slot).Active) AfficheValeur(slot);
  SurOscillo([this](display::Canvas &c) { TraceCroix(c, true); });
}

void TKVXmainForm::EffaceCurseur() {
  SurOscillo([this](display::Canvas &c) { TraceCroix(c, false); });
}

void TKVXmainForm::DessinePoints(int premier, int dernier) {
  SurOscillo([&](display::Canvas &c) { m_graphe->DessinePoints(c, premier, dernier); });
}

void TKVXmainForm::RedessineGraphe() {
  PanelCourbe->Oscillo->Invalide();
}

void TKVXmainForm::AfficheValeur(int slot) {
  const QString texte = QString::fromStdString(m_graphe->voie(slot).TexteValeurCourante());
  if (slot >= kPremiereBoite && slot <= kDerniereBoite)
    PanelVoies->cadre(slot)->afficheur()->setText(texte);
  else if (slot == 2)
    PanelMode->LabelSA->setText(texte);
}

EntreesBoites TKVXmainForm::EntreesAfficheurs() const {
  EntreesBoites e;
  for (int slot = kPremiereBoite; slot <= kDerniereBoite; ++slot) {
    EntreeBoite &b = e[slot - kPremiereBoite];
    b.visible = m_graphe->voie(slot).Active;
    b.longueurTitre = static_cast<int>(PanelVoies->cadre(slot)->title().size());
  }
  return e;
}

std::array<QColor, kNbBoites> TKVXmainForm::CouleursAfficheurs() const {
  std::array<QColor, kNbBoites> c;
  for (int slot = kPremiereBoite; slot <= kDerniereBoite; ++slot) {
    const display::Rgb rgb = display::CouleurCourbe(m_graphe->voie(slot).Couleur);
    c[slot - kPremiereBoite] = QColor(rgb.r, rgb.g, rgb.b);
  }
  return c;
}

void TKVXmainForm::OscilloSouris(QEvent::Type type, QPoint pos, Qt::MouseButtons boutons) {
  display::TgrapheKVX &g = *m_graphe;
  if (g.ModeSynchro != display::kSynchroSeuil || g.Mode != display::kModeTemps) return;
  TOscillo *o = PanelCourbe->Oscillo;
  const bool pres = SurSeuil(pos);
  switch (type) {
    case QEvent::MouseMove:
      if (m_deplaceSeuil && (boutons & Qt::LeftButton)) {
        SuitSeuil(pos.y());
      } else {
        o->setCursor(pres ? Qt::SplitVCursor : Qt::ArrowCursor);
        const QString hint = pres ? QStringLiteral("Seuil de déclenchement") : QString();
        if (hint != o->statusTip()) {
          o->setStatusTip(hint);
          QStatusTipEvent titre(hint);
          QCoreApplication::sendEvent(o, &titre);
        }
      }
      break;
    case QEvent::MouseButtonPress:
      m_deplaceSeuil = pres;
      break;
    case QEvent::MouseButtonRelease:
      if (m_deplaceSeuil) {
        SuitSeuil(pos.y());
        m_deplaceSeuil = false;
        SeuilDeplace();
      }
      break;
    default:
      break;
  }
}

void TKVXmainForm::SuitSeuil(int y) {
  display::TgrapheKVX &g = *m_graphe;
  const display::TCourbe &c = g.courbe(g.VoieSynchro);
  if (c.haut == c.bas) return;
  // Held at the last usable level when the pointer runs past the band; a
  // zoomed view reads the level through its own scale.
  const double niveauBrut = g.NiveauSeuil(y);
  if (std::isnan(niveauBrut)) return;
  const long brut = std::lround(std::clamp(niveauBrut, -1e6, 1e6));
  const int niveau = static_cast<int>(std::clamp<long>(brut, kSeuilMin, kSeuilMax));
  if (niveau == g.Seuil) return;
  SurOscillo([&](display::Canvas &canvas) {
    g.DessineSeuil(canvas);  // not-xor: the old line goes
    g.Seuil = niveau;
    g.DessineSeuil(canvas);
  });
}

}  // namespace kvx::ui
