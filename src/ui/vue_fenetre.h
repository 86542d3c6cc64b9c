// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/acquisition_view.h"
#include "device/link_view.h"

// How the link and the acquisition engine show themselves in the main window:
// status texts, buttons, gauge, scan panel, read-outs, graph, questions and
// the not-found panel. Kept apart from the form so the form stays about its
// controls and this file about what the box's state looks like.
namespace kvx::ui {

class TKVXmainForm;

class TVueFenetre final : public device::LinkView, public device::AcquisitionView {
 public:
  explicit TVueFenetre(TKVXmainForm &form) : m_form(form) {}

  // LinkView
  void showLinkStatus(const std::string &text) override;
  void showBoxAbsent(bool absent) override;
  void showAbsentAdvice(const std::string &advice) override;
  void setBusy(bool busy) override;
  void boxIdentified() override;
  void boxGone() override;

  // AcquisitionView
  void setStatus(const std::string &text) override;
  void setStatus2(const std::string &text) override;
  void setButtonEnabled(device::EngineButton button, bool enabled) override;
  void setEnregistreHint(const std::string &hint) override;
  void setMonocoupChecked(bool checked) override;
  void setGauge(int position, int maximum) override;
  void showScan(const device::ScanTexts &texts) override;
  void showReference() override;
  void refreshPanels() override;
  void refreshReadout(int slot) override;
  void clearReadouts() override;
  void eraseCursors() override;
  void showCursors() override;
  void drawPoints(int first, int last) override;
  void repaintGraph() override;
  bool askYesNo(const std::string &question) override;
  void showError(const std::string &message) override;
  bool closing() const override;
  void triggerWaitPosted() override;
  void showReadoutText(int slot, const std::string &text) override;
  void highlightEntryPanel(int slot) override;
  void clearClavierEdit() override;
  void focusClavierEdit() override;
  void showBoxAbsent() override { showBoxAbsent(true); }
  void recordingEnded() override;
  void recordingAboutToBeCleared() override;
  void settingsChanging() override;
  void settingsApplying() override;

 private:
  TKVXmainForm &m_form;
  int m_occupe = 0;
};

}  // namespace kvx::ui
