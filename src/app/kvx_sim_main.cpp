// SPDX-License-Identifier: GPL-3.0-or-later
// kvx-sim: the simulated Nuvex KVX box on a pseudo-terminal. It prints the
// path of the port to open and serves it until SIGINT or SIGTERM.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "device/simulated_box.h"
#include "device/veltor_fork.h"
#include "model/version.h"
#include "platform/pty_server.h"

namespace {

using kvx::device::SimulatedBox;

void printUsage(std::FILE *out) {
  std::fprintf(out,
               "Usage: kvx-sim [--signal N=SPEC]... [--fork KIND]\n"
               "Serves a simulated Nuvex KVX box on a pseudo-terminal, prints the path\n"
               "of the port to open (kvx --port PATH) and runs until interrupted.\n"
               "\n"
               "  --signal N=SPEC  what analog input N (0 to 7) sees:\n"
               "                   KIND[:AMPLITUDE[:OFFSET[:FREQUENCY]]]\n"
               "                   KIND: sine, square, triangle, ramp, noise, constant,\n"
               "                   or output (the box's analog output wired back);\n"
               "                   amplitude and offset in box codes (defaults 100, 128),\n"
               "                   frequency in Hz (default 1); empty fields keep the\n"
               "                   default, e.g. 0=sine:60:128:5 or 3=constant::200\n"
               "  --signal bN=SPEC what binary input N (0 to 7) sees: low, high,\n"
               "                   square[:FREQUENCY] or output (high while the analog\n"
               "                   output code is 128 or more); inputs 0 and 1 are the\n"
               "                   edge inputs of the \"Front\" trigger, EF0 starting\n"
               "                   on a falling edge and EF1 on a rising one\n"
               "  --fork KIND      what passes through the optical fork, once the program\n"
               "                   has sent it the fork program: ruler (a striped ruler,\n"
               "                   3.6 mm a stripe, let fall from rest 0.3 s after the\n"
               "                   start of a run) or wheel[:TURNS_PER_SECOND] (a wheel\n"
               "                   of 20 slots turning at that speed, default 1)\n"
               "  --help           show this help\n"
               "  --version        show the version\n"
               "\n"
               "Defaults: 0=sine:100:128:1 1=square:80:128:2 2=triangle:100:128:0.5\n"
               "3=ramp:120:128:1 4=noise:20:128 5=constant::200 6=sine:50:128:10 7=output\n"
               "b0=square:1 b1=square:0.5 b2=output, other binary inputs low; the fork: ruler.\n");
}

int usageError(const std::string &what) {
  std::fprintf(stderr, "kvx-sim: %s\n", what.c_str());
  printUsage(stderr);
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  const auto powerOn = std::chrono::steady_clock::now();
  auto box = std::make_unique<SimulatedBox>(powerOn);
  kvx::device::ForkSpec fork;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help") {
      printUsage(stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("kvx-sim %s\n", kvx::model::kVersion);
      return 0;
    }
    std::string value;
    if (arg == "--fork" || arg.rfind("--fork=", 0) == 0) {
      if (arg == "--fork" && ++i >= argc) return usageError("--fork needs a value");
      const kvx::device::ForkParse parsed =
          kvx::device::ParseForkSpec(arg == "--fork" ? std::string(argv[i]) : arg.substr(7));
      if (!parsed.spec) return usageError(parsed.error);
      fork = *parsed.spec;
      continue;
    }
    if (arg == "--signal") {
      if (++i >= argc) return usageError("--signal needs a value");
      value = argv[i];
    } else if (arg.rfind("--signal=", 0) == 0) {
      value = arg.substr(9);
    } else {
      return usageError("unknown argument \"" + arg + "\"");
    }
    if (std::string error = box->applySignal(value); !error.empty()) return usageError(error);
  }

  box->setAccessory(std::make_unique<kvx::device::SimulatedFork>(fork, powerOn));

  // Signals are taken by sigwait below; the serving thread inherits the mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  kvx::platform::PtyServer server(std::move(box));
  std::string error;
  if (!server.start(&error)) {
    std::fprintf(stderr, "kvx-sim: cannot open a pseudo-terminal: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", server.slavePath().c_str());
  std::fflush(stdout);
  int received = 0;
  sigwait(&stopSignals, &received);
  server.stop();
  return 0;
}
