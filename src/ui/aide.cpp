// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/aide.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/fichiers_installes.h"
#include "ui/nomme.h"

namespace kvx::ui {

namespace {

// The program has one guide and one help window.
QString g_dossier;
bool g_dossierFixe = false;
QPointer<TAideFenetre> g_fenetre;

QToolButton *Bouton(QWidget *parent, const char *nom, const QString &texte,
                    QStyle::StandardPixmap image) {
  auto *b = Nomme(new QToolButton(parent), nom);
  b->setText(texte);
  b->setIcon(parent->style()->standardIcon(image));
  b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  b->setAutoRaise(true);
  return b;
}

QString PageAbsente(const QString &dossier, const QString &fichier) {
  const QString ou = dossier.isEmpty() ? QStringLiteral("aucun dossier d'aide n'a été trouvé")
                                       : dossier.toHtmlEscaped();
  return QStringLiteral(
             "<h1>Aide introuvable</h1><p>La page <b>%1</b> du guide de l'utilisateur est "
             "absente (%2).</p><p>Le guide est installé avec le programme, dans le dossier "
             "<tt>share/kvx/aide</tt> du préfixe d'installation, ou placé à côté du programme "
             "lors de la construction.</p>")
      .arg(fichier.toHtmlEscaped(), ou);
}

}  // namespace

QString FichierRubrique(int rubrique) {
  if (rubrique <= 0) return QLatin1String(platform::kPageSommaire);
  return QStringLiteral("aide-%1.html").arg(rubrique);
}

TAideFenetre::TAideFenetre(const QString &dossier, QWidget *parent)
    : QWidget(parent, Qt::Window), m_dossier(dossier) {
  setObjectName(QStringLiteral("AideFenetre"));
  setWindowTitle(QStringLiteral("Aide de KVX"));
  // Left open, it must not keep the program running once its window closed.
  setAttribute(Qt::WA_QuitOnClose, false);
  SommaireBtn = Bouton(this, "SommaireBtn", QStringLiteral("&Sommaire"), QStyle::SP_DirHomeIcon);
  PrecedentBtn = Bouton(this, "PrecedentBtn", QStringLiteral("&Précédent"), QStyle::SP_ArrowBack);
  SuivantBtn = Bouton(this, "SuivantBtn", QStringLiteral("Sui&vant"), QStyle::SP_ArrowForward);
  PrecedentBtn->setEnabled(false);
  SuivantBtn->setEnabled(false);
  Navigateur = Nomme(new QTextBrowser(this), "Navigateur");
  // Links out of the guide (the project's page) go to the desktop's browser;
  // links between its pages stay here.
  Navigateur->setOpenExternalLinks(true);
  Navigateur->setSearchPaths({dossier});

  auto *barre = new QHBoxLayout;
  barre->addWidget(SommaireBtn);
  barre->addWidget(PrecedentBtn);
  barre->addWidget(SuivantBtn);
  barre->addStretch(1);
  auto *l = new QVBoxLayout(this);
  l->setContentsMargins(4, 4, 4, 4);
  l->addLayout(barre);
  l->addWidget(Navigateur, 1);
  resize(720, 640);

  connect(SommaireBtn, &QToolButton::clicked, this, [this] { Ouvre(FichierRubrique(0)); });
  connect(PrecedentBtn, &QToolButton::clicked, Navigateur, &QTextBrowser::backward);
  connect(SuivantBtn, &QToolButton::clicked, Navigateur, &QTextBrowser::forward);
  connect(Navigateur, &QTextBrowser::backwardAvailable, PrecedentBtn, &QWidget::setEnabled);
  connect(Navigateur, &QTextBrowser::forwardAvailable, SuivantBtn, &QWidget::setEnabled);
  connect(Navigateur, &QTextBrowser::sourceChanged, this, [this] {
    const QString titre = Navigateur->documentTitle();
    setWindowTitle(titre.isEmpty() ? QStringLiteral("Aide de KVX")
                                   : QStringLiteral("Aide de KVX - ") + titre);
  });
}

void TAideFenetre::Ouvre(const QString &fichier) {
  const QString chemin = m_dossier + QLatin1Char('/') + fichier;
  if (m_dossier.isEmpty() || !QFileInfo(chemin).isFile()) {
    Navigateur->setHtml(PageAbsente(m_dossier, fichier));
    setWindowTitle(QStringLiteral("Aide de KVX"));
    return;
  }
  Navigateur->setSource(QUrl::fromLocalFile(chemin));
}

void TAideFenetre::MontreRubrique(int rubrique) {
  SuitModal();
  const QString fichier = FichierRubrique(rubrique);
  // A topic without its page still leads somewhere: the table of contents.
  const bool existe = QFileInfo(m_dossier + QLatin1Char('/') + fichier).isFile();
  Ouvre(existe ? fichier : FichierRubrique(0));
  show();
  raise();
  activateWindow();
}

QString TAideFenetre::PageCourante() const {
  return QFileInfo(Navigateur->source().toLocalFile()).fileName();
}

// A modal dialog takes every input of the windows that are not its own: the
// help asked from its help button would be shown but deaf. The window is
// therefore the dialog's own while the dialog runs.
void TAideFenetre::SuitModal() {
  QWidget *modal = QApplication::activeModalWidget();
  if (modal == this || modal == m_modal) return;
  if (m_modal) Libere();
  if (modal == nullptr) return;
  const QRect cadre = geometry();
  const bool visible = isVisible();
  setParent(modal, Qt::Window);
  setGeometry(cadre);
  if (visible) show();
  m_modal = modal;
  modal->installEventFilter(this);
}

// Back on its own before the dialog goes, or the window would go with it.
void TAideFenetre::Libere() {
  if (m_modal) m_modal->removeEventFilter(this);
  m_modal = nullptr;
  const QRect cadre = geometry();
  const bool visible = isVisible();
  setParent(nullptr, Qt::Window);
  setGeometry(cadre);
  if (visible) show();
}

bool TAideFenetre::eventFilter(QObject *watched, QEvent *event) {
  if (watched == m_modal && event->type() == QEvent::Hide) Libere();
  return QWidget::eventFilter(watched, event);
}

void FixeDossierAide(const QString &dossier) {
  g_dossier = dossier;
  g_dossierFixe = true;
  // A window made for another folder would keep showing the old pages.
  delete g_fenetre.data();
}

QString DossierAideCourant() {
  if (!g_dossierFixe) {
    g_dossier = platform::DossierAide(QCoreApplication::applicationFilePath());
    g_dossierFixe = true;
  }
  return g_dossier;
}

void MontreAide(int rubrique) {
  if (!g_fenetre) {
    g_fenetre = new TAideFenetre(DossierAideCourant());
    // The window has no owner; it goes with the program.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, g_fenetre.data(),
                     [] { delete g_fenetre.data(); });
  }
  g_fenetre->MontreRubrique(rubrique);
}

TAideFenetre *FenetreAide() {
  return g_fenetre.data();
}

}  // namespace kvx::ui
