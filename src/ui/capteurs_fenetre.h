#pragma once

#include <functional>

namespace kvx::model {
class TlisteCapteur;
}

namespace kvx::ui {

class TKVXmainForm;

// The analog inputs' dialog on a click on V1..V4, and the sensor library on
// "&Capteurs". `sauve` writes the library to its file (it throws when it
// cannot). The library outlives the window.
void RelieCapteurs(TKVXmainForm &fenetre, model::TlisteCapteur &capteurs,
                   std::function<void()> sauve);

}  // namespace kvx::ui
