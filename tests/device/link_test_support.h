// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the link tests: a view that records what the user would
// see, and a fresh temporary folder for the trace files.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "device/link_view.h"

namespace kvx::device::testing_support {

class RecordingView : public LinkView {
 public:
  void showLinkStatus(const std::string &text) override { statuses.push_back(text); }
  void showBoxAbsent(bool absent) override { absentShown.push_back(absent); }
  void showAbsentAdvice(const std::string &advice) override { advices.push_back(advice); }
  void setBusy(bool busy) override { busyCalls.push_back(busy); }
  void boxIdentified() override { ++identified; }
  void boxGone() override { ++gone; }

  std::vector<std::string> statuses;
  std::vector<bool> absentShown;
  std::vector<std::string> advices;
  std::vector<bool> busyCalls;
  int identified = 0;
  int gone = 0;
};

class TempFolder {
 public:
  TempFolder() {
    auto base = std::filesystem::temp_directory_path();
    for (int i = 0;; ++i) {
      m_path = base / ("kvx-link-test-" + std::to_string(::getpid()) + "-" + std::to_string(i));
      if (std::filesystem::create_directory(m_path)) break;
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  const std::filesystem::path &path() const { return m_path; }
  std::string read(const std::string &name) const {
    std::ifstream in(m_path / name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  bool has(const std::string &name) const { return std::filesystem::exists(m_path / name); }

 private:
  std::filesystem::path m_path;
};

}  // namespace kvx::device::testing_support
