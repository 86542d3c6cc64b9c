// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The numbered serial ports the search walks through: the paths given on the
// command line (and the simulated box's pseudo-terminal) first, in their
// order, then the system's serial devices, /dev/ttyUSB*, /dev/ttyACM* and
// /dev/ttyS*, each group in natural order (ttyS2 before ttyS10). Port n is
// the n-th entry, at most 50. Messages and trace names keep the number.

#include <string>
#include <vector>

#include "device/serial_port.h"

namespace kvx::platform {

class PortTable final : public device::PortProvider {
 public:
  // `devFolder` is where the system's devices are looked for (tests give a
  // folder of their own); an empty folder name looks for none.
  explicit PortTable(std::vector<std::string> explicitPaths, const std::string &devFolder = "/dev");

  // The serial devices of the folder, in the search order.
  static std::vector<std::string> SystemSerialDevices(const std::string &devFolder);
  // "ttyS2" < "ttyS10": runs of digits compare as numbers.
  static bool NaturalLess(const std::string &a, const std::string &b);

  int portCount() const override { return static_cast<int>(m_paths.size()); }
  std::string portName(int n) const override;
  device::OpenResult open(int n) override;
  // The paths given on the command line (and the simulated box's) come first.
  int namedPortCount() const override { return m_named; }

  const std::vector<std::string> &paths() const { return m_paths; }
  // Number of the port with this path, 0 when it is not in the table.
  int numberOf(const std::string &path) const;
  // The port to try first: the stored path where it is now, else the stored number.
  int resolveStored(int storedNumber, const std::string &storedPath) const;

 private:
  std::vector<std::string> m_paths;
  int m_named = 0;
};

}  // namespace kvx::platform
