// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A canvas that draws nothing and remembers every drawing call with the pen,
// brush, font and alignment in force, so tests can assert exactly what the
// graph would put on the screen. Text extents are fixed: half the font height
// per character (UTF-8 characters, not bytes) by the font height.

#include <ostream>
#include <string>
#include <vector>

#include "display/canvas.h"

namespace kvx::display {

struct DrawCall {
  enum class Kind { Line, Polyline, Lines, Ellipse, Rectangle, FillRect, Text };
  Kind kind = Kind::Line;
  std::vector<Point> points;  // line: 2; polyline, lines: all; ellipse/rectangle/fill: 2 corners
  std::string text;
  Pen pen;
  Brush brush;
  Font font;
  TextHAlign halign = TextHAlign::Left;
  TextVAlign valign = TextVAlign::Top;
  Rect clip;  // the clip in force (the whole canvas when none)
  Rgb fill;   // FillRect only
};

// Readable failure messages for points.
inline void PrintTo(const Point &p, std::ostream *os) {
  *os << "(" << p.x << ", " << p.y << ")";
}
inline void PrintTo(const Rgb &c, std::ostream *os) {
  *os << "rgb(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(Size size = {640, 480}) : m_size(size) {}

  Size size() const override { return m_size; }
  void setPen(const Pen &pen) override { m_pen = pen; }
  void setBrush(const Brush &brush) override { m_brush = brush; }
  void setFont(const Font &font) override { m_font = font; }
  void setTextAlign(TextHAlign h, TextVAlign v) override {
    m_halign = h;
    m_valign = v;
  }
  void setClip(const Rect &rect) override { m_clip = rect; }
  void clearClip() override { m_clip = {0, 0, m_size.width, m_size.height}; }

  void line(Point from, Point to) override;
  void polyline(const Point *points, std::size_t count) override;
  void lines(const Point *ends, std::size_t count) override;
  void ellipse(const Rect &box) override;
  void rectangle(const Rect &box) override;
  void fillRect(const Rect &box, Rgb colour) override;
  void text(Point at, std::string_view utf8) override;
  Size textExtent(std::string_view utf8) override;

  const std::vector<DrawCall> &calls() const { return m_calls; }
  void clear() { m_calls.clear(); }

  // Helpers for assertions.
  std::vector<DrawCall> callsOf(DrawCall::Kind kind) const;
  std::vector<std::string> texts() const;
  const DrawCall *findText(const std::string &text) const;
  // Every point of every drawing call, for "nothing outside the canvas".
  std::vector<Point> allPoints() const;

  const Pen &pen() const { return m_pen; }
  const Font &font() const { return m_font; }

 private:
  DrawCall make(DrawCall::Kind kind) const;

  Size m_size;
  Pen m_pen;
  Brush m_brush;
  Font m_font;
  TextHAlign m_halign = TextHAlign::Left;
  TextVAlign m_valign = TextVAlign::Top;
  Rect m_clip{0, 0, m_size.width, m_size.height};
  std::vector<DrawCall> m_calls;
};

}  // namespace kvx::display
