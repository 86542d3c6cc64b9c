// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/port_table.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "device/box_facts.h"
#include "platform/posix_serial_port.h"

namespace kvx::platform {

namespace {

// The kernel lists every possible on-board port; those with no UART behind
// them have type 0 and are no use to anybody.
bool phantomSerialPort(const std::string &name) {
  std::ifstream type("/sys/class/tty/" + name + "/type");
  int value = -1;
  return type >> value && value == 0;
}

}  // namespace

PortTable::PortTable(std::vector<std::string> explicitPaths, const std::string &devFolder) {
  auto add = [this](const std::string &path) {
    if (path.empty() || m_paths.size() >= static_cast<std::size_t>(device::kMaxPorts)) return;
    if (std::find(m_paths.begin(), m_paths.end(), path) == m_paths.end()) m_paths.push_back(path);
  };
  for (const auto &path : explicitPaths) add(path);
  m_named = portCount();
  if (!devFolder.empty())
    for (const auto &path : SystemSerialDevices(devFolder)) add(path);
}

std::vector<std::string> PortTable::SystemSerialDevices(const std::string &devFolder) {
  namespace fs = std::filesystem;
  const char *groups[] = {"ttyUSB", "ttyACM", "ttyS"};
  std::vector<std::string> found;
  std::error_code ec;
  for (const char *prefix : groups) {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(devFolder, ec)) {
      std::string name = entry.path().filename().string();
      std::string rest = name.substr(std::min(name.size(), std::string(prefix).size()));
      bool numbered = name.rfind(prefix, 0) == 0 && !rest.empty() &&
                      std::all_of(rest.begin(), rest.end(),
                                  [](unsigned char c) { return std::isdigit(c) != 0; });
      if (!numbered) continue;
      if (devFolder == "/dev" && std::string(prefix) == "ttyS" && phantomSerialPort(name)) continue;
      names.push_back(name);
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    for (const auto &name : names) found.push_back((fs::path(devFolder) / name).string());
  }
  return found;
}

bool PortTable::NaturalLess(const std::string &a, const std::string &b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    bool da = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
    bool db = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
    if (da && db) {
      std::size_t ei = i, ej = j;
      while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei]))) ++ei;
      while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej]))) ++ej;
      // Compare the numbers without converting them (no overflow on long runs).
      std::string na = a.substr(i, ei - i), nb = b.substr(j, ej - j);
      na.erase(0, std::min(na.find_first_not_of('0'), na.size()));
      nb.erase(0, std::min(nb.find_first_not_of('0'), nb.size()));
      if (na.size() != nb.size()) return na.size() < nb.size();
      if (na != nb) return na < nb;
      i = ei;
      j = ej;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j];
    ++i;
    ++j;
  }
  return a.size() - i < b.size() - j;
}

std::string PortTable::portName(int n) const {
  if (n < 1 || n > portCount()) return {};
  return m_paths[static_cast<std::size_t>(n - 1)];
}

device::OpenResult PortTable::open(int n) {
  if (n < 1 || n > portCount()) {
    device::OpenResult r;
    r.failure = device::OpenFailure::Missing;
    return r;
  }
  return PosixSerialPort::open(portName(n));
}

int PortTable::numberOf(const std::string &path) const {
  auto it = std::find(m_paths.begin(), m_paths.end(), path);
  return it == m_paths.end() ? 0 : static_cast<int>(it - m_paths.begin()) + 1;
}

int PortTable::resolveStored(int storedNumber, const std::string &storedPath) const {
  int byPath = storedPath.empty() ? 0 : numberOf(storedPath);
  return byPath > 0 ? byPath : storedNumber;
}

}  // namespace kvx::platform
