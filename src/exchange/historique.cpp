// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/historique.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>
#include <system_error>

#include "exchange/atomic_file.h"

// POSIX calls for the reads: a FIFO or a device must be seen for what it is
// before anything waits on it, which only stat and O_NONBLOCK promise.

namespace kvx::exchange {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMagique = "KVX historique 1";
constexpr std::string_view kPrefixe = "kvx-";
constexpr std::string_view kSuffixe = ".kvxh";
constexpr std::size_t kTailleNom = 28;  // kvx-AAAAMMJJ-HHMMSS-mmm.kvxh
// The header the list reads: the symbols of up to nine channels fit.
constexpr std::size_t kTailleEntete = 4096;
constexpr std::size_t kSymboleMax = 64;
constexpr std::size_t kConfigurationMax = 1u << 20;
constexpr int kPointsMax = 6401;  // the channels' arrays
constexpr int kModeMax = 4;
constexpr int kModeVeltor = 4;
// A temporary file of a write killed half-way is this old before it goes.
constexpr std::time_t kTemporaireAbandonne = 60;

[[noreturn]] void refuse(const std::string &raison) {
  throw HistoriqueError(raison);
}

// Reads the text line by line, the last line possibly without its LF.
class Lignes {
 public:
  explicit Lignes(std::string_view texte) : m_texte(texte) {}
  bool fin() const { return m_pos >= m_texte.size(); }
  std::string_view suivante() {
    if (fin()) refuse("l'entrée est incomplète");
    const auto lf = m_texte.find('\n', m_pos);
    const auto bout = lf == std::string_view::npos ? m_texte.size() : lf;
    const std::string_view ligne = m_texte.substr(m_pos, bout - m_pos);
    m_pos = lf == std::string_view::npos ? m_texte.size() : lf + 1;
    ++m_numero;
    return ligne;
  }
  std::string_view octets(std::size_t n) {
    if (m_texte.size() - m_pos < n) refuse("l'entrée est incomplète");
    const std::string_view bloc = m_texte.substr(m_pos, n);
    m_pos += n;
    return bloc;
  }
  int numero() const { return m_numero; }

 private:
  std::string_view m_texte;
  std::size_t m_pos = 0;
  int m_numero = 0;
};

std::string_view apresCle(std::string_view ligne, std::string_view cle) {
  if (ligne.size() <= cle.size() || ligne.substr(0, cle.size()) != cle || ligne[cle.size()] != ' ')
    refuse("la ligne « " + std::string(cle) + " » manque");
  return ligne.substr(cle.size() + 1);
}

template <class T>
T entier(std::string_view texte, const char *quoi) {
  T valeur{};
  const auto [fin, erreur] = std::from_chars(texte.data(), texte.data() + texte.size(), valeur);
  if (erreur != std::errc() || fin != texte.data() + texte.size())
    refuse(std::string("valeur illisible : ") + quoi);
  return valeur;
}

double reel(std::string_view texte) {
  double valeur = 0;
  const auto [fin, erreur] = std::from_chars(texte.data(), texte.data() + texte.size(), valeur);
  // Out of range reads as the infinity or zero it was written from.
  if ((erreur != std::errc() && erreur != std::errc::result_out_of_range) ||
      fin != texte.data() + texte.size() || texte.empty())
    refuse("nombre illisible");
  // One NaN, whatever payload a hand-edited "nan(...)" gave it: a value that
  // is no number is written back as the same "nan".
  if (std::isnan(valeur)) valeur = std::copysign(std::numeric_limits<double>::quiet_NaN(), valeur);
  return valeur;
}

// Fields separated by one blank (or TAB for the values).
std::vector<std::string_view> champs(std::string_view ligne, char separateur) {
  std::vector<std::string_view> liste;
  std::size_t debut = 0;
  while (true) {
    const auto pos = ligne.find(separateur, debut);
    liste.push_back(ligne.substr(debut, pos == std::string_view::npos ? pos : pos - debut));
    if (pos == std::string_view::npos) break;
    debut = pos + 1;
  }
  return liste;
}

void ajouteReel(std::string &texte, double valeur) {
  char tampon[32];
  const auto resultat = std::to_chars(tampon, tampon + sizeof tampon, valeur);
  texte.append(tampon, resultat.ptr);
}

template <class T>
void ajouteEntier(std::string &texte, T valeur) {
  char tampon[24];
  const auto resultat = std::to_chars(tampon, tampon + sizeof tampon, valeur);
  texte.append(tampon, resultat.ptr);
}

// A symbol for the header: one line, no TAB, at most kSymboleMax bytes cut
// on a character boundary.
std::string symbolePourEntete(const std::string &symbole) {
  std::string s = symbole.substr(0, kSymboleMax);
  while (!s.empty() && symbole.size() > kSymboleMax &&
         (static_cast<unsigned char>(symbole[s.size()]) & 0xC0) == 0x80)
    s.pop_back();
  for (char &c : s)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return s;
}

std::tm dateLocale(std::int64_t instantMs) {
  const std::time_t secondes = static_cast<std::time_t>(instantMs / 1000);
  std::tm date{};
  localtime_r(&secondes, &date);
  return date;
}

int chiffres(std::string_view texte) {
  for (char c : texte)
    if (c < '0' || c > '9') refuse("date illisible");
  return entier<int>(texte, "date");
}

EnteteEntree litEnteteDe(Lignes &lignes) {
  if (lignes.suivante() != kMagique) refuse("ce n'est pas une entrée de l'historique");
  EnteteEntree e;
  const std::string_view date = apresCle(lignes.suivante(), "date");
  if (date.size() != 19 || date[4] != '-' || date[7] != '-' || date[10] != ' ' || date[13] != ':' ||
      date[16] != ':')
    refuse("date illisible");
  e.annee = chiffres(date.substr(0, 4));
  e.mois = chiffres(date.substr(5, 2));
  e.jour = chiffres(date.substr(8, 2));
  e.heure = chiffres(date.substr(11, 2));
  e.minute = chiffres(date.substr(14, 2));
  e.seconde = chiffres(date.substr(17, 2));
  if (e.mois < 1 || e.mois > 12 || e.jour < 1 || e.jour > 31 || e.heure > 23 || e.minute > 59 ||
      e.seconde > 60)
    refuse("date illisible");
  e.mode = entier<int>(apresCle(lignes.suivante(), "mode"), "mode");
  if (e.mode < 0 || e.mode > kModeMax) refuse("mode inconnu");
  e.nbPoints = entier<int>(apresCle(lignes.suivante(), "points"), "points");
  if (e.nbPoints < 0 || e.nbPoints > kPointsMax) refuse("nombre de points impossible");
  const std::string_view voies = lignes.suivante();
  if (voies != "voies") {
    for (std::string_view s : champs(apresCle(voies, "voies"), '\t')) {
      if (s.size() > kSymboleMax) refuse("symbole trop long");
      e.symboles.push_back(symbolePourEntete(std::string(s)));  // as it is written
    }
  }
  return e;
}

}  // namespace

