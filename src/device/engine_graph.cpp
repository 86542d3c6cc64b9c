// SPDX-License-Identifier: GPL-3.0-or-later
// What the engine reads and sets in the graph: the channel slots, the point
// count with its limits, the mode, the trigger settings, the abscissa and the
// recorded count.
#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "model/voie.h"

namespace kvx::device {

model::Tvoie &AcquisitionEngine::Voie(int slot) const {
  return m_graphe.voie(slot);
}
int AcquisitionEngine::Nombre() const {
  return m_graphe.nombre;
}
void AcquisitionEngine::FixeNombre(int n) {
  m_graphe.FixeNombre(n);
}
void AcquisitionEngine::FixeNombreSansLimite(int n) {
  m_graphe.nombre = n;
}
int AcquisitionEngine::Mode() const {
  return m_graphe.Mode;
}
int AcquisitionEngine::Declenchement() const {
  return m_graphe.ModeSynchro;
}
int AcquisitionEngine::Abscisse() const {
  return m_graphe.Abscisse;
}
void AcquisitionEngine::FixeAbscisse(int slot) {
  m_graphe.Abscisse = static_cast<std::uint8_t>(slot);
}
int AcquisitionEngine::NbPoints() const {
  return m_graphe.nbPoints;
}
void AcquisitionEngine::FixeNbPoints(int n) {
  // Emptied, the graph starts a new recording: full view again, and the one
  // shown until now joins the earlier runs.
  if (n == 0) NouvelleAcquisitionGraphe();
  m_graphe.nbPoints = n;
}
void AcquisitionEngine::NouvelleAcquisitionGraphe() {
  m_graphe.NouvelleAcquisition();
}
void AcquisitionEngine::FinAcquisitionGraphe() {
  m_graphe.FinAcquisition();
}
void AcquisitionEngine::ReinitialiseVueGraphe() {
  m_graphe.ReinitialiseVue();
}
void AcquisitionEngine::FixeNbCourbes(int ordinates, int analogInputs) {
  m_graphe.nbCourbesY = ordinates;
  m_graphe.nbEA = analogInputs;
}

}  // namespace kvx::device
