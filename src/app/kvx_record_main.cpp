// kvx-record: one acquisition from the command line, for scripts and long
// logging. It reads a configuration file, finds the box, applies the
// configuration, runs one timed scan (with the configuration's trigger), one
// analog-output sweep, or point by point for a given time, and writes the
// ASCII data file the window's "Sauver données" writes. The engine, the link
// and the text builder are the window's own; a poll() loop stands in for the
// window's event loop. No Qt.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/acquisition_engine.h"
#include "device/acquisition_timer.h"
#include "device/acquisition_view.h"
#include "device/box_facts.h"
#include "device/box_link.h"
#include "device/engine_texts.h"
#include "device/simulated_box.h"
#include "display/graphe.h"
#include "exchange/atomic_file.h"
#include "exchange/configuration.h"
#include "exchange/tableur.h"
#include "exchange/transfert.h"
#include "model/duree.h"
#include "model/masse.h"
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

// Applies "N=SPEC" or "bN=SPEC" to the simulated box; returns an error or "".
std::string ApplySignal(device::SimulatedBox &box, const std::string &arg) {
  const auto eq = arg.find('=');
  if (eq == std::string::npos) return "--signal needs N=SPEC, got \"" + arg + "\"";
  const std::string which = arg.substr(0, eq), spec = arg.substr(eq + 1);
  const bool binary = !which.empty() && (which[0] == 'b' || which[0] == 'B');
  const std::string digits = binary ? which.substr(1) : which;
  if (digits.size() != 1 || digits[0] < '0' || digits[0] > '7')
    return "input number must be 0 to 7 (or b0 to b7), got \"" + which + "\"";
  const int input = digits[0] - '0';
  if (binary) {
    auto parsed = device::ParseBinarySpec(spec);
    if (!parsed.spec) return parsed.error;
    box.setBinary(input, *parsed.spec);
  } else {
    auto parsed = device::ParseSignalSpec(spec);
    if (!parsed.spec) return parsed.error;
    box.setSignal(input, *parsed.spec);
  }
  return {};
}

// The window's timer on the steady clock; the loop waits until its next tick.
class SteadyTimer final : public device::AcquisitionTimer {
 public:
  void setInterval(int ms) override {
    m_interval = std::chrono::milliseconds(std::max(ms, 1));
    m_next = Steady::now() + m_interval;
  }
  int interval() const override { return static_cast<int>(m_interval.count()); }
  void setEnabled(bool enabled) override {
    if (enabled && !m_enabled) m_next = Steady::now() + m_interval;
    m_enabled = enabled;
  }
  bool isEnabled() const override { return m_enabled; }
  Clock::time_point now() const override { return Steady::now(); }
  bool due() {
    if (!m_enabled || Steady::now() < m_next) return false;
    m_next = Steady::now() + m_interval;
    return true;
  }
  // Milliseconds to the next tick; a disabled timer still lets the loop look
  // at an interrupt now and then.
  int msToNext() const {
    if (!m_enabled) return 50;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_next - Steady::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, 50));
  }

 private:
  std::chrono::milliseconds m_interval{220};
  Steady::time_point m_next{};
  bool m_enabled = false;
};

// The window's side of the engine, on standard error: the statuses that tell
// a script's user why nothing happens yet, the progress of a scan, and the
// end. The texts that ask for a click or a key are not shown: this tool
// presses the button itself.
class RecordView final : public device::AcquisitionView {
 public:
  void setStatus(const std::string &text) override {
    if (text == device::texts::kAcquisitionTerminee) termine = true;
    namespace t = device::texts;
    for (const char *cache : {t::kCliquerPourDemarrer, t::kAttenteDeclenchement,
                              t::kCliquerPourEnregistrer, t::kDecocherAutomatique})
      if (text == cache) return;
    if (text == m_dernier) return;
    m_dernier = text;
    std::fprintf(stderr, "kvx-record: %s\n", text.c_str());
  }
  void setStatus2(const std::string &) override {}
  void setButtonEnabled(device::EngineButton, bool) override {}
  void setEnregistreHint(const std::string &) override {}
  void setMonocoupChecked(bool) override {}
  void setGauge(int position, int maximum) override {
    if (maximum <= 0 || position <= 0) return;
    const int dixiemes = position * 10 / maximum;
    if (dixiemes <= m_dixiemes) return;
    m_dixiemes = dixiemes;
    std::fprintf(stderr, "kvx-record: %d/%d points\n", position, maximum);
  }
  void showScan(const device::ScanTexts &) override {}
  void showReference() override {}
  void refreshPanels() override {}
  void refreshReadout(int) override {}
  void clearReadouts() override {}
  void eraseCursors() override {}
  void showCursors() override {}
  void drawPoints(int, int) override {}
  void repaintGraph() override {}
  // The question asks to switch on the channel the scan needs: a script has
  // no one to ask, and refusing would record nothing.
  bool askYesNo(const std::string &question) override {
    std::fprintf(stderr, "kvx-record: %s: yes\n", question.c_str());
    return true;
  }
  void showError(const std::string &message) override {
    std::fprintf(stderr, "kvx-record: %s\n", message.c_str());
  }
  void showBoxAbsent() override { absent = true; }
  void showReadoutText(int, const std::string &text) override {
    if (text != m_dernier) std::fprintf(stderr, "kvx-record: %s\n", text.c_str());
    m_dernier = text;
  }