std::string NomEntree(std::int64_t instantMs) {
  const std::tm d = dateLocale(instantMs);
  char nom[64];
  std::snprintf(nom, sizeof nom, "kvx-%04d%02d%02d-%02d%02d%02d-%03d.kvxh", d.tm_year + 1900,
                d.tm_mon + 1, d.tm_mday, d.tm_hour, d.tm_min, d.tm_sec,
                static_cast<int>(((instantMs % 1000) + 1000) % 1000));
  return nom;
}

bool EstNomEntree(std::string_view nom) {
  if (nom.size() != kTailleNom || nom.substr(0, kPrefixe.size()) != kPrefixe ||
      nom.substr(nom.size() - kSuffixe.size()) != kSuffixe)
    return false;
  // AAAAMMJJ-HHMMSS-mmm
  const std::string_view milieu = nom.substr(kPrefixe.size(), 19);
  for (std::size_t i = 0; i < milieu.size(); ++i) {
    const bool tiret = i == 8 || i == 15;
    if (tiret ? milieu[i] != '-' : (milieu[i] < '0' || milieu[i] > '9')) return false;
  }
  return true;
}

std::string TexteEntree(const Enregistrement &e) {
  const std::size_t n = static_cast<std::size_t>(std::max(0, e.nbPoints));
  std::string t;
  t.reserve(e.configuration.size() + 512 + n * (e.colonnes.size() + 1) * 24);
  t += kMagique;
  const std::tm d = dateLocale(e.instantMs);
  char date[48];
  std::snprintf(date, sizeof date, "\ndate %04d-%02d-%02d %02d:%02d:%02d\nmode ", d.tm_year + 1900,
                d.tm_mon + 1, d.tm_mday, d.tm_hour, d.tm_min, d.tm_sec);
  t += date;
  ajouteEntier(t, e.mode);
  t += "\npoints ";
  ajouteEntier(t, e.nbPoints);
  t += "\nvoies";
  for (std::size_t i = 0; i < e.symboles.size(); ++i) {
    t += i == 0 ? ' ' : '\t';
    t += symbolePourEntete(e.symboles[i]);
  }
  t += "\nconfiguration ";
  ajouteEntier(t, e.configuration.size());
  t += '\n';
  t += e.configuration;
  t += "\ncolonnes";
  for (const auto &c : e.colonnes) {
    t += ' ';
    ajouteEntier(t, c.slot);
  }
  t += "\nmini";
  for (const auto &c : e.colonnes) {
    t += ' ';
    ajouteReel(t, c.mini);
  }
  t += "\nmaxi";
  for (const auto &c : e.colonnes) {
    t += ' ';
    ajouteReel(t, c.maxi);
  }
  if (e.fourche) {
    t += "\nfourche ";
    ajouteEntier(t, e.origineTemps);
  }
  t += "\nvaleurs\n";
  for (std::size_t i = 0; i < n; ++i) {
    bool premier = true;
    for (const auto &c : e.colonnes) {
      if (!premier) t += '\t';
      premier = false;
      ajouteReel(t, i < c.valeurs.size() ? c.valeurs[i] : 0.0);
    }
    if (e.fourche) {
      if (!premier) t += '\t';
      ajouteEntier(t, i < e.comptes.size() ? e.comptes[i] : 0);
    }
    t += '\n';
  }
  t += "fin\n";
  return t;
}

