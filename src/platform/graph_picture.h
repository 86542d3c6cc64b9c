// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The graph as a picture: the whole graph drawn off screen at a given size,
// as the window shows it, for the picture export and for tests that look at
// the graph.

#include <QImage>
#include <QString>

#include "display/canvas.h"
#include "display/graphe.h"

namespace kvx::platform {

// A white picture of `size` with the whole graph drawn on it; the graph's
// `cadre` becomes the whole picture.
QImage DessineGraphe(display::TgrapheKVX &graphe, display::Size size);

// The same picture written as PNG; false when it cannot be written (or the
// size is empty).
bool ExporteGraphePng(display::TgrapheKVX &graphe, display::Size size, const QString &path);

}  // namespace kvx::platform
