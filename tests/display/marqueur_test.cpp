// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/marqueur.h"

#include <gtest/gtest.h>

#include "recording_canvas.h"

namespace kvx::display {
namespace {

using Kind = DrawCall::Kind;

struct MarqueurCase {
  std::uint8_t motif;
  int dim;
  std::vector<std::pair<Kind, std::vector<Point>>> attendu;
};

TEST(DessineMarqueur, DrawsTheFiveShapesCentredOnThePoint) {
  const Point c{50, 40};
  const MarqueurCase cases[] = {
      {0, 2, {{Kind::Line, {{48, 40}, {52, 40}}}, {Kind::Line, {{50, 38}, {50, 42}}}}},
      {1, 2, {{Kind::Line, {{48, 38}, {52, 42}}}, {Kind::Line, {{52, 38}, {48, 42}}}}},
      {2, 2, {{Kind::Ellipse, {{48, 38}, {53, 43}}}}},
      {3, 2, {{Kind::Rectangle, {{48, 38}, {53, 43}}}}},
      {4, 3, {{Kind::Polyline, {{47, 40}, {50, 37}, {53, 40}, {50, 43}, {47, 40}}}}},
      // A style out of range (a damaged file) draws the cross.
      {200, 1, {{Kind::Line, {{49, 40}, {51, 40}}}, {Kind::Line, {{50, 39}, {50, 41}}}}},
      // Negative and absurd sizes are held to 0 .. kDimPointMax.
      {2, -4, {{Kind::Ellipse, {{50, 40}, {51, 41}}}}},
      {3, 1000, {{Kind::Rectangle, {{18, 8}, {83, 73}}}}},
  };
  for (const MarqueurCase &m : cases) {
    SCOPED_TRACE(::testing::Message() << "motif " << int(m.motif) << " dim " << m.dim);
    RecordingCanvas canvas;
    DessineMarqueur(canvas, m.motif, c, m.dim);
    ASSERT_EQ(canvas.calls().size(), m.attendu.size());
    for (std::size_t i = 0; i < m.attendu.size(); ++i) {
      EXPECT_EQ(canvas.calls()[i].kind, m.attendu[i].first);
      EXPECT_EQ(canvas.calls()[i].points, m.attendu[i].second);
    }
  }
}

}  // namespace
}  // namespace kvx::display
