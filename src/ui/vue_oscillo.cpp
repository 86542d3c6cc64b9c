// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/vue_oscillo.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRubberBand>
#include <QWheelEvent>
#include <cmath>

#include "display/graphe.h"
#include "display/lecture_curseurs.h"
#include "ui/oscillo.h"
#include "ui/panel_courbe.h"

namespace kvx::ui {

namespace {

// One notch of the wheel shows this part of what was shown.
constexpr double kFacteurCran = 0.8;
constexpr double kCran = 120;  // wheel units of one notch
// A press that moves less than this is a click, not a drag.
constexpr int kSeuilGlisse = 4;

}  // namespace

TVueOscillo::TVueOscillo(TPanelCourbe *panel, display::TgrapheKVX &graphe,
                         std::function<bool(QPoint)> surSeuil)
    : QObject(panel),
      m_panel(panel),
      m_oscillo(panel->Oscillo),
      m_graphe(graphe),
      m_surSeuil(std::move(surSeuil)) {
  m_oscillo->setFocusPolicy(Qt::WheelFocus);  // Home, Escape and the arrows, after a zoom too
  m_oscillo->installEventFilter(this);
  // After every full redraw: a new acquisition or new settings may have
  // dropped the cursors.
  connect(m_oscillo, &TOscillo::redessine, this, &TVueOscillo::MetAJourLectures,
          Qt::QueuedConnection);
}

bool TVueOscillo::eventFilter(QObject *watched, QEvent *event) {
  if (watched != m_oscillo) return false;
  switch (event->type()) {
    case QEvent::Wheel:
      return Molette(event);
    case QEvent::MouseButtonDblClick:
      if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton) return false;
      m_graphe.vue.VueComplete();
      m_geste = Geste::Aucun;
      Redessine();
      return true;
    case QEvent::MouseButtonPress:
      return Appui(event);
    case QEvent::MouseMove:
      return Bouge(event);
    case QEvent::MouseButtonRelease:
      return Relache(event);
    case QEvent::KeyPress:
      return Touche(event);
    default:
      return false;
  }
}

bool TVueOscillo::Molette(QEvent *event) {
  auto *e = static_cast<QWheelEvent *>(event);
  // Shift turns the wheel sideways on some desktops.
  const int delta = e->angleDelta().y() != 0 ? e->angleDelta().y() : e->angleDelta().x();
  if (delta == 0) return true;
  const double facteur = std::pow(kFacteurCran, delta / kCran);
  const QPoint p = e->position().toPoint();
  if (e->modifiers() & Qt::ShiftModifier)
    m_graphe.vue.ZoomeY(m_graphe.FractionY(p.y()), facteur);
  else
    m_graphe.vue.ZoomeX(m_graphe.FractionX(p.x()), facteur);
  Redessine();
  return true;
}

bool TVueOscillo::Appui(QEvent *event) {
  auto *e = static_cast<QMouseEvent *>(event);
  m_depart = m_dernier = e->position().toPoint();
  m_shift = e->modifiers() & Qt::ShiftModifier;
  if (e->button() == Qt::MiddleButton || e->button() == Qt::RightButton) {
    m_geste = Geste::Deplacement;
    m_oscillo->setCursor(Qt::ClosedHandCursor);
    return true;
  }
  if (e->button() != Qt::LeftButton) return false;
  if (m_surSeuil(m_depart)) {
    m_geste = Geste::Aucun;
    return false;  // the threshold's own drag
  }
  if (e->modifiers() & Qt::ControlModifier) {
    m_geste = Geste::Rectangle;
    if (!m_elastique) m_elastique = new QRubberBand(QRubberBand::Rectangle, m_oscillo);
    m_elastique->setGeometry(QRect(m_depart, QSize()));
    m_elastique->show();
    return true;
  }
  m_geste = Geste::Clic;
  return false;
}

bool TVueOscillo::Bouge(QEvent *event) {
  auto *e = static_cast<QMouseEvent *>(event);
  const QPoint p = e->position().toPoint();
  switch (m_geste) {
    case Geste::Rectangle:
      m_elastique->setGeometry(QRect(m_depart, p).normalized());
      return true;
    case Geste::Deplacement: {
      const display::Rect &z = m_graphe.zone;
      const int l = std::max(1, z.right - z.left), h = std::max(1, z.bottom - z.top);
      m_graphe.vue.DeplaceX(-double(p.x() - m_dernier.x()) / l);
      m_graphe.vue.DeplaceY(double(p.y() - m_dernier.y()) / h);
      m_dernier = p;
      Redessine();
      return true;
    }
    default:
      return false;
  }
}

bool TVueOscillo::Relache(QEvent *event) {
  auto *e = static_cast<QMouseEvent *>(event);
  const QPoint p = e->position().toPoint();
  const Geste geste = m_geste;
  m_geste = Geste::Aucun;
  switch (geste) {
    case Geste::Rectangle: {
      m_elastique->hide();
      const QRect r = QRect(m_depart, p).normalized();
      if (r.width() >= kSeuilGlisse)
        m_graphe.vue.CadreX(m_graphe.FractionX(r.left()), m_graphe.FractionX(r.right()));
      if (r.height() >= kSeuilGlisse)
        m_graphe.vue.CadreY(m_graphe.FractionY(r.bottom()), m_graphe.FractionY(r.top()));
      Redessine();
      return true;
    }
    case Geste::Deplacement:
      m_oscillo->unsetCursor();
      return true;
    case Geste::Clic: {
      if ((p - m_depart).manhattanLength() >= kSeuilGlisse) return false;
      const int i = display::PointLePlusProche(m_graphe, p.x());
      if (i < 0) return false;
      m_graphe.vue.PlaceCurseur(m_shift ? display::CurseurLecture::B : display::CurseurLecture::A,
                                i);
      Redessine();
      return true;
    }
    default:
      return false;
  }
}

