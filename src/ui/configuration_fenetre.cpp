// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/configuration_fenetre.h"

#include <QCheckBox>
#include <QToolButton>

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "ui/kvxmain.h"
#include "ui/panel_mode.h"

namespace kvx::ui {

TConfigurationFenetre::TConfigurationFenetre(TKVXmainForm &fenetre,
                                             const exchange::IniDateTime &demarrage)
    : ConfigurationMoteur(fenetre.graphe(), fenetre.moteur()), m_fenetre(fenetre) {
  m_page.debutAcq = demarrage;
}

exchange::ValeursConfiguration TConfigurationFenetre::valeurs() const {
  exchange::ValeursConfiguration v = ConfigurationMoteur::valeurs();
  v.constanteNom = m_page.constanteNom;
  v.constanteUnite = m_page.constanteUnite;
  v.constanteComm = m_page.constanteComm;
  v.debutAcq = m_page.debutAcq;
  v.pointAuto = m_fenetre.PanelMode->PointAutoCB->isChecked();
  return v;
}

void TConfigurationFenetre::appliqueValeurs(const exchange::ValeursConfiguration &v) {
  m_page.constanteNom = v.constanteNom;
  m_page.constanteUnite = v.constanteUnite;
  m_page.constanteComm = v.constanteComm;
  m_page.debutAcq = v.debutAcq;
  ConfigurationMoteur::appliqueValeurs(v);
  m_fenetre.PanelMode->MonocoupCB->setChecked(v.monocoup);
  m_fenetre.PanelMode->PointAutoCB->setChecked(v.pointAuto);
}

void TConfigurationFenetre::finLecture() {
  ConfigurationMoteur::finLecture();
  m_fenetre.RegSaveBtn->setEnabled(false);
}

}  // namespace kvx::ui
