// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel_voies.h"

#include <QFontMetrics>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/hints.h"

namespace kvx::ui {

namespace {

struct DescriptionBoite {
  const char *nom;
  const char *label;
  int slot;
  const char *titre;
};

// Top to bottom: the optical fork and the binary inputs above V4..V1, so that
// V1, the input used most, sits at the bottom next to the status bar.
constexpr DescriptionBoite kBoites[] = {
    {"GroupBox3", "Label4", 9, "Fourche optique"},
    {"EntreeBinGB", "EbinLabel", 4, "Entrées binaires"},
    {"GroupBox2", "Label3", 8, "V4"},
    {"GroupBox1", "Label2", 7, "V3"},
    {"GroupBox4", "Label5", 6, "V2"},
    {"GroupBox5", "Label1", 5, "V1"},
};

QFont Police(const char *famille, const TaillePolice &t, bool gras = false) {
  QFont f(QString::fromLatin1(famille));
  f.setStyleHint(QString::fromLatin1(famille).startsWith(QLatin1String("Courier"))
                     ? QFont::TypeWriter
                     : QFont::SansSerif);
  if (t.enPixels)
    f.setPixelSize(std::max(t.valeur, 1));
  else
    f.setPointSize(std::max(t.valeur, 1));
  f.setBold(gras);
  return f;
}

}  // namespace

TcadreVoie::TcadreVoie(const QString &nom, const QString &nomLabel, int slot, QWidget *parent)
    : QGroupBox(parent), m_slot(slot), m_afficheur(new QLabel(this)) {
  setObjectName(nom);
  setProperty("tag", slot);
  m_afficheur->setObjectName(nomLabel);
  m_afficheur->setProperty("tag", slot);
  m_afficheur->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setAutoFillBackground(true);
  FixeHint(this, slot == 9 ? QStringLiteral("|Cliquer pour paramètrer Veltor")
                           : QStringLiteral("|Cliquer pour paramètrer la voie"));
}

void TcadreVoie::FixeNumero(int slot) {
  m_slot = slot;
  setProperty("tag", slot);
  m_afficheur->setProperty("tag", slot);
}

void TcadreVoie::FixeHautLabel(int haut) {
  m_hautLabel = haut;
  placeLabel();
}

void TcadreVoie::resizeEvent(QResizeEvent *event) {
  QGroupBox::resizeEvent(event);
  placeLabel();
}

void TcadreVoie::placeLabel() {
  const int h = std::max(height() - m_hautLabel - 2, 0);
  m_afficheur->setGeometry(4, m_hautLabel, std::max(width() - 8, 0), h);
}

TPanelVoies::TPanelVoies(QWidget *parent) : QWidget(parent), m_masse(new QLabel(this)) {
  setObjectName(QStringLiteral("PanelVoies"));
  auto *l = new QVBoxLayout(this);
  l->setContentsMargins(2, 2, 2, 2);
  l->setSpacing(2);
  m_masse->setObjectName(QStringLiteral("MasseLabel"));
  m_masse->setAlignment(Qt::AlignCenter);
  QPalette p = m_masse->palette();
  p.setColor(QPalette::WindowText, Qt::red);
  m_masse->setPalette(p);
  m_masse->setText(QStringLiteral("Ref Alt"));
  l->addWidget(m_masse);
  l->addStretch(1);
  for (const DescriptionBoite &d : kBoites) {
    auto *c =
        new TcadreVoie(QString::fromLatin1(d.nom), QString::fromLatin1(d.label), d.slot, this);
    c->setTitle(QString::fromUtf8(d.titre));
    m_cadres[d.slot - kPremiereBoite] = c;
    l->addWidget(c);
  }
}

TcadreVoie *TPanelVoies::cadre(int slot) const {
  for (TcadreVoie *c : m_cadres)
    if (c->slot() == slot) return c;
  return m_cadres[static_cast<std::size_t>(std::clamp(slot, kPremiereBoite, kDerniereBoite) -
                                           kPremiereBoite)];
}

int TPanelVoies::LargeurNecessaire() const {
  int largeur = 0;
  for (const TcadreVoie *c : m_cadres) {
    if (c->isHidden()) continue;
    // The group box draws its caption inside its frame, a few pixels in.
    const int titre = QFontMetrics(c->font()).horizontalAdvance(c->title()) + 8;
    // The widest read-out of a range: sign, three digits, separator, three.
    const int valeur =
        QFontMetrics(c->afficheur()->font()).horizontalAdvance(QStringLiteral("-888.888")) + 12;
    largeur = std::max({largeur, titre, valeur});
  }
  const QMargins marges = layout()->contentsMargins();
  return largeur + marges.left() + marges.right();
}

void TPanelVoies::Applique(const SortiesBoites &sorties,
                           const std::array<QColor, kNbBoites> &couleurs) {
  for (int i = 0; i < kNbBoites; ++i) {
    TcadreVoie *c = cadre(kPremiereBoite + i);
    const SortieBoite &s = sorties[i];
    QPalette p = c->palette();
    p.setColor(QPalette::Window, s.blanche ? QColor(Qt::white) : palette().color(QPalette::Button));
    const QColor texte = s.blanche ? couleurs[i] : palette().color(QPalette::WindowText);
    p.setColor(QPalette::WindowText, texte);
    c->setPalette(p);
    c->setFixedHeight(s.hauteur);
    c->setFont(Police("Calibri", s.titre));
    if (s.changeLabel) {
      c->afficheur()->setFont(Police(s.valeurCourierNew ? "Courier New" : "Courier", s.valeur));
      c->FixeHautLabel(s.hautLabel);
    }
    QPalette pl = c->afficheur()->palette();
    pl.setColor(QPalette::WindowText, texte);
    c->afficheur()->setPalette(pl);
  }
}

}  // namespace kvx::ui
