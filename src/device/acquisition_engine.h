// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The acquisition engine: turns the user's settings into commands for the
// box, runs the acquisition state machine (waiting, acquiring, finished) on
// the ticks of the window's timer, fetches the samples line by line and
// stores them into the channels, and keeps the window's buttons, gauge and
// status texts in step through `AcquisitionView`.
//
// The main window owns one engine and calls it from its handlers: the timer
// tick, the tool-bar buttons, the space bar, the scan panel, and around every
// settings dialog (`HaltAcquisition` before, `ApplyConfiguration` after).
// Everything runs on the window's thread, except the watch of a "Seuil" or
// "Bouge" trigger, which has a worker thread of its own (trigger_wait.h)
// and hands its news back through `TriggerWaitEvents`. The window also calls
// `ApplyConfiguration` when the link reports the box identified, `BoxGone`
// when the link reports it gone, and has the link service its input when the
// port's handle is readable (the fetch callback runs from there).

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/acquisition_command.h"
#include "device/acquisition_timer.h"
#include "device/acquisition_view.h"
#include "device/timer_tick.h"
#include "device/trigger_wait.h"
#include "device/value_list_parser.h"
#include "device/veltor_image.h"
#include "device/veltor_run.h"

namespace kvx::display {
class TgrapheKVX;
}
namespace kvx::model {
class Tvoie;
class Tveltor;
}  // namespace kvx::model

namespace kvx::device {

class BoxLink;

class AcquisitionEngine {
 public:
  AcquisitionEngine(display::TgrapheKVX &graphe, BoxLink &link, AcquisitionTimer &timer,
                    AcquisitionView &view);
  ~AcquisitionEngine();
  AcquisitionEngine(const AcquisitionEngine &) = delete;
  AcquisitionEngine &operator=(const AcquisitionEngine &) = delete;

  // --- Window handlers ---------------------------------------------------
  void TimerTimer();
  void EnregistreBtnClick();
  // A key seen by the window before its controls. Answers true when the key
  // is consumed (the space bar while `EnregistreBtn` is enabled, except in
  // keyboard mode, where it goes on to the focused edit).
  bool FormKeypress(char32_t key);
  // `byUser` false: called by the program (shutdown, a re-arm), which asks no
  // question and leaves `MonocoupCB` alone.
  void StopBtnClick(bool byUser);
  void ResetBtnClick(bool byUser);
  void UndoBtnClick();
  void MonocoupCBClick(bool checked);
  // The window got the focus back after a transfer to the analysis program.
  void TransferFocusReturned();
  // A key in `ClavierEdit`, with the text the edit holds. Enter records the
  // typed value when it is a number within the keyboard channel's range, or
  // tells the user the range. Answers true when the key is consumed (Enter
  // with the value recorded); other keys are left to the edit.
  bool ClavierEditKeyPress(char32_t key, const std::string &text);
  // `PointAutoCB` ("Automatique") clicked: point by point records by itself
  // while it is ticked.
  void PointAutoCBClick(bool checked);

  // --- Around settings ---------------------------------------------------
  void ApplyConfiguration();
  void PrepareAcquisition();
  void HaltAcquisition();
  void UpdateButtons();

  // --- Scan panel (`BalayageGB`) -----------------------------------------
  void NombreUpClick();
  void NombreDownClick();
  // Enter in `NbreEdit` (any typed integer) and leaving it (only when it
  // differs from N). Text that is not an integer leaves N as it was.
  void NbreEditEnter(const std::string &text);
  void NbreEditExit(const std::string &text);
  void DureeSpinUpClick();
  void DureeSpinDownClick();
  // Enter in `DureeEdit` and leaving it: the text is a time with unit.
  void DureeEditEnter(const std::string &text);
  void DureeEditExit(const std::string &text);
  // Key filters of the two edits: whether `NbreEdit` lets the key in, and
  // the character `DureeEdit` puts in for the key (0: swallowed).
  static bool NbreEditAccepts(char32_t key);
  static char32_t DureeEditFilter(char32_t key, char decimalSeparator);

  // --- Live values, single points and the timed scan ----------------------
  // Answers false when the box went during the reads (nothing else may
  // follow on this tick).
  bool ReadLiveValues();
  // One point of every active channel, at the index of the recorded count.
  // Answers false when refused: a channel without a value (its last read
  // failed), or full arrays. With `missingAllowed` (a sweep's step, which
  // keeps its place on the ramp) a channel whose read failed is recorded as
  // a missing value instead.
  bool RecordPoint(bool missingAllowed = false);
  void StartTimedAcquisition();
  // The link saw the box go (no answer, or the port hung up): keep the
  // points received so far, finish, and show the not-found panel.
  void BoxGone();

