// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The graph as a picture for a lab report: a PNG image, an SVG or a PDF
// drawing (lines and texts, not a bitmap inside), or a printed page, each
// drawn by the window's renderer with its caption line.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <string>

#include "display/graphe.h"

class QPagedPaintDevice;

namespace kvx::platform {

// The kinds of pictures, chosen by the file's extension (any case).
enum class FormatGraphe { Png, Svg, Pdf, Inconnu };
FormatGraphe FormatGrapheDuFichier(const QString &fichier);

QImage ImageGraphe(display::TgrapheKVX &graphe, QSize taille, const std::string &legende);
QByteArray SvgGraphe(display::TgrapheKVX &graphe, QSize taille, const std::string &legende);
QByteArray PdfGraphe(display::TgrapheKVX &graphe, QSize taille, const std::string &legende);

// The graph of `taille` pixels scaled to fill a printed page, keeping its
// proportions; false when the page could not be started.
bool ImprimeGraphe(display::TgrapheKVX &graphe, QPagedPaintDevice &page, QSize taille,
                   const std::string &legende);

// Writes the picture in the file's format, in one step: a failure leaves no
// file and an old one as it was. Returns the user's message, empty on
// success.
QString EnregistreGraphe(const QString &fichier, display::TgrapheKVX &graphe, QSize taille,
                         const std::string &legende);

}  // namespace kvx::platform
