// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/transfert_fenetre.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QDateTime>
#include <QFileDialog>
#include <QLocale>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "exchange/tableur.h"
#include "model/separateur_decimal.h"
#include "platform/qsettings_store.h"
#include "platform/serveur_requetes.h"
#include "ui/configuration_fenetre.h"
#include "ui/constante.h"
#include "ui/dialogue_modal.h"
#include "ui/kvxmain.h"
#include "ui/session.h"

namespace kvx::ui {

namespace {

// The hourglass while the table is built and handed over, however it ends.
class Sablier {
 public:
  Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~Sablier() { QApplication::restoreOverrideCursor(); }
  Sablier(const Sablier &) = delete;
  Sablier &operator=(const Sablier &) = delete;
};

QString ChoisitFichierDonnees(QWidget *parent, const QString &dossier) {
  QFileDialog dialogue(parent, QString(), dossier, QString::fromLatin1(kFiltreDonnees));
  dialogue.setAcceptMode(QFileDialog::AcceptSave);
  dialogue.setFileMode(QFileDialog::AnyFile);
  dialogue.setDefaultSuffix(QString::fromLatin1(kExtensionDonnees));
  // Qt's own dialog, not the desktop's: only that one a close can end.
  dialogue.setOption(QFileDialog::DontUseNativeDialog);
  if (ExecuteModal(dialogue, QDialog::Rejected) != QDialog::Accepted ||
      dialogue.selectedFiles().isEmpty())
    return QString();
  return dialogue.selectedFiles().constFirst();
}

QString ChoisitFichierTableur(QWidget *parent, const QString &dossier) {
  const QString ods = QString::fromUtf8(kFiltreOds), csv = QString::fromUtf8(kFiltreCsv);
  QFileDialog dialogue(parent, QStringLiteral("Exporter pour tableur"), dossier,
                       ods + QStringLiteral(";;") + csv);
  dialogue.setAcceptMode(QFileDialog::AcceptSave);
  dialogue.setFileMode(QFileDialog::AnyFile);
  dialogue.setDefaultSuffix(QStringLiteral("ods"));
  dialogue.setOption(QFileDialog::DontUseNativeDialog);
  // The suffix added to a bare name follows the kind of file chosen.
  QObject::connect(&dialogue, &QFileDialog::filterSelected, &dialogue,
                   [&dialogue, csv](const QString &filtre) {
                     dialogue.setDefaultSuffix(filtre == csv ? QStringLiteral("csv")
                                                             : QStringLiteral("ods"));
                   });
  if (ExecuteModal(dialogue, QDialog::Rejected) != QDialog::Accepted ||
      dialogue.selectedFiles().isEmpty())
    return QString();
  return dialogue.selectedFiles().constFirst();
}

// The spreadsheet's own forms of the table on the clipboard, in the user's
// number format: a paste into a spreadsheet gives numbers in columns.
constexpr char kTypeTsv[] = "text/tab-separated-values";
constexpr char kTypeCsv[] = "text/csv";

void AjouteFormesTableur(QMimeData &donnees, const exchange::DonneesTransfert &d) {
  const char separateur = model::SeparateurDecimal();
  donnees.setData(QString::fromLatin1(kTypeTsv),
                  QByteArray::fromStdString(exchange::TexteTsv(d, separateur)));
  donnees.setData(QString::fromLatin1(kTypeCsv),
                  QByteArray::fromStdString(exchange::TexteCsv(d, separateur)));
  // The form spreadsheets prefer to plain text when pasting.
  donnees.setHtml(QString::fromStdString(exchange::TexteHtml(d, separateur)));
}

exchange::OptionsTableur OptionsExport() {
  // The moment of the export stands for the recording's, which the table
  // does not keep; it is the same day and within the lesson.
  const QDateTime maintenant = QDateTime::currentDateTime();
  exchange::OptionsTableur o;
  o.separateurDecimal = model::SeparateurDecimal();
  o.dateTexte = maintenant.toString(QStringLiteral("dd/MM/yyyy HH:mm")).toStdString();
  o.dateIso = maintenant.toString(Qt::ISODate).toStdString();
  return o;
}

}  // namespace

DialoguesTransfert DialoguesTransfert::Standard() {
  DialoguesTransfert d;
  d.sauver = &ChoisitFichierDonnees;
  d.message = [](QWidget *parent, const QString &message) {
    MontreMessage(parent, QMessageBox::Warning, QString::fromUtf8(kTitreFenetre), message);
  };
  d.transfere = [](const std::string &commande) {
    // Read at each transfer: the path may have been set since the start.
    const platform::QSettingsStore reglages;
    platform::ClientTabulyse client(platform::ClientTabulyse::OptionsUtilisateur(reglages));
    return client.Transfere(commande);
  };
  d.installe = [] {
    const platform::QSettingsStore reglages;
    return platform::TabulyseInstalle(reglages);
  };
  d.exporter = &ChoisitFichierTableur;
  d.proposeExport = [](QWidget *parent, const QString &question) {
    QMessageBox boite(QMessageBox::Question, QString::fromUtf8(kTitreFenetre), question,
                      QMessageBox::NoButton, parent);
    QPushButton *exporter =
        boite.addButton(QStringLiteral("Exporter pour tableur…"), QMessageBox::AcceptRole);
    boite.addButton(QStringLiteral("Fermer"), QMessageBox::RejectRole);
    boite.setDefaultButton(exporter);
    ExecuteModal(boite, QDialog::Rejected);
    return boite.clickedButton() == exporter;
  };
  return d;
}

TTransfertFenetre::TTransfertFenetre(TKVXmainForm &fenetre, TSession &session, TPage &page,
                                     DialoguesTransfert dialogues)
    : QObject(&fenetre),
      m_fenetre(fenetre),
      m_session(session),
      m_page(page),
      m_dialogues(std::move(dialogues)),
      m_constantes(new TConstanteDlg(page, &fenetre)) {
  fenetre.installEventFilter(this);
}

TTransfertFenetre::~TTransfertFenetre() = default;

exchange::DonneesTransfert TTransfertFenetre::Donnees() {
  display::TgrapheKVX &g = m_fenetre.graphe();
  exchange::DonneesTransfert d;
  d.mode = g.Mode;
  for (int slot = 1; slot <= 9; ++slot) d.voies[static_cast<std::size_t>(slot)] = &g.voie(slot);
  d.nbPoints = g.nbPoints;
  d.abscisse = g.abscisse();
  d.ligne = g.Ligne;
  d.points = g.Points;
  d.commentaire = m_page.constanteComm;
  d.constanteNom = m_page.constanteNom;
  d.constanteUnite = m_page.constanteUnite;
  d.constanteValeur = m_constantes->valeur();
  d.nouvellePage = m_constantes->nouvellePage();
  d.cheminProgramme = QCoreApplication::applicationFilePath().toStdString();
  // The point numbers are what is sent; the graph shows them too.
  if (g.Mode == display::kModePointParPoint) exchange::NumerotePoints(g.temps().valeurs);
  return d;
}

void TTransfertFenetre::CopiePressePapiers(const exchange::DonneesTransfert &d) {
  auto *donnees = new QMimeData;
  donnees->setText(QString::fromStdString(exchange::TexteTransfert(d)));
  AjouteFormesTableur(*donnees, d);
  QGuiApplication::clipboard()->setMimeData(donnees);
}

TTransfertFenetre::Envoi TTransfertFenetre::Envoie() {
  platform::ResultatTransfert resultat;
  {
    Sablier sablier;
    const exchange::DonneesTransfert d = Donnees();
    CopiePressePapiers(d);
    // Nothing to start: the table stays on the clipboard for the user.
    if (m_dialogues.installe && !m_dialogues.installe()) return Envoi::NonInstalle;
    resultat = m_dialogues.transfere(exchange::CommandeTransfert(d.nouvellePage));
  }
  switch (resultat) {
    case platform::ResultatTransfert::Envoye:
      // The next table is a new page of the same file, unless the user says
      // otherwise. Only once the file exists: after a failure the next table
      // must still open one.
      m_constantes->FixeNouvellePage(true);
      return Envoi::Envoye;
    case platform::ResultatTransfert::ImpossibleDeLancer:
      m_dialogues.message(&m_fenetre, QString::fromUtf8(platform::kImpossibleDeLancer));
      return Envoi::Echec;
    case platform::ResultatTransfert::NonExecute:
      m_dialogues.message(&m_fenetre, QString::fromUtf8(platform::kTransfertNonExecute));
      return Envoi::Echec;
  }
  return Envoi::Echec;
}

bool TTransfertFenetre::EnvoieDonnees() {
  return Envoie() == Envoi::Envoye;
}

void TTransfertFenetre::RegSaveBtnClick() {
  const bool actif = m_fenetre.Timer->isActive();
  m_fenetre.moteur().HaltAcquisition();
  if (m_constantes->Execute() != QDialog::Accepted) {
    if (actif) m_fenetre.Timer->start();
    return;
  }
  const Envoi envoi = Envoie();
  ApresTransfert(envoi == Envoi::Envoye);
  if (envoi == Envoi::NonInstalle && m_dialogues.proposeExport &&
      m_dialogues.proposeExport(&m_fenetre, QString::fromUtf8(kTabulyseAbsent)))
    ExporteTableurClick();
}

void TTransfertFenetre::ApresTransfert(bool envoye) {
  // A transfer that failed ended on its message, answered in this window:
  // the user is back already. Else the return is when the window gets the
  // focus again from the analysis program, never before the transfer (the
  // window's own return from the dialog is no return from there).
  if (!envoye) {
    m_fenetre.moteur().TransferFocusReturned();
    return;
  }
  m_donneesEnvoyees = true;
}

void TTransfertFenetre::CopyDataClick() {
  // No tick of the live display in the middle of the hand-over, whose waits
  // let timers run.
  const bool actif = m_fenetre.Timer->isActive();
  m_fenetre.Timer->stop();
  const Envoi envoi = Envoie();
  if (actif) m_fenetre.Timer->start();
  ApresTransfert(envoi == Envoi::Envoye);
  // Copying is all the user asked for: no error box for a program that is
  // simply not there.
  if (envoi == Envoi::NonInstalle) m_fenetre.AfficheStatut(QString::fromUtf8(kCopieSansTabulyse));
}

void TTransfertFenetre::CopieTableurClick() {
  Sablier sablier;
  const exchange::DonneesTransfert d = Donnees();
  auto *donnees = new QMimeData;
  donnees->setText(QString::fromStdString(exchange::TexteTsv(d, model::SeparateurDecimal())));
  AjouteFormesTableur(*donnees, d);
  QGuiApplication::clipboard()->setMimeData(donnees);
}

void TTransfertFenetre::ExporteTableurClick() {
  if (!m_dialogues.exporter) return;
  const QString fichier =
      m_dialogues.exporter(&m_fenetre, QString::fromStdString(m_session.reglages().dossierConfig));
  if (fichier.isEmpty()) return;
  if (const QString erreur = ExporteTableur(fichier); !erreur.isEmpty())
    m_dialogues.message(&m_fenetre, erreur);
}

QString TTransfertFenetre::ExporteTableur(const QString &fichier) {
  Sablier sablier;
  const exchange::DonneesTransfert d = Donnees();
  const exchange::ResultatSauvegarde r = exchange::ExporteTableur(
      std::filesystem::path(QFile::encodeName(fichier).toStdString()), d, OptionsExport());
  return r.reussi ? QString() : QString::fromStdString(r.message);
}

void TTransfertFenetre::SaveDataClick() {
  const QString fichier =
      m_dialogues.sauver(&m_fenetre, QString::fromStdString(m_session.reglages().dossierConfig));
  if (fichier.isEmpty()) return;
  if (const QString erreur = SauveDonnees(fichier); !erreur.isEmpty())
    m_dialogues.message(&m_fenetre, erreur);
}

QString TTransfertFenetre::SauveDonnees(const QString &fichier) {
  Sablier sablier;
  const exchange::DonneesTransfert d = Donnees();
  const exchange::ResultatSauvegarde r =
      exchange::SauveDonnees(std::filesystem::path(QFile::encodeName(fichier).toStdString()),
                             exchange::TexteFichierAscii(d));
  return r.reussi ? QString() : QString::fromStdString(r.message);
}

void TTransfertFenetre::PrepareNouvellePage() {
  m_constantes->FixeNouvellePage(true);
}

void TTransfertFenetre::DonneFocus() {
  // The window's own focus operation fails on a hidden window or one that a
  // dialog keeps disabled; the request is then without effect.
  if (!m_fenetre.isVisible() || QApplication::activeModalWidget() != nullptr) return;
  if (m_fenetre.isMinimized()) m_fenetre.showNormal();
  m_fenetre.raise();
  m_fenetre.activateWindow();
}

bool TTransfertFenetre::eventFilter(QObject *watched, QEvent *event) {
  if (watched == &m_fenetre && event->type() == QEvent::WindowActivate && m_donneesEnvoyees) {
    m_donneesEnvoyees = false;
    m_fenetre.moteur().TransferFocusReturned();
  }
  return false;
}

TTransfertFenetre *RelieTransferts(TKVXmainForm &fenetre, TSession &session, TPage &page,
                                   platform::ServeurRequetes *serveur,
                                   DialoguesTransfert dialogues) {
  auto *t = new TTransfertFenetre(fenetre, session, page, std::move(dialogues));
  fenetre.SaveData->setEnabled(true);
  fenetre.CopyData->setEnabled(true);
  fenetre.ExporteTableurItem->setEnabled(true);
  fenetre.CopieTableurItem->setEnabled(true);
  QObject::connect(fenetre.ExporteTableurItem, &QAction::triggered, t,
                   &TTransfertFenetre::ExporteTableurClick);
  QObject::connect(fenetre.CopieTableurItem, &QAction::triggered, t,
                   &TTransfertFenetre::CopieTableurClick);
  QObject::connect(fenetre.RegSaveBtn, &QToolButton::clicked, t,
                   &TTransfertFenetre::RegSaveBtnClick);
  QObject::connect(fenetre.CopyData, &QAction::triggered, t, &TTransfertFenetre::CopyDataClick);
  QObject::connect(fenetre.SaveData, &QAction::triggered, t, &TTransfertFenetre::SaveDataClick);
  if (serveur) {
    QObject::connect(serveur, &platform::ServeurRequetes::nouvellePageDemandee, t,
                     &TTransfertFenetre::PrepareNouvellePage);
    QObject::connect(serveur, &platform::ServeurRequetes::focusDemande, t,
                     &TTransfertFenetre::DonneFocus);
  }
  return t;
}

}  // namespace kvx::ui
