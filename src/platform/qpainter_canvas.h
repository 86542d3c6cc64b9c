// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The graph's canvas on a QPainter: the window paints through it, and so does
// the picture export. Lines and shapes are drawn without anti-aliasing, one
// pixel wide unless asked otherwise, so curves stay crisp and cheap; texts are
// smoothed. The painter must be active on a raster device (a QImage or a
// widget backed by one) for the not-xor pen of the live crosses to work.
//
// On a 32-bit image painted without a transform, plain solid one-pixel lines
// (the curves, ticks and markers) are written straight into the image: the
// painter's own line code is several times slower per pixel, too slow to
// redraw eight full curves at every paint. They are kept until the painter
// is needed again (or `flush`, or the end of the canvas) and then written a
// band of rows at a time: a noisy curve inks whole columns, and going down
// every column of a large picture eight times costs more in memory traffic
// than the ink itself.

#include <QFont>
#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <QPoint>
#include <cstdint>
#include <optional>
#include <vector>

#include "display/canvas.h"
#include "platform/raster_lines.h"

namespace kvx::platform {

class QPainterCanvas : public display::Canvas {
 public:
  // `directPixels` false keeps every line on the painter (for comparisons).
  QPainterCanvas(QPainter &painter, display::Size size, bool directPixels = true);
  ~QPainterCanvas() override { flush(); }
  QPainterCanvas(const QPainterCanvas &) = delete;
  QPainterCanvas &operator=(const QPainterCanvas &) = delete;

  // Writes the lines still kept into the image.
  void flush();

  display::Size size() const override { return m_size; }
  void setPen(const display::Pen &pen) override;
  void setBrush(const display::Brush &brush) override;
  void setFont(const display::Font &font) override;
  void setTextAlign(display::TextHAlign h, display::TextVAlign v) override;
  void setClip(const display::Rect &rect) override;
  void clearClip() override;
  void line(display::Point from, display::Point to) override;
  void polyline(const display::Point *points, std::size_t count) override;
  void lines(const display::Point *ends, std::size_t count) override;
  void ellipse(const display::Rect &box) override;
  void rectangle(const display::Rect &box) override;
  void fillRect(const display::Rect &box, display::Rgb colour) override;
  void text(display::Point at, std::string_view utf8) override;
  display::Size textExtent(std::string_view utf8) override;

  // The family used for a font name: the name itself when the system has it,
  // else the system's sans-serif family (a Linux desktop rarely has Calibri).
  static QString familyFor(const std::string &name);

 private:
  void applyFont();
  void applyPen();
  // The direct lines apply: a plain pen and nothing changed behind our back.
  bool direct() const;

  QPainter &m_painter;
  display::Size m_size;
  display::Pen m_pen;
  display::Font m_font;
  std::optional<display::Font> m_appliedFont;
  QFont m_qfont;
  std::optional<QFontMetrics> m_metrics;
  display::TextHAlign m_halign = display::TextHAlign::Left;
  display::TextVAlign m_valign = display::TextVAlign::Top;
  std::vector<QPoint> m_points;
  std::vector<QLine> m_qlines;
  // A direct line kept for the next flush, with the clip it was drawn in.
  struct Trait {
    int x0, y0, x1, y1;
    quint32 pixel;
    QRect clip;
  };
  void garde(int x0, int y0, int x1, int y1);
  void ecritDansLOrdre();
  void ecritParBandes();

  RasterLines m_lines;
  quint32 m_pixel = 0xFF000000;
  std::vector<Trait> m_traits;
  qint64 m_hauteurs = 0;  // rows spanned by the kept lines taller than a band
  std::vector<std::vector<std::uint32_t>> m_bandes;  // indices of the traits crossing each band
};

}  // namespace kvx::platform
