// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/reglages.h"

#include <gtest/gtest.h>

#include "exchange/reglages_cles.h"

namespace kvx::exchange {
namespace {

using namespace reglages;

const std::string kData = "/home/eleve/Documents/Tabulyse/";

TEST(LitReglages, FirstRunGivesPortOneDataFolderNoTraceNormalWindow) {
  MemorySettingsStore store;
  const auto lus = LitReglages(store, kData);
  EXPECT_EQ(lus.numeroPort, 1);
  EXPECT_EQ(lus.cheminPort, "");
  EXPECT_EQ(lus.dossierConfig, kData);
  EXPECT_FALSE(lus.trace);
  EXPECT_EQ(lus.etatFenetre, 0);
}

struct UnreadableCase {
  const char *group;
  const char *name;
  const char *text;
};

class UnreadableValue : public testing::TestWithParam<UnreadableCase> {};

TEST_P(UnreadableValue, GivesTheDefault) {
  MemorySettingsStore store;
  store.setValue(GetParam().group, GetParam().name, GetParam().text);
  const auto lus = LitReglages(store, kData);
  EXPECT_EQ(lus.numeroPort, kNumDefaut);
  EXPECT_EQ(lus.dossierConfig, kData);
  EXPECT_EQ(lus.trace, kTraceDefaut);
  EXPECT_EQ(lus.etatFenetre, kStateDefaut);
}

INSTANTIATE_TEST_SUITE_P(Settings, UnreadableValue,
                         testing::Values(UnreadableCase{kGroupeCom, kCleNum, "abc"},
                                         UnreadableCase{kGroupeCom, kCleNum, ""},
                                         UnreadableCase{kGroupeCom, kCleNum, "3x"},
                                         UnreadableCase{kGroupeCom, kCleNum, "2.5"},
                                         UnreadableCase{kGroupeCom, kCleNum, "0"},
                                         UnreadableCase{kGroupeCom, kCleNum, "51"},
                                         UnreadableCase{kGroupeCom, kCleNum, "-3"},
                                         UnreadableCase{kGroupeCom, kCleNum, "99999999999999"},
                                         UnreadableCase{kGroupeConfig, kClePath, ""},
                                         UnreadableCase{kGroupeConfig, kClePath, "   "},
                                         UnreadableCase{kGroupeConfig, kCleTrace, "oui"},
                                         UnreadableCase{kGroupeWindow, kCleState, "3"},
                                         UnreadableCase{kGroupeWindow, kCleState, "-1"},
                                         UnreadableCase{kGroupeWindow, kCleState, "maximised"}));

TEST(LitReglages, ReadsStoredValues) {
  MemorySettingsStore store;
  store.setValue("COM", "Num", " 7 ");
  store.setValue("COM", "Device", "/dev/ttyUSB0");
  store.setValue("Config", "Path", "/srv/tp physique/");
  store.setValue("Config", "Trace", "1");
  store.setValue("Window", "State", "2");
  const auto lus = LitReglages(store, kData);
  EXPECT_EQ(lus.numeroPort, 7);
  EXPECT_EQ(lus.cheminPort, "/dev/ttyUSB0");
  EXPECT_EQ(lus.dossierConfig, "/srv/tp physique/");
  EXPECT_TRUE(lus.trace);
  EXPECT_EQ(lus.etatFenetre, 2);
}

TEST(LitReglages, AnyNonZeroTraceIsOn) {
  for (const char *text : {"1", "-1", "42", "+3"}) {
    MemorySettingsStore store;
    store.setValue("Config", "Trace", text);
    EXPECT_TRUE(LitReglages(store, kData).trace) << text;
  }
  MemorySettingsStore store;
  store.setValue("Config", "Trace", "0");
  EXPECT_FALSE(LitReglages(store, kData).trace);
}

TEST(EcritReglages, WritesTheSettingsStringsAndReadsThemBack) {
  MemorySettingsStore store;
  Reglages reglages;
  reglages.numeroPort = 3;
  reglages.cheminPort = "/dev/ttyACM1";
  reglages.dossierConfig = "/home/eleve/TP/";
  reglages.trace = true;
  reglages.etatFenetre = kEtatMaximise;
  ASSERT_TRUE(EcritReglages(store, reglages));
  const std::map<std::pair<std::string, std::string>, std::string> expected = {
      {{"COM", "Num"}, "3"},
      {{"COM", "Device"}, "/dev/ttyACM1"},
      {{"Config", "Path"}, "/home/eleve/TP/"},
      {{"Config", "Trace"}, "1"},
      {{"Window", "State"}, "2"}};
  EXPECT_EQ(store.values(), expected);
  const auto lus = LitReglages(store, kData);
  EXPECT_EQ(lus.numeroPort, 3);
  EXPECT_EQ(lus.cheminPort, "/dev/ttyACM1");
  EXPECT_EQ(lus.dossierConfig, "/home/eleve/TP/");
  EXPECT_TRUE(lus.trace);
  EXPECT_EQ(lus.etatFenetre, kEtatMaximise);
}

TEST(EcritReglages, ReportsAStoreThatCannotBeSaved) {
  struct FailingStore : MemorySettingsStore {
    bool flush() override { return false; }
  } store;
  EXPECT_FALSE(EcritReglages(store, Reglages{}));
}

}  // namespace
}  // namespace kvx::exchange
