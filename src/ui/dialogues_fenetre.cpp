#include "ui/dialogues_fenetre.h"

#include <QToolButton>

#include "device/acquisition_engine.h"
#include "display/graphe.h"
#include "ui/kvxmain.h"
#include "ui/modedlg.h"
#include "ui/synchro.h"

namespace kvx::ui {

void RelieDialogues(TKVXmainForm &fenetre) {
  auto *mode = new TmodeAcqDlg(fenetre.graphe(), &fenetre);
  auto *synchro = new TSynchroDlg(fenetre.graphe(), fenetre.moteur(), &fenetre);

  fenetre.RelieClic({QStringLiteral("ModeGB"), QStringLiteral("ModeLabel")}, [&fenetre, mode](int) {
    fenetre.moteur().HaltAcquisition();
    if (mode->Execute() == QDialog::Accepted && mode->modeChange()) {
      // Points taken in another mode mean nothing on the new axes.
      fenetre.graphe().nbPoints = 0;
      fenetre.RegSaveBtn->setEnabled(false);
    }
    fenetre.moteur().ApplyConfiguration();
  });
  fenetre.RelieClic({QStringLiteral("SynchroGB"), QStringLiteral("SynchroLabel")},
                    [&fenetre, synchro](int) {
                      fenetre.moteur().HaltAcquisition();
                      synchro->Execute();
                      fenetre.moteur().ApplyConfiguration();
                    });
}

}  // namespace kvx::ui
