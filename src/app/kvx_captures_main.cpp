// SPDX-License-Identifier: GPL-3.0-or-later
// kvx-captures: the pictures of the user's guide, made by the program itself
// so that they always show the window and the dialogs as they are. Run by
// the build, offscreen, against the simulated box on a pseudo-terminal.
//
//   kvx-captures FOLDER   writes FOLDER/fenetre.png, FOLDER/modedlg.png, ...
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "device/acquisition_engine.h"
#include "device/simulated_box.h"
#include "display/graphe.h"
#include "exchange/fichier_capteurs.h"
#include "model/liste_capteurs.h"
#include "model/version.h"
#include "platform/fichiers_installes.h"
#include "platform/port_table.h"
#include "platform/pty_server.h"
#include "ui/aide.h"
#include "ui/aide_fenetre.h"
#include "ui/apropos.h"
#include "ui/capteurs_dlg.h"
#include "ui/clavier.h"
#include "ui/configuration_fenetre.h"
#include "ui/constante.h"
#include "ui/ebin.h"
#include "ui/etalonne_inter.h"
#include "ui/kvxmain.h"
#include "ui/modedlg.h"
#include "ui/nuvexkvx.h"
#include "ui/panel_mode.h"
#include "ui/sadlg.h"
#include "ui/synchro.h"
#include "ui/veltordlg.h"
#include "ui/veltorstop.h"

namespace {

// Past this the build goes on with the pictures made so far: a stuck box
// must never hang a build.
constexpr int kDelaiTotalMs = 60000;

void Pause(int ms) {
  QEventLoop boucle;
  QTimer::singleShot(ms, &boucle, &QEventLoop::quit);
  boucle.exec();
}

bool AttendQue(const std::function<bool()> &fini, int ms) {
  QElapsedTimer t;
  t.start();
  while (!fini()) {
    if (t.elapsed() > ms) return false;
    Pause(10);
  }
  return true;
}

// The simulated box's pseudo-terminal under the name of a user's adapter: the
// guide shows what a user sees, and never the number the system happened to
// give the pseudo-terminal, so two builds draw the same pictures.
class PortsDuGuide final : public kvx::device::PortProvider {
 public:
  explicit PortsDuGuide(kvx::platform::PortTable &table) : m_table(table) {}
  int portCount() const override { return m_table.portCount(); }
  std::string portName(int n) const override {
    return n == 1 ? std::string("/dev/ttyUSB0") : m_table.portName(n);
  }
  kvx::device::OpenResult open(int n) override { return m_table.open(n); }
  int namedPortCount() const override { return m_table.namedPortCount(); }

 private:
  kvx::platform::PortTable &m_table;
};

class Photographe {
 public:
  explicit Photographe(const QString &dossier) : m_dossier(dossier) {}

  void Prend(QWidget &w, const char *nom) {
    Pause(50);  // let layouts settle and pending paints run
    const QString fichier = m_dossier + QLatin1Char('/') + QLatin1String(nom) + ".png";
    if (w.grab().save(fichier)) {
      std::printf("kvx-captures: %s\n", qPrintable(fichier));
    } else {
      std::fprintf(stderr, "kvx-captures: cannot write %s\n", qPrintable(fichier));
      m_echecs++;
    }
  }

  // A dialog as the user sees it when it opens, shown without blocking.
  template <class Dialogue>
  void PrendDialogue(Dialogue &d, const char *nom) {
    d.FormActivate();
    d.show();
    Prend(d, nom);
    d.hide();
  }

  int echecs() const { return m_echecs; }

