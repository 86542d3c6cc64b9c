// What the main window reads of the channels for its panels and read-outs.
#include <QColor>

#include "ui/kvxmain.h"
#include "ui/panel_voies.h"

namespace kvx::ui {

int TKVXmainForm::ModeAcquisition() const {
  return 1;
}

int TKVXmainForm::ModeSynchro() const {
  return 2;
}

EntreesBoites TKVXmainForm::EntreesAfficheurs() const {
  EntreesBoites e;
  for (int slot = kPremiereBoite; slot <= kDerniereBoite; ++slot) {
    EntreeBoite &b = e[slot - kPremiereBoite];
    b.visible = slot == 5 || slot == 6;
    b.longueurTitre = static_cast<int>(PanelVoies->cadre(slot)->title().size());
  }
  return e;
}

std::array<QColor, kNbBoites> TKVXmainForm::CouleursAfficheurs() const {
  return {QColor(Qt::darkGreen),   QColor(Qt::red),      QColor(Qt::blue),
          QColor(Qt::darkMagenta), QColor(Qt::darkCyan), QColor(Qt::black)};
}

}  // namespace kvx::ui
