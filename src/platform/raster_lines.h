// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One-pixel lines written straight into the memory of a 32-bit image. The
// painter's general line code costs tens of nanoseconds a pixel, which a
// screen of curves refreshed at every paint cannot afford; these lines cost
// a few. Each line inks the pixel nearest to its true path in every column
// (or every row for steep lines), both ends included, the same pixels
// whichever end it is drawn from, and nothing outside the clip.

#include <QRect>
#include <QtGlobal>

namespace kvx::platform {

class RasterLines {
 public:
  RasterLines() = default;
  // `bits` is row 0 of an image of `bounds` size with `bytesPerLine` bytes a
  // row and 32 bits a pixel.
  RasterLines(uchar *bits, qsizetype bytesPerLine, const QRect &bounds);

  bool valid() const { return m_bits != nullptr; }
  // Drawing shows only inside this rectangle (and the image).
  void setClip(const QRect &clip);
  void clearClip() { m_clip = m_bounds; }
  const QRect &clip() const { return m_clip; }
  const QRect &bounds() const { return m_bounds; }

  void line(int x0, int y0, int x1, int y1, quint32 pixel);

 private:
  void plot(int x, int y, quint32 pixel) {
    reinterpret_cast<quint32 *>(m_bits + y * m_bytesPerLine)[x] = pixel;
  }
  void lineAlongX(int x0, int y0, int x1, int y1, quint32 pixel);
  void lineAlongY(int x0, int y0, int x1, int y1, quint32 pixel);

  uchar *m_bits = nullptr;
  qsizetype m_bytesPerLine = 0;
  QRect m_bounds;
  QRect m_clip;
};

}  // namespace kvx::platform
