// SPDX-License-Identifier: GPL-3.0-or-later
// kvx: the desktop front end of the Nuvex KVX box.
#include <QApplication>
#include <QFile>
#include <QLocale>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "device/simulated_box.h"
#include "device/veltor_fork.h"
#include "model/ligne_commande.h"
#include "model/separateur_decimal.h"
#include "model/version.h"
#include "platform/bibliotheque_capteurs.h"
#include "platform/dossiers.h"
#include "platform/fichiers_installes.h"
#include "platform/instance_unique.h"
#include "platform/port_table.h"
#include "platform/pty_server.h"
#include "platform/qsettings_store.h"
#include "platform/sauvegarde_sortie.h"
#include "platform/serveur_requetes.h"
#include "platform/signaux_fermeture.h"
#include "platform/traduction_qt.h"
#include "ui/aide_fenetre.h"
#include "ui/apropos.h"
#include "ui/capteurs_fenetre.h"
#include "ui/command_line.h"
#include "ui/configuration_fenetre.h"
#include "ui/demarrage.h"
#include "ui/dialogues_fenetre.h"
#include "ui/greek_keys.h"
#include "ui/historique_fenetre.h"
#include "ui/kvxmain.h"
#include "ui/menu_configuration.h"
#include "ui/session.h"
#include "ui/graphe_fenetre.h"
#include "ui/transfert_fenetre.h"

namespace {

void printUsage(std::FILE *out) {
  std::fprintf(out,
               "Usage: kvx [--simulate] [--port PATH]... [/C-] [FILE.KVX]\n"
               "  --simulate   start the built-in simulated box on a pseudo-terminal\n"
               "               and try it first\n"
               "  --fork KIND  what passes through the simulated box's optical fork:\n"
               "               ruler (a striped ruler let fall, the default) or\n"
               "               wheel[:TURNS_PER_SECOND] (a slotted wheel, 1 turn a second)\n"
               "  --port PATH  try this serial device first (repeatable)\n"
               "  /C-          hide the sensors menu item\n"
               "  FILE.KVX     configuration file to load\n"
               "  --help       show this help\n"
               "  --version    show the version\n");
}

// The simulated box on a pseudo-terminal of its own, so that the program
// reaches it through the same serial path as a real box.
std::unique_ptr<kvx::platform::PtyServer> DemarreSimulateur(const kvx::device::ForkSpec &fourche) {
  const auto allumage = std::chrono::steady_clock::now();
  auto boitier = std::make_unique<kvx::device::SimulatedBox>(allumage);
  boitier->setAccessory(std::make_unique<kvx::device::SimulatedFork>(fourche, allumage));
  auto serveur = std::make_unique<kvx::platform::PtyServer>(std::move(boitier));
  std::string erreur;
  if (!serveur->start(&erreur)) {
    std::fprintf(stderr, "kvx: cannot start the simulated box: %s\n", erreur.c_str());
    return nullptr;
  }
  return serveur;
}

// Takes "--fork KIND" (or "--fork=KIND") out of the arguments: it belongs to
// the simulated box alone. An error text, or "".
std::string PrendFourche(std::vector<std::string> &args, kvx::device::ForkSpec &fourche) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--") break;
    std::string texte;
    if (args[i] == "--fork") {
      if (i + 1 >= args.size()) return "--fork needs a value";
      texte = args[i + 1];
      args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
    } else if (args[i].rfind("--fork=", 0) == 0) {
      texte = args[i].substr(7);
      args.erase(args.begin() + static_cast<long>(i));
    } else {
      continue;
    }
    const kvx::device::ForkParse lu = kvx::device::ParseForkSpec(texte);
    if (!lu.spec) return lu.error;
    fourche = *lu.spec;
    --i;
  }
  return {};
}

}  // namespace

