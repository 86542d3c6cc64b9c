// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the acquisition engine asks of the main window. The engine decides;
// the window shows: buttons, status texts, the progress gauge, the scan panel,
// the read-outs, the live markers and the new points on the graph, and the two
// questions the engine may put to the user. The Qt window implements this;
// tests implement it with a recorder.

#include <string>

namespace kvx::device {

// The tool-bar buttons whose state follows the engine.
enum class EngineButton {
  Enregistre,  // `EnregistreBtn` "Acquisition"
  Stop,        // `StopBtn`
  Reset,       // `ResetBtn` "RàZ"
  Undo,        // `UndoBtn` "Défaire"
  RegSave,     // `RegSaveBtn` "Tabulyse"
};

// The texts of the scan panel, ready to show.
struct ScanTexts {
  std::string nombre;  // `NbreEdit`: N in decimal
  std::string duree;   // `DureeEdit`: D as a time with unit
  std::string deltat;  // `DeltatLabel`: "δt=" and the period
  std::string fech;    // `FechLabel`: "Fech=" and the sampling frequency
  std::string minmax;  // `minmax`: "Mini", "Maxi" or empty (then hidden)
};

class AcquisitionView {
 public:
  virtual ~AcquisitionView() = default;

  // Status bar: panel 0 carries the engine's messages, panel 1 is cleared.
  virtual void setStatus(const std::string &text) = 0;
  virtual void setStatus2(const std::string &text) = 0;

  virtual void setButtonEnabled(EngineButton button, bool enabled) = 0;
  // The long hint of `EnregistreBtn` ("|Lance l'acquisition", ...).
  virtual void setEnregistreHint(const std::string &hint) = 0;
  virtual void setMonocoupChecked(bool checked) = 0;

  // `Gauge`: the progress of a fetch, in points.
  virtual void setGauge(int position, int maximum) = 0;

  // The scan panel (`BalayageGB`).
  virtual void showScan(const ScanTexts &texts) = 0;

  // The reference label `MasseLabel`, first step of applying a configuration.
  virtual void showReference() = 0;
  // Panels, captions and read-out layout for the graph's current mode and
  // channels, once the engine has fixed the abscissa and the channels.
  virtual void refreshPanels() = 0;

  // Read-outs: show the current value of the channel in `slot` (2 to 9), or
  // clear the read-outs of slots 4 to 9.
  virtual void refreshReadout(int slot) = 0;
  virtual void clearReadouts() = 0;

  // Live markers (`EffaceCurseur`, `AfficheCurseur`): erase them before the
  // current values change, show them (with every read-out) afterwards.
  virtual void eraseCursors() = 0;
  virtual void showCursors() = 0;

  // Graph: draw points first..last (inclusive) that just arrived, or
  // schedule a full repaint.
  virtual void drawPoints(int first, int last) = 0;
  virtual void repaintGraph() = 0;

  // Questions and messages. `askYesNo` answers true for Yes.
  virtual bool askYesNo(const std::string &question) = 0;
  virtual void showError(const std::string &message) = 0;
  // True once the program is closing: nothing may start on the box then,
  // not even a scan that a dismissed question would have let through.
  virtual bool closing() const { return false; }

  // The box no longer answers (or was unplugged): show the red not-found
  // panel so the user can plug it back and search again.
  virtual void showBoxAbsent() = 0;

  // --- The "Seuil" and "Bouge" waits ---------------------------------------
  // Called ON THE TRIGGER WORKER'S THREAD, never on the window's: the watch
  // has news (a code for the read-out, or its end). The window must have
  // `AcquisitionEngine::TriggerWaitEvents` run on its own thread soon after
  // (a queued call); it must not touch anything else from here. Without it
  // the news waits for the next tick of the acquisition timer.
  virtual void triggerWaitPosted() {}

  // --- The point modes (keyboard, point by point, sweep) ------------------
  // The read-out of `slot` shows this text instead of its value: the channel
  // could not be read, so the point was not recorded.
  virtual void showReadoutText(int /*slot*/, const std::string & /*text*/) {}
  // The box of the channel the user drives by hand while its mode runs (the
  // keyboard entry `ClavierGB`, slot 3, or the analog output `SortieAnaGB`,
  // slot 2) turns white with the channel's font colour.
  virtual void highlightEntryPanel(int /*slot*/) {}
  // `ClavierEdit`: emptied for the next value, and given the input focus.
  virtual void clearClavierEdit() {}
  virtual void focusClavierEdit() {}

  // --- The recording history ------------------------------------------------
  // The window keeps every recording before it can be lost. These tell it
  // when; each may come inside a tick that reads the box, so the window only
  // takes a copy and writes it later.
  // A recording has ended and is on the graph: a timed scan (each repetition
  // too), a fork run, a sweep.
  virtual void recordingEnded() {}
  // The points on the graph are about to be dropped or written over by the
  // engine itself (RàZ, a new scan setting, a new live scan, sweep or run).
  virtual void recordingAboutToBeCleared() {}
  // The engine stops for a change of settings (`HaltAcquisition`): the change
  // may drop the points; `settingsApplying` (first step of
  // `ApplyConfiguration`) tells whether it did.
  virtual void settingsChanging() {}
  virtual void settingsApplying() {}
};

}  // namespace kvx::device
