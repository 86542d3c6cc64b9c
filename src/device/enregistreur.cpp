// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/enregistreur.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <utility>

#include "device/acquisition_engine.h"
#include "device/box_facts.h"
#include "device/box_link.h"
#include "device/configuration_moteur.h"
#include "device/engine_texts.h"
#include "device/link_view.h"
#include "device/sans_fenetre.h"
#include "display/graphe.h"
#include "exchange/atomic_file.h"
#include "exchange/configuration.h"
#include "exchange/raison_systeme.h"
#include "model/masse.h"

namespace kvx::device {

namespace {

using Steady = std::chrono::steady_clock;

// A point by point recording saves its rows at most this often, so a full
// disk or a crash loses at most this much of a long run.
constexpr auto kSauvegardeReguliere = std::chrono::seconds(1);

// The window's side of the engine, on the journal: the statuses that tell
// a script's user why nothing happens yet, the progress of a scan, and the
// end. The texts that ask for a click or a key are not shown: this tool
// presses the button itself.
class RecordView final : public device::VueSansFenetre {
 public:
  void setStatus(const std::string &text) override {
    if (text == device::texts::kAcquisitionTerminee) termine = true;
    // The box is stopped after the user's Ctrl+C: what the engine says then
    // ("Acquisition terminée") is not what happened.
    if (muet) return;
    namespace t = device::texts;
    for (const char *cache : {t::kCliquerPourDemarrer, t::kAttenteDeclenchement,
                              t::kCliquerPourEnregistrer, t::kDecocherAutomatique})
      if (text == cache) return;
    if (text == m_dernier) return;
    m_dernier = text;
    journal(text);
  }
  void setGauge(int position, int maximum) override {
    if (maximum <= 0 || position <= 0) return;
    const int dixiemes = position * 10 / maximum;
    if (dixiemes <= m_dixiemes) return;
    m_dixiemes = dixiemes;
    journal(std::to_string(position) + "/" + std::to_string(maximum) + " points");
  }
  // The question asks to switch on the channel the scan needs: a script has
  // no one to ask, and refusing would record nothing.
  bool askYesNo(const std::string &question) override {
    journal(question + ": yes");
    return true;
  }
  void showError(const std::string &message) override { journal(message); }
  void showBoxAbsent() override { absent = true; }
  void showReadoutText(int, const std::string &text) override {
    if (text != m_dernier) journal(text);
    m_dernier = text;
  }

  std::function<void(const std::string &)> journal;
  bool termine = false;
  bool absent = false;
  bool muet = false;

 private:
  std::string m_dernier;
  int m_dixiemes = 0;
};

class RecordLinkView final : public device::LinkView {
 public:
  void showLinkStatus(const std::string &text) override { journal(text); }
  void boxGone() override {
    if (onGone) onGone();
  }
  std::function<void()> onGone;
  std::function<void(const std::string &)> journal;
};

// The configuration's values go to the graph and the engine as the window
// puts them there; the page's constant and comment are kept for the file.
class RecordConfiguration final : public device::ConfigurationMoteur {
 public:
  using ConfigurationMoteur::ConfigurationMoteur;

  exchange::ValeursConfiguration valeurs() const override {
    exchange::ValeursConfiguration v = ConfigurationMoteur::valeurs();
    v.constanteNom = constanteNom;
    v.constanteUnite = constanteUnite;
    v.constanteComm = commentaire;
    return v;
  }
  void appliqueValeurs(const exchange::ValeursConfiguration &v) override {
    constanteNom = v.constanteNom;
    constanteUnite = v.constanteUnite;
    commentaire = v.constanteComm;
    ConfigurationMoteur::appliqueValeurs(v);
  }

