// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <string>

class QPagedPaintDevice;
class QWidget;

// The graph for a lab report, from the window's menu: "Enregistrer le
// graphe…" (PNG at the window's size or one the user chooses, SVG or PDF as
// drawings), "Copier le graphe" (a picture on the clipboard) and "Imprimer le
// graphe…" (the system's print dialog, which offers a PDF file when no
// printer is installed). Each is the window's graph with a caption line: the
// page comment and the date.
namespace kvx::ui {

class TKVXmainForm;
struct TPage;

inline constexpr char kFiltrePng[] = "Image PNG (*.png)";
inline constexpr char kFiltreSvg[] = "Dessin SVG (*.svg)";
inline constexpr char kFiltrePdf[] = "Document PDF (*.pdf)";

// What the graph commands ask of the user; tests replace them.
struct DialoguesGraphe {
  // The picture's file, and for a PNG its size in pixels (`taille` comes in
  // as the window's graph); empty when cancelled.
  std::function<QString(QWidget *parent, QSize &taille)> enregistrer;
  // The print dialog, then the printed page drawn by `imprime`; false when
  // cancelled or when the page could not be started.
  std::function<bool(QWidget *parent, const std::function<bool(QPagedPaintDevice &)> &imprime)>
      imprimer;
  std::function<void(QWidget *parent, const QString &message)> message;

  static DialoguesGraphe Standard();
};

class TGrapheFenetre : public QObject {
  Q_OBJECT
 public:
  TGrapheFenetre(TKVXmainForm &fenetre, const TPage &page, DialoguesGraphe dialogues);

  void EnregistreGrapheClick();
  void CopieGrapheClick();
  void ImprimeGrapheClick();
  // The caption under the graph: the comment and the date.
  std::string Legende() const;
  // The size of the graph on the screen.
  QSize TailleFenetre() const;

 private:
  TKVXmainForm &m_fenetre;
  const TPage &m_page;
  DialoguesGraphe m_dialogues;
};

// Enables the graph commands of the window's menu and gives them their
// actions. The object lives as long as the window.
TGrapheFenetre *RelieGraphe(TKVXmainForm &fenetre, const TPage &page,
                            DialoguesGraphe dialogues = DialoguesGraphe::Standard());

}  // namespace kvx::ui
