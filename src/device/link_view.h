// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the link shows the user, implemented by the main window. The link only
// calls these; it never touches a widget. Every call comes on the thread that
// runs the link (the user-interface thread).

#include <string>

namespace kvx::device {

class LinkView {
 public:
  virtual ~LinkView() = default;
  // Text of the first status panel (the texts are in link_texts.h).
  virtual void showLinkStatus(const std::string &text) = 0;
  // The red NuvexAbsent panel: shown (with the input focus) when the box was
  // not found or has gone, hidden once it answered.
  virtual void showBoxAbsent(bool absent) { (void)absent; }
  // The advice the NuvexAbsent panel gives, told before it is shown: switch
  // the box off and on, or how to get the right to open a refused port.
  virtual void showAbsentAdvice(const std::string &advice) { (void)advice; }
  // Hourglass cursor while the found box is reset and configured.
  virtual void setBusy(bool busy) { (void)busy; }
  // The box has just been identified and reset: apply the whole configuration.
  virtual void boxIdentified() {}
  // The line to the box went (unplugged, switched off with its USB adapter):
  // the link is closed and commands are dropped until the next search.
  virtual void boxGone() {}
};

// A view that shows nothing, for tools and tests that do not care.
class SilentLinkView final : public LinkView {
 public:
  void showLinkStatus(const std::string &) override {}
};

}  // namespace kvx::device
