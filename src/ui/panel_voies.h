// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>
#include <QWidget>
#include <array>

#include "display/courbe.h"
#include "ui/readout_layout.h"

class QLabel;

// The voltmeter column of the main window: the reference label at the top and
// one box a channel (binary inputs, V1..V4, optical fork) stacked from the
// bottom up, each holding its large read-out. Clicking a box opens that
// channel's settings, so every box and label carries its slot number.
namespace kvx::ui {

// One read-out box: the caption names the channel and its range, the label
// inside shows the live value. The box belongs to one channel and keeps its
// place in the column; when the graph moves the channel to another slot it
// tells the box, so that a click still opens that channel.
class TcadreVoie : public QGroupBox, public display::CadreVoie {
  Q_OBJECT
 public:
  TcadreVoie(const QString &nom, const QString &nomLabel, int slot, QWidget *parent);
  int slot() const { return m_slot; }
  void FixeNumero(int slot) override;
  QLabel *afficheur() const { return m_afficheur; }
  void FixeHautLabel(int haut);

 protected:
  void resizeEvent(QResizeEvent *event) override;

 private:
  void placeLabel();
  int m_slot;
  int m_hautLabel = 15;
  QLabel *m_afficheur;
};

class TPanelVoies : public QWidget {
  Q_OBJECT
 public:
  explicit TPanelVoies(QWidget *parent = nullptr);

  QLabel *masseLabel() const { return m_masse; }
  // The box of the channel now in slot 4..9.
  TcadreVoie *cadre(int slot) const;

  // Gives every box the size, colours and fonts of `sorties`; `couleurs`
  // holds the channel colours, slot 4 first.
  void Applique(const SortiesBoites &sorties, const std::array<QColor, kNbBoites> &couleurs);
  // The column width that shows every caption and read-out of the boxes
  // whole, in their present fonts.
  int LargeurNecessaire() const;

 private:
  QLabel *m_masse;
  std::array<TcadreVoie *, kNbBoites> m_cadres{};
};

}  // namespace kvx::ui
