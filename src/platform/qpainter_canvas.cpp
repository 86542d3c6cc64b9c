// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qpainter_canvas.h"

#include <QColor>
#include <QFontDatabase>
#include <QImage>
#include <QPen>
#include <QRect>
#include <QString>
#include <algorithm>
#include <cmath>

namespace kvx::platform {

namespace {

QColor toQColor(display::Rgb c) {
  return QColor(c.r, c.g, c.b);
}

// The box (left, top) .. (right, bottom) excluded, as Qt wants it for an
// outline one pen width wide that stays inside the box.
QRect outlineRect(const display::Rect &box, int penWidth) {
  const int inset = penWidth > 1 ? penWidth / 2 : 0;
  return QRect(box.left + inset, box.top + inset, std::max(0, box.width() - 1 - 2 * inset),
               std::max(0, box.height() - 1 - 2 * inset));
}

}  // namespace

QPainterCanvas::QPainterCanvas(QPainter &painter, display::Size size, bool directPixels)
    : m_painter(painter), m_size(size) {
  if (!m_painter.isActive()) return;
  QPaintDevice *device = m_painter.device();
  if (directPixels && device && device->devType() == QInternal::Image && !m_painter.hasClipping()) {
    auto *image = static_cast<QImage *>(device);
    const QImage::Format f = image->format();
    if ((f == QImage::Format_RGB32 || f == QImage::Format_ARGB32_Premultiplied) &&
        image->devicePixelRatio() == 1.0)
      // The painter made the image's memory its own when it began, so this
      // is the memory it paints into as well.
      m_lines = RasterLines(const_cast<uchar *>(image->constBits()), image->bytesPerLine(),
                            image->rect());
  }
  m_painter.setRenderHint(QPainter::Antialiasing, false);
  m_painter.setRenderHint(QPainter::TextAntialiasing, true);
  m_painter.setBackgroundMode(Qt::TransparentMode);
  applyPen();
  setBrush(display::Brush{});
}

QString QPainterCanvas::familyFor(const std::string &name) {
  const QString wanted = QString::fromStdString(name);
  if (!wanted.isEmpty() && QFontDatabase::families().contains(wanted, Qt::CaseInsensitive))
    return wanted;
  return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

void QPainterCanvas::setPen(const display::Pen &pen) {
  if (pen == m_pen) return;
  m_pen = pen;
  applyPen();
}

bool QPainterCanvas::direct() const {
  return m_lines.valid() && m_pen.width <= 1 && m_pen.style == display::PenStyle::Solid &&
         m_pen.mode == display::PenMode::Copy && m_painter.transform().isIdentity();
}

void QPainterCanvas::applyPen() {
  if (!m_painter.isActive()) return;
  m_pixel = qRgb(m_pen.colour.r, m_pen.colour.g, m_pen.colour.b);
  QPen qpen(toQColor(m_pen.colour));
  qpen.setCosmetic(true);
  qpen.setWidth(std::max(1, m_pen.width));
  qpen.setCapStyle(Qt::SquareCap);
  qpen.setJoinStyle(Qt::MiterJoin);
  switch (m_pen.style) {
    case display::PenStyle::Solid:
      qpen.setStyle(Qt::SolidLine);
      break;
    case display::PenStyle::Dash:
      qpen.setDashPattern({6, 3});
      break;
    case display::PenStyle::Dot:
      // One pixel in three: a grid light enough to read the curves through.
      qpen.setDashPattern({1, 2});
      break;
  }
  m_painter.setPen(qpen);
  m_painter.setCompositionMode(m_pen.mode == display::PenMode::NotXor
                                   ? QPainter::RasterOp_NotSourceXorDestination
                                   : QPainter::CompositionMode_SourceOver);
}

void QPainterCanvas::setBrush(const display::Brush &brush) {
  if (!m_painter.isActive()) return;
  if (brush.style == display::BrushStyle::Clear)
    m_painter.setBrush(Qt::NoBrush);
  else
    m_painter.setBrush(QBrush(toQColor(brush.colour)));
}

void QPainterCanvas::setFont(const display::Font &font) {
  m_font = font;
}

void QPainterCanvas::applyFont() {
  if (m_appliedFont && m_appliedFont->name == m_font.name &&
      m_appliedFont->height == m_font.height && m_appliedFont->bold == m_font.bold)
    return;
  QFont font(familyFor(m_font.name));
  font.setBold(m_font.bold);
  // The height asked for is the whole text line, accents to descenders;
  // Qt's pixel size is the em, so scale it down to fit the line.
  const int wanted = std::max(1, m_font.height);
  font.setPixelSize(wanted);
  const int line = QFontMetrics(font).height();
  if (line > wanted) font.setPixelSize(std::max(1, wanted * wanted / line));
  m_qfont = font;
  m_metrics.emplace(m_qfont);
  m_appliedFont = m_font;
}

void QPainterCanvas::setTextAlign(display::TextHAlign h, display::TextVAlign v) {
  m_halign = h;
  m_valign = v;
}

void QPainterCanvas::setClip(const display::Rect &rect) {
  if (!m_painter.isActive()) return;
  const QRect clip(rect.left, rect.top, std::max(0, rect.width()), std::max(0, rect.height()));
  m_painter.setClipRect(clip);
  m_lines.setClip(clip);
}

void QPainterCanvas::clearClip() {
  if (!m_painter.isActive()) return;
  m_painter.setClipping(false);
  m_lines.clearClip();
}

// Rows a band: a band of a wide picture stays in the processor's caches.
constexpr int kLignesBande = 32;
// Writing by bands pays once the rows of the tall lines outnumber the
// lines by this much: the bands cost a little for every line.
constexpr qint64 kRangsParTraitEnBandes = 4;

void QPainterCanvas::garde(int x0, int y0, int x1, int y1) {
  m_traits.push_back({x0, y0, x1, y1, m_pixel, m_lines.clip()});
  // Only lines taller than a band gain from being written by bands.
  const qint64 hauteur = std::abs(static_cast<qint64>(y1) - y0) + 1;
  if (hauteur > kLignesBande) m_hauteurs += hauteur;
}

void QPainterCanvas::flush() {
  if (m_traits.empty()) return;
  const QRect clip = m_lines.clip();
  // Mostly short lines (a smooth curve) gain nothing from bands.
  if (m_hauteurs <= kRangsParTraitEnBandes * static_cast<qint64>(m_traits.size()))
    ecritDansLOrdre();
  else
    ecritParBandes();
  m_lines.setClip(clip);
  m_traits.clear();
  m_hauteurs = 0;
}

void QPainterCanvas::ecritDansLOrdre() {
  QRect courant = m_lines.clip();
  for (const Trait &t : m_traits) {
    if (t.clip != courant) {
      m_lines.setClip(t.clip);
      courant = t.clip;
    }
    m_lines.line(t.x0, t.y0, t.x1, t.y1, t.pixel);
  }
}

void QPainterCanvas::ecritParBandes() {
  const QRect image = m_lines.bounds();
  const int nbBandes = std::max(1, (image.height() + kLignesBande - 1) / kLignesBande);
  m_bandes.resize(static_cast<std::size_t>(nbBandes));
  for (auto &b : m_bandes) b.clear();
  for (std::size_t i = 0; i < m_traits.size(); ++i) {
    const Trait &t = m_traits[i];
    const int haut = std::max({std::min(t.y0, t.y1), t.clip.top(), image.top()});
    const int bas = std::min({std::max(t.y0, t.y1), t.clip.bottom(), image.bottom()});
    if (haut > bas) continue;
    for (int b = (haut - image.top()) / kLignesBande; b <= (bas - image.top()) / kLignesBande; ++b)
      m_bandes[static_cast<std::size_t>(b)].push_back(static_cast<std::uint32_t>(i));
  }
  // Each pixel still gets the lines that cross it in drawing order, so the
  // picture is the one drawing them one after the other gives.
  QRect courant = m_lines.clip();
  for (int b = 0; b < nbBandes; ++b) {
    const int dessus = image.top() + b * kLignesBande, dessous = dessus + kLignesBande - 1;
    for (const std::uint32_t i : m_bandes[static_cast<std::size_t>(b)]) {
      const Trait &t = m_traits[i];
      // A line wholly inside the band needs no cut (most pieces of a curve).
      QRect voulu = t.clip;
      if (std::min(t.y0, t.y1) < dessus || std::max(t.y0, t.y1) > dessous)
        voulu = t.clip.intersected(QRect(image.left(), dessus, image.width(), kLignesBande));
      if (voulu != courant) {
        m_lines.setClip(voulu);
        courant = voulu;
      }
      m_lines.line(t.x0, t.y0, t.x1, t.y1, t.pixel);
    }
  }
}

void QPainterCanvas::line(display::Point from, display::Point to) {
  if (!m_painter.isActive()) return;
  if (direct()) {
    garde(from.x, from.y, to.x, to.y);
    return;
  }
  flush();
  m_painter.drawLine(from.x, from.y, to.x, to.y);
}

void QPainterCanvas::polyline(const display::Point *points, std::size_t count) {
  if (!m_painter.isActive()) return;
  if (count == 0) return;
  if (direct()) {
    if (count == 1) garde(points[0].x, points[0].y, points[0].x, points[0].y);
    for (std::size_t i = 1; i < count; ++i)
      garde(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    return;
  }
  flush();
  m_points.resize(count);
  for (std::size_t i = 0; i < count; ++i) m_points[i] = QPoint(points[i].x, points[i].y);
  if (count == 1)
    m_painter.drawPoint(m_points[0]);
  else
    m_painter.drawPolyline(m_points.data(), static_cast<int>(count));
}

void QPainterCanvas::lines(const display::Point *ends, std::size_t count) {
  if (!m_painter.isActive() || count == 0) return;
  if (direct()) {
    for (std::size_t i = 0; i < count; ++i)
      garde(ends[2 * i].x, ends[2 * i].y, ends[2 * i + 1].x, ends[2 * i + 1].y);
    return;
  }
  flush();
  m_qlines.resize(count);
  for (std::size_t i = 0; i < count; ++i)
    m_qlines[i] = QLine(ends[2 * i].x, ends[2 * i].y, ends[2 * i + 1].x, ends[2 * i + 1].y);
  m_painter.drawLines(m_qlines.data(), static_cast<int>(count));
}

void QPainterCanvas::ellipse(const display::Rect &box) {
  if (!m_painter.isActive()) return;
  flush();
  if (box.empty()) return;
  m_painter.drawEllipse(outlineRect(box, m_pen.width));
}

void QPainterCanvas::rectangle(const display::Rect &box) {
  if (!m_painter.isActive()) return;
  flush();
  if (box.empty()) return;
  m_painter.drawRect(outlineRect(box, m_pen.width));
}

void QPainterCanvas::fillRect(const display::Rect &box, display::Rgb colour) {
  if (!m_painter.isActive()) return;
  flush();
  if (box.empty()) return;
  const QPainter::CompositionMode mode = m_painter.compositionMode();
  m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_painter.fillRect(QRect(box.left, box.top, box.width(), box.height()), toQColor(colour));
  m_painter.setCompositionMode(mode);
}

void QPainterCanvas::text(display::Point at, std::string_view utf8) {
  if (!m_painter.isActive()) return;
  flush();
  if (utf8.empty()) return;
  applyFont();
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  const int width = m_metrics->horizontalAdvance(text);
  int x = at.x;
  if (m_halign == display::TextHAlign::Center) x -= width / 2;
  if (m_halign == display::TextHAlign::Right) x -= width;
  const int baseline = m_valign == display::TextVAlign::Top ? at.y + m_metrics->ascent()
                                                            : at.y - m_metrics->descent();
  // Texts are ordinary writing, even while the pen draws in not-xor.
  const QPainter::CompositionMode mode = m_painter.compositionMode();
  m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  const QPen pen = m_painter.pen();
  m_painter.setPen(toQColor(m_font.colour));
  m_painter.setFont(m_qfont);
  m_painter.drawText(QPoint(x, baseline), text);
  m_painter.setPen(pen);
  m_painter.setCompositionMode(mode);
}

display::Size QPainterCanvas::textExtent(std::string_view utf8) {
  applyFont();
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  return {m_metrics->horizontalAdvance(text), m_metrics->height()};
}

}  // namespace kvx::platform
