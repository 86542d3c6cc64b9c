// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/readout_layout.h"

#include <gtest/gtest.h>

namespace kvx::ui {
namespace {

EntreesBoites Visibles(std::initializer_list<int> slots, int longueur = 12) {
  EntreesBoites e;
  for (int s : slots) e[s - kPremiereBoite] = {true, longueur};
  return e;
}

const SortieBoite &Boite(const SortiesBoites &s, int slot) {
  return s[slot - kPremiereBoite];
}

struct CasTaille {
  int hauteur;
  int taille;
};

class TailleNormaleTest : public testing::TestWithParam<CasTaille> {};

TEST_P(TailleNormaleTest, StepsAtWindowHeights481And601ThenGrowsWithTallWindows) {
  EXPECT_EQ(TailleNormale(GetParam().hauteur), GetParam().taille);
}

INSTANTIATE_TEST_SUITE_P(Hauteurs, TailleNormaleTest,
                         testing::Values(CasTaille{380, 10}, CasTaille{480, 10}, CasTaille{481, 12},
                                         CasTaille{600, 12}, CasTaille{601, 14}, CasTaille{750, 14},
                                         CasTaille{751, 16}, CasTaille{1200, 20},
                                         CasTaille{1351, 24}, CasTaille{4000, 24}));

TEST(DispositionNormale, ShownBoxesAreWhiteAndTwiceAsTallAsHiddenOnes) {
  const SortiesBoites s = DispositionNormale(Visibles({5, 6}), 594);
  const SortieBoite &v1 = Boite(s, 5);
  EXPECT_TRUE(v1.blanche);
  EXPECT_EQ(v1.hauteur, 48);
  EXPECT_EQ(v1.titre, (TaillePolice{12, false}));
  EXPECT_EQ(v1.valeur, (TaillePolice{14, false}));
  EXPECT_EQ(v1.hautLabel, 18);
  EXPECT_TRUE(v1.changeLabel);
  const SortieBoite &v3 = Boite(s, 7);
  EXPECT_FALSE(v3.blanche);
  EXPECT_EQ(v3.hauteur, 24);
  EXPECT_EQ(v3.titre, (TaillePolice{10, false}));
  EXPECT_FALSE(v3.changeLabel);
}

TEST(DispositionNormale, SmallWindowUsesSizeTen) {
  const SortiesBoites s = DispositionNormale(Visibles({4}), 480);
  EXPECT_EQ(Boite(s, 4).hauteur, 40);
  EXPECT_EQ(Boite(s, 4).hautLabel, 15);
  EXPECT_EQ(Boite(s, 9).hauteur, 20);
  EXPECT_EQ(Boite(s, 9).titre.valeur, 8);
}

TEST(DispositionVoltmetre, OneChannelInATallWindowIsCappedAtAQuarterOfTheWidth) {
  const SortiesBoites s = DispositionVoltmetre(Visibles({5}, 10), 600, 2000, 1);
  const SortieBoite &v1 = Boite(s, 5);
  // H = min(2000, 3 × min(1200 / 10, 150)) = 360; title 60; value min(180, 150).
  EXPECT_EQ(v1.valeur, (TaillePolice{150, true}));
  EXPECT_TRUE(v1.valeurCourierNew);
  EXPECT_EQ(v1.titre, (TaillePolice{60, true}));
  EXPECT_EQ(v1.hauteur, 210);
  EXPECT_EQ(v1.hautLabel, 60);
  EXPECT_EQ(Boite(s, 6).hauteur, 28);
  EXPECT_EQ(Boite(s, 6).titre, (TaillePolice{8, false}));
}

TEST(DispositionVoltmetre, ValueHeightIsMadeEven) {
  // Two channels: H = 700 / 2 = 350, f = min(2 × 300 / 12, 75) = 50, H = 150;
  // title 24, value min(150 - 72, 75) = 75 → 74.
  const SortiesBoites s = DispositionVoltmetre(Visibles({5, 6}), 300, 700, 1);
  EXPECT_EQ(Boite(s, 5).valeur, (TaillePolice{74, true}));
  EXPECT_EQ(Boite(s, 6).hauteur, 24 + 74);
}

TEST(DispositionVoltmetre, CrampedColumnFallsBackToTwelvePoints) {
  const SortiesBoites s = DispositionVoltmetre(Visibles({5, 6}), 200, 100, 1);
  const SortieBoite &v1 = Boite(s, 5);
  EXPECT_EQ(v1.titre, (TaillePolice{12, false}));
  EXPECT_EQ(v1.valeur, (TaillePolice{12, false}));
  EXPECT_FALSE(v1.valeurCourierNew);
  EXPECT_EQ(v1.hauteur, 30);
  EXPECT_EQ(v1.hautLabel, 15);
}

TEST(DispositionVoltmetre, EmptyCaptionCountsAsTwelveCharacters) {
  const SortiesBoites vide = DispositionVoltmetre(Visibles({5}, 0), 240, 2000, 1);
  const SortiesBoites douze = DispositionVoltmetre(Visibles({5}, 12), 240, 2000, 1);
  EXPECT_EQ(Boite(vide, 5).hauteur, Boite(douze, 5).hauteur);
  // A long caption shrinks the box so that it fits on one line.
  const SortiesBoites longue = DispositionVoltmetre(Visibles({5}, 40), 240, 2000, 1);
  EXPECT_LT(Boite(longue, 5).hauteur, Boite(douze, 5).hauteur);
}

TEST(DispositionVoltmetre, NothingShownOutsideTheForkModeShowsV1) {
  const SortiesBoites s = DispositionVoltmetre(EntreesBoites{}, 400, 600, 1);
  EXPECT_TRUE(Boite(s, 5).blanche);
  EXPECT_GT(Boite(s, 5).hauteur, 28);
  const SortiesBoites fourche = DispositionVoltmetre(EntreesBoites{}, 400, 600, 4);
  EXPECT_FALSE(Boite(fourche, 5).blanche);
  EXPECT_EQ(Boite(fourche, 5).hauteur, 28);
}

TEST(DispositionVoltmetre, ForkChannelCountsAndBinaryInputsTakeTheSameSize) {
  const SortiesBoites s = DispositionVoltmetre(Visibles({4, 9}), 400, 600, 4);
  EXPECT_TRUE(Boite(s, 9).blanche);
  EXPECT_EQ(Boite(s, 4).hauteur, Boite(s, 9).hauteur);
  EXPECT_EQ(Boite(s, 5).hauteur, 28);
}

}  // namespace
}  // namespace kvx::ui
