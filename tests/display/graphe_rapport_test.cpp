// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/graphe_rapport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "recording_canvas.h"

namespace kvx::display {
namespace {

TEST(LegendeGraphe, JoinsTheCommentAndTheDateOnOneLine) {
  EXPECT_EQ(LegendeGraphe("Pendule", "10/12/2026 14:05"), "Pendule \u2014 10/12/2026 14:05");
  EXPECT_EQ(LegendeGraphe("", "10/12/2026"), "10/12/2026");
  EXPECT_EQ(LegendeGraphe("a\r\nb\tc", ""), "a  b c");
}

class GrapheRapport : public testing::Test {
 protected:
  void SetUp() override {
    g.Abscisse = model::kVoieTemps;
    g.voie(model::kVoieV1).Active = true;
    g.nbCourbesY = 1;
    for (int j = 0; j < 50; ++j) {
      g.temps().valeurs[static_cast<std::size_t>(j)] = j;
      g.voie(model::kVoieV1).valeurs[static_cast<std::size_t>(j)] = (j % 10) * 0.5;
    }
    g.nbPoints = 50;
    // The window's last full redraw, at its own size.
    g.cadre = {0, 0, 500, 300};
    RecordingCanvas fenetre({500, 300});
    g.Dessine(fenetre);
    g.curseurAffiche = true;
  }
  TgrapheKVX g;
};

TEST_F(GrapheRapport, DrawsTheGraphOnWhiteWithTheCaptionUnderIt) {
  RecordingCanvas page({1200, 900});
  DessineGraphePourRapport(g, page, "Pendule \u2014 10/12/2026");
  const auto &appels = page.calls();
  ASSERT_FALSE(appels.empty());
  EXPECT_EQ(appels.front().kind, DrawCall::Kind::FillRect);
  EXPECT_EQ(appels.front().fill, (Rgb{255, 255, 255}));
  const auto legende = std::find_if(appels.begin(), appels.end(), [](const DrawCall &c) {
    return c.kind == DrawCall::Kind::Text && c.text == "Pendule \u2014 10/12/2026";
  });
  ASSERT_NE(legende, appels.end());
  EXPECT_EQ(legende->halign, TextHAlign::Center);
  EXPECT_EQ(legende->points[0].x, 600);
  // The graph fills the page down to the caption's band and keeps out of it.
  int bas = 0;
  for (const DrawCall &c : appels)
    if (c.kind == DrawCall::Kind::Line || c.kind == DrawCall::Kind::Lines ||
        c.kind == DrawCall::Kind::Polyline)
      for (const Point &p : c.points) bas = std::max(bas, p.y);
  EXPECT_GT(bas, 800);
  EXPECT_LT(bas, legende->points[0].y);
}

TEST_F(GrapheRapport, GivesTheWindowItsScalesBack) {
  const Rect zone = g.zone;
  const double a = g.courbe(model::kVoieV1).a, b = g.courbe(model::kVoieV1).b;
  RecordingCanvas page({1200, 900});
  DessineGraphePourRapport(g, page, "");
  EXPECT_EQ(g.cadre, (Rect{0, 0, 500, 300}));
  EXPECT_EQ(g.zone, zone);
  EXPECT_EQ(g.courbe(model::kVoieV1).a, a);
  EXPECT_EQ(g.courbe(model::kVoieV1).b, b);
  EXPECT_TRUE(g.curseurAffiche) << "the window's crosses are still on its screen";
}

}  // namespace
}  // namespace kvx::display