bool TVueOscillo::Touche(QEvent *event) {
  auto *e = static_cast<QKeyEvent *>(event);
  display::VueGraphe &vue = m_graphe.vue;
  switch (e->key()) {
    case Qt::Key_Home:
      vue.VueComplete();
      break;
    case Qt::Key_Escape:
      if (!vue.curseurPlace(display::CurseurLecture::A) &&
          !vue.curseurPlace(display::CurseurLecture::B))
        return false;
      vue.EnleveCurseurs();
      break;
    case Qt::Key_Left:
    case Qt::Key_Right:
      if (!vue.curseurPlace(vue.actif())) return false;
      vue.DeplaceCurseur(e->key() == Qt::Key_Left ? -1 : 1, m_graphe.nbPoints);
      break;
    default:
      return false;
  }
  Redessine();
  return true;
}

void TVueOscillo::Redessine() {
  m_oscillo->Invalide();
  MetAJourLectures();
}

namespace {

// The readings as a table of the first `colonnes` columns: a row a
// quantity, a column a cursor, then Δ and the slope.
QString TableHtml(const std::vector<std::vector<std::string>> &lignes, std::size_t colonnes) {
  if (lignes.empty()) return {};
  QString table = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\">");
  for (std::size_t r = 0; r < lignes.size(); ++r) {
    table += QStringLiteral("<tr>");
    for (std::size_t c = 0; c < std::min(colonnes, lignes[r].size()); ++c) {
      const QString texte = QString::fromStdString(lignes[r][c]).toHtmlEscaped();
      // Room between the columns of figures.
      const QString style = c == 0 ? QString() : QStringLiteral(" style=\"padding-left:8px\"");
      if (r == 0 || c == 0)
        table += QStringLiteral("<th align=\"%1\"%2>%3</th>")
                     .arg(c == 0 ? QStringLiteral("left") : QStringLiteral("right"), style, texte);
      else
        table += QStringLiteral("<td align=\"right\"%1>%2</td>").arg(style, texte);
    }
    table += QStringLiteral("</tr>");
  }
  return table + QStringLiteral("</table>");
}

}  // namespace

void TVueOscillo::MetAJourLectures() {
  m_graphe.vue.LimiteCurseurs(std::max(0, m_graphe.nbPoints));
  const display::LectureCurseurs l = display::LitCurseurs(m_graphe);
  // Where the plot lies and the cursor lines stand, so the readings cover
  // neither.
  const display::Rect z = m_graphe.zone;
  const QRect zone = QRect(QPoint(z.left, z.top), QPoint(z.right, z.bottom))
                         .translated(m_oscillo->geometry().topLeft());
  std::vector<int> curseurs;
  const display::TCourbe &x = m_graphe.courbe(m_graphe.abscisse());
  for (std::size_t c = 0; c < 2; ++c)
    if (l.place[c]) {
      const int px = x.Ecran(l.abscisse[c]);
      if (px != display::kHorsEcran) curseurs.push_back(px + m_oscillo->x());
    }
  // On a small graph the table turns (a column a quantity) when that fits
  // better, and failing that its last columns (slope, then Δ) give way
  // rather than be cut.
  auto lignes = display::TableauLectures(m_graphe, l);
  if (lignes == m_lignes && zone.width() == m_largeurLectures) {
    m_panel->AfficheLectures(m_table, zone, curseurs);
    return;
  }
  QLabel mesure;
  mesure.setFont(m_panel->LecturesCurseurs->font());
  mesure.setMargin(m_panel->LecturesCurseurs->margin());
  mesure.setFrameShape(m_panel->LecturesCurseurs->frameShape());
  auto tient = [&](const QString &t) {
    mesure.setText(t);
    return mesure.sizeHint().width() <= zone.width() - 8;
  };
  std::size_t colonnes = lignes.empty() ? 0 : lignes.front().size();
  QString table = TableHtml(lignes, colonnes);
  if (colonnes > 3 && !tient(table)) {
    std::vector<std::vector<std::string>> tournee(colonnes);
    for (std::size_t c = 0; c < colonnes; ++c)
      for (const auto &ligne : lignes) tournee[c].push_back(c < ligne.size() ? ligne[c] : "");
    const QString autre = TableHtml(tournee, lignes.size());
    if (tient(autre)) {
      table = autre;
    } else {
      do table = TableHtml(lignes, --colonnes);
      while (colonnes > 3 && !tient(table));
    }
  }
  m_lignes = std::move(lignes);
  m_largeurLectures = zone.width();
  m_table = table;
  m_panel->AfficheLectures(table, zone, curseurs);
}

}  // namespace kvx::ui
