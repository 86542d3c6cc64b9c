// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/aide_fenetre.h"

#include <QAction>
#include <QToolButton>

#include "ui/aide.h"
#include "ui/apropos.h"
#include "ui/kvxmain.h"

namespace kvx::ui {

void RelieAide(TKVXmainForm &fenetre) {
  fenetre.ToolButton1->setEnabled(true);
  fenetre.AproposItem->setEnabled(true);
  QObject::connect(fenetre.ToolButton1, &QToolButton::clicked, &fenetre, [] { MontreAide(0); });
  // Made for each showing: it reads the port in use when it opens.
  QObject::connect(fenetre.AproposItem, &QAction::triggered, &fenetre, [&fenetre] {
    TAboutBox boite(fenetre.lien(), &fenetre);
    boite.HelpAbout();
  });
}

}  // namespace kvx::ui
