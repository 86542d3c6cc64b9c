// kvx: the desktop front end of the Nuvex KVX box.
#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <string>
#include <vector>

#include "model/separateur_decimal.h"
#include "model/version.h"
#include "ui/command_line.h"
#include "ui/greek_keys.h"
#include "ui/kvxmain.h"

namespace {

void printUsage(std::FILE *out) {
  std::fprintf(out,
               "Usage: kvx [--simulate] [--port PATH]... [/C-] [FILE.KVX]\n"
               "  --simulate   start the built-in simulated box on a pseudo-terminal\n"
               "               and try it first\n"
               "  --port PATH  try this serial device first (repeatable)\n"
               "  /C-          hide the sensors menu item\n"
               "  FILE.KVX     configuration file to load\n"
               "  --help       show this help\n"
               "  --version    show the version\n");
}

}  // namespace

int main(int argc, char **argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
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

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("KVX"));
  kvx::model::FixeSeparateurDecimal(QLocale().decimalPoint().at(0).toLatin1() == ',' ? ',' : '.');
  kvx::ui::TGreekKeyFilter grec;
  app.installEventFilter(&grec);

  kvx::ui::TKVXmainForm::Options fenetre;
  kvx::ui::TKVXmainForm form(fenetre);
  form.show();
  return app.exec();
}
