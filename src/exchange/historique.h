// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The recording history: every recording the user took is kept in a folder
// of the user's data, one file an entry, so that no curve is lost to a new
// setting, a mode change, a cleared table or the end of the program. The
// window queues each recording to `EcrivainHistorique`, which writes it on
// its own thread, away from the exchanges with the box; the menu
// "Acquisitions récentes" lists the entries and reads one back.
//
// An entry is a text file, UTF-8, lines ended by LF:
//   KVX historique 1
//   date 2026-12-10 14:03:27
//   mode 1
//   points 6400
//   voies V1<TAB>V2            (the recorded channels' symbols, for the list)
//   configuration <byte count>
//   <the configuration file's bytes, as the configuration save writes them>
//   colonnes 1 5 6             (graph slots whose values follow, time first)
//   mini 0 -5 -5
//   maxi 1 5 5
//   fourche <time origin>      (optical fork only: its event counts follow)
//   valeurs
//   <one line a point: the columns' values, TAB between them, shortest text
//    that reads back to the same double; the fork's count last>
//   fin
// The file name is "kvx-AAAAMMJJ-HHMMSS-mmm.kvxh" (local date and time of the
// recording): only files with such a name AND the first line above are the
// history's own, the only ones it ever removes.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace kvx::exchange {

// An entry that cannot be read back; the message says why, in French.
class HistoriqueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One recording: what was on the graph, with the configuration it was taken
// with.
struct Enregistrement {
  // Local date and time of the recording: milliseconds since 1970 (UTC).
  std::int64_t instantMs = 0;
  int mode = 1;  // 0 keyboard, 1 timed scan, 2 point by point, 3 sweep, 4 fork
  int nbPoints = 0;
  std::vector<std::string> symboles;  // the recorded channels, for the list
  std::string configuration;          // bytes of a configuration file
  struct Colonne {
    int slot = 1;  // graph slot 1..9
    double mini = 0, maxi = 1;
    std::vector<double> valeurs;  // nbPoints values
  };
  std::vector<Colonne> colonnes;
  // The optical fork's event counts (nbPoints of them) and time origin.
  bool fourche = false;
  std::vector<std::int32_t> comptes;
  std::uint32_t origineTemps = 0;
};

// What the list shows of an entry, read from its first lines only.
struct EnteteEntree {
  int annee = 0, mois = 0, jour = 0, heure = 0, minute = 0, seconde = 0;
  int mode = 1;
  int nbPoints = 0;
  std::vector<std::string> symboles;
};

// The whole entry text of a recording, and back. LitEntree throws
// HistoriqueError for anything but a complete, consistent entry.
std::string TexteEntree(const Enregistrement &e);
Enregistrement LitEntree(std::string_view texte);
// The header from the start of an entry (the first few kilobytes are
// enough); throws HistoriqueError.
EnteteEntree LitEntete(std::string_view debut);

// The entry's file name for its instant: "kvx-AAAAMMJJ-HHMMSS-mmm.kvxh".
std::string NomEntree(std::int64_t instantMs);
// True for a name of that exact form.
bool EstNomEntree(std::string_view nom);

// The history folder. Not thread-safe by itself: the writer's thread writes
// and trims; the window's thread only lists and reads, which a removal under
// its feet turns into an unreadable or missing entry, never a fault.
class Historique {
 public:
  struct Limites {
    std::size_t entrees = 200;
    std::uintmax_t octets = 500ull * 1024 * 1024;
    // Repetitions of one repeating scan kept: a scan that repeats all
    // afternoon must not push every other recording out.
    std::size_t parSerie = 20;
  };
  // An entry is at most this large (eight 6400-point columns take about
  // 1 MB); a larger file is not read.
  static constexpr std::uintmax_t kTailleMaxEntree = 16u << 20;

  explicit Historique(std::filesystem::path dossier);
  Historique(std::filesystem::path dossier, Limites limites);

  const std::filesystem::path &dossier() const { return m_dossier; }

  // Writes the entry (the folder is made if missing) and trims the history;
  // answers its path. Throws FileError with the user's message (full disk,
  // read-only folder). `serie` 0: a recording of its own; otherwise the
  // repetitions of one run share it and only the last `parSerie` stay.
  std::filesystem::path Ecrit(const Enregistrement &e, std::uint64_t serie = 0);

  struct Element {
    std::filesystem::path chemin;
    std::optional<EnteteEntree> entete;  // none: unreadable (the reason says why)
    std::string raison;
  };
  // The newest `nombre` entries, newest first, reading only their headers.
  // Names that are not the history's are skipped; an entry with our name
  // that cannot be read is listed with its reason.
  std::vector<Element> Liste(std::size_t nombre) const;

  // Reads one entry; throws HistoriqueError with a French message.
  Enregistrement Lit(const std::filesystem::path &chemin) const;

  // Removes the oldest of our entries beyond the limits, and temporary
  // files of writes killed half-way.
  void Elague();

  // A file named as an entry, found in the folder.
  struct Fichier {
    std::string nom;
    std::filesystem::path chemin;
  };

 private:
  std::filesystem::path CheminLibre(std::int64_t instantMs) const;
  void Retire(const std::vector<Fichier> &fichiers);
  void RetireTemporaires();

  std::filesystem::path m_dossier;
  Limites m_limites;
  std::map<std::uint64_t, std::deque<std::filesystem::path>> m_series;
};

// Reads the start (up to `octets`) of a regular file without ever waiting:
// opened with O_NONBLOCK, refused unless a regular file (a FIFO or a device
// in the history's place is never waited on). Throws HistoriqueError.
std::string LitDebutFichier(const std::filesystem::path &chemin, std::size_t octets);

// Writes the queued recordings on a thread of its own, so that neither a tick
// that reads the box nor the window waits on the disk. Failures are handed to
// `rapport` ON THE WRITER'S THREAD with the user's message.
class EcrivainHistorique {
 public:
  using Rapport = std::function<void(const std::string &message)>;
  EcrivainHistorique(Historique &historique, Rapport rapport);
  // Ends after the write under way; what is still queued is given up (the
  // close waits for it first, with Attend).
  ~EcrivainHistorique();
  EcrivainHistorique(const EcrivainHistorique &) = delete;
  EcrivainHistorique &operator=(const EcrivainHistorique &) = delete;

  void Ajoute(Enregistrement e, std::uint64_t serie = 0);
  // Waits until everything queued is on the disk, at most `delai`; true when
  // it is. The close uses it within its two seconds.
  bool Attend(std::chrono::milliseconds delai);
  std::size_t ecrites() const;

 private:
  void Boucle();

  Historique &m_historique;
  Rapport m_rapport;
  mutable std::mutex m_mutex;
  std::condition_variable m_reveil;
  std::condition_variable m_vide;
  std::deque<std::pair<Enregistrement, std::uint64_t>> m_file;
  bool m_occupe = false;
  bool m_fin = false;
  std::size_t m_ecrites = 0;
  std::thread m_fil;
};

}  // namespace kvx::exchange
