// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An off-screen picture to draw the graph on: a white image with a painter
// and the graph's canvas over it. Used for the picture export of the window,
// as the window's own backing image, and by tests that compare pictures.

#include <QImage>
#include <QPainter>
#include <QString>
#include <memory>

#include "display/canvas.h"
#include "platform/qpainter_canvas.h"

namespace kvx::platform {

class ImageCanvas {
 public:
  // A white image of the given size (an empty size gives an empty image that
  // still accepts drawing calls and shows nothing).
  explicit ImageCanvas(display::Size size, display::Rgb background = {255, 255, 255},
                       bool directPixels = true);
  ~ImageCanvas();
  ImageCanvas(const ImageCanvas &) = delete;
  ImageCanvas &operator=(const ImageCanvas &) = delete;

  display::Canvas &canvas() { return *m_canvas; }
  // The picture so far; ends nothing, drawing may go on afterwards.
  const QImage &image();
  // Writes the picture as PNG; false when the file cannot be written.
  bool savePng(const QString &path);

 private:
  QImage m_image;
  std::unique_ptr<QPainter> m_painter;
  std::unique_ptr<QPainterCanvas> m_canvas;
};

}  // namespace kvx::platform
