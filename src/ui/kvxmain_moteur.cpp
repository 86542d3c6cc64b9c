// The main window's side of the link to the box and of the acquisition engine.
#include <QApplication>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>

#include "platform/event_pump.h"
#include "ui/kvxmain.h"
#include "ui/minuterie.h"
#include "ui/panel_courbe.h"
#include "ui/vue_fenetre.h"

namespace kvx::ui {

namespace {

// A port table with nothing in it, for a window started without one.
class AucunPort final : public device::PortProvider {
 public:
  int portCount() const override { return 0; }
  std::string portName(int) const override { return {}; }
  device::OpenResult open(int) override {
    return {nullptr, device::OpenFailure::Missing, "no such port"};
  }
};

// The hourglass for as long as the search runs, however it ends.
class Sablier {
 public:
  Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~Sablier() { QApplication::restoreOverrideCursor(); }
  Sablier(const Sablier &) = delete;
  Sablier &operator=(const Sablier &) = delete;
};

}  // namespace

void TKVXmainForm::CreeLien(const Options &options) {
  m_vue = std::make_unique<TVueFenetre>(*this);
  m_minuterie = std::make_unique<TMinuterie>(*Timer);
  device::PortProvider *ports = options.ports;
  if (ports == nullptr) {
    m_aucunPort = std::make_unique<AucunPort>();
    ports = m_aucunPort.get();
  }
  device::Clock &horloge =
      options.horloge != nullptr ? *options.horloge : device::SteadyClock::instance();
  m_lien = std::make_unique<device::BoxLink>(*ports, *m_vue, horloge, options.lien);
  m_lien->setPump(platform::CrochetPompe());
  connect(PanelCourbe->ComBtn, &QPushButton::clicked, this, &TKVXmainForm::ChercheBoitier);
}

void TKVXmainForm::ChercheBoitier() {
  {
    Sablier sablier;
    m_lien->SearchBox();
  }
  SurveillePort();
}

void TKVXmainForm::SurveillePort() {
  const int fd = m_lien->nativeHandle();
  if (m_notificateur != nullptr && static_cast<int>(m_notificateur->socket()) == fd) return;
  delete m_notificateur;
  m_notificateur = nullptr;
  if (fd < 0) return;
  // Bytes of a fetch are taken as they arrive, not only at the next tick.
  m_notificateur = new QSocketNotifier(fd, QSocketNotifier::Read, this);
  connect(m_notificateur, &QSocketNotifier::activated, this, &TKVXmainForm::OctetsArrives);
}

void TKVXmainForm::OctetsArrives() {
  m_lien->ServiceInput();
  SurveillePort();  // the line may have gone and the port closed
}

void TKVXmainForm::BoitierIdentifie() {}

void TKVXmainForm::BoitierParti() {
  SurveillePort();
}

void TKVXmainForm::RafraichitPanneaux() {
  MiseEnPageAfficheurs();
}

void TKVXmainForm::AfficheValeur(int) {}

void TKVXmainForm::AfficheCurseur() {}

void TKVXmainForm::EffaceCurseur() {}

void TKVXmainForm::DessinePoints(int, int) {}

void TKVXmainForm::RedessineGraphe() {}

}  // namespace kvx::ui
