// The main window's side of the link to the box and of the acquisition engine.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>

#include "display/graphe.h"
#include "platform/event_pump.h"
#include "ui/kvxmain.h"
#include "ui/minuterie.h"
#include "ui/panel_courbe.h"
#include "ui/panel_mode.h"
#include "ui/panel_voies.h"
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
  display::TgrapheKVX &g = *m_graphe;
  TPanelMode *m = PanelMode;
  const int mode = g.Mode;
  m->BalayageGB->setVisible(mode == display::kModeTemps);
  m->SynchroGB->setVisible(mode == display::kModeTemps);
  m->SortieAnaGB->setVisible(mode == display::kModeSortieAnalogique);
  m->PointGB->setVisible(mode == display::kModePointParPoint);
  PanelVoies->cadre(4)->setVisible(mode == display::kModePointParPoint);
  m->ClavierGB->setVisible(mode == display::kModeClavier);
  m->ModeVeltorGB->setVisible(mode == display::kModeVeltor);
  Gauge->setVisible(mode == display::kModeTemps || mode == display::kModeVeltor);
  if (mode < static_cast<int>(display::kNomsModes.size()))
    m->ModeLabel->setText(QString::fromUtf8(display::kNomsModes[mode]));
  if (g.ModeSynchro < display::kNomsSynchro.size())
    m->SynchroLabel->setText(QString::fromUtf8(display::kNomsSynchro[g.ModeSynchro]));
  if (!g.Ligne && !g.Points) g.Points = true;  // a curve must show somehow

  const auto titreVoie = [&](int slot) {
    const model::Tvoie &v = g.voie(slot);
    return QString::fromStdString(v.Nom + "=" + v.NomEntree() + " " + v.TexteCalibre());
  };
  m->ClavierGB->setTitle(QString::fromStdString(g.voie(3).Nom + "=clavier"));
  m->SortieAnaGB->setTitle(titreVoie(2));
  const model::TentreeBinaire &eb = g.entreeBinaire();
  PanelVoies->cadre(4)->setTitle(
      eb.Active ? QString::fromStdString(eb.Nom + "=EB0..EB" + std::to_string(eb.Nbre - 1))
                : QStringLiteral("Entrées binaires"));
  for (int slot = kPremiereBoite; slot <= kDerniereBoite; ++slot)
    PanelVoies->cadre(slot)->afficheur()->clear();
  for (int slot = 5; slot <= 8; ++slot) PanelVoies->cadre(slot)->setTitle(titreVoie(slot));
  MiseEnPageAfficheurs();
}

bool TKVXmainForm::Acquiert() const { return false; }

void TKVXmainForm::SeuilDeplace() {}

}  // namespace kvx::ui
