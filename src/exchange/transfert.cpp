#include "exchange/transfert.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "exchange/atomic_file.h"
#include "exchange/text_encoding.h"
#include "model/nombres.h"
#include "model/symbole.h"
#include "model/texte_utf8.h"

namespace kvx::exchange {

namespace {

constexpr char kFinLigne[] = "\r\n";
constexpr char kTab = '\t';
constexpr char kTitreTransfert[] = "Acquisition par Nuvex KVX";
constexpr char kTitreFichier[] = "Acquisition par Nuvex KVX-2";
constexpr char kNomNumero[] = "num";
constexpr char kCommandeNouvellePage[] = "CLIP|ADD";
constexpr char kCommandeNouveauFichier[] = "CLIP|LOAD";
// The style codes the analysis program reads for each curve.
constexpr char kLigneEtMotifs[] = "3";
constexpr char kLigneSeule[] = "2";
constexpr char kSansLigne[] = "1";

bool EstControle(char32_t c) {
  return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0);
}

// A text typed by the user (symbol, unit, meaning, comment) as one cell or
// line of the table. The analysis program reads the table as 8-bit text cut
// at every TAB and line end, with its symbol font for the Greek letters:
//  - the Greek letters become the font's codes (as the Windows-1252
//    character of that byte, so the file gets the very byte);
//  - a TAB, a line end or any other control character would open a new
//    column or row and shift every value after it: it becomes a blank;
//  - a character with no Windows-1252 byte (an arrow, an emoji), or a byte
//    that is not UTF-8, becomes "?": one such character would otherwise
//    force the whole file out of the 8-bit code page and garble every
//    accented letter ("durée") for the reader.
std::string TexteCellule(std::string_view texte) {
  std::string sortie;
  sortie.reserve(texte.size());
  std::size_t longueur = 0;
  for (std::size_t pos = 0; pos < texte.size(); pos += longueur) {
    const char32_t c = model::LitCodePoint(texte, pos, longueur);
    const std::string_view caractere = texte.substr(pos, longueur);
    if (c < 0x80) {
      sortie += EstControle(c) ? ' ' : static_cast<char>(c);
      continue;
    }
    const std::string symbole = model::TexteSymbole(caractere);
    if (symbole != caractere) {  // a Greek letter of the font: one byte
      sortie += windows1252ToUtf8(symbole);
    } else if (EstControle(c)) {
      sortie += ' ';
    } else if (c >= model::kOctetInvalide || !utf8ToWindows1252(caractere)) {
      sortie += '?';
    } else {
      sortie += caractere;
    }
  }
  return sortie;
}

void AjouteLigne(std::string &texte, std::string_view ligne) {
  texte += ligne;
  texte += kFinLigne;
}

// The columns of the table and the channels that decide which rows exist.
class Table {
 public:
  explicit Table(const DonneesTransfert &d) : m_d(d) {
    m_nbPoints = std::clamp(d.nbPoints, 0, model::kNbValeurs);
    m_numerote = d.mode == 2;
    m_premiere = d.mode == 0 ? model::kVoieClavier : model::kVoieTemps;
    for (int slot = 1; slot <= 9; ++slot) {
      if (!Active(slot)) continue;
      if (slot != m_premiere) m_autres.push_back(Voie(slot));
      // In point-by-point mode the time base's values are the point numbers.
      if (!(m_numerote && slot == model::kVoieTemps)) m_controlees.push_back(Voie(slot));
    }
    // A first column without a number would give a row the reader cannot
    // place, even when its channel is not marked active.
    const model::Tvoie *premiere = Voie(m_premiere);
    if (!m_numerote && premiere && !premiere->Active) m_controlees.push_back(premiere);
  }

  void Entetes(std::string &texte) const {
    const model::Tvoie *premiere = Voie(m_premiere);
    Entete(texte, m_numerote ? kNomNumero : Champ(premiere, &model::Tvoie::Nom));
    for (const model::Tvoie *v : m_autres) Entete(texte, TexteCellule(v->Nom));
    texte += kFinLigne;
    Entete(texte, m_numerote ? std::string() : Champ(premiere, &model::Tvoie::Unite));
    for (const model::Tvoie *v : m_autres) Entete(texte, TexteCellule(v->Unite));
    texte += kFinLigne;
    Entete(texte, m_numerote ? std::string() : Champ(premiere, &model::Tvoie::Signif));
    for (const model::Tvoie *v : m_autres) Entete(texte, TexteCellule(v->Signif));
    texte += kFinLigne;
  }

  void Lignes(std::string &texte) const {
    const model::Tvoie *premiere = Voie(m_premiere);
    texte.reserve(texte.size() + static_cast<std::size_t>(m_nbPoints) * (m_autres.size() + 1) * 11);
    for (int j = 0; j < m_nbPoints; ++j) {
      const auto at = static_cast<std::size_t>(j);
      const bool manque =
          std::any_of(m_controlees.begin(), m_controlees.end(),
                      [at](const model::Tvoie *v) { return !std::isfinite(v->valeurs[at]); });
      if (manque) continue;
      if (m_numerote)
        texte += std::to_string(j);
      else if (premiere)
        texte += model::TextePoint(premiere->valeurs[at]);
      texte += kTab;
      for (const model::Tvoie *v : m_autres) {
        texte += model::TextePoint(v->valeurs[at]);
        texte += kTab;
      }
      texte += kFinLigne;
    }
  }

