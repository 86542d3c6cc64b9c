#pragma once

// Stand-ins for the window around the acquisition engine: a view that records
// what the engine shows, and a timer whose ticks and clock the test steps.

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "device/acquisition_timer.h"
#include "device/acquisition_view.h"

namespace kvx::device::testing {

class ManualTimer : public AcquisitionTimer {
 public:
  void setInterval(int milliseconds) override { m_interval = milliseconds; }
  int interval() const override { return m_interval; }
  void setEnabled(bool enabled) override { m_enabled = enabled; }
  bool isEnabled() const override { return m_enabled; }
  Clock::time_point now() const override { return m_now; }

  void advance(std::chrono::milliseconds by) { m_now += by; }

 private:
  int m_interval = 0;
  bool m_enabled = false;
  Clock::time_point m_now{};
};

class RecordingView : public AcquisitionView {
 public:
  void setStatus(const std::string &text) override {
    status = text;
    statuses.push_back(text);
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
  void refreshReadout(int slot) override { readouts.push_back(slot); }
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
  bool answer = true;
};

}  // namespace kvx::device::testing
