// SPDX-License-Identifier: GPL-3.0-or-later
// kvx-record: one acquisition from the command line, for scripts and long
// logging, into the ASCII data file the window's "Sauver données" writes.
// This main reads the arguments and wires the ports (a named one, the
// system's devices or the simulated box on a pseudo-terminal) to the core's
// recorder, which drives the window's own engine. No Qt.
#include <signal.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "device/enregistreur.h"
#include "device/simulated_box.h"
#include "exchange/tableur.h"
#include "exchange/transfert.h"
#include "model/duree.h"
#include "model/version.h"
#include "platform/port_table.h"
#include "platform/pty_server.h"

namespace {

using namespace kvx;
using Steady = std::chrono::steady_clock;

volatile sig_atomic_t g_interruption = 0;

void Interrompt(int) {
  g_interruption = 1;
}

void printUsage(std::FILE *out) {
  std::fprintf(
      out,
      "Usage: kvx-record [--port PATH | --simulate] CONFIG.KVX -o FILE.txt [--for DURATION]\n"
      "Finds the Nuvex KVX box, applies the configuration, runs one acquisition and\n"
      "writes its table as an ASCII data file (Windows-1252, tab-separated, CR LF),\n"
      "or for a spreadsheet when FILE ends in .ods (OpenDocument) or .csv (UTF-8, in\n"
      "the number format of the locale: \"1,5;2\" under French, \"1.5,2\" under English).\n"
      "\n"
      "  --port PATH      the box's serial port (repeatable; default: the system's\n"
      "                   serial devices, /dev/ttyUSB*, /dev/ttyACM*, /dev/ttyS*)\n"
      "  --simulate       record from the built-in simulated box\n"
      "  --signal N=SPEC  with --simulate: what input N sees, as kvx-sim takes it\n"
      "  -o, --output FILE  the data file to write\n"
      "  --for DURATION   record point by point for this long (\"30s\", \"5min\",\n"
      "                   \"1h30min\", \"1:30\"): a point each time the inputs move by\n"
      "                   1 %% of their ranges; Ctrl+C ends it early and keeps the points\n"
      "  --help           show this help\n"
      "  --version        show the version\n"
      "\n"
      "Without --for the configuration's timed scan runs once, started at once or\n"
      "by its trigger (edge, threshold, change), or its analog-output sweep.\n"
      "Progress goes to standard error. Exit status: 0 when the file is written,\n"
      "1 when the box is absent or lost, the configuration unreadable or the file\n"
      "unwritable, 2 for a usage error, 130 when interrupted during a scan.\n");
}

int usageError(const std::string &what) {
  std::fprintf(stderr, "kvx-record: %s\n", what.c_str());
  printUsage(stderr);
  return 2;
}

int failure(const std::string &what) {
  std::fprintf(stderr, "kvx-record: %s\n", what.c_str());
  return 1;
}

struct Options {
  std::vector<std::string> ports;
  bool simulate = false;
  std::vector<std::string> signals;
  std::string configuration;
  std::string output;
  double duree = std::nan("");  // --for, in seconds
  bool help = false;
  bool version = false;
};

// Reads the arguments; returns a usage error text or "".
std::string ParseArguments(int argc, char **argv, Options &o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto value = [&](std::string &into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    std::string v;
    if (arg == "--help") {
      o.help = true;
    } else if (arg == "--version") {
      o.version = true;
    } else if (arg == "--simulate") {
      o.simulate = true;
    } else if (arg == "--port") {
      if (!value(v)) return "--port needs a path";
      o.ports.push_back(v);
    } else if (arg == "--signal") {
      if (!value(v)) return "--signal needs N=SPEC";
      o.signals.push_back(v);
    } else if (arg == "-o" || arg == "--output") {
      if (!value(o.output) || o.output.empty()) return arg + " needs a file name";
    } else if (arg == "--for") {
      if (!value(v)) return "--for needs a duration";
      o.duree = model::LitDuree(v);
      if (!(o.duree > 0)) return "--for: \"" + v + "\" is not a duration";
      if (o.duree < device::Enregistreur::DureeMin()) return "--for: \"" + v + "\" is shorter than one point (0.11 s)";
      if (!(o.duree <= device::Enregistreur::DureeMax())) return "--for: \"" + v + "\" is longer than the clock can count";
    } else if (!arg.empty() && arg[0] == '-') {
      return "unknown option \"" + arg + "\"";
    } else if (o.configuration.empty()) {
      o.configuration = arg;
    } else {
      return "one configuration file only, got \"" + arg + "\" too";
    }
  }
  if (o.help || o.version) return {};
  if (o.configuration.empty()) return "no configuration file given";
  if (o.output.empty()) return "no data file given (-o FILE.txt)";
  if (o.simulate && !o.ports.empty()) return "--port and --simulate exclude each other";
  if (!o.signals.empty() && !o.simulate) return "--signal needs --simulate";
  return {};
}

// The ports, the simulated box when asked, and the file's format by its
// name: the recording itself is the core's.
int Enregistre(const Options &o) {
  std::unique_ptr<platform::PtyServer> simulateur;
  std::vector<std::string> chemins = o.ports;
  if (o.simulate) {
    auto boitier = std::make_unique<device::SimulatedBox>(Steady::now());
    for (const std::string &signal : o.signals)
      if (std::string e = boitier->applySignal(signal); !e.empty()) return usageError(e);
    simulateur = std::make_unique<platform::PtyServer>(std::move(boitier));
    std::string erreur;
    if (!simulateur->start(&erreur)) return failure("cannot start the simulated box: " + erreur);
    chemins.push_back(simulateur->slavePath());
  }
  // With ports named, only they are searched: a script names its box.
  platform::PortTable ports(chemins, chemins.empty() ? "/dev" : "");
  device::Enregistreur enregistreur(
      ports,
      [](const std::string &fichier, const exchange::DonneesTransfert &table) {
        return exchange::EstFichierTableur(fichier)
                   ? exchange::ExporteTableur(fichier, table, exchange::OptionsEnvironnement())
                   : exchange::SauveDonnees(fichier, exchange::TexteFichierAscii(table));
      },
      [](const std::string &ligne) { std::fprintf(stderr, "kvx-record: %s\n", ligne.c_str()); },
      [] { return g_interruption != 0; });
  const device::ResultatEnregistrement r =
      enregistreur.Enregistre({o.configuration, o.output, o.duree});
  if (r.statut == 2) return usageError(r.message);
  if (r.statut == 1) return failure(r.message);
  return r.statut;
}

}  // namespace

int main(int argc, char **argv) {
  Options options;
  if (std::string e = ParseArguments(argc, argv, options); !e.empty()) return usageError(e);
  if (options.help) {
    printUsage(stdout);
    return 0;
  }
  if (options.version) {
    std::printf("kvx-record %s\n", model::kVersion);
    return 0;
  }
  struct sigaction action {};
  action.sa_handler = Interrompt;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
  // A file-size limit makes the write fail with its reason instead of
  // killing the program with every point unsaved.
  ::signal(SIGXFSZ, SIG_IGN);
  return Enregistre(options);
}