 private:
  QString m_dossier;
  int m_echecs = 0;
};

// The sensors the program ships, as a teacher first sees them.
kvx::model::TlisteCapteur Capteurs() {
  kvx::model::TlisteCapteur liste;
  const QString fichier = kvx::platform::TrouveFichier(QCoreApplication::applicationFilePath(),
                                                       QStringLiteral("kvx.CPT"));
  if (!fichier.isEmpty())
    kvx::exchange::ChargeCapteurs(QFile::encodeName(fichier).toStdString(), liste);
  return liste;
}

void PrendVoies(Photographe &photo, kvx::ui::TKVXmainForm &form) {
  kvx::display::TgrapheKVX &g = form.graphe();
  kvx::model::TlisteCapteur capteurs = Capteurs();
  kvx::ui::TNuvexKvxDlg entree(capteurs, &form);
  entree.FixeVoie(g.voie(5), &form.lien());
  photo.PrendDialogue(entree, "nuvexkvx");
  kvx::ui::TEtalonneInterDlg etalon(g.voie(5), &form.lien(), &form);
  photo.PrendDialogue(etalon, "etalon");
  kvx::ui::TChoixCapteursDlg choix(
      capteurs, [] {}, &form);
  photo.PrendDialogue(choix, "capteurs");
  kvx::ui::TVeltorCfg fourche(g.veltor(), &form);
  photo.PrendDialogue(fourche, "veltordlg");
  // The count-down as it first shows, stopping nothing.
  kvx::ui::TVeltorStopDlg arret(
      form.PanelMode->VeltorAutoCB, form.PanelMode->VeltorSE, [] {}, &form);
  arret.Montre();
  photo.Prend(arret, "veltorstop");
  arret.Ferme();
  kvx::ui::TPage page;
  kvx::ui::TConstanteDlg constante(page, &form);
  photo.PrendDialogue(constante, "constante");
}

void PrendDialogues(Photographe &photo, kvx::ui::TKVXmainForm &form) {
  kvx::display::TgrapheKVX &g = form.graphe();
  kvx::ui::TmodeAcqDlg mode(g, &form);
  photo.PrendDialogue(mode, "modedlg");
  kvx::ui::TSynchroDlg synchro(g, form.moteur(), &form);
  photo.PrendDialogue(synchro, "synchro");
  kvx::ui::TSortieAnaDlg sortie(g.sortieAnalogique(), form.lien(), &form);
  photo.PrendDialogue(sortie, "sadlg");
  kvx::ui::TEntreeBinDlg binaire(g.entreeBinaire(), &form);
  photo.PrendDialogue(binaire, "ebin");
  kvx::ui::TClavierDlg clavier(g.clavier(), &form);
  photo.PrendDialogue(clavier, "clavier");
  kvx::ui::TAboutBox apropos(form.lien(), &form);
  photo.PrendDialogue(apropos, "apropos");
  PrendVoies(photo, form);
}

// The red panel a user meets when no box answers.
void PrendAbsent(Photographe &photo) {
  kvx::platform::PortTable aucun({}, "");
  kvx::ui::TKVXmainForm::Options options;
  options.ports = &aucun;
  kvx::ui::TKVXmainForm form(options);
  kvx::ui::RelieAide(form);
  form.show();
  AttendQue([&] { return !form.Statut(0).isEmpty() && !form.lien().BoxPresent(); }, 3000);
  photo.Prend(form, "absent");
}

// The offscreen platform says, for every window, what it cannot do; none of
// it matters for a picture.
void Messages(QtMsgType type, const QMessageLogContext &, const QString &texte) {
  if (texte.startsWith(QStringLiteral("This plugin does not support")) ||
      texte.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR")))
    return;
  std::fprintf(stderr, "%s%s\n", type == QtWarningMsg ? "warning: " : "", qPrintable(texte));
}

}  // namespace

int main(int argc, char **argv) {
  if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "--version")) {
    std::printf(
        "kvx-captures %s: writes the pictures of the user's guide into FOLDER\n"
        "Usage: kvx-captures FOLDER\n",
        kvx::model::kVersion);
    return 0;
  }
  if (argc != 2) {
    std::fprintf(stderr, "Usage: kvx-captures FOLDER\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const QString dossier = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  if (!QDir().mkpath(dossier)) {
    std::fprintf(stderr, "kvx-captures: cannot make %s\n", argv[1]);
    return 1;
  }

  auto boitier = std::make_unique<kvx::device::SimulatedBox>(std::chrono::steady_clock::now());
  kvx::platform::PtyServer serveur(std::move(boitier));
  std::string erreur;
  if (!serveur.start(&erreur)) {
    std::fprintf(stderr, "kvx-captures: no pseudo-terminal: %s\n", erreur.c_str());
    return 1;
  }
  qInstallMessageHandler(Messages);
  QApplication app(argc, argv);
  QApplication::setWindowIcon(kvx::ui::IconeKVX());
  QTimer::singleShot(kDelaiTotalMs, &app, [] {
    std::fprintf(stderr, "kvx-captures: given up after %d s\n", kDelaiTotalMs / 1000);
    std::_Exit(1);
  });
  Photographe photo(dossier);

  kvx::platform::PortTable pty({serveur.slavePath()}, "");
  PortsDuGuide ports(pty);
  kvx::ui::TKVXmainForm::Options options;
  options.ports = &ports;
  kvx::ui::TKVXmainForm form(options);
  kvx::ui::RelieAide(form);
  form.show();
  if (!AttendQue([&] { return form.lien().BoxPresent() && form.EnregistreBtn->isEnabled(); },
                 10000))
    std::fprintf(stderr, "kvx-captures: the simulated box did not answer\n");
  // A first curve: the one-second scan of V1 and V2 against time.
  kvx::device::AcquisitionEngine &moteur = form.moteur();
  form.graphe().Abscisse = 1;
  moteur.ApplyConfiguration();
  AttendQue([&] { return form.EnregistreBtn->isEnabled(); }, 3000);
  // The curves start at the same point of the signals at each build.
  serveur.withPeer([](kvx::device::WirePeer &peer) {
    static_cast<kvx::device::SimulatedBox &>(peer).restartSignalsAtNextStart();
  });
  form.EnregistreBtn->click();
  if (!AttendQue(
          [&] {
            return moteur.state() != kvx::device::AcqState::Acquiring &&
                   moteur.pointsReceived() == form.graphe().nombre;
          },
          15000))
    std::fprintf(stderr, "kvx-captures: the scan did not end\n");
  // The live read-outs show the inputs at the moment of the picture: held
  // still from here, two builds draw the same pictures.
  serveur.withPeer([](kvx::device::WirePeer &peer) {
    auto &boite = static_cast<kvx::device::SimulatedBox &>(peer);
    kvx::device::SignalSpec fixe;
    fixe.offset = 192;
    boite.setSignal(0, fixe);
    fixe.offset = 77;
    boite.setSignal(1, fixe);
  });
  AttendQue([] { return false; }, 1500);
  photo.Prend(form, "fenetre");
  moteur.HaltAcquisition();
  PrendDialogues(photo, form);

  kvx::ui::FixeDossierAide(QDir::cleanPath(dossier + QStringLiteral("/..")));
  kvx::ui::MontreAide(0);
  if (kvx::ui::TAideFenetre *aide = kvx::ui::FenetreAide()) {
    aide->resize(640, 480);
    photo.Prend(*aide, "aide");
    aide->close();
  }
  form.hide();
  PrendAbsent(photo);
  return photo.echecs() == 0 ? 0 : 1;
}
