#include "model/unite.h"
#include <gtest/gtest.h>
#include "model/nombres.h"
using namespace kvx::model;
TEST(Unite, MillivoltIsTheVoltWithItsPrefix) {
  Tunite u;
  u.FixeUnite("mV");
  EXPECT_EQ(u.puissance, -3);
  EXPECT_EQ(u.TexteUnite(3), "V");
  Tunite v;
  v.FixeUnite("V");
  EXPECT_EQ(v.TexteValeur(0.0123456), "12.35 mV");
}