EnteteEntree LitEntete(std::string_view debut) {
  Lignes lignes(debut);
  return litEnteteDe(lignes);
}

Enregistrement LitEntree(std::string_view texte) {
  Lignes lignes(texte);
  const EnteteEntree entete = litEnteteDe(lignes);
  Enregistrement e;
  e.mode = entete.mode;
  e.nbPoints = entete.nbPoints;
  e.symboles = entete.symboles;
  const auto taille =
      entier<std::size_t>(apresCle(lignes.suivante(), "configuration"), "configuration");
  if (taille > kConfigurationMax) refuse("configuration trop longue");
  e.configuration = std::string(lignes.octets(taille));
  if (e.configuration.empty()) refuse("la configuration manque");
  if (lignes.suivante() != "") refuse("la configuration n'a pas la longueur annoncée");
  std::vector<bool> vu(10, false);
  for (std::string_view s : champs(apresCle(lignes.suivante(), "colonnes"), ' ')) {
    Enregistrement::Colonne c;
    c.slot = entier<int>(s, "colonnes");
    if (c.slot < 1 || c.slot > 9 || vu[static_cast<std::size_t>(c.slot)])
      refuse("colonnes impossibles");
    vu[static_cast<std::size_t>(c.slot)] = true;
    e.colonnes.push_back(std::move(c));
  }
  const auto bornes = [&](std::string_view cle, bool mini) {
    const auto liste = champs(apresCle(lignes.suivante(), cle), ' ');
    if (liste.size() != e.colonnes.size()) refuse("bornes incomplètes");
    for (std::size_t i = 0; i < liste.size(); ++i)
      (mini ? e.colonnes[i].mini : e.colonnes[i].maxi) = reel(liste[i]);
  };
  bornes("mini", true);
  bornes("maxi", false);
  std::string_view ligne = lignes.suivante();
  if (ligne.substr(0, 8) == "fourche ") {
    if (e.mode != kModeVeltor) refuse("fourche hors du mode Veltor");
    e.fourche = true;
    e.origineTemps = entier<std::uint32_t>(ligne.substr(8), "fourche");
    ligne = lignes.suivante();
  }
  if (ligne != "valeurs") refuse("les valeurs manquent");
  const std::size_t n = static_cast<std::size_t>(e.nbPoints);
  const std::size_t attendus = e.colonnes.size() + (e.fourche ? 1 : 0);
  for (auto &c : e.colonnes) c.valeurs.resize(n);
  if (e.fourche) e.comptes.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::string_view rang = lignes.suivante();
    if (rang == "fin") refuse("il manque des valeurs");
    std::size_t debut = 0;
    for (std::size_t k = 0; k < attendus; ++k) {
      const auto pos = rang.find('\t', debut);
      const bool dernier = k + 1 == attendus;
      if (dernier != (pos == std::string_view::npos)) refuse("ligne de valeurs incomplète");
      const std::string_view champ =
          rang.substr(debut, dernier ? std::string_view::npos : pos - debut);
      if (k < e.colonnes.size())
        e.colonnes[k].valeurs[i] = reel(champ);
      else
        e.comptes[i] = entier<std::int32_t>(champ, "comptes");
      debut = pos + 1;
    }
  }
  if (lignes.suivante() != "fin") refuse("l'entrée est incomplète");
  if (!lignes.fin()) refuse("texte après la fin de l'entrée");
  return e;
}