  bool termine = false;
  bool absent = false;

 private:
  std::string m_dernier;
  int m_dixiemes = 0;
};

class RecordLinkView final : public device::LinkView {
 public:
  void showLinkStatus(const std::string &text) override {
    std::fprintf(stderr, "kvx-record: %s\n", text.c_str());
  }
  void boxGone() override {
    if (onGone) onGone();
  }
  std::function<void()> onGone;
};

// The configuration's values go to the graph and the engine as the window
// puts them there; the page comment is kept for the file.
class RecordConfiguration final : public exchange::ObjetsConfiguration {
 public:
  RecordConfiguration(display::TgrapheKVX &g, device::AcquisitionEngine &e) : m_g(g), m_e(e) {}

  exchange::ValeursConfiguration valeurs() const override {
    exchange::ValeursConfiguration v;
    v.constanteNom = constanteNom;
    v.constanteUnite = constanteUnite;
    v.constanteComm = commentaire;
    return v;
  }
  void appliqueValeurs(const exchange::ValeursConfiguration &v) override {
    constanteNom = v.constanteNom;
    constanteUnite = v.constanteUnite;
    commentaire = v.constanteComm;
    m_g.Abscisse = static_cast<std::uint8_t>(v.abscisse);
    m_g.Ligne = v.ligne;
    m_g.Points = v.points;
    m_g.Mode = static_cast<std::uint8_t>(v.mode);
    m_g.temps().FixeMaxi(v.duree);
    m_g.FixeNombre(v.nombre);
    m_e.setMonocoup(v.monocoup);
    m_e.setPointAuto(v.pointAuto);
    m_g.AxeY = v.axeY;
    m_g.Grille = v.grille;
    m_g.AnalLog = v.analLog;
    m_e.FixeEntreeFront(v.front);
    m_g.Seuil = v.seuil;
    m_g.Bouge = v.bouge;
    m_g.VoieSynchro = v.voie;
    // Before the channels read their sections: their inputs take their range
    // from the reference.
    model::FixeMasse(v.masse);
    m_g.ModeSynchro = static_cast<std::uint8_t>(v.synchroMode);
    m_g.DimPoint = v.dimPoint;
  }
  void litVoie(int slot, const std::string &section, const model::IniSections &d) override {
    m_g.voie(slot).LitSection(section, d);
  }
  void ecritVoie(int slot, const std::string &section, model::IniSections &d) override {
    m_g.voie(slot).EcritSection(section, d);
  }
  void finLecture() override { m_g.nbPoints = 0; }

  std::string constanteNom, constanteUnite, commentaire;

 private:
  display::TgrapheKVX &m_g;
  device::AcquisitionEngine &m_e;
};

exchange::IniDateTime Maintenant() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  exchange::IniDateTime d;
  d.year = local.tm_year + 1900;
  d.month = local.tm_mon + 1;
  d.day = local.tm_mday;
  d.hour = local.tm_hour;
  d.minute = local.tm_min;
  d.second = local.tm_sec;
  return d;
}

// Why the configuration cannot be used, or "" when it was read whole.
std::string LitConfigurationEnregistreur(const std::string &nom, RecordConfiguration &objets) {
  const std::string fichier = exchange::NomConfiguration(nom);
  switch (exchange::LitConfiguration(nom, objets, Maintenant())) {
    case exchange::ResultatLecture::Lu:
      return {};
    case exchange::ResultatLecture::Absent:
      return "cannot read the configuration \"" + fichier + "\": no such file";
    case exchange::ResultatLecture::Interrompu:
      return "the configuration \"" + fichier + "\" holds a value that cannot be read";
    case exchange::ResultatLecture::PasUneConfiguration:
      return "\"" + fichier + "\" is not a KVX configuration";
    case exchange::ResultatLecture::PasUnFichier:
      return "\"" + fichier + "\" is not a regular file";
  }
  return "cannot read the configuration \"" + fichier + "\"";
}

