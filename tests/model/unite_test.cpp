#include "model/unite.h"
#include <gtest/gtest.h>
#include "model/nombres.h"
#include "model/separateur_decimal.h"
using namespace kvx::model;
TEST(Unite, MillivoltIsTheVoltWithItsPrefix) {
  Tunite u;
  u.FixeUnite("mV");
  EXPECT_EQ(u.puissance, -3);
  EXPECT_EQ(u.TexteUnite(3), "V");
  Tunite v;
  v.FixeUnite("V");
  EXPECT_EQ(v.TexteValeur(0.0123456), std::string("12") + SeparateurDecimal() + "35 mV");
}