std::string LitDebutFichier(const fs::path &chemin, std::size_t octets) {
  struct stat etat {};
  if (::stat(chemin.c_str(), &etat) != 0) refuse(std::strerror(errno));
  if (!S_ISREG(etat.st_mode)) refuse("ce n'est pas un fichier ordinaire");
  const int fd = ::open(chemin.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) refuse(std::strerror(errno));
  std::string texte;
  try {
    // Replaced between the two looks: what is open now is what counts.
    if (::fstat(fd, &etat) != 0 || !S_ISREG(etat.st_mode))
      refuse("ce n'est pas un fichier ordinaire");
    const auto taille = static_cast<std::uintmax_t>(etat.st_size);
    texte.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(taille, octets)));
    std::size_t lus = 0;
    while (lus < texte.size()) {
      const ssize_t n = ::read(fd, texte.data() + lus, texte.size() - lus);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) refuse(std::strerror(errno));
      if (n == 0) break;  // shortened while read
      lus += static_cast<std::size_t>(n);
    }
    texte.resize(lus);
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
  return texte;
}

Historique::Historique(fs::path dossier) : Historique(std::move(dossier), Limites{}) {}

Historique::Historique(fs::path dossier, Limites limites)
    : m_dossier(std::move(dossier)), m_limites(limites) {}

fs::path Historique::CheminLibre(std::int64_t instantMs) const {
  // Two recordings in the same millisecond (a short scan repeating, then a
  // clear) get the next free name: an entry is never written over.
  std::error_code erreur;
  for (int essai = 0; essai < 1000; ++essai) {
    fs::path chemin = m_dossier / NomEntree(instantMs + essai);
    if (!fs::exists(fs::symlink_status(chemin, erreur))) return chemin;
  }
  throw FileError("Écriture impossible dans l'historique « " + m_dossier.string() +
                  " » : aucun nom libre");
}

fs::path Historique::Ecrit(const Enregistrement &e, std::uint64_t serie) {
  std::error_code erreur;
  fs::create_directories(m_dossier, erreur);
  if (erreur)
    throw FileError("Écriture impossible du dossier « " + m_dossier.string() +
                    " » : " + erreur.message());
  const fs::path chemin = CheminLibre(e.instantMs);
  writeFileAtomically(chemin, TexteEntree(e));
  if (serie != 0) {
    auto &liste = m_series[serie];
    liste.push_back(chemin);
    while (liste.size() > m_limites.parSerie) {
      fs::remove(liste.front(), erreur);  // ours: written just above, by this object
      liste.pop_front();
    }
    // Only the run going on can grow; older runs are left as they are.
    while (m_series.size() > 1 && m_series.begin()->first != serie)
      m_series.erase(m_series.begin());
  }
  Elague();
  return chemin;
}