 private:
  const model::Tvoie *Voie(int slot) const { return m_d.voies[static_cast<std::size_t>(slot)]; }
  bool Active(int slot) const { return Voie(slot) && Voie(slot)->Active; }
  static std::string Champ(const model::Tvoie *v, std::string model::Tvoie::*champ) {
    return v ? TexteCellule(v->*champ) : std::string();
  }
  static void Entete(std::string &texte, const std::string &champ) {
    texte += champ;
    texte += kTab;
  }

  const DonneesTransfert &m_d;
  int m_nbPoints = 0;
  bool m_numerote = false;
  int m_premiere = model::kVoieTemps;
  std::vector<const model::Tvoie *> m_autres;
  std::vector<const model::Tvoie *> m_controlees;
};

// The constant is written only when it has both a symbol and a value.
void AjouteConstante(std::string &texte, const DonneesTransfert &d) {
  if (model::SupprimeBlancs(d.constanteNom).empty() || !std::isfinite(d.constanteValeur)) return;
  AjouteLigne(texte, "");
  AjouteLigne(texte, TexteCellule(d.constanteNom));
  AjouteLigne(texte, TexteCellule(d.constanteUnite));
  AjouteLigne(texte, model::TextePoint(d.constanteValeur));
}

// Which curve is drawn against which abscissa and how, so the analysis
// program shows the same graph. The count is that of the NOMY list itself, so
// the blocks always announce the lines that follow.
void AjouteGraphe(std::string &texte, const DonneesTransfert &d) {
  const int abscisse = d.abscisse >= 1 && d.abscisse <= 9 ? d.abscisse : model::kVoieV1;
  std::vector<const model::Tvoie *> ordonnees;
  for (int slot = 2; slot <= 9; ++slot) {
    const model::Tvoie *v = d.voies[static_cast<std::size_t>(slot)];
    if (v && v->Active && slot != abscisse) ordonnees.push_back(v);
  }
  const model::Tvoie *x = d.voies[static_cast<std::size_t>(abscisse)];
  const std::string nomX = x ? TexteCellule(x->Nom) : std::string();
  const std::string n = std::to_string(ordonnees.size());
  AjouteLigne(texte, "&" + n + " NOMX");
  for (std::size_t i = 0; i < ordonnees.size(); ++i) AjouteLigne(texte, nomX);
  AjouteLigne(texte, "&" + n + " NOMY");
  for (const model::Tvoie *v : ordonnees) AjouteLigne(texte, TexteCellule(v->Nom));
  AjouteLigne(texte, "&" + n + " LIGNE");
  const char *style = !d.ligne ? kSansLigne : d.points ? kLigneEtMotifs : kLigneSeule;
  for (std::size_t i = 0; i < ordonnees.size(); ++i) AjouteLigne(texte, style);
}

}  // namespace

std::string TexteTransfert(const DonneesTransfert &donnees) {
  std::string texte;
  AjouteLigne(texte, TexteCellule(donnees.cheminProgramme));
  AjouteLigne(texte, donnees.nouvellePage ? "" : kTitreTransfert);
  AjouteLigne(texte, TexteCellule(donnees.commentaire));
  const Table table(donnees);
  table.Entetes(texte);
  table.Lignes(texte);
  AjouteConstante(texte, donnees);
  AjouteGraphe(texte, donnees);
  return texte;
}

std::string TexteFichierAscii(const DonneesTransfert &donnees) {
  std::string texte;
  AjouteLigne(texte, kTitreFichier);
  AjouteLigne(texte, TexteCellule(donnees.commentaire));
  const Table table(donnees);
  table.Entetes(texte);
  table.Lignes(texte);
  return texte;
}

std::string CommandeTransfert(bool nouvellePage) {
  return nouvellePage ? kCommandeNouvellePage : kCommandeNouveauFichier;
}

void NumerotePoints(model::TableauValeurs &temps) {
  for (std::size_t j = 0; j < temps.size(); ++j) temps[j] = static_cast<double>(j);
}

ResultatSauvegarde SauveDonnees(const std::filesystem::path &fichier, const std::string &texte) {
  // The analysis program reads the file in the 8-bit code page; a text it
  // cannot hold (not from the builder) is kept whole in UTF-8 rather than
  // losing characters.
  const std::optional<std::string> octets = utf8ToWindows1252(texte);
  try {
    writeFileAtomically(fichier, octets ? *octets : texte);
  } catch (const FileError &erreur) {
    return {false, erreur.what()};
  }
  return {true, {}};
}

}  // namespace kvx::exchange
