// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/graphe_image.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <filesystem>

#include "display/graphe_rapport.h"
#include "exchange/atomic_file.h"
#include "platform/qpainter_canvas.h"

namespace kvx::platform {

namespace {

// Screen pixels: a drawing of the window's size prints at the window's size.
constexpr int kPointsParPouce = 96;

void Dessine(QPainter &peintre, display::TgrapheKVX &graphe, QSize taille,
             const std::string &legende) {
  QPainterCanvas canvas(peintre, {taille.width(), taille.height()});
  display::DessineGraphePourRapport(graphe, canvas, legende);
}

QSize Valide(QSize taille) {
  return {std::clamp(taille.width(), 16, 20000), std::clamp(taille.height(), 16, 20000)};
}

}  // namespace

FormatGraphe FormatGrapheDuFichier(const QString &fichier) {
  const QString extension = QFileInfo(fichier).suffix().toLower();
  if (extension == QLatin1String("png")) return FormatGraphe::Png;
  if (extension == QLatin1String("svg")) return FormatGraphe::Svg;
  if (extension == QLatin1String("pdf")) return FormatGraphe::Pdf;
  return FormatGraphe::Inconnu;
}

QImage ImageGraphe(display::TgrapheKVX &graphe, QSize taille, const std::string &legende) {
  taille = Valide(taille);
  QImage image(taille, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter peintre(&image);
  Dessine(peintre, graphe, taille, legende);
  peintre.end();
  return image;
}

QByteArray SvgGraphe(display::TgrapheKVX &graphe, QSize taille, const std::string &legende) {
  taille = Valide(taille);
  QByteArray octets;
  QBuffer tampon(&octets);
  tampon.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&tampon);
  svg.setSize(taille);
  svg.setViewBox(QRect(QPoint(0, 0), taille));
  svg.setResolution(kPointsParPouce);
  svg.setTitle(QStringLiteral("Acquisition par Nuvex KVX"));
  svg.setDescription(QString::fromStdString(legende));
  QPainter peintre(&svg);
  Dessine(peintre, graphe, taille, legende);
  peintre.end();
  return octets;
}

QByteArray PdfGraphe(display::TgrapheKVX &graphe, QSize taille, const std::string &legende) {
  taille = Valide(taille);
  QByteArray octets;
  QBuffer tampon(&octets);
  tampon.open(QIODevice::WriteOnly);
  QPdfWriter pdf(&tampon);
  pdf.setTitle(QStringLiteral("Acquisition par Nuvex KVX"));
  pdf.setCreator(QStringLiteral("KVX"));
  pdf.setResolution(kPointsParPouce);
  // One page the size of the picture, without margins.
  pdf.setPageSize(QPageSize(QSizeF(taille) * 72.0 / kPointsParPouce, QPageSize::Point, QString(),
                            QPageSize::ExactMatch));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter peintre(&pdf);
  Dessine(peintre, graphe, taille, legende);
  peintre.end();
  return octets;
}

bool ImprimeGraphe(display::TgrapheKVX &graphe, QPagedPaintDevice &page, QSize taille,
                   const std::string &legende) {
  taille = Valide(taille);
  QPainter peintre;
  if (!peintre.begin(&page)) return false;
  const QRect zone = peintre.viewport();
  const double echelle =
      std::min(double(zone.width()) / taille.width(), double(zone.height()) / taille.height());
  peintre.translate(zone.left(), zone.top());
  peintre.scale(echelle, echelle);
  Dessine(peintre, graphe, taille, legende);
  return peintre.end();
}

QString EnregistreGraphe(const QString &fichier, display::TgrapheKVX &graphe, QSize taille,
                         const std::string &legende) {
  const std::filesystem::path cible(QFile::encodeName(fichier).toStdString());
  try {
    // A target the save would refuse is refused before the drawing.
    exchange::checkSaveTarget(cible);
    QByteArray octets;
    switch (FormatGrapheDuFichier(fichier)) {
      case FormatGraphe::Svg:
        octets = SvgGraphe(graphe, taille, legende);
        break;
      case FormatGraphe::Pdf:
        octets = PdfGraphe(graphe, taille, legende);
        break;
      case FormatGraphe::Png:
      case FormatGraphe::Inconnu: {
        QBuffer tampon(&octets);
        tampon.open(QIODevice::WriteOnly);
        ImageGraphe(graphe, taille, legende).save(&tampon, "PNG");
        break;
      }
    }
    exchange::writeFileAtomically(cible, std::string_view(octets.constData(), octets.size()));
  } catch (const exchange::FileError &erreur) {
    return QString::fromStdString(erreur.what());
  }
  return QString();
}

}  // namespace kvx::platform
