// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "device/configuration_moteur.h"
#include "exchange/configuration.h"
#include "exchange/ini_values.h"

namespace kvx::ui {

class TKVXmainForm;

// The page constant and comment the user gives in the constants dialog and
// the start of the last acquisition: sent with the data, kept in the
// configuration file.
struct TPage {
  std::string constanteNom, constanteUnite, constanteComm;
  exchange::IniDateTime debutAcq;
};

// The main window's side of a configuration file: the graph's display, mode,
// scan and trigger settings, the time base's duration, the engine's
// single-shot and edge input, the window's check boxes, the input reference
// and the page, and each channel's own section.
class TConfigurationFenetre : public device::ConfigurationMoteur {
 public:
  TConfigurationFenetre(TKVXmainForm &fenetre, const exchange::IniDateTime &demarrage);

  TPage &page() { return m_page; }

  exchange::ValeursConfiguration valeurs() const override;
  void appliqueValeurs(const exchange::ValeursConfiguration &valeurs) override;
  void finLecture() override;

 private:
  TKVXmainForm &m_fenetre;
  TPage m_page;
};

}  // namespace kvx::ui
