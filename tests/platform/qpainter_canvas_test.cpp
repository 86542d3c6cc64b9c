// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qpainter_canvas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <cstdint>

#include "gui_app.h"
#include "platform/image_canvas.h"
#include "platform/raster_lines.h"

namespace kvx::platform {
namespace {

using display::Point;
using display::Rect;
using display::Rgb;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kNavy{0, 0, 128};

class QPainterCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::EnsureGuiApp(); }
};

bool IsWhite(const QImage &image, int x, int y) {
  return image.pixel(x, y) == qRgb(255, 255, 255);
}

// Every pixel that is not white, as (x, y) pairs.
std::vector<Point> Inked(const QImage &image) {
  std::vector<Point> out;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (!IsWhite(image, x, y)) out.push_back({x, y});
  return out;
}

TEST_F(QPainterCanvasTest, LineIncludesBothEndsInPenColour) {
  ImageCanvas picture({20, 10});
  picture.canvas().setPen({kRed});
  picture.canvas().line({2, 5}, {8, 5});
  const std::vector<Point> inked = Inked(picture.image());
  ASSERT_EQ(inked.size(), 7u);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(inked[i], (Point{2 + i, 5}));
  EXPECT_EQ(picture.image().pixel(2, 5), qRgb(255, 0, 0));
}

// Plain lines are kept and written later, by bands of rows when they are
// tall: the picture must be the one drawing them one by one gives, whatever
// the mix of colours, clips and painter drawing between them.
TEST_F(QPainterCanvasTest, KeptLinesGiveThePictureOfLinesDrawnOneByOne) {
  for (const int hauteur : {3, 300}) {  // short lines in order; tall ones by bands
    constexpr int kW = 257, kH = 203;
    ImageCanvas picture({kW, kH});
    QImage reference(kW, kH, QImage::Format_RGB32);
    reference.fill(qRgb(255, 255, 255));
    RasterLines direct(reference.bits(), reference.bytesPerLine(), reference.rect());
    display::Canvas &canvas = picture.canvas();
    std::uint32_t graine = 12345;
    auto hasard = [&graine](int n) {
      graine = graine * 1103515245u + 12345u;
      return static_cast<int>((graine >> 8) % static_cast<std::uint32_t>(n));
    };
    const Rgb couleurs[] = {kRed, kNavy, {0, 128, 0}};
    for (int i = 0; i < 3000; ++i) {
      if (i == 1000) {  // painter drawing in between writes what was kept first
        canvas.fillRect({40, 40, 90, 80}, {200, 200, 0});
        for (int y = 40; y < 80; ++y)
          for (int x = 40; x < 90; ++x) reference.setPixel(x, y, qRgb(200, 200, 0));
      }
      if (i % 700 == 0) {
        const Rect clip = i % 1400 == 0 ? Rect{0, 0, kW, kH} : Rect{10, 17, 240, 190};
        canvas.setClip(clip);
        direct.setClip(QRect(clip.left, clip.top, clip.width(), clip.height()));
      }
      const Rgb c = couleurs[hasard(3)];
      canvas.setPen({c});
      const int x0 = hasard(kW + 40) - 20, y0 = hasard(kH + 40) - 20;
      const int x1 = x0 + hasard(5) - 2, y1 = y0 + hasard(2 * hauteur + 1) - hauteur;
      canvas.line({x0, y0}, {x1, y1});
      direct.line(x0, y0, x1, y1, qRgb(c.r, c.g, c.b));
    }
    EXPECT_EQ(picture.image(), reference) << "lines " << hauteur << " rows tall";
  }
}

TEST_F(QPainterCanvasTest, NotXorTwiceGivesBackThePicture) {
  ImageCanvas picture({40, 40});
  display::Canvas &canvas = picture.canvas();
  canvas.setPen({kNavy});
  canvas.line({0, 20}, {39, 20});
  const QImage before = picture.image().copy();
  canvas.setPen({kRed, 3, display::PenStyle::Solid, display::PenMode::NotXor});
  canvas.line({10, 20}, {30, 20});
  canvas.line({20, 10}, {20, 30});
  EXPECT_NE(picture.image(), before);
  // Over white the not-xor pen shows its own colour.
  EXPECT_EQ(picture.image().pixel(20, 12), qRgb(255, 0, 0));
  canvas.line({10, 20}, {30, 20});
  canvas.line({20, 10}, {20, 30});
  EXPECT_EQ(picture.image(), before);
}

TEST_F(QPainterCanvasTest, ShapesStayInsideTheirBox) {
  struct Case {
    const char *name;
    int penWidth;
    bool ellipse;
  };
  for (const Case &c : {Case{"rectangle", 1, false}, Case{"rectangle3", 3, false},
                        Case{"ellipse", 1, true}, Case{"ellipse3", 3, true}}) {
    SCOPED_TRACE(c.name);
    ImageCanvas picture({30, 30});
    display::Canvas &canvas = picture.canvas();
    canvas.setPen({kRed, c.penWidth});
    canvas.setBrush({kNavy, display::BrushStyle::Solid});
    const Rect box{5, 7, 16, 20};
    if (c.ellipse)
      canvas.ellipse(box);
    else
      canvas.rectangle(box);
    const std::vector<Point> inked = Inked(picture.image());
    ASSERT_FALSE(inked.empty());
    int left = 99, top = 99, right = -1, bottom = -1;
    for (Point p : inked) {
      left = std::min(left, p.x);
      top = std::min(top, p.y);
      right = std::max(right, p.x);
      bottom = std::max(bottom, p.y);
    }
    EXPECT_GE(left, box.left);
    EXPECT_GE(top, box.top);
    EXPECT_LE(right, box.right - 1);
    EXPECT_LE(bottom, box.bottom - 1);
    if (!c.ellipse) {
      EXPECT_EQ(left, box.left);
      EXPECT_EQ(right, box.right - 1);
      EXPECT_EQ(picture.image().pixel(10, 13), qRgb(0, 0, 128));  // filled with the brush
    }
  }
}

