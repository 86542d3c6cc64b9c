// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogues_fenetre.h"

#include <QAction>
#include <QToolButton>

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "model/voie.h"
#include "ui/clavier.h"
#include "ui/ebin.h"
#include "ui/kvxmain.h"
#include "ui/modedlg.h"
#include "ui/sadlg.h"
#include "ui/synchro.h"
#include "ui/veltor_fenetre.h"

namespace kvx::ui {

namespace {

// The small dialogs of the channels that are not analog inputs are made for
// each opening and go with it: each starts from the channel as it is now.
void RelieVoiesSpeciales(TKVXmainForm &fenetre) {
  fenetre.RelieClic({QStringLiteral("ClavierGB")}, [&fenetre](int) {
    fenetre.moteur().HaltAcquisition();
    TClavierDlg(fenetre.graphe().clavier(), &fenetre).Execute();
    fenetre.moteur().ApplyConfiguration();
  });
  fenetre.RelieClic({QStringLiteral("SortieAnaGB"), QStringLiteral("LabelSA")}, [&fenetre](int) {
    fenetre.moteur().HaltAcquisition();
    TSortieAnaDlg(fenetre.graphe().sortieAnalogique(), fenetre.lien(), &fenetre).Execute();
    fenetre.moteur().ApplyConfiguration();
  });
  // The other boxes of the voltmeter column have dialogs of their own.
  fenetre.RelieClic({QStringLiteral("EntreeBinGB"), QStringLiteral("EbinLabel")},
                    [&fenetre](int slot) {
                      if (slot != model::kVoieEntreeBinaire) return;
                      fenetre.moteur().HaltAcquisition();
                      TEntreeBinDlg(fenetre.graphe().entreeBinaire(), &fenetre).Execute();
                      fenetre.moteur().ApplyConfiguration();
                    });
}

}  // namespace

void RelieDialogues(TKVXmainForm &fenetre) {
  auto *mode = new TmodeAcqDlg(fenetre.graphe(), &fenetre);
  auto *synchro = new TSynchroDlg(fenetre.graphe(), fenetre.moteur(), &fenetre);

  // Over the mode dialog, which stays open beneath it; the configuration is
  // applied once, when the mode dialog has returned.
  mode->FixeSaisieClavier(
      [&fenetre, mode] { TClavierDlg(fenetre.graphe().clavier(), mode).Execute(); });
  fenetre.RelieClic({QStringLiteral("ModeGB"), QStringLiteral("ModeLabel")}, [&fenetre, mode](int) {
    fenetre.moteur().HaltAcquisition();
    const bool accepte = mode->Execute() == QDialog::Accepted;
    if (accepte && mode->modeChange()) {
      // Points taken in another mode mean nothing on the new axes.
      fenetre.graphe().nbPoints = 0;
      fenetre.RegSaveBtn->setEnabled(false);
    }
    fenetre.moteur().ApplyConfiguration();
    // The menu item does the rest: the earlier runs read, the graph redrawn.
    auto *superposer = fenetre.findChild<QAction *>(QStringLiteral("SuperposerItem"));
    if (accepte && superposer) superposer->setChecked(mode->superposer());
  });
  fenetre.RelieClic({QStringLiteral("SynchroGB"), QStringLiteral("SynchroLabel")},
                    [&fenetre, synchro](int) {
                      fenetre.moteur().HaltAcquisition();
                      synchro->Execute();
                      fenetre.moteur().ApplyConfiguration();
                    });
  RelieVoiesSpeciales(fenetre);
  RelieVeltor(fenetre);
}

}  // namespace kvx::ui