// The data file must be writable before the user waits for a scan: its
// folder takes a new file, and the target is one a save may replace.
std::string VerifieSortie(const std::filesystem::path &fichier) {
  try {
    exchange::checkSaveTarget(fichier);
  } catch (const exchange::FileError &e) {
    return e.what();
  }
  const std::filesystem::path dossier =
      fichier.parent_path().empty() ? std::filesystem::path(".") : fichier.parent_path();
  const std::filesystem::path essai =
      dossier / (".kvx-record-" + std::to_string(::getpid()) + ".essai");
  const int fd = ::open(essai.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0)
    return "Écriture impossible du fichier « " + fichier.string() + " » : " + std::strerror(errno);
  ::close(fd);
  ::unlink(essai.c_str());
  return {};
}

// The program's objects around one engine, as the window holds them.
struct Session {
  explicit Session(std::vector<std::string> chemins, const std::string &dossierSysteme)
      : ports(std::move(chemins), dossierSysteme),
        link(ports, linkView, device::SteadyClock::instance(), Options()),
        engine(graphe, link, timer, view),
        configuration(graphe, engine) {
    linkView.onGone = [this] { engine.BoxGone(); };
  }

  static device::LinkOptions Options() {
    device::LinkOptions options;
    options.traceFiles = false;  // a script's folder is not the place for trace files
    return options;
  }

  // One turn of the window's loop: wait for the box's bytes or the next tick.
  void step() {
    pollfd fd{link.nativeHandle(), POLLIN, 0};
    ::poll(&fd, fd.fd >= 0 ? 1 : 0, timer.msToNext());
    link.ServiceInput();
    if (timer.due()) engine.TimerTimer();
  }

  // As the window leaves the box at the end: no scan running on.
  void stopBox() {
    engine.EndTriggerWait();
    if (engine.state() != device::AcqState::Finished) engine.StopBtnClick(false);
    if (graphe.Mode == display::kModeTemps) link.SendCommand(device::cmd::kStop);
    link.Close();
  }

  exchange::DonneesTransfert donnees() const {
    exchange::DonneesTransfert d;
    d.mode = graphe.Mode;
    for (int s = 1; s <= display::kNbCourbes; ++s)
      d.voies[static_cast<std::size_t>(s)] = &graphe.voie(s);
    d.nbPoints = graphe.nbPoints;
    d.abscisse = graphe.abscisse();
    d.ligne = graphe.Ligne;
    d.points = graphe.Points;
    d.commentaire = configuration.commentaire;
    d.constanteNom = configuration.constanteNom;
    d.constanteUnite = configuration.constanteUnite;
    return d;
  }

  platform::PortTable ports;
  RecordLinkView linkView;
  device::BoxLink link;
  display::TgrapheKVX graphe;
  SteadyTimer timer;
  RecordView view;
  device::AcquisitionEngine engine;
  RecordConfiguration configuration;
};

enum class Fin { Termine, Interrompu, Absent };

// A timed scan or a sweep, to its end.
Fin RunOnce(Session &s) {
  const int mode = s.graphe.Mode;
  // The key trigger waits for the button; the others are armed already.
  if (mode != display::kModeTemps || s.graphe.ModeSynchro == display::kSynchroClavier)
    s.engine.EnregistreBtnClick();
  bool parti = false;
  for (;;) {
    if (g_interruption) return Fin::Interrompu;
    if (s.view.absent) return Fin::Absent;
    if (mode == display::kModeTemps && s.view.termine) return Fin::Termine;
    if (s.engine.state() == device::AcqState::Acquiring) parti = true;
    if (mode != display::kModeTemps && parti && s.engine.state() == device::AcqState::Finished)
      return Fin::Termine;
    s.step();
  }
}

