// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kvx::display {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Projection, RoundsToTheNearestPixelTiesToEven) {
  const Projection p{1, 0.5, false};
  EXPECT_EQ(p.Ecran(0), 0);  // 0.5
  EXPECT_EQ(p.Ecran(1), 2);  // 1.5
  EXPECT_EQ(p.Ecran(2), 2);  // 2.5
  EXPECT_EQ(p.Ecran(2.2), 3);
  EXPECT_EQ(p.Ecran(-3), -2);  // -2.5
}

TEST(Projection, UndrawableValuesGiveNoPixel) {
  const Projection lin{10, 5, false};
  const Projection log{10, 5, true};
  for (double v : {kNaN, kInf, -kInf}) {
    EXPECT_EQ(lin.Ecran(v), kHorsEcran) << v;
    EXPECT_TRUE(std::isnan(lin.position(v))) << v;
  }
  EXPECT_EQ(log.Ecran(0), kHorsEcran);
  EXPECT_EQ(log.Ecran(-1), kHorsEcran);
  EXPECT_EQ(log.Ecran(100), 25);
  EXPECT_EQ(log.Ecran(1), 5);
  // a x value overflowing is no pixel either, not a wrapped integer.
  EXPECT_EQ(Projection({1e300, 0, false}).Ecran(1e300), kHorsEcran);
}

TEST(Projection, FarValuesStayWithinAnInteger) {
  const Projection p{1000, 0, false};
  EXPECT_EQ(p.Ecran(1e12), kPixelLimite);
  EXPECT_EQ(p.Ecran(-1e12), -kPixelLimite);
}

TEST(ProjectionEntre, PutsTheBoundsOnTheirPixels) {
  // A vertical band: min at its bottom row, max at its top row.
  const Projection y = ProjectionEntre(-2.5, 2.5, 400, 10, false);
  EXPECT_EQ(y.Ecran(-2.5), 400);
  EXPECT_EQ(y.Ecran(2.5), 10);
  EXPECT_EQ(y.Ecran(0), 205);
  const Projection x = ProjectionEntre(0, 3, 50, 650, true);  // decades 1 .. 1000
  EXPECT_EQ(x.Ecran(1), 50);
  EXPECT_EQ(x.Ecran(10), 250);
  EXPECT_EQ(x.Ecran(1000), 650);
  // An empty range maps everything to the first pixel rather than dividing by zero.
  const Projection vide = ProjectionEntre(1, 1, 50, 650, false);
  EXPECT_EQ(vide.Ecran(1), 50);
  EXPECT_EQ(vide.Ecran(7), 50);
}

}  // namespace
}  // namespace kvx::display
