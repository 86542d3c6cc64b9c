// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster_lines.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace kvx::platform {

namespace {

// Floor of a / b for b > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && (a < 0)) --q;
  return q;
}

}  // namespace

RasterLines::RasterLines(uchar *bits, qsizetype bytesPerLine, const QRect &bounds)
    : m_bits(bits), m_bytesPerLine(bytesPerLine), m_bounds(bounds), m_clip(bounds) {}

void RasterLines::setClip(const QRect &clip) {
  m_clip = clip.intersected(m_bounds);
}

void RasterLines::line(int x0, int y0, int x1, int y1, quint32 pixel) {
  if (!m_bits || m_clip.isEmpty()) return;
  // Nothing to do for a line wholly beside the clip.
  if (std::max(x0, x1) < m_clip.left() || std::min(x0, x1) > m_clip.right() ||
      std::max(y0, y1) < m_clip.top() || std::min(y0, y1) > m_clip.bottom())
    return;
  const std::int64_t dx = std::int64_t(x1) - x0, dy = std::int64_t(y1) - y0;
  if ((dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy))
    lineAlongX(x0, y0, x1, y1, pixel);
  else
    lineAlongY(x0, y0, x1, y1, pixel);
}

// One pixel a column: y = y0 + (x - x0) dy / dx rounded half up, always
// counted from the left end so that both directions ink the same pixels.
void RasterLines::lineAlongX(int x0, int y0, int x1, int y1, quint32 pixel) {
  if (x0 > x1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  const std::int64_t dx = std::int64_t(x1) - x0, dy = std::int64_t(y1) - y0;
  const int first = std::max(x0, m_clip.left()), last = std::min(x1, m_clip.right());
  if (dx == 0) {
    if (y0 >= m_clip.top() && y0 <= m_clip.bottom()) plot(x0, y0, pixel);
    return;
  }
  const std::int64_t den = 2 * dx;
  std::int64_t num = 2 * (std::int64_t(first) - x0) * dy + dx;
  std::int64_t y = y0 + FloorDiv(num, den);
  std::int64_t rest = num - FloorDiv(num, den) * den;  // 0 <= rest < den
  const int top = m_clip.top(), bottom = m_clip.bottom();
  for (int x = first; x <= last; ++x) {
    if (y >= top && y <= bottom) plot(x, int(y), pixel);
    rest += 2 * dy;
    if (rest >= den) {
      rest -= den;
      ++y;
    } else if (rest < 0) {
      rest += den;
      --y;
    }
  }
}

// One pixel a row, counted from the top end.
void RasterLines::lineAlongY(int x0, int y0, int x1, int y1, quint32 pixel) {
  if (y0 > y1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  const std::int64_t dx = std::int64_t(x1) - x0, dy = std::int64_t(y1) - y0;
  const int first = std::max(y0, m_clip.top()), last = std::min(y1, m_clip.bottom());
  const int left = m_clip.left(), right = m_clip.right();
  if (dx == 0) {
    if (x0 < left || x0 > right) return;
    for (int y = first; y <= last; ++y) plot(x0, y, pixel);
    return;
  }
  const std::int64_t den = 2 * dy;
  std::int64_t num = 2 * (std::int64_t(first) - y0) * dx + dy;
  std::int64_t x = x0 + FloorDiv(num, den);
  std::int64_t rest = num - FloorDiv(num, den) * den;
  for (int y = first; y <= last; ++y) {
    if (x >= left && x <= right) plot(int(x), y, pixel);
    rest += 2 * dx;
    if (rest >= den) {
      rest -= den;
      ++x;
    } else if (rest < 0) {
      rest += den;
      --x;
    }
  }
}

}  // namespace kvx::platform