  // --- "Seuil" and "Bouge" waits (engine_trigger.cpp) ----------------------
  // Start the worker that watches the trigger channel; nothing while one
  // still runs.
  void ArmThresholdWait();
  void ArmChangeWait();
  // Raises the worker's stop request, waits until it has ended and takes the
  // link back. Everything that talks to the box while a wait may be armed
  // calls it first, so no command reaches the box behind the worker.
  void EndTriggerWait();
  // The worker's news, on the window's thread (after `triggerWaitPosted`,
  // and at every timer tick while armed): the trigger channel's read-out,
  // then, once the condition is met, the start of the acquisition.
  void TriggerWaitEvents();
  bool triggerWaitArmed() const { return m_trigger != nullptr; }
  // The running worker, for the benchmark (null when none).
  const TriggerWorker *triggerWorker() const { return m_trigger.get(); }

  // --- The optical fork (engine_veltor.cpp) ---------------------------------
  // The fork program goes to the box once (applying a configuration in mode
  // 4); refused, the mode becomes point by point.
  void UploadVeltorProgram();
  void StartVeltorRun();
  void PollVeltorCount();
  // The end of a counting run: the box is asked for its events.
  void FetchVeltorResults();
  // The stop dialog's button, or its count-down at 0.
  void VeltorStopRequested();
  void setVeltorView(VeltorView *view);
  // Which fork program goes to which box (veltor_image.h). Without one, the
  // program compiled in goes to no box: every box needs the maker's file.
  void setVeltorImageSource(VeltorImageSource source) { m_veltorImage = std::move(source); }
  bool veltorUploaded() const { return m_veltor.uploaded; }
  VeltorPhase veltorPhase() const { return m_veltor.phase; }
  long long veltorCount() const { return m_veltor.N; }

  // --- Settings kept by the engine ----------------------------------------
  // Single-shot, as a configuration file gives it (no re-arming).
  void setMonocoup(bool monocoup) { m_monocoup = monocoup; }
  // Automatic point recording, as `PointAutoCB` shows it (a configuration
  // file sets both); the status is left alone.
  void setPointAuto(bool automatic) { m_pointAuto = automatic; }
  // The edge input (0 or 1) the "Front" trigger waits on.
  int EntreeFront() const { return m_entreeFront; }
  void FixeEntreeFront(int input) { m_entreeFront = input == 1 ? 1 : 0; }

  // --- State, for the window and the tests -------------------------------
  AcqState state() const { return m_state; }
  bool monocoup() const { return m_monocoup; }
  bool pointAuto() const { return m_pointAuto; }
  bool live() const { return m_live; }
  bool fetchPending() const { return m_pending; }
  int pointsReceived() const { return m_pointsReceived; }
  double dt() const { return m_dt; }
  bool limitMini() const { return m_mini; }
  bool limitMaxi() const { return m_maxi; }
  SubMode subMode() const { return m_acquisition.subMode; }
  int ratio() const { return m_acquisition.ratio; }
  const std::string &acquisitionCommand() const { return m_acquisitionCommand; }
  const std::string &startCommand() const { return m_startCommand; }
  AcquisitionTimer::Clock::time_point startTime() const { return m_startTime; }
  // Counts the arming of the engine (`PrepareAcquisition`): the scans a
  // repeating trigger starts by itself share the number of their run.
  unsigned runNumber() const { return m_run; }

 private:
  // Graph glue: the slots, N and the settings the graph holds.
  model::Tvoie &Voie(int slot) const;
  int Nombre() const;
  void FixeNombre(int n);
  void FixeNombreSansLimite(int n);
  int Mode() const;
  int Declenchement() const;
  int Abscisse() const;
  void FixeAbscisse(int slot);
  int NbPoints() const;
  void FixeNbPoints(int n);
  void FixeNbCourbes(int ordinates, int analogInputs);
  // The graph's view and kept runs: a recording the user starts, one that
  // ends, new settings.
  void NouvelleAcquisitionGraphe();
  void FinAcquisitionGraphe();
  void ReinitialiseVueGraphe();

