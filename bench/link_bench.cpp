// SPDX-License-Identifier: GPL-3.0-or-later
// How close the link comes to the speed of the line: fetches a whole
// one-input 6400-point acquisition and an eight-input 800-point one from
// kvx-sim over a pseudo-terminal, with the program's own link and protocol
// code, and compares the time taken with the wire time of the bytes actually
// moved at 9600 baud 8N1. Usage: link_bench [PATH-OF-kvx-sim]
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "device/acquisition_fetch.h"
#include "device/box_facts.h"
#include "device/box_link.h"
#include "platform/port_table.h"

extern char **environ;

namespace {

using namespace kvx::device;
using steady = std::chrono::steady_clock;

struct Simulator {
  pid_t pid = -1;
  std::string path;
};

// Starts kvx-sim and reads the port path it prints.
bool startSimulator(const std::string &program, Simulator &sim) {
  int out[2];
  if (::pipe(out) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  char *argv[] = {const_cast<char *>(program.c_str()), nullptr};
  int rc = posix_spawn(&sim.pid, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (rc != 0) {
    ::close(out[0]);
    return false;
  }
  char c;
  while (::read(out[0], &c, 1) == 1 && c != '\n') sim.path.push_back(c);
  ::close(out[0]);
  return !sim.path.empty();
}

void stopSimulator(const Simulator &sim) {
  if (sim.pid <= 0) return;
  ::kill(sim.pid, SIGTERM);
  int status = 0;
  ::waitpid(sim.pid, &status, 0);
}

bool measure(BoxLink &link, const char *what, const std::vector<int> &inputs, int points,
             double dt) {
  AcquisitionCommand a = ComposeAcquisition(inputs, points, dt);
  auto sent0 = link.bytesSent(), received0 = link.bytesReceived();
  AcquisitionFetch fetch(link, a);
  auto start = steady::now();
  fetch.start("XEAP");
  // The engine's timer ticks every 220 ms at these periods.
  bool ok = fetch.run(std::chrono::milliseconds(220), std::chrono::minutes(3));
  double took = std::chrono::duration<double>(steady::now() - start).count();
  auto moved = (link.bytesSent() - sent0) + (link.bytesReceived() - received0);
  double wire = static_cast<double>(moved) * kBitsPerByte / kBaudRate;
  std::printf("%-28s %s: %d points x %d values (%s), %zu lines, %d empty answers\n", what,
              ok ? "complete" : "INCOMPLETE", a.points, SamplesPerPoint(a.subMode), a.text.c_str(),
              fetch.lines().size(), fetch.emptyAnswers());
  std::printf("%-28s %llu bytes moved, wire time %.3f s, took %.3f s: %.1f %% of the line\n", "",
              static_cast<unsigned long long>(moved), wire, took, 100.0 * wire / took);
  return ok && wire / took >= 0.95;
}

}  // namespace

int main(int argc, char **argv) {
  namespace fs = std::filesystem;
  std::string program =
      argc > 1 ? argv[1] : (fs::read_symlink("/proc/self/exe").parent_path() / "kvx-sim").string();
  Simulator sim;
  if (!startSimulator(program, sim)) {
    std::fprintf(stderr, "link_bench: cannot start %s\n", program.c_str());
    return 1;
  }
  kvx::platform::PortTable table({sim.path}, "");
  SilentLinkView view;
  LinkOptions options;
  options.traceFolder = fs::temp_directory_path();
  BoxLink link(table, view, SteadyClock::instance(), options);
  link.IdentifyBox(1);
  if (!link.BoxPresent()) {
    std::fprintf(stderr, "link_bench: no box on %s\n", sim.path.c_str());
    stopSimulator(sim);
    return 1;
  }
  std::printf("kvx-sim on %s\n", sim.path.c_str());
  bool one = measure(link, "one input, 6400 points", {0}, 6400, 0.0005);
  bool eight = measure(link, "eight inputs, 800 points", {0, 1, 2, 3, 4, 5, 6, 7}, 800, 0.001);
  link.Close();
  stopSimulator(sim);
  std::printf("goal: at least 95 %% of the line: %s\n", one && eight ? "met" : "NOT met");
  return one && eight ? 0 : 1;
}
