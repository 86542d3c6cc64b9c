// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster_lines.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <set>
#include <utility>

namespace kvx::platform {
namespace {

constexpr quint32 kInk = 0xFFC80000;

struct Picture {
  explicit Picture(int w, int h) : image(w, h, QImage::Format_RGB32) {
    image.fill(Qt::white);
    lines = RasterLines(image.bits(), image.bytesPerLine(), image.rect());
  }
  std::set<std::pair<int, int>> inked() const {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) == kInk) out.insert({x, y});
    return out;
  }
  QImage image;
  RasterLines lines;
};

TEST(RasterLines, InksThePixelNearestThePathOncePerStep) {
  struct Case {
    int x0, y0, x1, y1;
  };
  for (const Case c : {Case{2, 3, 40, 17}, Case{40, 3, 2, 30}, Case{5, 5, 5, 5}, Case{7, 1, 7, 45},
                       Case{1, 9, 45, 9}, Case{3, 3, 43, 43}, Case{10, 40, 12, 2}}) {
    SCOPED_TRACE(::testing::Message() << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1);
    Picture forward(48, 48), backward(48, 48);
    forward.lines.line(c.x0, c.y0, c.x1, c.y1, kInk);
    backward.lines.line(c.x1, c.y1, c.x0, c.y0, kInk);
    const auto inked = forward.inked();
    // The same pixels whichever end the line starts from.
    EXPECT_EQ(inked, backward.inked());
    EXPECT_TRUE(inked.count({c.x0, c.y0}));
    EXPECT_TRUE(inked.count({c.x1, c.y1}));
    const int dx = std::abs(c.x1 - c.x0), dy = std::abs(c.y1 - c.y0);
    EXPECT_EQ(inked.size(), std::size_t(std::max(dx, dy) + 1));
    for (auto [x, y] : inked) {
      // Distance along the minor axis from the true path is at most half a pixel.
      if (dx >= dy && dx > 0) {
        const double yt = c.y0 + double(x - c.x0) * (c.y1 - c.y0) / (c.x1 - c.x0);
        EXPECT_LE(std::fabs(y - yt), 0.5);
      } else if (dy > 0) {
        const double xt = c.x0 + double(y - c.y0) * (c.x1 - c.x0) / (c.y1 - c.y0);
        EXPECT_LE(std::fabs(x - xt), 0.5);
      }
    }
  }
}

TEST(RasterLines, KeepsToTheClipAndTheImage) {
  Picture p(64, 64);
  p.lines.setClip(QRect(10, 10, 20, 20));
  p.lines.line(-1000000, -999990, 1000000, 1000010, kInk);  // through the clip, far ends
  p.lines.line(15, -5000000, 16, 5000000, kInk);            // steep, far ends
  p.lines.line(100, 0, 200, 50, kInk);                      // wholly outside
  const auto inked = p.inked();
  ASSERT_FALSE(inked.empty());
  for (auto [x, y] : inked) {
    EXPECT_GE(x, 10);
    EXPECT_LT(x, 30);
    EXPECT_GE(y, 10);
    EXPECT_LT(y, 30);
  }
  // Clipped lines keep the pixels they have unclipped.
  Picture q(64, 64);
  q.lines.line(0, 5, 63, 40, kInk);
  Picture r(64, 64);
  r.lines.setClip(QRect(20, 0, 30, 64));
  r.lines.line(0, 5, 63, 40, kInk);
  for (auto [x, y] : r.inked()) EXPECT_TRUE(q.inked().count({x, y}));
  EXPECT_EQ(r.inked().size(), 30u);
  // The clip never reaches beyond the image.
  Picture s(8, 8);
  s.lines.setClip(QRect(-100, -100, 300, 300));
  s.lines.line(-50, 3, 50, 3, kInk);
  EXPECT_EQ(s.inked().size(), 8u);
}

}  // namespace
}  // namespace kvx::platform
