// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QMainWindow>
#include <QMap>
#include <QSet>
#include <array>
#include <functional>
#include <memory>

#include "device/box_link.h"
#include "device/veltor_image.h"
#include "ui/readout_layout.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QProgressBar;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;
class QPainter;
class QSocketNotifier;

// The program's one main window: tool bar of acquisition commands, the graph,
// the mode panels and the voltmeter column, the progress gauge, the status
// bar and the popup menu. It lives from start to end of the program and
// owns the acquisition timer; settings dialogs are opened from its panels.
namespace kvx::device {
class AcquisitionEngine;
}

namespace kvx::display {
class Canvas;
class TgrapheKVX;
}  // namespace kvx::display

namespace kvx::ui {

class TPanelCourbe;
class TPanelMode;
class TPanelVoies;
class TMinuterie;
class TVueFenetre;

inline constexpr const char *kTitreFenetre = "Acquisition par Nuvex KVX pour Tabulyse";

class TKVXmainForm : public QMainWindow {
  Q_OBJECT
 public:
  // The three screen layouts of the menu and of F5/F6.
  enum class Ecran { GraphePleinEcran, VoltmetrePleinEcran, GrapheEtVoltmetre };

  struct Options {
    bool capteurs = true;                   // show the "&Capteurs" menu item (switch /C)
    device::PortProvider *ports = nullptr;  // the numbered ports to search (none if null)
    device::Clock *horloge = nullptr;       // the steady clock if null
    device::LinkOptions lien;               // trace folder and time-outs of the link
    device::VeltorImageSource imageVeltor;  // the fork program for the box found
  };

  explicit TKVXmainForm(const Options &options, QWidget *parent = nullptr);
  ~TKVXmainForm() override;

  // Status bar: panel 0 carries the messages, panel 1 a short figure.
  void AfficheStatut(const QString &texte, int panneau = 0);
  QString Statut(int panneau) const;

  Ecran ecran() const { return m_ecran; }
  void FixeEcran(Ecran ecran);
  void MiseEnPageAfficheurs();
  // "Ref Alt" when every range is centred on zero, else "Ref 0V".
  void AfficheMasse(bool masse);

  // Where other parts of the program join in. The start-up hook runs once, at
  // the first activation, after the box search; the closing hook runs in the
  // closing sequence after the box has been stopped, before the window goes.
  void FixeDemarrage(std::function<void()> demarrage) { m_demarrage = std::move(demarrage); }
  void FixeFermeture(std::function<void()> fermeture) { m_fermeture = std::move(fermeture); }
  // The moments the recording history keeps what the graph shows: a
  // recording ended, the engine about to clear it, a change of settings
  // starting and applied (which may have dropped it), and the close, after
  // the box has been stopped and before the closing sequence's saves.
  // Superposition: the user asked for the earlier runs to be overlaid.
  enum class Moment { Fin, AvantEffacement, AvantReglages, Reglages, Fermeture, Superposition };
  void FixeHistorique(std::function<void(Moment)> crochet) { m_historique = std::move(crochet); }
  void MomentHistorique(Moment moment) {
    if (m_historique) m_historique(moment);
  }
  // A click on one of the named panels or their labels runs `action` with the
  // slot number of the channel the control shows (0 when it shows none).
  void RelieClic(const QStringList &noms, std::function<void(int slot)> action);

  device::BoxLink &lien() { return *m_lien; }
  display::TgrapheKVX &graphe() { return *m_graphe; }
  device::AcquisitionEngine &moteur() { return *m_moteur; }
  // The box left as the user found it: acquisition stopped, trace written.
  // The first step of the closing sequence; runs once.
  void ArreteBoitier();
  // `ComBtn` and the first activation: search the box with the hourglass.
  void ChercheBoitier();

  // Called by the link and the engine through the window's view.
  void BoitierIdentifie();
  void BoitierParti();
  void RafraichitPanneaux();
  void AfficheValeur(int slot);
  void AfficheCurseur();
  void EffaceCurseur();
  void DessinePoints(int premier, int dernier);
  void RedessineGraphe();
  // The news of a "Seuil" or "Bouge" watch, on the window's thread: the
  // read-out, then the start of the acquisition.
  void NouvellesAttente();

