// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/historique_fenetre.h"

#include <QAction>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QSessionManager>
#include <QUrl>
#include <algorithm>
#include <functional>
#include <string_view>

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "model/voie.h"
#include "ui/dialogue_modal.h"
#include "ui/session.h"

namespace kvx::ui {

namespace {

// The close keeps the last recording within its two seconds; the rest of
// the closing sequence needs the remainder.
constexpr int kAttenteFermetureMs = 1500;
constexpr std::size_t kEmpreintesGardees = 32;
constexpr std::size_t kElementsMenu = 20;

std::size_t Melange(std::size_t graine, std::size_t valeur) {
  return graine ^ (valeur + 0x9e3779b97f4a7c15ull + (graine << 6) + (graine >> 2));
}

template <class T>
std::size_t EmpreinteOctets(const std::vector<T> &v) {
  return std::hash<std::string_view>()(
      std::string_view(reinterpret_cast<const char *>(v.data()), v.size() * sizeof(T)));
}

// The same curve seen at two moments (ended, then cleared) is one recording.
std::size_t Empreinte(const exchange::Enregistrement &e) {
  std::size_t h = Melange(static_cast<std::size_t>(e.mode), static_cast<std::size_t>(e.nbPoints));
  for (const auto &c : e.colonnes) {
    // Point by point numbers the time base when the data leave: not a change.
    if (e.mode == display::kModePointParPoint && c.slot == 1) continue;
    h = Melange(Melange(h, static_cast<std::size_t>(c.slot)), EmpreinteOctets(c.valeurs));
  }
  if (e.fourche) h = Melange(h, EmpreinteOctets(e.comptes));
  return h;
}

QString NomMode(int mode) {
  return mode >= 0 && mode < static_cast<int>(display::kNomsModes.size())
             ? QString::fromUtf8(display::kNomsModes[static_cast<std::size_t>(mode)])
             : QString::number(mode);
}

QString DateHeure(const exchange::EnteteEntree &e) {
  return QStringLiteral("%1/%2/%3 %4:%5:%6")
      .arg(e.jour, 2, 10, QLatin1Char('0'))
      .arg(e.mois, 2, 10, QLatin1Char('0'))
      .arg(e.annee, 4, 10, QLatin1Char('0'))
      .arg(e.heure, 2, 10, QLatin1Char('0'))
      .arg(e.minute, 2, 10, QLatin1Char('0'))
      .arg(e.seconde, 2, 10, QLatin1Char('0'));
}

// An entry as an earlier run to overlay: its columns by channel symbol, the
// time base under the name it has on the graph.
display::AcquisitionGardee Superposition(exchange::Enregistrement e,
                                         const display::TgrapheKVX &graphe) {
  display::AcquisitionGardee run;
  std::size_t symbole = 0;  // the symbols follow the columns after the time base
  for (auto &c : e.colonnes) {
    if (c.slot == 1)
      run.series.push_back({graphe.voie(1).Nom, std::move(c.valeurs)});
    else if (symbole < e.symboles.size())
      run.series.push_back({e.symboles[symbole++], std::move(c.valeurs)});
  }
  return run;
}

QString Points(int n) {
  return n == 1 ? QStringLiteral("1 point") : QStringLiteral("%1 points").arg(n);
}

}  // namespace

QString TexteElement(const exchange::Historique::Element &element) {
  const QString nom = QString::fromStdString(element.chemin.filename().string());
  if (!element.entete) return nom + QStringLiteral(" – illisible");
  const exchange::EnteteEntree &e = *element.entete;
  QStringList symboles;
  for (const std::string &s : e.symboles) symboles << QString::fromStdString(s);
  QString texte = DateHeure(e) + QStringLiteral(" – ") + NomMode(e.mode) + QStringLiteral(" – ") +
                  Points(e.nbPoints);
  if (!symboles.isEmpty()) texte += QStringLiteral(" – ") + symboles.join(QStringLiteral(", "));
  return texte;
}

THistoriqueFenetre::THistoriqueFenetre(TKVXmainForm &fenetre, exchange::ObjetsConfiguration &objets,
                                       const QString &dossier,
                                       exchange::Historique::Limites limites)
    : QObject(&fenetre),
      m_fenetre(fenetre),
      m_objets(objets),
      m_historique(dossier.toStdString(), limites),
      m_debut(QDateTime::currentDateTime()) {
  m_ecrivain = std::make_unique<exchange::EcrivainHistorique>(
      m_historique, [this](const std::string &message) {
        // From the writer's thread: the window hears it on its own.
        const QString texte = QString::fromStdString(message);
        QMetaObject::invokeMethod(
            this, [this, texte] { EchecEcriture(texte); }, Qt::QueuedConnection);
      });
  m_montre = [this](const QString &texte) {
    MontreMessage(&m_fenetre, QMessageBox::Warning, QString::fromUtf8(kTitreFenetre), texte);
  };
  m_menu = new QMenu(QStringLiteral("Acquisitions récentes"), &fenetre);
  m_menu->setObjectName(QStringLiteral("HistoriqueMenu"));
  m_menu->menuAction()->setObjectName(QStringLiteral("AcquisitionsRecentesItem"));
  connect(m_menu, &QMenu::aboutToShow, this, &THistoriqueFenetre::RemplitMenu);
  RemplitMenu();
}

THistoriqueFenetre::~THistoriqueFenetre() {
  // The writer's thread ends before anything it reports to goes.
  m_ecrivain.reset();
}

void THistoriqueFenetre::RemplitMenu() {
  m_menu->clear();
  const auto elements = m_historique.Liste(kElementsMenu);
  if (elements.empty()) {
    QAction *vide = m_menu->addAction(QStringLiteral("Aucune acquisition enregistrée"));
    vide->setEnabled(false);
  }
  for (const auto &element : elements) {
    QAction *a = m_menu->addAction(TexteElement(element));
    const QString chemin = QString::fromStdString(element.chemin.string());
    a->setData(chemin);
    connect(a, &QAction::triggered, this, [this, chemin] { Rappelle(chemin); });
  }
  m_menu->addSeparator();
  QAction *dossier = m_menu->addAction(QStringLiteral("Ouvrir le dossier de l'historique"));
  dossier->setObjectName(QStringLiteral("DossierHistoriqueItem"));
  connect(dossier, &QAction::triggered, this, [this] {
    const QString chemin = QString::fromStdString(m_historique.dossier().string());
    QDir().mkpath(chemin);
    QDesktopServices::openUrl(QUrl::fromLocalFile(chemin));
  });
}

exchange::Enregistrement THistoriqueFenetre::Instantane() {
  display::TgrapheKVX &g = m_fenetre.graphe();
  exchange::Enregistrement e;
  e.instantMs = QDateTime::currentMSecsSinceEpoch();
  e.mode = g.Mode;
  e.nbPoints = std::clamp<int>(g.nbPoints, 0, model::kNbValeurs);
  const auto n = static_cast<std::size_t>(e.nbPoints);
  e.configuration = exchange::TexteConfiguration(m_objets);
  for (int slot = 1; slot <= 9; ++slot) {
    const model::Tvoie &v = g.voie(slot);
    // The time base always: the first column of three modes is its values.
    if (slot != 1 && !v.Active) continue;
    if (slot != 1) e.symboles.push_back(v.Nom);
    exchange::Enregistrement::Colonne c;
    c.slot = slot;
    c.mini = v.Mini;
    c.maxi = v.Maxi;
    c.valeurs.assign(v.valeurs.begin(), v.valeurs.begin() + static_cast<std::ptrdiff_t>(n));
    e.colonnes.push_back(std::move(c));
  }
  if (e.mode == display::kModeVeltor) {
    const model::Tveltor &f = g.veltor();
    e.fourche = true;
    e.comptes.assign(f.comptes.begin(), f.comptes.begin() + static_cast<std::ptrdiff_t>(n));
    e.origineTemps = f.origineTemps;
  }
  return e;
}

void THistoriqueFenetre::Garde(bool toujours, std::uint64_t serie) {
  if (m_rappel || m_fenetre.graphe().nbPoints <= 0) return;
  Garde(Instantane(), toujours, serie);
}

void THistoriqueFenetre::Garde(exchange::Enregistrement e, bool toujours, std::uint64_t serie) {
  m_avantReglages.reset();
  const std::size_t empreinte = Empreinte(e);
  const bool connue =
      std::find(m_empreintes.begin(), m_empreintes.end(), empreinte) != m_empreintes.end();
  if (connue && !toujours) return;
  m_empreintes.push_back(empreinte);
  if (m_empreintes.size() > kEmpreintesGardees) m_empreintes.pop_front();
  // A write that succeeded since the last message: the next failure is news.
  if (m_echecDit && m_ecrivain->ecrites() > m_ecritesAuMessage) m_echecDit = false;
  m_ecrivain->Ajoute(std::move(e), serie);
}

bool THistoriqueFenetre::Attend(int ms) {
  return m_ecrivain->Attend(std::chrono::milliseconds(ms));
}

void THistoriqueFenetre::EchecEcriture(const QString &message) {
  // Said once: a full disk would otherwise cover every other status.
  if (m_echecDit) return;
  m_echecDit = true;
  m_ecritesAuMessage = m_ecrivain->ecrites();
  m_fenetre.AfficheStatut(QStringLiteral("L'historique des acquisitions n'a pas pu être écrit : ") +
                          message);
}

void THistoriqueFenetre::Moment(TKVXmainForm::Moment moment) {
  if (m_rappel) return;
  display::TgrapheKVX &g = m_fenetre.graphe();
  switch (moment) {
    case TKVXmainForm::Moment::Fin: {
      // The repetitions of a scan that repeats by itself are one run; each
      // recording started by the user stands alone.
      const bool repete = g.Mode == display::kModeTemps && !m_fenetre.moteur().monocoup();
      Garde(true, repete ? m_fenetre.moteur().runNumber() : 0);
      break;
    }
    case TKVXmainForm::Moment::AvantEffacement:
      Garde(false);
      break;
    case TKVXmainForm::Moment::AvantReglages:
      if (g.nbPoints > 0)
        m_avantReglages = Instantane();
      else
        m_avantReglages.reset();
      break;
    case TKVXmainForm::Moment::Reglages:
      // The dialog or the file read dropped the points: the copy taken
      // before it changed anything is the recording as it was.
      if (m_avantReglages && g.nbPoints == 0) Garde(std::move(*m_avantReglages), false, 0);
      m_avantReglages.reset();
      break;
    case TKVXmainForm::Moment::Fermeture:
      Garde(false);
      Attend(kAttenteFermetureMs);
      break;
    case TKVXmainForm::Moment::Superposition:
      ChargeSuperpositions();
      break;
  }
}

void THistoriqueFenetre::Restaure(const exchange::Enregistrement &e) {
  display::TgrapheKVX &g = m_fenetre.graphe();
  const auto n = static_cast<std::size_t>(e.nbPoints);
  for (const auto &c : e.colonnes) {
    model::Tvoie &v = g.voie(c.slot);
    std::copy(c.valeurs.begin(), c.valeurs.begin() + static_cast<std::ptrdiff_t>(n),
              v.valeurs.begin());
    // Ranges as they were drawn: a box input's follows its input anyway.
    v.FixeMini(c.mini);
    v.FixeMaxi(c.maxi);
    if (n > 0) v.valeurCourante = v.valeurs[n - 1];
  }
  if (e.fourche) {
    model::Tveltor &f = g.veltor();
    std::copy(e.comptes.begin(), e.comptes.end(), f.comptes.begin());
    f.origineTemps = e.origineTemps;
    f.nbEvenements = e.nbPoints;
  }
  g.nbPoints = e.nbPoints;
}

QString THistoriqueFenetre::Rappelle(const QString &chemin) {
  exchange::Enregistrement e;
  std::optional<exchange::EnteteEntree> entete;
  try {
    e = m_historique.Lit(chemin.toStdString());
    entete = exchange::LitEntete(exchange::LitDebutFichier(chemin.toStdString(), 4096));
  } catch (const std::exception &erreur) {
    const QString message = QStringLiteral("Cette acquisition ne peut pas être rappelée : ") +
                            QString::fromStdString(erreur.what()) + QLatin1Char('.');
    m_montre(message);
    return message;
  }
  // What is shown now is kept first: bringing one back must not lose another.
  Garde(false);
  m_rappel = true;
  device::AcquisitionEngine &moteur = m_fenetre.moteur();
  // As a dialog: the engine stops, the settings are read, then applied.
  moteur.HaltAcquisition();
  const auto lu = exchange::LitTexteConfiguration(e.configuration, m_objets, Maintenant());
  moteur.ApplyConfiguration();
  if (lu == exchange::ResultatLecture::PasUneConfiguration) {
    m_rappel = false;
    const QString message = QStringLiteral(
        "Cette acquisition ne peut pas être rappelée : sa configuration est "
        "illisible.");
    m_montre(message);
    return message;
  }
  // A trigger that starts by itself would draw a new scan over it at once.
  const bool enCours = m_fenetre.graphe().Mode == display::kModeTemps &&
                       (moteur.state() == device::AcqState::Acquiring || moteur.triggerWaitArmed());
  Restaure(e);
  if (enCours)
    moteur.StopBtnClick(false);
  else
    moteur.UpdateButtons();
  m_fenetre.RedessineGraphe();
  m_rappel = false;
  m_empreintes.push_back(Empreinte(e));
  m_fenetre.AfficheStatut(QStringLiteral("Acquisition du %1 rappelée (%2, %3)")
                              .arg(DateHeure(*entete), NomMode(e.mode), Points(e.nbPoints)));
  return QString();
}

void THistoriqueFenetre::ChargeSuperpositions() {
  display::TgrapheKVX &g = m_fenetre.graphe();
  // Runs of the curves shown now only (their abscissa and one of their
  // ordinates): others would take their place.
  auto montre = [&g](const std::string &nom) {
    for (int slot = 2; slot <= display::kNbCourbes; ++slot)
      if (g.estOrdonnee(slot) && g.voie(slot).Nom == nom) return true;
    return false;
  };
  const QDateTime debut = m_debut.addMSecs(-m_debut.time().msec());
  std::size_t trouvees = 0;
  for (const auto &element : m_historique.Liste(kElementsMenu)) {
    if (trouvees == display::kMaxSuperpositions) break;
    if (!element.entete || element.entete->nbPoints < 2) continue;
    const exchange::EnteteEntree &e = *element.entete;
    const QDateTime quand(QDate(e.annee, e.mois, e.jour), QTime(e.heure, e.minute, e.seconde));
    if (!quand.isValid() || quand >= debut) continue;  // this session's: in memory already
    if (std::none_of(e.symboles.begin(), e.symboles.end(), montre)) continue;
    if (g.abscisse() != 1 && std::find(e.symboles.begin(), e.symboles.end(),
                                       g.voie(g.abscisse()).Nom) == e.symboles.end())
      continue;
    ++trouvees;
    if (!m_superposees.insert(element.chemin.string()).second) continue;
    try {
      g.anneau().AjouteAncienne(Superposition(m_historique.Lit(element.chemin), g));
    } catch (const exchange::HistoriqueError &) {
      // Damaged since it was listed: simply not overlaid.
    }
  }
}

THistoriqueFenetre *RelieHistorique(TKVXmainForm &fenetre, exchange::ObjetsConfiguration &objets,
                                    const QString &dossier) {
  auto *historique = new THistoriqueFenetre(fenetre, objets, dossier);
  // Beside the data commands, before the about box.
  fenetre.Menu->insertMenu(fenetre.AproposItem, historique->menu());
  fenetre.FixeHistorique([historique](TKVXmainForm::Moment m) { historique->Moment(m); });
  // The desktop asks for the data before a logout: the recording shown is
  // one of them, even if the logout is then cancelled.
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, historique,
                   [historique](QSessionManager &) {
                     historique->Garde();
                     historique->Attend(kAttenteFermetureMs);
                   });
  return historique;
}

}  // namespace kvx::ui
