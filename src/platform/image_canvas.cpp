// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/image_canvas.h"

#include <algorithm>

namespace kvx::platform {

ImageCanvas::ImageCanvas(display::Size size, display::Rgb background, bool directPixels)
    : m_image(std::max(0, size.width), std::max(0, size.height), QImage::Format_RGB32) {
  m_image.fill(QColor(background.r, background.g, background.b));
  m_painter = std::make_unique<QPainter>();
  // A null image cannot be painted on; the canvas then draws into nothing.
  if (!m_image.isNull()) m_painter->begin(&m_image);
  m_canvas = std::make_unique<QPainterCanvas>(
      *m_painter, display::Size{m_image.width(), m_image.height()}, directPixels);
}

ImageCanvas::~ImageCanvas() {
  m_canvas.reset();
  if (m_painter->isActive()) m_painter->end();
}

const QImage &ImageCanvas::image() {
  // The raster painter writes straight into the image; the canvas keeps
  // its plain lines until asked.
  m_canvas->flush();
  return m_image;
}

bool ImageCanvas::savePng(const QString &path) {
  m_canvas->flush();
  if (m_image.isNull()) return false;
  return m_image.save(path, "PNG");
}

}  // namespace kvx::platform
