// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/liste_capteurs.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace kvx::model {
namespace {

TCapteur Nomme(const std::string &nom) {
  TCapteur c;
  c.Nom = nom;
  return c;
}

std::string Noms(const TlisteCapteur &liste) {
  std::string noms;
  for (std::size_t i = 0; i < liste.Nombre(); ++i) noms += liste.Capteur(i).Nom + ";";
  return noms;
}

TEST(ListeCapteur, KeepsTheSensorsInOrderAndRemovesByIndex) {
  TlisteCapteur liste;
  EXPECT_EQ(liste.Nombre(), 0u);
  for (const char *nom : {"a", "b", "c", "d"}) liste.Ajoute(Nomme(nom));
  EXPECT_EQ(Noms(liste), "a;b;c;d;");
  liste.Supprime(1);
  EXPECT_EQ(Noms(liste), "a;c;d;");
  liste.Supprime(2);
  EXPECT_EQ(Noms(liste), "a;c;");
  liste.Supprime(0);
  EXPECT_EQ(Noms(liste), "c;");
  liste.Efface();
  EXPECT_EQ(liste.Nombre(), 0u);
}

TEST(ListeCapteur, ASensorKeepsItsPlaceInMemoryWhileOthersAreAdded) {
  TlisteCapteur liste;
  TCapteur &premier = liste.Ajoute(std::make_unique<TCapteur>(Nomme("a")));
  for (int i = 0; i < 100; ++i) liste.Ajoute(Nomme("x"));
  premier.Nom = "modifié";
  EXPECT_EQ(liste.Capteur(0).Nom, "modifié");
  EXPECT_EQ(&liste.Capteur(0), &premier);
}

TEST(ListeCapteur, RefusesIndexesItDoesNotHaveAndEmptyPointers) {
  TlisteCapteur liste;
  EXPECT_THROW(liste.Capteur(0), std::out_of_range);
  EXPECT_THROW(liste.Supprime(0), std::out_of_range);
  liste.Ajoute(Nomme("a"));
  const TlisteCapteur &lecture = liste;
  EXPECT_THROW(lecture.Capteur(1), std::out_of_range);
  EXPECT_THROW(liste.Supprime(static_cast<std::size_t>(-1)), std::out_of_range);
  EXPECT_THROW(liste.Ajoute(std::unique_ptr<TCapteur>()), std::invalid_argument);
  EXPECT_EQ(Noms(liste), "a;");
}

}  // namespace
}  // namespace kvx::model
