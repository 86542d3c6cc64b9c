// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/tableur.h"

#include <zip.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <locale>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "exchange/atomic_file.h"
#include "model/texte_utf8.h"

namespace kvx::exchange {

namespace {

constexpr char kFinLigneCsv[] = "\r\n";
constexpr char kNomFeuille[] = "Mesures";
constexpr char kTypeOds[] = "application/vnd.oasis.opendocument.spreadsheet";

// A text as valid UTF-8: a byte that is not UTF-8 becomes U+FFFD, and the
// control characters `garde` does not keep become blanks.
template <class Garde>
std::string Nettoie(std::string_view texte, Garde garde) {
  std::string sortie;
  sortie.reserve(texte.size());
  std::size_t longueur = 0;
  for (std::size_t pos = 0; pos < texte.size(); pos += longueur) {
    const char32_t c = model::LitCodePoint(texte, pos, longueur);
    if (c >= model::kOctetInvalide)
      sortie += "\xEF\xBF\xBD";
    else if ((c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) && !garde(c))
      sortie += ' ';
    else
      sortie.append(texte.substr(pos, longueur));
  }
  return sortie;
}

// Every digit a double holds, the shortest text that reads back the same
// value, with the user's decimal separator.
void AjouteNombre(std::string &sortie, double x, char separateur) {
  if (!std::isfinite(x)) return;
  char tampon[40];
  const auto r = std::to_chars(tampon, tampon + sizeof tampon, x);
  const std::size_t debut = sortie.size();
  sortie.append(tampon, r.ptr);
  if (separateur != '.') std::replace(sortie.begin() + debut, sortie.end(), '.', separateur);
}

// A CSV field, quoted when it holds the separator, a quote or a line end.
void AjouteChampCsv(std::string &sortie, const std::string &texte, char separateurChamps) {
  if (texte.find_first_of(std::string{separateurChamps, '"', '\r', '\n'}) == std::string::npos) {
    sortie += texte;
    return;
  }
  sortie += '"';
  for (const char c : texte) {
    if (c == '"') sortie += '"';
    sortie += c;
  }
  sortie += '"';
}

std::string TexteTableur(const DonneesTransfert &donnees, char separateurDecimal, bool csv) {
  const TableDonnees table = ConstruitTable(donnees);
  // A comma cannot part fields whose numbers are written with one.
  const char champs = !csv ? '\t' : separateurDecimal == ',' ? ';' : ',';
  const char *finLigne = csv ? kFinLigneCsv : "\n";
  std::string texte;
  texte.reserve(table.points.size() * (table.colonnes.size() * 20 + 2) + 256);
  for (std::size_t i = 0; i < table.colonnes.size(); ++i) {
    if (i > 0) texte += champs;
    if (csv) {
      AjouteChampCsv(texte,
                     Nettoie(EnteteTableur(table.colonnes[i]),
                             [](char32_t c) { return c == '\t' || c == '\r' || c == '\n'; }),
                     champs);
    } else {
      // A pasted table has no quoting: a TAB or a line end would move cells.
      texte += Nettoie(EnteteTableur(table.colonnes[i]), [](char32_t) { return false; });
    }
  }
  texte += finLigne;
  // A row at a time in a buffer: a full recording is 50 000 numbers.
  const std::size_t fin = std::char_traits<char>::length(finLigne);
  std::vector<char> ligne(table.colonnes.size() * 32 + fin);
  for (const int j : table.points) {
    char *q = ligne.data();
    for (std::size_t i = 0; i < table.colonnes.size(); ++i) {
      if (i > 0) *q++ = champs;
      const double v = table.valeur(table.colonnes[i], j);
      if (!std::isfinite(v)) continue;
      char *const debut = q;
      q = std::to_chars(q, q + 31, v).ptr;
      if (separateurDecimal != '.') std::replace(debut, q, '.', separateurDecimal);
    }
    q = std::copy(finLigne, finLigne + fin, q);
    texte.append(ligne.data(), static_cast<std::size_t>(q - ligne.data()));
  }
  return texte;
}

// --- The OpenDocument spreadsheet ------------------------------------------

// Text for an XML element or attribute: the markup characters escaped, and
// the characters XML 1.0 does not allow as blanks.
std::string Xml(std::string_view texte) {
  const std::string propre = Nettoie(texte, [](char32_t) { return false; });
  std::string sortie;
  sortie.reserve(propre.size());
  for (const char c : propre) {
    switch (c) {
      case '&':
        sortie += "&amp;";
        break;
      case '<':
        sortie += "&lt;";
        break;
      case '>':
        sortie += "&gt;";
        break;
      case '"':
        sortie += "&quot;";
        break;
      default:
        sortie += c;
    }
  }
  return sortie;
}

// A paragraph of a cell: line ends and TABs become the document's own line
// breaks and tabs, so a comment typed on two lines shows on two lines.
std::string ParagrapheXml(std::string_view texte) {
  std::string sortie = "<text:p>";
  std::size_t debut = 0;
  for (;;) {
    const std::size_t fin = std::min(texte.find_first_of("\t\r\n", debut), texte.size());
    sortie += Xml(texte.substr(debut, fin - debut));
    if (fin == texte.size()) break;
    sortie += texte[fin] == '\t' ? "<text:tab/>" : "<text:line-break/>";
    debut = fin + 1;
    if (texte[fin] == '\r' && debut < texte.size() && texte[debut] == '\n') ++debut;
  }
  return sortie + "</text:p>";
}

void AjouteCelluleTexte(std::string &xml, std::string_view texte) {
  xml += "<table:table-cell office:value-type=\"string\">";
  xml += ParagrapheXml(texte);
  xml += "</table:table-cell>";
}

std::string ContenuOds(const DonneesTransfert &donnees, const OptionsTableur &options) {
  const TableDonnees table = ConstruitTable(donnees);
  std::string xml;
  xml.reserve(table.points.size() * table.colonnes.size() * 110 + 2048);
  xml +=
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<office:document-content"
      " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
      " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
      " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
      " office:version=\"1.2\"><office:body><office:spreadsheet>";
  xml += "<table:table table:name=\"";
  xml += kNomFeuille;
  xml += "\"><table:table-column table:number-columns-repeated=\"";
  xml += std::to_string(std::max<std::size_t>(table.colonnes.size(), 2));
  xml += "\"/>";
  // The first line: the comment and the date, as the teacher reads them.
  xml += "<table:table-row>";
  AjouteCelluleTexte(xml, donnees.commentaire);
  AjouteCelluleTexte(xml, options.dateTexte);
  xml += "</table:table-row><table:table-row>";
  for (const ColonneTable &c : table.colonnes) AjouteCelluleTexte(xml, EnteteTableur(c));
  xml += "</table:table-row>";
  for (const int j : table.points) {
    xml += "<table:table-row>";
    for (const ColonneTable &c : table.colonnes) {
      const double v = table.valeur(c, j);
      if (!std::isfinite(v)) {
        xml += "<table:table-cell/>";
        continue;
      }
      std::string nombre;
      AjouteNombre(nombre, v, '.');
      xml += "<table:table-cell office:value-type=\"float\" office:value=\"";
      xml += nombre;
      xml += "\"><text:p>";
      xml += nombre;
      xml += "</text:p></table:table-cell>";
    }
    xml += "</table:table-row>";
  }
  xml += "</table:table></office:spreadsheet></office:body></office:document-content>\n";
  return xml;
}

std::string MetaOds(const DonneesTransfert &donnees, const OptionsTableur &options) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<office:document-meta"
      " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
      " xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\""
      " xmlns:dc=\"http://purl.org/dc/elements/1.1/\""
      " office:version=\"1.2\"><office:meta>"
      "<meta:generator>KVX</meta:generator>"
      "<dc:title>Acquisition par Nuvex KVX</dc:title>";
  if (!donnees.commentaire.empty())
    xml += "<dc:description>" + Xml(donnees.commentaire) + "</dc:description>";
  if (!options.dateIso.empty())
    xml += "<meta:creation-date>" + Xml(options.dateIso) + "</meta:creation-date><dc:date>" +
           Xml(options.dateIso) + "</dc:date>";
  return xml + "</office:meta></office:document-meta>\n";
}

constexpr char kManifeste[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\""
    " manifest:version=\"1.2\">"
    "<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\""
    " manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>"
    "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
    "<manifest:file-entry manifest:full-path=\"meta.xml\" manifest:media-type=\"text/xml\"/>"
    "</manifest:manifest>\n";

[[noreturn]] void EchecZip(const std::string &raison) {
  throw FileError("Création impossible du classeur : " + raison);
}

struct FermeZip {
  void operator()(zip_t *z) const { zip_discard(z); }
};
struct LibereSource {
  void operator()(zip_source_t *s) const { zip_source_free(s); }
};

// One member of the container; the bytes must live until the container is
// closed.
void AjouteMembre(zip_t *zip, const char *nom, const std::string &octets, bool compresse) {
  zip_source_t *source = zip_source_buffer(zip, octets.data(), octets.size(), 0);
  if (!source) EchecZip(zip_strerror(zip));
  const zip_int64_t index = zip_file_add(zip, nom, source, ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    zip_source_free(source);
    EchecZip(zip_strerror(zip));
  }
  // The readers find the kind of document in the first member, unpacked.
  // The fastest packing: the cells' markup shrinks tenfold all the same, and
  // the user waits for a full recording in a fraction of a second.
  if (zip_set_file_compression(zip, static_cast<zip_uint64_t>(index),
                               compresse ? ZIP_CM_DEFLATE : ZIP_CM_STORE, compresse ? 1 : 0) != 0)
    EchecZip(zip_strerror(zip));
}

}  // namespace

std::string EnteteTableur(const ColonneTable &colonne) {
  if (colonne.unite.empty()) return colonne.nom;
  return colonne.nom + " (" + colonne.unite + ")";
}

std::string TexteCsv(const DonneesTransfert &donnees, char separateurDecimal) {
  return TexteTableur(donnees, separateurDecimal, true);
}

std::string TexteTsv(const DonneesTransfert &donnees, char separateurDecimal) {
  return TexteTableur(donnees, separateurDecimal, false);
}

std::string TexteHtml(const DonneesTransfert &donnees, char separateurDecimal) {
  const TableDonnees table = ConstruitTable(donnees);
  std::string html =
      "<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">"
      "</head><body><table>\n<tr>";
  html.reserve(table.points.size() * table.colonnes.size() * 70 + 512);
  for (const ColonneTable &c : table.colonnes) html += "<td>" + Xml(EnteteTableur(c)) + "</td>";
  html += "</tr>\n";
  for (const int j : table.points) {
    html += "<tr>";
    for (const ColonneTable &c : table.colonnes) {
      const double v = table.valeur(c, j);
      if (!std::isfinite(v)) {
        html += "<td></td>";
        continue;
      }
      // The value with "." for the reader, in the language "en-US" (1033).
      html += "<td sdval=\"";
      AjouteNombre(html, v, '.');
      html += "\" sdnum=\"1033;\">";
      AjouteNombre(html, v, separateurDecimal);
      html += "</td>";
    }
    html += "</tr>\n";
  }
  return html + "</table></body></html>\n";
}

std::string DocumentOds(const DonneesTransfert &donnees, const OptionsTableur &options) {
  const std::string mimetype = kTypeOds;
  const std::string contenu = ContenuOds(donnees, options);
  const std::string meta = MetaOds(donnees, options);
  const std::string manifeste = kManifeste;

  zip_error_t erreur;
  zip_error_init(&erreur);
  std::unique_ptr<zip_source_t, LibereSource> memoire(
      zip_source_buffer_create(nullptr, 0, 0, &erreur));
  if (!memoire) EchecZip(zip_error_strerror(&erreur));
  std::unique_ptr<zip_t, FermeZip> zip(zip_open_from_source(memoire.get(), ZIP_TRUNCATE, &erreur));
  if (!zip) EchecZip(zip_error_strerror(&erreur));
  // The container closes into the memory source, which is read afterwards.
  zip_source_keep(memoire.get());
  AjouteMembre(zip.get(), "mimetype", mimetype, false);
  AjouteMembre(zip.get(), "content.xml", contenu, true);
  AjouteMembre(zip.get(), "meta.xml", meta, true);
  AjouteMembre(zip.get(), "META-INF/manifest.xml", manifeste, true);
  if (zip_close(zip.get()) != 0) EchecZip(zip_strerror(zip.get()));
  zip.release();

  zip_source_t *s = memoire.get();
  if (zip_source_open(s) != 0) EchecZip(zip_error_strerror(zip_source_error(s)));
  std::string octets;
  if (zip_source_seek(s, 0, SEEK_END) == 0) {
    const zip_int64_t taille = zip_source_tell(s);
    if (taille > 0 && zip_source_seek(s, 0, SEEK_SET) == 0) {
      octets.resize(static_cast<std::size_t>(taille));
      if (zip_source_read(s, octets.data(), static_cast<zip_uint64_t>(taille)) != taille)
        octets.clear();
    }
  }
  zip_source_close(s);
  if (octets.empty()) EchecZip(zip_error_strerror(zip_source_error(s)));
  return octets;
}

FormatTableur FormatDuFichier(const std::filesystem::path &fichier) {
  std::string extension = fichier.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".csv" ? FormatTableur::Csv : FormatTableur::Ods;
}

bool EstFichierTableur(const std::filesystem::path &fichier) {
  std::string extension = fichier.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".ods" || extension == ".csv";
}

ResultatSauvegarde ExporteTableur(const std::filesystem::path &fichier,
                                  const DonneesTransfert &donnees, const OptionsTableur &options) {
  try {
    // A target the save would refuse is refused before the work.
    checkSaveTarget(fichier);
    writeFileAtomically(fichier, FormatDuFichier(fichier) == FormatTableur::Csv
                                     ? TexteCsv(donnees, options.separateurDecimal)
                                     : DocumentOds(donnees, options));
  } catch (const FileError &erreur) {
    return {false, erreur.what()};
  }
  return {true, {}};
}

char SeparateurDeLaLangue(std::string_view locale) {
  const std::string nom(locale.substr(0, locale.find('@')));
  if (nom.empty() || nom == "C" || nom == "POSIX" || nom.rfind("C.", 0) == 0) return '.';
  try {
    // The system's own description of the locale, when it is installed.
    const char point = std::use_facet<std::numpunct<char>>(std::locale(nom)).decimal_point();
    return point == ',' ? ',' : '.';
  } catch (const std::runtime_error &) {
    // Not installed: the locale is still the user's language (below).
  }
  const std::string langue = nom.substr(0, nom.find_first_of("_.-"));
  const std::string pays =
      nom.find('_') == std::string::npos ? std::string() : nom.substr(nom.find('_') + 1, 2);
  // Swiss German and Italian, and Spanish of the Americas north of the
  // equator, write a point where their languages elsewhere write a comma.
  if ((langue == "de" || langue == "it") && pays == "CH") return '.';
  if (langue == "es" &&
      (pays == "MX" || pays == "US" || pays == "PR" || pays == "GT" || pays == "HN" ||
       pays == "NI" || pays == "PA" || pays == "SV" || pays == "DO"))
    return '.';
  static constexpr std::array<const char *, 36> kVirgule = {
      "fr", "de", "es", "it", "pt", "nl", "ru", "pl", "cs", "sk", "sv", "da",
      "nb", "nn", "no", "fi", "tr", "el", "hu", "ro", "bg", "uk", "hr", "sl",
      "sr", "lt", "lv", "et", "ca", "eu", "gl", "id", "vi", "be", "is", "br"};
  return std::find(kVirgule.begin(), kVirgule.end(), langue) != kVirgule.end() ? ',' : '.';
}

OptionsTableur OptionsEnvironnement() {
  OptionsTableur o;
  const char *locale = nullptr;
  for (const char *nom : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    locale = std::getenv(nom);
    if (locale && *locale) break;
  }
  o.separateurDecimal = SeparateurDeLaLangue(locale ? locale : "");
  const std::time_t maintenant = std::time(nullptr);
  std::tm local{};
  if (::localtime_r(&maintenant, &local)) {
    char texte[32];
    std::strftime(texte, sizeof texte, "%d/%m/%Y %H:%M", &local);
    o.dateTexte = texte;
    std::strftime(texte, sizeof texte, "%Y-%m-%dT%H:%M:%S", &local);
    o.dateIso = texte;
  }
  return o;
}

}  // namespace kvx::exchange
