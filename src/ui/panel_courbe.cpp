// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel_courbe.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/hints.h"
#include "ui/oscillo.h"

namespace kvx::ui {

namespace {

constexpr int kLargeurAbsent = 257;
constexpr int kHauteurAbsent = 137;

}  // namespace

TPanelCourbe::TPanelCourbe(QWidget *parent) : QWidget(parent), Oscillo(new TOscillo(this)) {
  setObjectName(QStringLiteral("PanelCourbe"));
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
  CreeNuvexAbsent();
  LecturesCurseurs = new QLabel(this);
  LecturesCurseurs->setObjectName(QStringLiteral("LecturesCurseurs"));
  LecturesCurseurs->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  LecturesCurseurs->setTextFormat(Qt::RichText);
  // Clicks go through to the graph: a cursor can be placed under the
  // readings too.
  LecturesCurseurs->setAttribute(Qt::WA_TransparentForMouseEvents);
  LecturesCurseurs->setFrameShape(QFrame::StyledPanel);
  LecturesCurseurs->setMargin(4);
  // Nearly opaque: the curves under it do not blur the figures.
  LecturesCurseurs->setAutoFillBackground(true);
  QPalette fond = LecturesCurseurs->palette();
  fond.setColor(QPalette::Window, QColor(255, 255, 255, 235));
  LecturesCurseurs->setPalette(fond);
  LecturesCurseurs->hide();
}

void TPanelCourbe::AfficheLectures(const QString &texte, const QRect &zone,
                                   const std::vector<int> &curseurs) {
  const bool pareil = texte == LecturesCurseurs->text() &&
                      LecturesCurseurs->isHidden() == texte.isEmpty() && zone == m_zone &&
                      curseurs == m_curseurs;
  if (pareil) return;
  LecturesCurseurs->setText(texte);
  LecturesCurseurs->setVisible(!texte.isEmpty());
  m_zone = zone;
  m_curseurs = curseurs;
  Dispose();
}

void TPanelCourbe::Dispose() {
  Oscillo->setGeometry(rect());
  if (!LecturesCurseurs->isVisibleTo(this)) return;
  const QRect zone = m_zone.isValid() ? m_zone.intersected(rect()) : rect();
  constexpr int kRetrait = 4;
  const QSize voulue = LecturesCurseurs->sizeHint();
  const int largeur = std::max(0, std::min(voulue.width(), zone.width() - 2 * kRetrait));
  const int hauteur = std::max(0, std::min(voulue.height(), zone.height() - 2 * kRetrait));
  const QRect droite(zone.right() - kRetrait - largeur + 1, zone.top() + kRetrait, largeur,
                     hauteur);
  const QRect gauche(zone.left() + kRetrait, zone.top() + kRetrait, largeur, hauteur);
  auto cache = [this](const QRect &r) {
    return std::any_of(m_curseurs.begin(), m_curseurs.end(),
                       [&r](int x) { return x >= r.left() - 2 && x <= r.right() + 2; });
  };
  LecturesCurseurs->setGeometry(cache(droite) && !cache(gauche) ? gauche : droite);
  LecturesCurseurs->raise();
}

void TPanelCourbe::CreeNuvexAbsent() {
  NuvexAbsent = new QFrame(this);
  NuvexAbsent->setObjectName(QStringLiteral("NuvexAbsent"));
  NuvexAbsent->setGeometry(8, 8, kLargeurAbsent, kHauteurAbsent);
  NuvexAbsent->setFrameShape(QFrame::Panel);
  NuvexAbsent->setFrameShadow(QFrame::Raised);
  NuvexAbsent->setAutoFillBackground(true);
  QPalette p = NuvexAbsent->palette();
  p.setColor(QPalette::Window, Qt::red);
  p.setColor(QPalette::WindowText, Qt::white);
  NuvexAbsent->setPalette(p);

  auto *titre = new QLabel(QStringLiteral("Nuvex KVX non trouvé"), NuvexAbsent);
  titre->setObjectName(QStringLiteral("Label6"));
  QFont f = titre->font();
  f.setBold(true);
  titre->setFont(f);
  ComBtn = new QPushButton(QStringLiteral("Verifier puis cliquer ici"), NuvexAbsent);
  ComBtn->setObjectName(QStringLiteral("ComBtn"));
  FixeHint(ComBtn, QStringLiteral("Test KVX|Recherche Nuvex KVX sur Comi"));
  EscapeBtn = new QPushButton(QStringLiteral("Abandon"), NuvexAbsent);
  EscapeBtn->setObjectName(QStringLiteral("EscapeBtn"));
  Label7 = new QLabel(QStringLiteral("Eteindre Nuvex KVX puis rallumer"), NuvexAbsent);
  Label7->setObjectName(QStringLiteral("Label7"));
  Label7->setWordWrap(true);
  Label7->setAlignment(Qt::AlignHCenter);
  Label8 = new QLabel(QStringLiteral("Téléchargement Veltor en cours"), NuvexAbsent);
  Label8->setObjectName(QStringLiteral("Label8"));
  Label8->hide();

  auto *l = new QVBoxLayout(NuvexAbsent);
  l->setContentsMargins(8, 6, 8, 6);
  l->setSpacing(4);
  l->addWidget(titre, 0, Qt::AlignHCenter);
  l->addWidget(Label7);
  l->addWidget(ComBtn);
  l->addWidget(EscapeBtn);
  l->addWidget(Label8, 0, Qt::AlignHCenter);
  // Shown by the box search when nothing answered.
  NuvexAbsent->hide();
}

void TPanelCourbe::FixeConseil(const QString &conseil) {
  if (Label7->text() == conseil) return;
  Label7->setText(conseil);
  const int hauteur = NuvexAbsent->layout()->totalHeightForWidth(kLargeurAbsent);
  NuvexAbsent->resize(kLargeurAbsent, std::max(kHauteurAbsent, hauteur));
}

void TPanelCourbe::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  Dispose();
  NuvexAbsent->raise();
}

}  // namespace kvx::ui