// Point by point with the automatic test, for `secondes` or until the arrays
// are full.
Fin RunPoints(Session &s, double secondes) {
  const auto fin = Steady::now() + std::chrono::duration_cast<Steady::duration>(
                                       std::chrono::duration<double>(secondes));
  int annonces = 0;
  auto annonce = Steady::now();
  while (Steady::now() < fin && s.graphe.nbPoints < model::kNbValeurs) {
    if (g_interruption) break;
    if (s.view.absent) return Fin::Absent;
    s.step();
    if (s.graphe.nbPoints != annonces && Steady::now() - annonce >= std::chrono::seconds(1)) {
      annonces = s.graphe.nbPoints;
      annonce = Steady::now();
      std::fprintf(stderr, "kvx-record: %d points\n", annonces);
    }
  }
  if (s.graphe.nbPoints >= model::kNbValeurs)
    std::fprintf(stderr, "kvx-record: %d points, the most a recording holds\n", s.graphe.nbPoints);
  return Fin::Termine;
}

// Sets the mode the run needs; returns a usage error, a failure, or "".
struct Refus {
  int statut = 0;
  std::string texte;
};
Refus ChoisitMode(Session &s, const Options &o) {
  const int mode = s.graphe.Mode;
  if (!std::isnan(o.duree)) {
    if (mode != display::kModePointParPoint)
      std::fprintf(stderr,
                   "kvx-record: recording point by point (the configuration's mode is %s)\n",
                   mode < 5 ? display::kNomsModes[static_cast<std::size_t>(mode)] : "?");
    s.graphe.Mode = display::kModePointParPoint;
    s.engine.setPointAuto(true);
    return {};
  }
  if (mode == display::kModePointParPoint)
    return {2, "the configuration records point by point: give --for DURATION"};
  if (mode != display::kModeTemps && mode != display::kModeSortieAnalogique)
    return {1, std::string("the configuration's mode \"") +
                   (mode < 5 ? display::kNomsModes[static_cast<std::size_t>(mode)] : "?") +
                   "\" needs someone at the window; kvx-record runs timed scans, sweeps "
                   "and point by point (--for)"};
  return {};
}

int Enregistre(const Options &o) {
  std::unique_ptr<platform::PtyServer> simulateur;
  std::vector<std::string> chemins = o.ports;
  if (o.simulate) {
    auto boitier = std::make_unique<device::SimulatedBox>(Steady::now());
    for (const std::string &signal : o.signals)
      if (std::string e = ApplySignal(*boitier, signal); !e.empty()) return usageError(e);
    simulateur = std::make_unique<platform::PtyServer>(std::move(boitier));
    std::string erreur;
    if (!simulateur->start(&erreur)) return failure("cannot start the simulated box: " + erreur);
    chemins.push_back(simulateur->slavePath());
  }
  // With ports named, only they are searched: a script names its box.
  Session s(chemins, chemins.empty() ? "/dev" : "");
  if (std::string e = LitConfigurationEnregistreur(o.configuration, s.configuration); !e.empty())
    return failure(e);
  if (Refus r = ChoisitMode(s, o); r.statut == 2)
    return usageError(r.texte);
  else if (r.statut != 0)
    return failure(r.texte);
  if (std::string e = VerifieSortie(o.output); !e.empty()) return failure(e);
  if (s.ports.portCount() == 0) return failure("no serial port to search (give --port PATH)");

  s.link.setComNumber(1);
  s.link.SearchBox();
  if (!s.link.BoxPresent()) return failure("no Nuvex KVX box answered");
  s.engine.setMonocoup(true);
  s.engine.ApplyConfiguration();
  // One acquisition: a free-running trigger would start the next one.
  s.engine.setMonocoup(true);
  const Fin fin = std::isnan(o.duree) ? RunOnce(s) : RunPoints(s, o.duree);
  s.stopBox();
  if (fin == Fin::Absent && s.graphe.nbPoints == 0)
    return failure("the box stopped answering before any point; no file written");
  if (fin == Fin::Interrompu) {
    std::fprintf(stderr, "kvx-record: interrupted, no file written\n");
    return 130;
  }
  const exchange::ResultatSauvegarde r =
      exchange::EstFichierTableur(o.output)
          ? exchange::ExporteTableur(o.output, s.donnees(), exchange::OptionsEnvironnement())
          : exchange::SauveDonnees(o.output, exchange::TexteFichierAscii(s.donnees()));
  if (!r.reussi) return failure(r.message);
  std::fprintf(stderr, "kvx-record: %d points written to %s\n", s.graphe.nbPoints,
               o.output.c_str());
  if (fin == Fin::Absent)
    return failure("the box stopped answering; the points received so far are in the file");
  return 0;
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
  return Enregistre(options);
}
