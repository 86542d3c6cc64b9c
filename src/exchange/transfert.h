// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The recorded table as text, for the three ways the data leave the program:
// the transfer to the analysis program (through the clipboard), the
// "Copier données" copy, and the ASCII data file ("Sauver données" and the
// kvx-record tool). One builder serves them all so the columns, the row
// filter and the number format can never differ between them.
//
// The texts are built from a plain view of the graph's nine slots and of the
// page settings, so the builder needs no window and no graph.

#include <array>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "model/voie.h"

namespace kvx::exchange {

// What the texts are built from. The caller points `voies[1..9]` at the
// graph's channels in their slots (null: the slot is left out, as if
// inactive); nothing is copied, so the view must not outlive them.
struct DonneesTransfert {
  // Acquisition mode 0..4: 0 keyboard entry, 1 timed scan, 2 point by point,
  // 3 analog-output sweep, 4 optical fork. It chooses the first column.
  int mode = 1;
  std::array<const model::Tvoie *, 10> voies{};  // [0] unused
  // Points held in every channel's arrays (clamped to 0..kNbValeurs).
  int nbPoints = 0;
  // The graph's abscissa slot (`Abscisse`, 1..9) and its drawing style, for
  // the NOMX and LIGNE blocks.
  int abscisse = 5;
  bool ligne = true;
  bool points = false;
  // The page: comment and optional constant (not written when the symbol is
  // empty or the value is not a number).
  std::string commentaire;
  std::string constanteNom;
  std::string constanteUnite;
  double constanteValeur = std::numeric_limits<double>::quiet_NaN();
  // The constant dialog's choice "Nouvelle &page" (else "Nouveau &fichier").
  bool nouvellePage = false;
  // Full path of this program's executable, the transfer text's first line.
  std::string cheminProgramme;
};

// One column of the table: the channel and its header fields as typed
// (UTF-8, real Greek letters). In point-by-point mode the first column is the
// point number ("num"), with no channel.
struct ColonneTable {
  const model::Tvoie *voie = nullptr;
  bool numero = false;
  std::string nom;
  std::string unite;
  std::string signif;
};

// The table every text and export is made of: its columns in order and the
// points that make its rows (a point where an active channel holds no number
// is left out).
struct TableDonnees {
  std::vector<ColonneTable> colonnes;
  std::vector<int> points;
  // The value of a column at point j: the point number, the channel's value,
  // or NaN for a first column without a channel.
  double valeur(const ColonneTable &colonne, int j) const;
};

TableDonnees ConstruitTable(const DonneesTransfert &donnees);

// The text for the analysis program (clipboard), UTF-8, every line ended by
// CR LF: the program path, the title (empty line for a new page), the
// comment, names, units, meanings, the rows, the optional constant and the
// NOMX, NOMY and LIGNE blocks.
std::string TexteTransfert(const DonneesTransfert &donnees);

// The ASCII data file's text, UTF-8, CR LF: "Acquisition par Nuvex KVX-2",
// the comment, names, units, meanings and the rows.
std::string TexteFichierAscii(const DonneesTransfert &donnees);

// The request that hands the clipboard to the analysis program: "CLIP|ADD"
// for a new page, "CLIP|LOAD" for a new file.
std::string CommandeTransfert(bool nouvellePage);

// In point-by-point mode the first column is the point number: the time
// base's values become 0, 1, 2 ... so that the graph shows what was sent.
// The texts do not need it (they number the rows themselves).
void NumerotePoints(model::TableauValeurs &temps);

// The outcome of writing the data file: `message` is empty on success, else
// the user's message naming the file and the reason.
struct ResultatSauvegarde {
  bool reussi = false;
  std::string message;
};

// Writes `texte` (UTF-8, as TexteFichierAscii gives it) to `fichier`, in
// Windows-1252 when it holds every character (else UTF-8), in one step: a
// failed write leaves no file behind and an existing one as it was. A folder,
// a device, a read-only file, a missing or read-only folder and a full disk
// are reported, never thrown.
ResultatSauvegarde SauveDonnees(const std::filesystem::path &fichier, const std::string &texte);

}  // namespace kvx::exchange