  // Controls, named as the user's documentation names them.
  QToolBar *ToolBar1;
  QToolButton *EnregistreBtn;
  QToolButton *StopBtn;
  QToolButton *ResetBtn;
  QToolButton *UndoBtn;
  QToolButton *RegSaveBtn;
  QToolButton *ToolButton1;
  QToolButton *PlusBtn;
  QToolButton *ExitBtn;
  TPanelCourbe *PanelCourbe;
  QWidget *PanelCommande;
  TPanelMode *PanelMode;
  TPanelVoies *PanelVoies;
  QProgressBar *Gauge;
  QStatusBar *Header;
  QMenu *Menu;
  QAction *SaveConfigItem;
  QAction *OpenConfigItem;
  QAction *SaveData;
  QAction *CopyData;
  QAction *ExporteTableurItem;
  QAction *CopieTableurItem;
  QAction *EnregistreGrapheItem;
  QAction *CopieGrapheItem;
  QAction *ImprimeGrapheItem;
  QAction *AproposItem;
  QAction *CapteursItem;
  QAction *PleinEcranItem;
  QAction *VoltmetreItem;
  QAction *GrapheVolt;
  QTimer *Timer;

 protected:
  bool event(QEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void showEvent(QShowEvent *event) override;

 private:
  void CreeBarreOutils();
  void CreeMenu(const Options &options);
  void CreeCentre();
  void CreeBarreEtat();
  void RelieControles();
  void EcouteClics();
  void PremiereActivation();
  bool ToucheFenetre(QKeyEvent *cle);
  bool ClicPanneau(QObject *watched);
  void AppliqueEcran();
  // The smallest window at which every panel the mode shows fits whole.
  void AjusteTailleMini();
  EntreesBoites EntreesAfficheurs() const;
  std::array<QColor, kNbBoites> CouleursAfficheurs() const;

  int ModeAcquisition() const;
  int ModeSynchro() const;

  void CreeGraphe();
  void OscilloPaint(QPainter &p, const QRect &cadre);
  void TraceCroix(display::Canvas &canvas, bool affiche);
  void SurOscillo(const std::function<void(display::Canvas &)> &dessin);
  void OscilloSouris(QEvent::Type type, QPoint pos, Qt::MouseButtons boutons);
  // A press there catches the trigger threshold line.
  bool SurSeuil(QPoint pos) const;
  void SuitSeuil(int y);
  void SeuilDeplace();
  bool Acquiert() const;
  void CreeLien(const Options &options);
  void RelieMoteur();
  void TimerTimer();
  bool ToucheBalayage(QObject *watched, QEvent *event);
  void SurveillePort();
  void OctetsArrives();

  std::unique_ptr<display::TgrapheKVX> m_graphe;
  bool m_deplaceSeuil = false;
  std::unique_ptr<device::PortProvider> m_aucunPort;
  std::unique_ptr<TVueFenetre> m_vue;
  std::unique_ptr<TMinuterie> m_minuterie;
  std::unique_ptr<device::BoxLink> m_lien;
  std::unique_ptr<device::AcquisitionEngine> m_moteur;
  QSocketNotifier *m_notificateur = nullptr;
  bool m_dansTic = false;
  bool m_boitierArrete = false;
  Ecran m_ecran = Ecran::GrapheEtVoltmetre;
  bool m_premiereActivation = true;
  bool m_tailleMiniDemandee = false;
  std::array<QLabel *, 2> m_panneaux{};
  QActionGroup *m_groupeEcran = nullptr;
  QMap<QString, std::function<void(int)>> m_clics;
  QSet<QObject *> m_ciblesClic;
  std::function<void()> m_demarrage;
  std::function<void()> m_fermeture;
  std::function<void(Moment)> m_historique;
};

}  // namespace kvx::ui