  std::string constanteNom, constanteUnite, commentaire;
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
    return "Écriture impossible du fichier « " + fichier.string() +
           " » : " + exchange::RaisonSysteme(errno);
  ::close(fd);
  ::unlink(essai.c_str());
  return {};
}

// The program's objects around one engine, as the window holds them.
struct Session {
  Session(device::PortProvider &ports, const std::function<void(const std::string &)> &journal)
      : ports(ports),
        link(ports, linkView, device::SteadyClock::instance(), Options()),
        engine(graphe, link, timer, view),
        configuration(graphe, engine) {
    linkView.onGone = [this] { engine.BoxGone(); };
    linkView.journal = journal;
    view.journal = journal;
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

  device::PortProvider &ports;
  RecordLinkView linkView;
  device::BoxLink link;
  display::TgrapheKVX graphe;
  device::MinuterieReguliere timer;
  RecordView view;
  device::AcquisitionEngine engine;
  RecordConfiguration configuration;
};

// Room for the table of a scan of `points` points over `colonnes` columns,
// checked before the user waits for the scan: a data file that cannot be
// written at the end would lose the whole scan. A cell is at most a sign, 15
// digits, a separator and an exponent, then its TAB.
std::string VerifiePlace(const std::filesystem::path &fichier, int points, int colonnes) {
  constexpr unsigned long long kCellule = 24, kEntetes = 4096;
  const unsigned long long besoin =
      kEntetes + static_cast<unsigned long long>(std::max(points, 0)) *
                     (static_cast<unsigned long long>(std::max(colonnes, 1)) * kCellule + 2);
  const std::filesystem::path dossier =
      fichier.parent_path().empty() ? std::filesystem::path(".") : fichier.parent_path();
  unsigned long long libre = ~0ull;
  struct statvfs disque {};
  if (::statvfs(dossier.c_str(), &disque) == 0)
    libre = static_cast<unsigned long long>(disque.f_bavail) * disque.f_frsize;
  std::string raison = exchange::RaisonSysteme(ENOSPC);
  struct rlimit limite {};
  if (::getrlimit(RLIMIT_FSIZE, &limite) == 0 && limite.rlim_cur != RLIM_INFINITY &&
      limite.rlim_cur < libre) {
    libre = limite.rlim_cur;
    raison = exchange::RaisonSysteme(EFBIG);
  }
  if (besoin <= libre) return {};
  return "Écriture impossible du fichier « " + fichier.string() + " » : " + raison + " (" +
         std::to_string((besoin + 1023) / 1024) + " Ko nécessaires, " +
         std::to_string(libre / 1024) + " Ko disponibles) ; rien n'a été enregistré";
}

enum class Fin { Termine, Interrompu, Absent, EcritureImpossible };

// A timed scan or a sweep, to its end.
Fin RunOnce(Session &s, const std::function<bool()> &interrompu) {
  const int mode = s.graphe.Mode;
  // The key trigger waits for the button; the others are armed already.
  if (mode != display::kModeTemps || s.graphe.ModeSynchro == display::kSynchroClavier)
    s.engine.EnregistreBtnClick();
  bool parti = false;
  for (;;) {
    if (interrompu()) return Fin::Interrompu;
    if (s.view.absent) return Fin::Absent;
    if (mode == display::kModeTemps && s.view.termine) return Fin::Termine;
    if (s.engine.state() == device::AcqState::Acquiring) parti = true;
    if (mode != display::kModeTemps && parti && s.engine.state() == device::AcqState::Finished)
      return Fin::Termine;
    s.step();
  }
}

// Point by point with the automatic test, for `secondes` or until the arrays
// are full. The rows are saved as they come (at most once a second), so a
// disk that fills up, a box that goes or a crash keeps the rows written so
// far; `erreur` tells why a save failed.
Fin RunPoints(Session &s, double secondes, const std::function<bool()> &interrompu,
              const std::function<exchange::ResultatSauvegarde()> &sauve, std::string &erreur) {
  const auto fin = Steady::now() + std::chrono::duration_cast<Steady::duration>(
                                       std::chrono::duration<double>(secondes));
  int annonces = 0;
  auto annonce = Steady::now();
  int sauves = 0;
  auto sauvegarde = Steady::now();
  while (Steady::now() < fin && s.graphe.nbPoints < model::kNbValeurs) {
    if (interrompu()) break;
    if (s.view.absent) return Fin::Absent;
    s.step();
    if (s.graphe.nbPoints != sauves && Steady::now() - sauvegarde >= kSauvegardeReguliere) {
      const exchange::ResultatSauvegarde r = sauve();
      if (!r.reussi) {
        erreur = r.message;
        return Fin::EcritureImpossible;
      }
      sauves = s.graphe.nbPoints;
      sauvegarde = Steady::now();
    }
    if (s.graphe.nbPoints != annonces && Steady::now() - annonce >= std::chrono::seconds(1)) {
      annonces = s.graphe.nbPoints;
      annonce = Steady::now();
      s.view.journal(std::to_string(annonces) + " points");
    }
  }
  if (s.graphe.nbPoints >= model::kNbValeurs)
    s.view.journal(std::to_string(s.graphe.nbPoints) + " points, the most a recording holds");
  return Fin::Termine;
}

// Sets the mode the run needs; returns a usage error, a failure, or "".
struct Refus {
  int statut = 0;
  std::string texte;
};
Refus ChoisitMode(Session &s, double duree) {
  const int mode = s.graphe.Mode;
  if (!std::isnan(duree)) {
    if (mode != display::kModePointParPoint)
      s.view.journal(std::string("recording point by point (the configuration's mode is ") +
                     (mode < 5 ? display::kNomsModes[static_cast<std::size_t>(mode)] : "?") + ")");
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

}  // namespace

double Enregistreur::DureeMin() {
  return kIntervalPointModes / 1000.0;
}

double Enregistreur::DureeMax() {
  return std::chrono::duration<double>(Steady::duration::max()).count() / 2;
}

Enregistreur::Enregistreur(PortProvider &ports, EcritureTable ecrit,
                           std::function<void(const std::string &)> journal,
                           std::function<bool()> interrompu)
    : m_ports(ports),
      m_ecrit(std::move(ecrit)),
      m_journal(std::move(journal)),
      m_interrompu(std::move(interrompu)) {}

ResultatEnregistrement Enregistreur::Enregistre(const DemandeEnregistrement &o) {
  Session s(m_ports, m_journal);
  if (std::string e = LitConfigurationEnregistreur(o.configuration, s.configuration); !e.empty())
    return {1, e};
  if (Refus r = ChoisitMode(s, o.duree); r.statut != 0) return {r.statut, r.texte};
  if (std::string e = VerifieSortie(o.sortie); !e.empty()) return {1, e};
  if (m_ports.portCount() == 0) return {1, "no serial port to search (give --port PATH)"};

  s.link.setComNumber(1);
  s.link.SearchBox();
  if (!s.link.BoxPresent()) return {1, "no Nuvex KVX box answered"};
  s.engine.setMonocoup(true);
  s.engine.ApplyConfiguration();
  // One acquisition: a free-running trigger would start the next one.
  s.engine.setMonocoup(true);
  if (std::isnan(o.duree)) {
    int colonnes = 1;
    for (int slot = 2; slot <= display::kNbCourbes; ++slot)
      if (s.graphe.voie(slot).Active) ++colonnes;
    if (std::string e = VerifiePlace(o.sortie, s.graphe.nombre, colonnes); !e.empty()) {
      s.view.muet = true;  // nothing was started: nothing "terminée"
      s.stopBox();
      return {1, e};
    }
  }
  const auto sauve = [&] { return m_ecrit(o.sortie, s.donnees()); };
  std::string erreurEcriture;
  const Fin fin = std::isnan(o.duree) ? RunOnce(s, m_interrompu)
                                      : RunPoints(s, o.duree, m_interrompu, sauve, erreurEcriture);
  if (fin == Fin::Interrompu) s.view.muet = true;
  s.stopBox();
  if (fin == Fin::EcritureImpossible)
    return {1, erreurEcriture + " ; les points enregistrés jusque-là restent dans le fichier"};
  if (fin == Fin::Absent && s.graphe.nbPoints == 0)
    return {1, "the box stopped answering before any point; no file written"};
  if (fin == Fin::Interrompu) {
    m_journal("interrupted, no file written");
    return {130, {}};
  }
  const exchange::ResultatSauvegarde r = sauve();
  if (!r.reussi) return {1, r.message};
  m_journal(std::to_string(s.graphe.nbPoints) + " points written to " + o.sortie);
  if (fin == Fin::Absent)
    return {1, "the box stopped answering; the points received so far are in the file"};
  return {0, {}};
}

}  // namespace kvx::device