  // The count of recorded points in the second status panel (point modes).
  void ShowPointCount();
  // The read-outs once Stop has cleared them.
  void ShowValuesAfterStop();
  // Buttons and timer, through the view, remembering what was set.
  void SetButton(EngineButton button, bool enabled);
  bool ButtonEnabled(EngineButton button) const;
  void TimerOn();
  void TimerOff();

  // The timed scan (engine_fetch.cpp).
  void FetchNext();
  void OnBytes(const std::uint8_t *data, std::size_t size);
  void OnLine();
  void ShowNewPoints(int from, int to);
  void FinishAcquisition();
  void KeepReceivedPoints();
  void CheckSilence();
  void LoseBox();
  std::vector<int> ActiveAnalogSlots() const;

  // Live reads (engine_live.cpp).
  int TimedReadByte(std::uint8_t request, bool &silent);
  int TimedReadNumber(const std::string &command, bool &silent);
  std::optional<int> TimedTryReadNumber(const std::string &command, bool &silent);

  // The point modes (engine_points.cpp).
  void PreparePointMode();
  void PrepareClavier();
  void PrepareSweep();
  void ShowPointStatus();
  void AutoPointTest();
  void StartSweep();
  void SweepStep();
  int SweepFirstCode() const;
  void SetOutputCode(int code);

  // Configuration and scan (engine_configuration.cpp, engine_scan.cpp).
  void ApplyChannelRules();
  void FollowCompaction(const model::Tvoie *abscissa);
  void ApplyMonocoupRules();
  void ComposeCommands();
  void ShowScanValues();
  void RefillTimeBase();
  void ApplyDuration(double duration);
  void ApplyPointCount(int n);
  // After a typed duration or point count: says in the status line how and
  // why the box's sampling grid changed what was typed (nothing when not).
  void TellGridChange(double askedDuration, int askedPoints);
  void RefreshScan();
  double Duree() const;
  void FixeDuree(double d);
  int CountActiveAnalog() const;

  // The optical fork (engine_veltor.cpp).
  VeltorView &veltorView();
  model::Tveltor &Fourche() const;
  void PauseVeltor(Clock::duration span);
  // The image for the box found, or nothing after telling the user why.
  bool VeltorImageFor(std::vector<std::string> &lines);
  void PrepareVeltor();
  enum class CountAnswer { Count, Noise, Silent, Gone };
  CountAnswer AskVeltorCount(int &count);
  void FetchVeltor();
  void OnVeltorBytes(const std::uint8_t *data, std::size_t size);
  void KeepVeltorEvents();
  void VeltorAxes();
  void FinishVeltor();
  void CheckVeltorSilence();
  void EndVeltorRun();
  void VeltorBoxGone();

  // The trigger waits (engine_trigger.cpp).
  void ArmTriggerWait();
  void ArmWait(bool change);
  void ReleaseTriggerWait(bool tellView);
  int TriggerSlot() const;

  display::TgrapheKVX &m_graphe;
  BoxLink &m_link;
  AcquisitionTimer &m_timer;
  AcquisitionView &m_view;

  AcqState m_state = AcqState::Finished;
  bool m_monocoup = false;
  bool m_pointAuto = false;  // `PointAutoCB` starts unticked
  int m_entreeFront = 0;
  bool m_live = true;
  unsigned m_run = 0;
  bool m_pending = false;
  int m_firstPoint = 0;
  int m_pointsReceived = 0;
  int m_requestFirst = 0;  // first point of the line asked for
  double m_dt = 1.0 / 128;
  bool m_mini = false;
  bool m_maxi = false;
  AcquisitionCommand m_acquisition;
  ValueListParser m_parser;
  std::string m_acquisitionCommand;
  std::string m_startCommand;
  AcquisitionTimer::Clock::time_point m_startTime{};
  std::array<bool, 5> m_buttons{};

  // Watching for a box that stops answering.
  AcquisitionTimer::Clock::time_point m_lastHeard{};
  bool m_awaitingAnswer = false;
  int m_silentTicks = 0;
  // The slots whose read failed on the last tick (silence or garbage).
  std::bitset<10> m_readFailed;
  unsigned m_goneCount = 0;  // how often the box went; a call compares it

  // The watch of a "Seuil" or "Bouge" trigger, while armed (and ended but
  // not yet released), and the slot whose read-out it refreshes.
  std::unique_ptr<TriggerWorker> m_trigger;
  int m_triggerSlot = 5;

  VeltorRun m_veltor;
  VeltorImageSource m_veltorImage;
};

}  // namespace kvx::device