namespace {

using Fichier = Historique::Fichier;

// Our names among the folder's regular files, newest first.
std::vector<Fichier> fichiersEntrees(const fs::path &dossier) {
  std::vector<Fichier> liste;
  std::error_code erreur;
  for (fs::directory_iterator it(dossier, erreur), fin; !erreur && it != fin;
       it.increment(erreur)) {
    std::string nom = it->path().filename().string();
    if (EstNomEntree(nom)) liste.push_back({std::move(nom), it->path()});
  }
  std::sort(liste.begin(), liste.end(),
            [](const Fichier &a, const Fichier &b) { return a.nom > b.nom; });
  return liste;
}

bool estANous(const fs::path &chemin) {
  std::error_code erreur;
  if (!fs::is_regular_file(fs::symlink_status(chemin, erreur))) return false;
  try {
    const std::string debut = LitDebutFichier(chemin, kMagique.size() + 1);
    return debut == std::string(kMagique) + "\n";
  } catch (const HistoriqueError &) {
    return false;  // unreadable: not known to be ours, so left alone
  }
}

// ".kvx-...kvxh.tmpXXXX": the temporary file of a write that was killed.
bool estTemporaireANous(std::string_view nom) {
  if (nom.size() <= 1 + kTailleNom + 4 || nom[0] != '.') return false;
  if (!EstNomEntree(nom.substr(1, kTailleNom)) || nom.substr(1 + kTailleNom, 4) != ".tmp")
    return false;
  for (char c : nom.substr(1 + kTailleNom + 4))
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

void Historique::Elague() {
  std::error_code erreur;
  // Within the limits by names and sizes alone, nothing needs a closer look:
  // the usual case costs one listing of the folder.
  const std::vector<Fichier> fichiers = fichiersEntrees(m_dossier);
  std::uintmax_t total = 0;
  for (const Fichier &f : fichiers) total += fs::file_size(f.chemin, erreur);
  if (fichiers.size() > m_limites.entrees || total > m_limites.octets) Retire(fichiers);
  RetireTemporaires();
}

void Historique::Retire(const std::vector<Fichier> &fichiers) {
  std::error_code erreur;
  std::size_t gardees = 0;
  std::uintmax_t octets = 0;
  for (const Fichier &f : fichiers) {
    if (!estANous(f.chemin)) continue;  // a name like ours is not enough
    const std::uintmax_t taille = fs::file_size(f.chemin, erreur);
    if (erreur) continue;
    if (gardees < m_limites.entrees && octets + taille <= m_limites.octets) {
      ++gardees;
      octets += taille;
    } else {
      fs::remove(f.chemin, erreur);
    }
  }
}

void Historique::RetireTemporaires() {
  std::error_code erreur;
  const std::time_t maintenant = std::time(nullptr);
  for (fs::directory_iterator it(m_dossier, erreur), fin; !erreur && it != fin;
       it.increment(erreur)) {
    if (!estTemporaireANous(it->path().filename().string())) continue;
    struct stat etat {};
    if (::lstat(it->path().c_str(), &etat) == 0 && S_ISREG(etat.st_mode) &&
        maintenant - etat.st_mtime > kTemporaireAbandonne) {
      std::error_code ignore;
      fs::remove(it->path(), ignore);
    }
  }
}

std::vector<Historique::Element> Historique::Liste(std::size_t nombre) const {
  std::vector<Element> liste;
  for (const Fichier &f : fichiersEntrees(m_dossier)) {
    if (liste.size() >= nombre) break;
    Element el;
    el.chemin = f.chemin;
    try {
      el.entete = LitEntete(LitDebutFichier(f.chemin, kTailleEntete));
    } catch (const HistoriqueError &erreur) {
      el.raison = erreur.what();
    }
    liste.push_back(std::move(el));
  }
  return liste;
}

Enregistrement Historique::Lit(const fs::path &chemin) const {
  struct stat etat {};
  if (::stat(chemin.c_str(), &etat) == 0 && S_ISREG(etat.st_mode) &&
      static_cast<std::uintmax_t>(etat.st_size) > kTailleMaxEntree)
    refuse("le fichier est trop volumineux");
  const std::string texte = LitDebutFichier(chemin, kTailleMaxEntree + 1);
  if (texte.size() > kTailleMaxEntree) refuse("le fichier est trop volumineux");
  return LitEntree(texte);
}

EcrivainHistorique::EcrivainHistorique(Historique &historique, Rapport rapport)
    : m_historique(historique), m_rapport(std::move(rapport)) {
  m_fil = std::thread([this] { Boucle(); });
}

EcrivainHistorique::~EcrivainHistorique() {
  {
    std::lock_guard<std::mutex> verrou(m_mutex);
    m_fin = true;
  }
  m_reveil.notify_all();
  m_fil.join();
}

void EcrivainHistorique::Ajoute(Enregistrement e, std::uint64_t serie) {
  {
    std::lock_guard<std::mutex> verrou(m_mutex);
    m_file.emplace_back(std::move(e), serie);
  }
  m_reveil.notify_one();
}

bool EcrivainHistorique::Attend(std::chrono::milliseconds delai) {
  std::unique_lock<std::mutex> verrou(m_mutex);
  return m_vide.wait_for(verrou, delai, [this] { return m_file.empty() && !m_occupe; });
}

std::size_t EcrivainHistorique::ecrites() const {
  std::lock_guard<std::mutex> verrou(m_mutex);
  return m_ecrites;
}

void EcrivainHistorique::Boucle() {
  std::unique_lock<std::mutex> verrou(m_mutex);
  while (true) {
    m_reveil.wait(verrou, [this] { return m_fin || !m_file.empty(); });
    // At the end what is still queued is given up: the close has waited for
    // it as long as it could.
    if (m_fin) break;
    auto [enregistrement, serie] = std::move(m_file.front());
    m_file.pop_front();
    m_occupe = true;
    verrou.unlock();
    std::string message;
    try {
      m_historique.Ecrit(enregistrement, serie);
    } catch (const std::exception &erreur) {
      message = erreur.what();
    }
    if (!message.empty() && m_rapport) m_rapport(message);
    verrou.lock();
    m_occupe = false;
    if (message.empty()) ++m_ecrites;
    if (m_file.empty()) m_vide.notify_all();
  }
  m_occupe = false;
  m_vide.notify_all();
}

}  // namespace kvx::exchange
