// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry point shared by every test folder. KVX_DECIMAL_SEPARATOR picks
// the program's decimal separator, so the same tests run as on an English
// and on a French desktop.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "model/separateur_decimal.h"

int main(int argc, char **argv) {
  testing::InitGoogleMock(&argc, argv);
  if (const char *sep = std::getenv("KVX_DECIMAL_SEPARATOR"); sep && *sep)
    kvx::model::FixeSeparateurDecimal(*sep);
  return RUN_ALL_TESTS();
}
