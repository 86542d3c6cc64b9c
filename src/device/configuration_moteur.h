// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A configuration file's values for the graph and the engine: display, mode,
// scan and trigger settings, the time base's duration, single shot, automatic
// point and edge input, the input reference, and each channel's own section.
// The window and the command-line recorder both read and write files through
// it, adding the page they keep (its constant and comment) and what they show.

#include <optional>
#include <string>
#include <utility>

#include "exchange/configuration.h"

namespace kvx::display {
class TgrapheKVX;
}

namespace kvx::device {

class AcquisitionEngine;

class ConfigurationMoteur : public exchange::ObjetsConfiguration {
 public:
  ConfigurationMoteur(display::TgrapheKVX &graphe, AcquisitionEngine &moteur)
      : m_graphe(graphe), m_moteur(moteur) {}

  // The page's values are left at their defaults: the caller's.
  exchange::ValeursConfiguration valeurs() const override;
  void appliqueValeurs(const exchange::ValeursConfiguration &v) override;
  void litVoie(int slot, const std::string &section, const model::IniSections &document) override;
  void ecritVoie(int slot, const std::string &section, model::IniSections &document) override;
  // The point count set again now that the file's inputs are known, and the
  // recorded points dropped: they belong to the settings they were taken with.
  void finLecture() override;

 protected:
  display::TgrapheKVX &m_graphe;
  AcquisitionEngine &m_moteur;

 private:
  // The duration and point count read: the count a scan may take depends on
  // the inputs in use, which the file's channel sections set after it.
  std::optional<std::pair<double, int>> m_balayageLu;
};

}  // namespace kvx::device
