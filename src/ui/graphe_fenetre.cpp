// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/graphe_fenetre.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>

#include "display/graphe_rapport.h"
#include "platform/graphe_image.h"
#include "ui/configuration_fenetre.h"
#include "ui/dialogue_modal.h"
#include "ui/kvxmain.h"
#include "ui/oscillo.h"
#include "ui/panel_courbe.h"

namespace kvx::ui {

namespace {

constexpr int kTailleMin = 100;
constexpr int kTailleMax = 10000;

// The size of a PNG: the window's graph, or what the user types.
bool ChoisitTaille(QWidget *parent, QSize &taille) {
  QDialog dialogue(parent);
  dialogue.setWindowTitle(QStringLiteral("Taille de l'image"));
  auto *formulaire = new QFormLayout(&dialogue);
  auto *largeur = new QSpinBox(&dialogue);
  auto *hauteur = new QSpinBox(&dialogue);
  largeur->setObjectName(QStringLiteral("LargeurSE"));
  hauteur->setObjectName(QStringLiteral("HauteurSE"));
  for (QSpinBox *s : {largeur, hauteur}) {
    s->setRange(kTailleMin, kTailleMax);
    s->setSuffix(QStringLiteral(" pixels"));
  }
  largeur->setValue(taille.width());
  hauteur->setValue(taille.height());
  formulaire->addRow(QStringLiteral("Largeur"), largeur);
  formulaire->addRow(QStringLiteral("Hauteur"), hauteur);
  auto *boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialogue);
  QObject::connect(boutons, &QDialogButtonBox::accepted, &dialogue, &QDialog::accept);
  QObject::connect(boutons, &QDialogButtonBox::rejected, &dialogue, &QDialog::reject);
  formulaire->addRow(boutons);
  if (ExecuteModal(dialogue, QDialog::Rejected) != QDialog::Accepted) return false;
  taille = QSize(largeur->value(), hauteur->value());
  return true;
}

QString ChoisitFichierGraphe(QWidget *parent, QSize &taille) {
  const QString png = QString::fromUtf8(kFiltrePng), svg = QString::fromUtf8(kFiltreSvg),
                pdf = QString::fromUtf8(kFiltrePdf);
  QFileDialog dialogue(parent, QStringLiteral("Enregistrer le graphe"), QString(),
                       png + QStringLiteral(";;") + svg + QStringLiteral(";;") + pdf);
  dialogue.setAcceptMode(QFileDialog::AcceptSave);
  dialogue.setFileMode(QFileDialog::AnyFile);
  dialogue.setDefaultSuffix(QStringLiteral("png"));
  dialogue.setOption(QFileDialog::DontUseNativeDialog);
  QObject::connect(&dialogue, &QFileDialog::filterSelected, &dialogue,
                   [&dialogue, svg, pdf](const QString &filtre) {
                     dialogue.setDefaultSuffix(filtre == svg   ? QStringLiteral("svg")
                                               : filtre == pdf ? QStringLiteral("pdf")
                                                               : QStringLiteral("png"));
                   });
  if (ExecuteModal(dialogue, QDialog::Rejected) != QDialog::Accepted ||
      dialogue.selectedFiles().isEmpty())
    return QString();
  const QString fichier = dialogue.selectedFiles().constFirst();
  // A drawing has no pixels to count; a picture is the size asked.
  if (platform::FormatGrapheDuFichier(fichier) == platform::FormatGraphe::Png &&
      !ChoisitTaille(parent, taille))
    return QString();
  return fichier;
}

bool Imprime(QWidget *parent, const std::function<bool(QPagedPaintDevice &)> &imprime) {
  QPrinter imprimante(QPrinter::HighResolution);
  imprimante.setPageOrientation(QPageLayout::Landscape);
  imprimante.setDocName(QStringLiteral("Graphe KVX"));
  QPrintDialog dialogue(&imprimante, parent);
  dialogue.setWindowTitle(QStringLiteral("Imprimer le graphe"));
  if (ExecuteModal(dialogue, QDialog::Rejected) != QDialog::Accepted) return false;
  return imprime(imprimante);
}

}  // namespace

DialoguesGraphe DialoguesGraphe::Standard() {
  DialoguesGraphe d;
  d.enregistrer = &ChoisitFichierGraphe;
  d.imprimer = &Imprime;
  d.message = [](QWidget *parent, const QString &message) {
    MontreMessage(parent, QMessageBox::Warning, QString::fromUtf8(kTitreFenetre), message);
  };
  return d;
}

TGrapheFenetre::TGrapheFenetre(TKVXmainForm &fenetre, const TPage &page, DialoguesGraphe dialogues)
    : QObject(&fenetre), m_fenetre(fenetre), m_page(page), m_dialogues(std::move(dialogues)) {}

std::string TGrapheFenetre::Legende() const {
  // The moment of the picture stands for the recording's, which the graph
  // does not keep.
  const QString date = QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"));
  return display::LegendeGraphe(m_page.constanteComm, date.toStdString());
}

QSize TGrapheFenetre::TailleFenetre() const {
  const QSize taille = m_fenetre.PanelCourbe->Oscillo->size();
  return taille.isEmpty() ? QSize(800, 600) : taille;
}

void TGrapheFenetre::EnregistreGrapheClick() {
  QSize taille = TailleFenetre();
  const QString fichier = m_dialogues.enregistrer(&m_fenetre, taille);
  if (fichier.isEmpty()) return;
  QString erreur;
  {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    erreur = platform::EnregistreGraphe(fichier, m_fenetre.graphe(), taille, Legende());
    QApplication::restoreOverrideCursor();
  }
  if (!erreur.isEmpty()) m_dialogues.message(&m_fenetre, erreur);
}

void TGrapheFenetre::CopieGrapheClick() {
  QGuiApplication::clipboard()->setImage(
      platform::ImageGraphe(m_fenetre.graphe(), TailleFenetre(), Legende()));
}

void TGrapheFenetre::ImprimeGrapheClick() {
  const std::string legende = Legende();
  const QSize taille = TailleFenetre();
  m_dialogues.imprimer(&m_fenetre, [&](QPagedPaintDevice &page) {
    return platform::ImprimeGraphe(m_fenetre.graphe(), page, taille, legende);
  });
}

TGrapheFenetre *RelieGraphe(TKVXmainForm &fenetre, const TPage &page, DialoguesGraphe dialogues) {
  auto *g = new TGrapheFenetre(fenetre, page, std::move(dialogues));
  for (QAction *a :
       {fenetre.EnregistreGrapheItem, fenetre.CopieGrapheItem, fenetre.ImprimeGrapheItem})
    a->setEnabled(true);
  QObject::connect(fenetre.EnregistreGrapheItem, &QAction::triggered, g,
                   &TGrapheFenetre::EnregistreGrapheClick);
  QObject::connect(fenetre.CopieGrapheItem, &QAction::triggered, g,
                   &TGrapheFenetre::CopieGrapheClick);
  QObject::connect(fenetre.ImprimeGrapheItem, &QAction::triggered, g,
                   &TGrapheFenetre::ImprimeGrapheClick);
  return g;
}

}  // namespace kvx::ui
