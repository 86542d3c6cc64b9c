// SPDX-License-Identifier: GPL-3.0-or-later
// What the recording history costs: writing the entry of a full recording
// (eight columns of 6400 noisy values with every digit in use, flushed to the
// disk), reading it back, and listing 200 entries for the menu (headers
// only). Prints the best and median of several runs against the goals:
// 20 ms to write, 20 ms to read, 50 ms to list.
// Usage: historique_bench [RUNS] [FOLDER]   (FOLDER: where to write; a
// temporary folder by default)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "exchange/historique.h"

namespace {

using steady = std::chrono::steady_clock;
namespace fs = std::filesystem;
using kvx::exchange::Enregistrement;
using kvx::exchange::Historique;

constexpr int kPoints = 6400;
constexpr int kColonnes = 8;
constexpr int kEntreesListe = 200;

struct Figures {
  double best = 0, median = 0;
};

template <class F>
Figures Time(int runs, F &&f) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const auto start = steady::now();
    f(i);
    ms.push_back(std::chrono::duration<double, std::milli>(steady::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return {ms.front(), ms[ms.size() / 2]};
}

Enregistrement Grand() {
  Enregistrement e;
  e.instantMs = 1796900000000;
  e.mode = 1;
  e.nbPoints = kPoints;
  // A configuration file's size with its fourteen sections.
  e.configuration = std::string(3000, 'c');
  std::mt19937 random(42);
  std::uniform_real_distribution<double> noise(-5.0, 5.0);
  for (int k = 0; k < kColonnes; ++k) {
    Enregistrement::Colonne c;
    c.slot = k + 1;
    for (int j = 0; j < kPoints; ++j) c.valeurs.push_back(k == 0 ? j * 0.000156 : noise(random));
    e.colonnes.push_back(std::move(c));
    if (k > 0) e.symboles.push_back("V" + std::to_string(k));
  }
  return e;
}

}  // namespace

int main(int argc, char **argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const fs::path dossier = (argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path()) /
                           ("kvx-historique-bench-" + std::to_string(::getpid()));
  Historique historique(dossier, {1000, 1ull << 40, 20});
  const Enregistrement grand = Grand();

  // The text alone: what the writer's thread spends before the disk.
  std::size_t octets = 0;
  const Figures texte =
      Time(runs, [&](int) { octets += kvx::exchange::TexteEntree(grand).size(); });

  std::vector<fs::path> ecrites;
  bool reussi = true;
  const Figures ecriture = Time(runs, [&](int i) {
    Enregistrement e = grand;
    e.instantMs += i;
    try {
      ecrites.push_back(historique.Ecrit(e));
    } catch (const std::exception &erreur) {
      std::fprintf(stderr, "%s\n", erreur.what());
      reussi = false;
    }
  });
  const std::uintmax_t taille = ecrites.empty() ? 0 : fs::file_size(ecrites.front());
  int lues = 0;
  const Figures lecture = Time(runs, [&](int i) {
    if (ecrites.empty()) return;
    lues += historique.Lit(ecrites[static_cast<std::size_t>(i) % ecrites.size()]).nbPoints > 0;
  });
  // Up to 200 full entries for the list: copies of the first one.
  for (int i = static_cast<int>(ecrites.size()); i < kEntreesListe && !ecrites.empty(); ++i)
    fs::copy_file(ecrites.front(),
                  dossier / kvx::exchange::NomEntree(grand.instantMs + 100000 + i));
  std::size_t listees = 0;
  const Figures liste = Time(runs, [&](int) { listees = historique.Liste(kEntreesListe).size(); });
  fs::remove_all(dossier);

  std::printf("entry of %d columns x %d points (%ju bytes), %d runs (best / median)\n", kColonnes,
              kPoints, taille, runs);
  std::printf("  entry text       %7.2f / %7.2f ms\n", texte.best, texte.median);
  std::printf("  write (flushed)  %7.2f / %7.2f ms  goal 20 ms: %s\n", ecriture.best,
              ecriture.median, ecriture.median <= 20 ? "met" : "MISSED");
  std::printf("  read back        %7.2f / %7.2f ms  goal 20 ms: %s\n", lecture.best, lecture.median,
              lecture.median <= 20 ? "met" : "MISSED");
  std::printf("  list %zu entries %7.2f / %7.2f ms  goal 50 ms: %s\n", listees, liste.best,
              liste.median, liste.median <= 50 ? "met" : "MISSED");
  return reussi && lues == runs && octets > 0 ? 0 : 1;
}
