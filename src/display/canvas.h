// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The drawing surface the graph is painted on. The graph only knows this
// interface; the shell gives it a painter on the window (or on an image for a
// picture export), and tests give it a recorder that logs every call.
//
// Coordinates are whole pixels, x to the right and y down, as on the screen.
// Texts are UTF-8 and always drawn with a transparent background.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvx::display {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend constexpr bool operator==(Rgb x, Rgb y) { return x.r == y.r && x.g == y.g && x.b == y.b; }
  friend constexpr bool operator!=(Rgb x, Rgb y) { return !(x == y); }
};

struct Point {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(Point p, Point q) { return p.x == q.x && p.y == q.y; }
  friend constexpr bool operator!=(Point p, Point q) { return !(p == q); }
};

struct Size {
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(Size s, Size t) {
    return s.width == t.width && s.height == t.height;
  }
};

// A rectangle of pixels from (left, top) included to (right, bottom) excluded.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr bool empty() const { return right <= left || bottom <= top; }
  constexpr bool contains(Point p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  friend constexpr bool operator==(const Rect &a, const Rect &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};

enum class PenStyle { Solid, Dash, Dot };

// NotXor draws colour c over white as c, and drawing the same stroke twice
// gives back what was there: the live cursor crosses and the threshold line
// are moved that way without a repaint.
enum class PenMode { Copy, NotXor };

struct Pen {
  Rgb colour;
  int width = 1;
  PenStyle style = PenStyle::Solid;
  PenMode mode = PenMode::Copy;
  friend bool operator==(const Pen &a, const Pen &b) {
    return a.colour == b.colour && a.width == b.width && a.style == b.style && a.mode == b.mode;
  }
};

// Clear leaves the inside of rectangles and ellipses untouched.
enum class BrushStyle { Solid, Clear };

struct Brush {
  Rgb colour{255, 255, 255};
  BrushStyle style = BrushStyle::Clear;
  friend bool operator==(const Brush &a, const Brush &b) {
    return a.colour == b.colour && a.style == b.style;
  }
};

struct Font {
  std::string name = "Calibri";
  int height = 13;  // pixels, from the top of the accents to the bottom of the descenders
  Rgb colour;
  bool bold = false;
  friend bool operator==(const Font &a, const Font &b) {
    return a.name == b.name && a.height == b.height && a.colour == b.colour && a.bold == b.bold;
  }
};

// Which point of the text box a text position names.
enum class TextHAlign { Left, Center, Right };
enum class TextVAlign { Top, Bottom };

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Size of the surface in pixels; nothing outside (0, 0, width, height) shows.
  virtual Size size() const = 0;

  virtual void setPen(const Pen &pen) = 0;
  virtual void setBrush(const Brush &brush) = 0;
  virtual void setFont(const Font &font) = 0;
  virtual void setTextAlign(TextHAlign h, TextVAlign v) = 0;

  // Later drawing shows only inside the rectangle, until clearClip().
  virtual void setClip(const Rect &rect) = 0;
  virtual void clearClip() = 0;

  // Lines with the pen, both end points included.
  virtual void line(Point from, Point to) = 0;
  // Joined line through the points, with the pen.
  virtual void polyline(const Point *points, std::size_t count) = 0;
  // Separate lines, the i-th from ends[2i] to ends[2i + 1], with the pen.
  virtual void lines(const Point *ends, std::size_t count) = 0;
  // Outline with the pen, inside with the brush, in the box (left, top) ..
  // (right, bottom) excluded.
  virtual void ellipse(const Rect &box) = 0;
  virtual void rectangle(const Rect &box) = 0;
  // The whole rectangle in one colour, pen and brush unchanged.
  virtual void fillRect(const Rect &box, Rgb colour) = 0;

  // Text in the font and its colour, placed by the text alignment.
  virtual void text(Point at, std::string_view utf8) = 0;
  virtual Size textExtent(std::string_view utf8) = 0;
};

}  // namespace kvx::display
