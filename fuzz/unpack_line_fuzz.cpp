// SPDX-License-Identifier: GPL-3.0-or-later
// Lines of codes from the box unpacked with any sub-mode, ratio, first point,
// point count and input numbers: nothing is written outside the channels'
// arrays, and the points counted never run past the point count.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "device/unpack_line.h"

namespace {
constexpr std::size_t kCapacity = 6401;
// A guard band after each array catches any write beyond its end.
constexpr std::size_t kGuard = 64;
constexpr double kGuardValue = -12345.0;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using namespace kvx::device;
  if (size < 8) return 0;
  UnpackRequest request;
  request.subMode = static_cast<SubMode>(data[0] % 7);
  request.ratio = static_cast<std::int8_t>(data[1]);
  request.firstPoint = static_cast<std::int16_t>(data[2] | data[3] << 8) % 7000;
  request.pointCount = static_cast<std::int16_t>(data[4] | data[5] << 8) % 7000;
  const int channelCount = data[6] % 5;
  std::vector<std::array<double, kCapacity + kGuard>> arrays(4);
  std::vector<UnpackChannel> channels;
  for (int i = 0; i < channelCount; ++i) {
    arrays[i].fill(kGuardValue);
    const int input = static_cast<std::int8_t>(data[7]) / (i + 1);
    channels.push_back(UnpackChannel{input, [](int code) { return code * 0.5; }, arrays[i].data(),
                                     kCapacity});
  }
  const std::uint8_t *codes = data + 8;
  const int count = static_cast<int>(size - 8);
  const int points = UnpackLine(request, codes, count, channels.data(), channels.size());
  if (points < 0 || points > count) std::abort();
  if (request.pointCount >= 0 && points > 0 && request.firstPoint + points > request.pointCount)
    std::abort();
  for (int i = 0; i < channelCount; ++i)
    for (std::size_t j = kCapacity; j < kCapacity + kGuard; ++j)
      if (arrays[i][j] != kGuardValue) std::abort();
  return 0;
}
