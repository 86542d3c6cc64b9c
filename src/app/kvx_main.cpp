// kvx: the desktop front end of the Nuvex KVX box.
#include <cstdio>
#include <cstring>

#include "model/version.h"

namespace {

void printUsage(std::FILE *out) {
  std::fprintf(out,
               "Usage: kvx [--simulate] [--port PATH]... [/C-] [FILE.KVX]\n"
               "  --simulate   use the built-in simulated box\n"
               "  --port PATH  try this serial device first (repeatable)\n"
               "  --help       show this help\n"
               "  --version    show the version\n");
}

}  // namespace

int main(int argc, char **argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      printUsage(stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("kvx %s\n", kvx::model::kVersion);
      return 0;
    }
  }
  std::fprintf(stderr, "kvx: the main window is not built yet; try --version\n");
  printUsage(stderr);
  return 2;
}
