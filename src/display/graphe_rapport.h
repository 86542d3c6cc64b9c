// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The graph for a lab report: the very graph of the window, drawn by its
// renderer onto another canvas (a picture, a vector drawing, a printed page)
// on a white ground, with a caption line under it that holds the page
// comment and the date of the recording. The shell's picture export, copy and
// printing use it.

#include <string>
#include <string_view>

#include "display/canvas.h"
#include "display/graphe.h"

namespace kvx::display {

// "comment — date", or whichever of the two is not empty.
std::string LegendeGraphe(std::string_view commentaire, std::string_view date);

// Draws the whole graph over the canvas with the caption at the bottom (no
// caption line when `legende` is empty). The window's own scales, crosses
// and threshold row are given back afterwards, so the points the engine
// draws next on the window land where its last full redraw put them.
void DessineGraphePourRapport(TgrapheKVX &graphe, Canvas &canvas, std::string_view legende);

}  // namespace kvx::display
