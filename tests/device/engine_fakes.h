// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Stand-ins for the window around the acquisition engine: a view that records
// what the engine shows, and a timer whose ticks and clock the test steps.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "device/acquisition_timer.h"
#include "device/acquisition_view.h"
#include "device/clock.h"

namespace kvx::device::testing {

// The window's timer on the test's clock: `due` tells when a tick is owed.
class ManualTimer : public AcquisitionTimer {
 public:
  explicit ManualTimer(const device::Clock &clock) : m_clock(clock) {}
  void setInterval(int milliseconds) override {
    m_interval = milliseconds;
    m_next = m_clock.now() + std::chrono::milliseconds(m_interval);
  }
  int interval() const override { return m_interval; }
  void setEnabled(bool enabled) override {
    if (enabled && !m_enabled) m_next = m_clock.now() + std::chrono::milliseconds(m_interval);
    m_enabled = enabled;
  }
  bool isEnabled() const override { return m_enabled; }
  Clock::time_point now() const override { return m_clock.now(); }

  // True once when a tick is due; the next one is then an interval later.
  bool due() {
    if (!m_enabled || m_clock.now() < m_next) return false;
    m_next += std::chrono::milliseconds(std::max(m_interval, 1));
    if (m_next < m_clock.now()) m_next = m_clock.now();
    return true;
  }

 private:
  const device::Clock &m_clock;
  int m_interval = 0;
  bool m_enabled = false;
  Clock::time_point m_next{};
};

class RecordingView : public AcquisitionView {
 public:
  void setStatus(const std::string &text) override {
    status = text;
    statuses.push_back(text);
    log.push_back(text);
  }
  void setStatus2(const std::string &text) override { status2 = text; }
  void setButtonEnabled(EngineButton button, bool enabled) override { buttons[button] = enabled; }
  void setEnregistreHint(const std::string &hint) override { enregistreHint = hint; }
  void setMonocoupChecked(bool checked) override { monocoupChecked = checked; }
  void setGauge(int position, int maximum) override {
    gauge = position;
    gaugeMax = maximum;
  }
  void showScan(const ScanTexts &texts) override { scan = texts; }
  void showReference() override { ++references; }
  void refreshPanels() override { ++panelRefreshes; }
  void refreshReadout(int slot) override {
    readouts.push_back(slot);
    log.push_back("readout " + std::to_string(slot));
  }
  void clearReadouts() override { ++readoutClears; }
  void eraseCursors() override { ++cursorErases; }
  void showCursors() override { ++cursorShows; }
  void drawPoints(int first, int last) override { segments.push_back({first, last}); }
  void repaintGraph() override { ++repaints; }
  bool askYesNo(const std::string &question) override {
    questions.push_back(question);
    return answer;
  }
  void showError(const std::string &message) override { errors.push_back(message); }
  void showBoxAbsent() override { ++boxAbsent; }
  void showReadoutText(int slot, const std::string &text) override {
    readoutTexts.push_back({slot, text});
  }
  void highlightEntryPanel(int slot) override { highlighted.push_back(slot); }
  void clearClavierEdit() override { ++clavierClears; }
  void focusClavierEdit() override { ++clavierFocus; }
  // The history's moments, each with the points then on the graph.
  void recordingEnded() override { moment("fin"); }
  void recordingAboutToBeCleared() override { moment("efface"); }
  void settingsChanging() override { moment("reglages"); }
  void settingsApplying() override { moment("applique"); }
  void moment(const std::string &name) {
    moments.push_back(name + " " + std::to_string(points ? points() : -1));
  }
  // From the trigger worker's thread.
  void triggerWaitPosted() override {
    std::lock_guard<std::mutex> lock(m_postMutex);
    ++m_posted;
    m_postCv.notify_all();
  }
  // Waits at most `limit` of real time for news from the worker.
  void waitPosted(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(m_postMutex);
    const int seen = m_posted;
    m_postCv.wait_for(lock, limit, [&] { return m_posted != seen; });
  }

  bool enabled(EngineButton button) const {
    auto it = buttons.find(button);
    return it != buttons.end() && it->second;
  }

  std::string status, status2, enregistreHint;
  std::vector<std::string> statuses, questions, errors;
  std::map<EngineButton, bool> buttons;
  bool monocoupChecked = false;
  int gauge = -1, gaugeMax = -1;
  ScanTexts scan;
  int references = 0, panelRefreshes = 0, readoutClears = 0, cursorErases = 0, cursorShows = 0;
  int repaints = 0, boxAbsent = 0;
  std::vector<int> readouts;
  std::vector<std::pair<int, int>> segments;
  std::vector<std::pair<int, std::string>> readoutTexts;
  std::vector<int> highlighted;
  int clavierClears = 0, clavierFocus = 0;
  bool answer = true;
  // Status texts and read-out refreshes in the order they came.
  std::vector<std::string> log;
  std::vector<std::string> moments;
  std::function<int()> points;

 private:
  std::mutex m_postMutex;
  std::condition_variable m_postCv;
  int m_posted = 0;
};

}  // namespace kvx::device::testing
