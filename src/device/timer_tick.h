// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What one tick of the acquisition timer does, by acquisition mode and engine
// state, and how often the timer ticks. The timer is the one heartbeat of the
// program: live read-outs, the fetch of a slow scan, the sweep steps and the
// optical-fork polls all hang on it, so these two tables decide how lively
// and how busy the window is.

namespace kvx::device {

// Acquisition modes as stored in configuration files (0 to 4).
enum AcquisitionMode : int {
  kModeClavier = 0,        // values typed at the keyboard
  kModeTemps = 1,          // timed scan
  kModePointParPoint = 2,  // point by point
  kModeSortieAnalog = 3,   // analog-output sweep
  kModeVeltor = 4,         // optical fork
};

// Start conditions of a timed scan, as stored (0 to 4).
enum TriggerMode : int {
  kTriggerFront = 0,    // an edge on the box's edge input
  kTriggerRelaxe = 1,   // free running
  kTriggerClavier = 2,  // the space bar or the "Acquisition" button
  kTriggerSeuil = 3,    // a threshold crossing of one input
  kTriggerBouge = 4,    // a change of one input
};

// Engine state, numbered as the window and the trigger code know it.
enum class AcqState : int {
  Waiting = 0,    // armed, waiting for a start condition
  Acquiring = 1,  // the box is sampling or being fetched
  Finished = 2,   // at start-up, after the last point and after Stop
};

enum class TickAction {
  Nothing,
  ReadLive,               // refresh the live read-outs
  FetchChunk,             // ask the box for the next line of a slow scan
  ReadLiveThenAutoPoint,  // point by point: read, then the automatic test
  SweepStep,              // next step of the analog-output sweep
  PollFork,               // ask the optical fork how many events it counted
};

// The serial time-out unit of the box's protocol.
inline constexpr int kTickMs = 55;

// Timer intervals, in milliseconds.
inline constexpr int kIntervalPointModes = 110;  // keyboard and point by point
inline constexpr int kIntervalFastScan = 220;    // timed scan below 0.25 s a point
inline constexpr int kIntervalVeltor = 550;
inline constexpr double kSlowScanPeriod = 0.25;  // from here the timer follows dt
// A fetch is chained at once below this interval, else left to the next tick.
inline constexpr int kChainFetchBelowMs = 500;

TickAction ActionForTick(int mode, AcqState state, int triggerMode, bool fetchPending);

// The interval set when the configuration is applied; the sweep keeps the
// current one until it starts.
int TimerInterval(int mode, double dt, int currentInterval);

}  // namespace kvx::device
