// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/capteurs_fenetre.h"

#include <QAction>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "device/acquisition_engine.h"
#include "device/configuration_rules.h"
#include "display/graphe.h"
#include "ui/capteurs_dlg.h"
#include "ui/dialogue_modal.h"
#include "ui/kvxmain.h"
#include "ui/nuvexkvx.h"

namespace kvx::ui {

void RelieCapteurs(TKVXmainForm &fenetre, model::TlisteCapteur &capteurs,
                   std::function<void()> sauve, const EtatBibliotheque &etat) {
  // Made once and kept, with its shadows of each channel's two faces.
  auto *entree = new TNuvexKvxDlg(capteurs, &fenetre);
  fenetre.RelieClic(
      {QStringLiteral("GroupBox5"), QStringLiteral("Label1"), QStringLiteral("GroupBox4"),
       QStringLiteral("Label5"), QStringLiteral("GroupBox1"), QStringLiteral("Label2"),
       QStringLiteral("GroupBox2"), QStringLiteral("Label3")},
      [&fenetre, entree](int slot) {
        if (slot < device::kSlotV1 || slot > device::kSlotV4) return;
        fenetre.moteur().HaltAcquisition();
        entree->FixeVoie(fenetre.graphe().voie(slot), &fenetre.lien());
        entree->Execute();
        if (entree->change()) {
          // Points taken on another input or range mean nothing now.
          fenetre.graphe().nbPoints = 0;
          fenetre.RegSaveBtn->setEnabled(false);
          // A new reference reaches every input of the box.
          for (int s = device::kSlotV1; s <= device::kSlotV4; ++s) {
            model::Tvoie &v = fenetre.graphe().voie(s);
            v.ChoisitEntree(v.NumeroNuvex);
          }
        }
        fenetre.moteur().ApplyConfiguration();
      });
  fenetre.CapteursItem->setEnabled(true);
  // Shared by every opening of the dialog: cleared once a save has replaced
  // the unreadable file with the user's consent.
  auto illisible = std::make_shared<QString>(etat.fichierIllisible);
  QObject::connect(fenetre.CapteursItem, &QAction::triggered, &fenetre,
                   [&fenetre, &capteurs, sauve, illisible] {
                     fenetre.moteur().HaltAcquisition();
                     TChoixCapteursDlg dialogue(capteurs, sauve, &fenetre);
                     dialogue.FixeFichierIllisible(illisible);
                     dialogue.Execute();
                     fenetre.moteur().ApplyConfiguration();
                   });
  if (!etat.avertissement.isEmpty())
    QTimer::singleShot(0, &fenetre, [&fenetre, texte = etat.avertissement] {
      MontreMessage(&fenetre, QMessageBox::Warning, QStringLiteral("Capteurs"), texte);
    });
}

}  // namespace kvx::ui
