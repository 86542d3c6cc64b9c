// SPDX-License-Identifier: GPL-3.0-or-later
// Times the main window against the simulated box on a pseudo-terminal, the
// way `kvx --simulate` runs: start to first painted window, CPU while the
// live read-outs run, and a 6400-point acquisition of one input at the
// shortest period against the wire time of its bytes. Optionally keeps a
// picture of the window during an acquisition.
//
//   window_bench [--screenshot FILE.png] [--idle-seconds N]
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "device/acquisition_engine.h"
#include "device/box_facts.h"
#include "device/simulated_box.h"
#include "display/graphe.h"
#include "platform/port_table.h"
#include "platform/pty_server.h"
#include "ui/kvxmain.h"

namespace {

using Clock = std::chrono::steady_clock;

// Seconds since this process was started by the system, from /proc: the
// start-up figure then includes loading the program and its libraries.
double SecondesDepuisLancement() {
  std::ifstream stat("/proc/self/stat");
  std::string tout((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const auto fin = tout.rfind(')');
  if (fin == std::string::npos) return -1;
  std::istringstream champs(tout.substr(fin + 2));
  std::string champ;
  unsigned long long debut = 0;
  for (int i = 3; i <= 22 && champs >> champ; ++i)
    if (i == 22) debut = std::stoull(champ);
  std::ifstream uptime("/proc/uptime");
  double depuisBoot = 0;
  uptime >> depuisBoot;
  return depuisBoot - double(debut) / double(sysconf(_SC_CLK_TCK));
}

double CpuSecondes(int qui) {
  rusage u{};
  getrusage(qui, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for `ms`, sleeping while nothing happens as the
// program's own loop does.
void Pause(int ms) {
  QEventLoop boucle;
  QTimer::singleShot(ms, &boucle, &QEventLoop::quit);
  boucle.exec();
}

// Runs the event loop until `fini` holds or `ms` pass; false on time-out.
bool AttendQue(const std::function<bool()> &fini, int ms) {
  QElapsedTimer t;
  t.start();
  while (!fini()) {
    if (t.elapsed() > ms) return false;
    Pause(5);
  }
  return true;
}

class PremierePeinture : public QObject {
 public:
  explicit PremierePeinture(QWidget *fenetre) : m_fenetre(fenetre) {}
  bool faite = false;
  double depuisLancement = 0;

 protected:
  bool eventFilter(QObject *o, QEvent *e) override {
    auto *w = qobject_cast<QWidget *>(o);
    if (!faite && e->type() == QEvent::Paint && w && w->window() == m_fenetre) {
      faite = true;
      depuisLancement = SecondesDepuisLancement();
    }
    return false;
  }

 private:
  QWidget *m_fenetre;
};

}  // namespace

int main(int argc, char **argv) {
  std::string photo;
  int attenteSecondes = 10;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
      photo = argv[++i];
    } else if (std::strcmp(argv[i], "--idle-seconds") == 0 && i + 1 < argc) {
      attenteSecondes = std::max(1, std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "Usage: window_bench [--screenshot FILE.png] [--idle-seconds N]\n");
      return 2;
    }
  }

  auto boitier = std::make_unique<kvx::device::SimulatedBox>(Clock::now());
  kvx::platform::PtyServer serveur(std::move(boitier));
  std::string erreur;
  if (!serveur.start(&erreur)) {
    std::fprintf(stderr, "window_bench: no pseudo-terminal: %s\n", erreur.c_str());
    return 1;
  }
  QApplication app(argc, argv);
  kvx::platform::PortTable ports({serveur.slavePath()}, "");
  kvx::ui::TKVXmainForm::Options options;
  options.ports = &ports;
  options.lien.traceFolder = "/tmp";
  kvx::ui::TKVXmainForm form(options);
  PremierePeinture peinture(&form);
  app.installEventFilter(&peinture);
  form.show();
  if (!AttendQue([&] { return peinture.faite; }, 5000)) {
    std::fprintf(stderr, "window_bench: the window never painted\n");
    return 1;
  }
  std::printf("start to first painted window: %.0f ms (goal < 500 ms)\n",
              peinture.depuisLancement * 1000);

  kvx::device::AcquisitionEngine &moteur = form.moteur();
  if (!AttendQue([&] { return form.lien().BoxPresent() && form.EnregistreBtn->isEnabled(); },
                 5000)) {
    std::fprintf(stderr, "window_bench: the simulated box was not found\n");
    return 1;
  }
  Pause(500);

  // Idle with live read-outs: the whole process (simulated box included) and
  // the window's thread alone.
  const double cpu0 = CpuSecondes(RUSAGE_SELF);
  const double gui0 = CpuSecondes(RUSAGE_THREAD);
  const auto t0 = Clock::now();
  Pause(attenteSecondes * 1000);
  const double mur = std::chrono::duration<double>(Clock::now() - t0).count();
  std::printf(
      "idle CPU with live read-outs: %.2f %% of a core for the window thread, "
      "%.2f %% with the simulated box (goal < 3 %%)\n",
      100 * (CpuSecondes(RUSAGE_THREAD) - gui0) / mur,
      100 * (CpuSecondes(RUSAGE_SELF) - cpu0) / mur);

  // A five-second scan of V1 and V2 against time, pictured while its points
  // come in.
  kvx::display::TgrapheKVX &g = form.graphe();
  g.Abscisse = 1;
  moteur.ApplyConfiguration();
  moteur.DureeEditEnter("5 s");
  moteur.NbreEditEnter("500");
  AttendQue([&] { return form.EnregistreBtn->isEnabled(); }, 3000);
  form.EnregistreBtn->click();
  AttendQue([&] { return form.Gauge->value() * 2 >= form.Gauge->maximum(); }, 15000);
  if (!photo.empty()) {
    const bool ok = form.grab().save(QString::fromStdString(photo));
    std::printf("screenshot during an acquisition: %s%s\n", photo.c_str(), ok ? "" : " (FAILED)");
  }
  AttendQue([&] { return form.Statut(0) == QStringLiteral("Acquisition terminée"); }, 15000);

  // 6400 points of V1 alone at the shortest period.
  g.voie(6).Active = false;
  moteur.ApplyConfiguration();
  moteur.NbreEditEnter("6400");
  moteur.DureeEditEnter("3.2 s");
  AttendQue([&] { return form.EnregistreBtn->isEnabled(); }, 3000);
  const auto octets0 = serveur.bytesFromProgram() + serveur.bytesToProgram();
  const auto debut = Clock::now();
  form.EnregistreBtn->click();
  // Done once the last point is in: the status reads "Acquisition terminée"
  // and at once moves on to waiting for the next start.
  const bool fini = AttendQue(
      [&] {
        return moteur.state() != kvx::device::AcqState::Acquiring &&
               moteur.pointsReceived() == g.nombre;
      },
      60000);
  const double duree = std::chrono::duration<double>(Clock::now() - debut).count();
  const auto octets = serveur.bytesFromProgram() + serveur.bytesToProgram() - octets0;
  const double fil = double(octets) * std::chrono::duration<double>(kvx::device::kByteTime).count();
  const double echantillonnage = g.nombre * moteur.dt();
  std::printf(
      "6400-point acquisition (%d points, dt %.3g s): %s in %.3f s; sampling %.3f s, "
      "%llu bytes on the wire = %.3f s, %.1f %% of the elapsed time "
      "(goal >= 95 %%)\n",
      g.nombre, moteur.dt(), fini ? "finished" : "NOT finished", duree, echantillonnage,
      static_cast<unsigned long long>(octets), fil, 100 * std::min(fil, duree) / duree);
  if (!fini)
    std::printf("  left at: status \"%s\", %d of %d points received, state %d\n",
                form.Statut(0).toStdString().c_str(), moteur.pointsReceived(), g.nombre,
                static_cast<int>(moteur.state()));
  form.close();
  serveur.stop();
  return fini ? 0 : 1;
}
