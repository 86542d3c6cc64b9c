// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/veltor_fenetre.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QSpinBox>
#include <vector>

#include "device/acquisition_engine.h"
#include "device/veltor_view.h"
#include "display/graphe.h"
#include "ui/hints.h"
#include "ui/kvxmain.h"
#include "ui/panel_courbe.h"
#include "ui/panel_mode.h"
#include "ui/veltordlg.h"
#include "ui/veltorstop.h"

namespace kvx::ui {

namespace {

// Lives as long as the window (a child of it); the engine holds it as its
// fork view.
class TVueVeltor final : public QObject, public device::VeltorView {
 public:
  explicit TVueVeltor(TKVXmainForm &form) : QObject(&form), m_form(form) {}
  ~TVueVeltor() override {
    Sablier(m_sablierEnvoi, false);
    Sablier(m_sablierRapatriement, false);
  }

  void showUploading(bool envoi) override {
    Sablier(m_sablierEnvoi, envoi);
    // `Label8` lives on the not-found panel: while the program goes, the
    // panel shows it alone, in the colours of a notice rather than of an
    // alarm. The panel is hidden while the box answers, so what counts is
    // what its children are told, not whether they are seen.
    QWidget *panneau = m_form.PanelCourbe->NuvexAbsent;
    if (envoi) {
      m_panneauVisible = panneau->isVisible();
      m_palette = panneau->palette();
      m_caches.clear();
      for (QWidget *w : panneau->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w == m_form.PanelCourbe->Label8 || w->isHidden()) continue;
        w->hide();
        m_caches.push_back(w);
      }
      QPalette avis = m_palette;
      avis.setColor(QPalette::Window, avis.color(QPalette::ToolTipBase));
      avis.setColor(QPalette::WindowText, avis.color(QPalette::ToolTipText));
      panneau->setPalette(avis);
      m_form.PanelCourbe->Label8->show();
      panneau->show();
      panneau->raise();
    } else {
      m_form.PanelCourbe->Label8->hide();
      for (QWidget *w : m_caches) w->show();
      m_caches.clear();
      panneau->setPalette(m_palette);
      panneau->setVisible(m_panneauVisible);
    }
  }
  void setFetching(bool rapatriement) override { Sablier(m_sablierRapatriement, rapatriement); }
  bool autoStop() const override { return m_form.PanelMode->VeltorAutoCB->isChecked(); }
  int autoStopSeconds() const override { return m_form.PanelMode->VeltorSE->value(); }
  void showStopDialog() override {
    if (m_arret == nullptr) {
      device::AcquisitionEngine &moteur = m_form.moteur();
      m_arret = new TVeltorStopDlg(
          m_form.PanelMode->VeltorAutoCB, m_form.PanelMode->VeltorSE,
          [&moteur] { moteur.VeltorStopRequested(); }, &m_form);
    }
    m_arret->Montre();
  }
  void closeStopDialog() override {
    if (m_arret != nullptr && m_arret->isVisible()) m_arret->Ferme();
  }

 protected:
  // A click on the fork's mode panel itself (not on its check box or spin
  // box) opens the fork's settings, as its read-out box does.
  bool eventFilter(QObject *objet, QEvent *event) override {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
        objet == m_form.PanelMode->ModeVeltorGB && QApplication::activeModalWidget() == nullptr) {
      OuvreReglages(m_form);
      return true;
    }
    return QObject::eventFilter(objet, event);
  }

 public:
  static void OuvreReglages(TKVXmainForm &form) {
    form.moteur().HaltAcquisition();
    TVeltorCfg(form.graphe().veltor(), &form).Execute();
    form.moteur().ApplyConfiguration();
  }

 private:
  // The hourglass, set and restored once for each reason.
  static void Sablier(bool &actif, bool voulu) {
    if (actif == voulu) return;
    actif = voulu;
    if (voulu)
      QApplication::setOverrideCursor(Qt::WaitCursor);
    else
      QApplication::restoreOverrideCursor();
  }

  TKVXmainForm &m_form;
  TVeltorStopDlg *m_arret = nullptr;
  bool m_sablierEnvoi = false;
  bool m_sablierRapatriement = false;
  QPalette m_palette;
  bool m_panneauVisible = false;
  std::vector<QWidget *> m_caches;
};

}  // namespace

void RelieVeltor(TKVXmainForm &fenetre) {
  auto *vue = new TVueVeltor(fenetre);
  fenetre.moteur().setVeltorView(vue);
  fenetre.PanelMode->ModeVeltorGB->installEventFilter(vue);
  FixeHint(fenetre.PanelMode->ModeVeltorGB, QStringLiteral("|Cliquer pour paramètrer Veltor"));
  fenetre.RelieClic({QStringLiteral("GroupBox3")},
                    [&fenetre](int) { TVueVeltor::OuvreReglages(fenetre); });
}

}  // namespace kvx::ui