int main(int argc, char **argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  kvx::device::ForkSpec fourche;
  if (const std::string erreur = PrendFourche(args, fourche); !erreur.empty()) {
    std::fprintf(stderr, "kvx: %s\n", erreur.c_str());
    printUsage(stderr);
    return 2;
  }
  const kvx::ui::OptionsLigneCommande options = kvx::ui::LitLigneCommande(args);
  if (!options.erreur.empty()) {
    std::fprintf(stderr, "kvx: %s\n", options.erreur.c_str());
    printUsage(stderr);
    return 2;
  }
  if (options.aide) {
    printUsage(stdout);
    return 0;
  }
  if (options.version) {
    std::printf("kvx %s\n", kvx::model::kVersion);
    return 0;
  }

  // One instance a user: a second start hands its file over and ends, before
  // it needs a display. It never takes the place of an instance that runs,
  // or that instance would never hear from a start again.
  const QString fichier = kvx::ui::TexteDeLigneCommande(options.autres);
  kvx::platform::InstanceUnique instance;
  switch (instance.transmet(fichier)) {
    case kvx::platform::Remise::Prise:
      return 0;
    case kvx::platform::Remise::SansReponse:
      std::fprintf(stderr, "kvx: KVX is already running but did not answer in time\n");
      return 1;
    case kvx::platform::Remise::Personne:
      break;
  }

  QApplication app(argc, argv);
  // From here a signal closes the program through its closing sequence.
  kvx::platform::SignauxFermeture signaux;
  QApplication::setApplicationName(QStringLiteral("KVX"));
  QApplication::setWindowIcon(kvx::ui::IconeKVX());
  QGuiApplication::setDesktopFileName(QStringLiteral("kvx"));
  kvx::platform::ChargeTraductionQt(app);
  kvx::model::FixeSeparateurDecimal(QLocale().decimalPoint().at(0).toLatin1() == ',' ? ',' : '.');
  kvx::ui::TGreekKeyFilter grec;
  app.installEventFilter(&grec);

  kvx::ui::TSession session(
      std::make_unique<kvx::platform::QSettingsStore>(),
      {kvx::platform::DossiersUtilisateur(), kvx::platform::DossiersBureauUtilisateur(),
       QCoreApplication::applicationFilePath()});
  // The sensors the inputs can be set up with; the program also works
  // without the file, with one default sensor.
  kvx::model::TlisteCapteur capteurs;
  const kvx::exchange::EmplacementCapteurs emplacementCapteurs =
      kvx::platform::EmplacementCapteursUtilisateur(
          kvx::platform::ProgrammePourCapteurs(QCoreApplication::applicationFilePath()),
          session.chemins().dossiers);
  std::string avertissementCapteurs;
  const kvx::exchange::ResultatCapteurs lectureCapteurs =
      kvx::exchange::OuvreCapteurs(emplacementCapteurs, capteurs, &avertissementCapteurs);
  std::unique_ptr<kvx::platform::PtyServer> simulateur;
  std::vector<std::string> chemins;
  if (options.simule) {
    simulateur = DemarreSimulateur(fourche);
    if (!simulateur) return 1;
    chemins.push_back(simulateur->slavePath());
  }
  chemins.insert(chemins.end(), options.ports.begin(), options.ports.end());
  kvx::platform::PortTable ports(chemins);

  kvx::ui::TKVXmainForm::Options fenetre;
  fenetre.ports = &ports;
  fenetre.lien.traceFiles = session.reglages().trace;
  fenetre.capteurs = kvx::model::OptionLigneCommande(options.autres, 'C', true);
  // Our own fork program goes only to the simulated box, port 1 of the table.
  fenetre.imageVeltor = {simulateur ? 1 : 0,
                         kvx::platform::EmplacementsImageVeltor(
                             session.store(), QCoreApplication::applicationFilePath())};
  kvx::ui::TKVXmainForm form(fenetre);
  form.lien().setComNumber(
      ports.resolveStored(session.reglages().numeroPort, session.reglages().cheminPort));
  kvx::ui::TConfigurationFenetre configuration(form, kvx::ui::Maintenant());
  session.FixeObjets(&configuration);
  const auto serveur = instance.ecoute();
  kvx::ui::RelieSession(form, session, serveur.get(), &signaux);
  kvx::ui::RelieMenusConfiguration(form, session);
  kvx::ui::RelieDialogues(form);
  // Other programs of the user reach the window through its request server;
  // without it (another KVX serves it) the window works all the same.
  kvx::platform::ServeurRequetes requetes;
  requetes.ecoute();
  kvx::ui::RelieTransferts(form, session, configuration.page(), &requetes);
  kvx::ui::RelieGraphe(form, configuration.page());
  kvx::ui::EtatBibliotheque etatCapteurs;
  etatCapteurs.avertissement = QString::fromStdString(avertissementCapteurs);
  if (lectureCapteurs == kvx::exchange::ResultatCapteurs::Illisible)
    etatCapteurs.fichierIllisible = QFile::decodeName(emplacementCapteurs.fichier.c_str());
  kvx::ui::RelieCapteurs(
      form, capteurs,
      [&] { kvx::exchange::SauveCapteurs(emplacementCapteurs.fichier, capteurs, session.store()); },
      etatCapteurs);
  kvx::ui::RelieAide(form);
  // Every recording is kept in the user's data before anything clears it.
  kvx::ui::RelieHistorique(form, configuration, kvx::platform::DossierHistorique());
  // A file double-clicked while no KVX runs opens too.
  session.Charge(fichier);
  // The display gone, the toolkit exits past the close: the settings and the
  // last configuration are still written.
  kvx::platform::SauvegardeALaSortie secours([&session] { session.Sauvegarde(); });
  form.show();
  return app.exec();
}
