// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/transfert.h"

#include <algorithm>
#include <charconv>
#include <limits>
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

// The header lines and the rows, cell by cell as the analysis program reads
// them.
void AjouteEntetes(std::string &texte, const TableDonnees &table) {
  for (std::string ColonneTable::*champ : {&ColonneTable::nom, &ColonneTable::unite,
                                           &ColonneTable::signif}) {
    for (const ColonneTable &c : table.colonnes) {
      texte += TexteCellule(c.*champ);
      texte += kTab;
    }
    texte += kFinLigne;
  }
}

void AjouteLignes(std::string &texte, const TableDonnees &table) {
  // Most values take 8 to 11 characters with their TAB.
  texte.reserve(texte.size() + table.points.size() * (table.colonnes.size() * 11 + 2));
  for (const int j : table.points) {
    const auto at = static_cast<std::size_t>(j);
    for (const ColonneTable &c : table.colonnes) {
      if (c.numero) {
        char chiffres[16];
        texte.append(chiffres, std::to_chars(chiffres, chiffres + sizeof chiffres, j).ptr);
      } else if (c.voie) {
        model::AjouteTextePoint(texte, c.voie->valeurs[at]);
      }
      texte += kTab;
    }
    texte += kFinLigne;
  }
}

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

double TableDonnees::valeur(const ColonneTable &colonne, int j) const {
  if (colonne.numero) return j;
  if (!colonne.voie || j < 0 || j > model::kMaxPoints)
    return std::numeric_limits<double>::quiet_NaN();
  return colonne.voie->valeurs[static_cast<std::size_t>(j)];
}

TableDonnees ConstruitTable(const DonneesTransfert &d) {
  const auto voie = [&d](int slot) { return d.voies[static_cast<std::size_t>(slot)]; };
  const int nbPoints = std::clamp(d.nbPoints, 0, model::kNbValeurs);
  const bool numerote = d.mode == 2;
  const int premiere = d.mode == 0 ? model::kVoieClavier : model::kVoieTemps;
  TableDonnees table;
  std::vector<const model::Tvoie *> controlees;
  const model::Tvoie *p = voie(premiere);
  if (numerote)
    table.colonnes.push_back({nullptr, true, kNomNumero, {}, {}});
  else
    table.colonnes.push_back(
        p ? ColonneTable{p, false, p->Nom, p->Unite, p->Signif} : ColonneTable{});
  for (int slot = 1; slot <= 9; ++slot) {
    const model::Tvoie *v = voie(slot);
    if (!v || !v->Active) continue;
    if (slot != premiere) table.colonnes.push_back({v, false, v->Nom, v->Unite, v->Signif});
    // In point-by-point mode the time base's values are the point numbers.
    if (!(numerote && slot == model::kVoieTemps)) controlees.push_back(v);
  }
  // A first column without a number would give a row the reader cannot
  // place, even when its channel is not marked active.
  if (!numerote && p && !p->Active) controlees.push_back(p);
  table.points.reserve(static_cast<std::size_t>(nbPoints));
  for (int j = 0; j < nbPoints; ++j) {
    const auto at = static_cast<std::size_t>(j);
    const bool manque = std::any_of(controlees.begin(), controlees.end(), [at](const model::Tvoie *v) {
      return !std::isfinite(v->valeurs[at]);
    });
    if (!manque) table.points.push_back(j);
  }
  return table;
}

std::string TexteTransfert(const DonneesTransfert &donnees) {
  std::string texte;
  AjouteLigne(texte, TexteCellule(donnees.cheminProgramme));
  AjouteLigne(texte, donnees.nouvellePage ? "" : kTitreTransfert);
  AjouteLigne(texte, TexteCellule(donnees.commentaire));
  const TableDonnees table = ConstruitTable(donnees);
  AjouteEntetes(texte, table);
  AjouteLignes(texte, table);
  AjouteConstante(texte, donnees);
  AjouteGraphe(texte, donnees);
  return texte;
}

std::string TexteFichierAscii(const DonneesTransfert &donnees) {
  std::string texte;
  AjouteLigne(texte, kTitreFichier);
  AjouteLigne(texte, TexteCellule(donnees.commentaire));
  const TableDonnees table = ConstruitTable(donnees);
  AjouteEntetes(texte, table);
  AjouteLignes(texte, table);
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