TEST_F(QPainterCanvasTest, ClipKeepsDrawingInside) {
  ImageCanvas picture({50, 50});
  display::Canvas &canvas = picture.canvas();
  canvas.setPen({kRed});
  canvas.setClip({10, 10, 20, 20});
  canvas.line({0, 0}, {49, 49});
  canvas.polyline(std::vector<Point>{{0, 15}, {49, 15}, {49, 40}}.data(), 3);
  for (Point p : Inked(picture.image())) {
    EXPECT_GE(p.x, 10);
    EXPECT_LT(p.x, 20);
    EXPECT_GE(p.y, 10);
    EXPECT_LT(p.y, 20);
  }
  canvas.clearClip();
  canvas.line({40, 0}, {40, 5});
  EXPECT_FALSE(IsWhite(picture.image(), 40, 3));
}

TEST_F(QPainterCanvasTest, DottedPenInksOnePixelInThree) {
  ImageCanvas picture({31, 3});
  picture.canvas().setPen({kRed, 1, display::PenStyle::Dot});
  picture.canvas().line({0, 1}, {29, 1});
  EXPECT_EQ(Inked(picture.image()).size(), 10u);
  EXPECT_FALSE(IsWhite(picture.image(), 0, 1));
  EXPECT_TRUE(IsWhite(picture.image(), 1, 1));
  EXPECT_TRUE(IsWhite(picture.image(), 2, 1));
  EXPECT_FALSE(IsWhite(picture.image(), 3, 1));
}

TEST_F(QPainterCanvasTest, TextIsPlacedByItsAlignment) {
  const std::string label = "12,5";
  struct Case {
    display::TextHAlign h;
    display::TextVAlign v;
  };
  for (Case c : {Case{display::TextHAlign::Left, display::TextVAlign::Top},
                 Case{display::TextHAlign::Center, display::TextVAlign::Top},
                 Case{display::TextHAlign::Right, display::TextVAlign::Bottom}}) {
    ImageCanvas picture({200, 100});
    display::Canvas &canvas = picture.canvas();
    canvas.setFont({"", 20, kNavy});
    canvas.setTextAlign(c.h, c.v);
    const display::Size extent = canvas.textExtent(label);
    EXPECT_LE(extent.height, 20);
    EXPECT_GT(extent.width, 10);
    canvas.text({100, 50}, label);
    const std::vector<Point> inked = Inked(picture.image());
    ASSERT_FALSE(inked.empty());
    const int expectLeft = c.h == display::TextHAlign::Left     ? 100
                           : c.h == display::TextHAlign::Center ? 100 - extent.width / 2
                                                                : 100 - extent.width;
    const int expectTop = c.v == display::TextVAlign::Top ? 50 : 50 - extent.height;
    for (Point p : inked) {
      EXPECT_GE(p.x, expectLeft - 1);
      EXPECT_LE(p.x, expectLeft + extent.width + 1);
      EXPECT_GE(p.y, expectTop);
      EXPECT_LT(p.y, expectTop + extent.height);
    }
  }
}

TEST_F(QPainterCanvasTest, TextIgnoresTheNotXorPen) {
  ImageCanvas picture({60, 30});
  display::Canvas &canvas = picture.canvas();
  canvas.setPen({kRed, 1, display::PenStyle::Dash, display::PenMode::NotXor});
  canvas.setFont({"", 16, kNavy});
  canvas.text({2, 2}, "\u00C0");
  const QImage once = picture.image().copy();
  canvas.text({2, 2}, "\u00C0");
  // Ordinary text drawn twice stays on the picture.
  EXPECT_FALSE(Inked(picture.image()).empty());
  EXPECT_EQ(Inked(once).size(), Inked(picture.image()).size());
}

TEST_F(QPainterCanvasTest, EmptyPictureAcceptsDrawingAndSavesNothing) {
  ImageCanvas picture({0, 0});
  display::Canvas &canvas = picture.canvas();
  EXPECT_EQ(canvas.size(), (display::Size{0, 0}));
  canvas.setPen({kRed});
  canvas.line({0, 0}, {10, 10});
  canvas.rectangle({0, 0, 5, 5});
  canvas.text({0, 0}, "x");
  QTemporaryDir dir;
  EXPECT_FALSE(picture.savePng(dir.filePath("empty.png")));
}

TEST_F(QPainterCanvasTest, PngRoundTripKeepsEveryPixel) {
  ImageCanvas picture({64, 48});
  display::Canvas &canvas = picture.canvas();
  canvas.setPen({kNavy});
  canvas.polyline(std::vector<Point>{{0, 47}, {20, 3}, {40, 30}, {63, 0}}.data(), 4);
  canvas.fillRect({50, 40, 60, 45}, kRed);
  QTemporaryDir dir;
  const QString path = dir.filePath("graph.png");
  ASSERT_TRUE(picture.savePng(path));
  QImage loaded(path);
  ASSERT_FALSE(loaded.isNull());
  EXPECT_EQ(loaded.convertToFormat(QImage::Format_RGB32), picture.image());
  EXPECT_FALSE(picture.savePng(dir.filePath("no/such/folder/graph.png")));
}

TEST_F(QPainterCanvasTest, UnknownFontFallsBackToTheSystemFamily) {
  EXPECT_FALSE(QPainterCanvas::familyFor("No Such Font 4711").isEmpty());
  EXPECT_EQ(QPainterCanvas::familyFor("No Such Font 4711"), QPainterCanvas::familyFor(""));
}

}  // namespace
}  // namespace kvx::platform
