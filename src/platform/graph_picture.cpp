// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/graph_picture.h"

#include "display/couleurs.h"
#include "platform/image_canvas.h"

namespace kvx::platform {

QImage DessineGraphe(display::TgrapheKVX &graphe, display::Size size) {
  ImageCanvas picture(size, display::CouleurRgb(display::kCouleurFenetre));
  graphe.cadre = {0, 0, picture.image().width(), picture.image().height()};
  graphe.Dessine(picture.canvas());
  return picture.image().copy();
}

bool ExporteGraphePng(display::TgrapheKVX &graphe, display::Size size, const QString &path) {
  const QImage image = DessineGraphe(graphe, size);
  return !image.isNull() && image.save(path, "PNG");
}

}  // namespace kvx::platform
