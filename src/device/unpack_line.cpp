// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/unpack_line.h"

#include <algorithm>

namespace kvx::device {

namespace {

// Writes one value when the point lies inside both N and the array.
void Store(const UnpackChannel &channel, int point, int pointCount, double value) {
  if (point < 0 || point >= pointCount) return;
  if (!channel.tampon || static_cast<std::size_t>(point) >= channel.capacity) return;
  channel.tampon[point] = value;
}

double Convert(const UnpackChannel &channel, std::uint8_t code) {
  return channel.convert ? channel.convert(code) : static_cast<double>(code);
}

int PointsLeft(const UnpackRequest &request, int points) {
  return std::max(0, std::min(points, request.pointCount - request.firstPoint));
}

int UnpackSingle(const UnpackRequest &request, const std::uint8_t *codes, int count,
                 const UnpackChannel &channel, int stride) {
  const int points = PointsLeft(request, count / stride);
  for (int j = 0; j < points; ++j)
    Store(channel, request.firstPoint + j, request.pointCount, Convert(channel, codes[j * stride]));
  return points;
}

// The second input is read half a period after the first: its value at the
// first input's instant is the mean of the samples on either side. Point j = 0
// of a later line is the point fetched again only to give that left neighbour.
int UnpackTwo(const UnpackRequest &request, const std::uint8_t *codes, int count,
              const UnpackChannel *channels, std::size_t channelCount) {
  const int points = PointsLeft(request, count / 2);
  const int f = request.firstPoint;
  const UnpackChannel *second = channelCount > 1 ? &channels[1] : nullptr;
  for (int j = 1; j < points; ++j) {
    Store(channels[0], f + j, request.pointCount, Convert(channels[0], codes[2 * j]));
    if (second) {
      const double mean =
          (Convert(*second, codes[2 * j - 1]) + Convert(*second, codes[2 * j + 1])) / 2;
      Store(*second, f + j, request.pointCount, mean);
    }
  }
  if (f == 0 && points > 0) {
    Store(channels[0], 0, request.pointCount, Convert(channels[0], codes[0]));
    if (second) {
      // Extrapolated back half a period from the first two samples; a line too
      // short for that still gives point 0 its nearest sample rather than a
      // value left over from the previous acquisition.
      const double value = count > 3
                               ? (3 * Convert(*second, codes[1]) - Convert(*second, codes[3])) / 2
                               : Convert(*second, codes[1]);
      Store(*second, 0, request.pointCount, value);
    }
  }
  return points;
}

int UnpackFour(const UnpackRequest &request, const std::uint8_t *codes, int count,
               const UnpackChannel *channels, std::size_t channelCount, int base) {
  const int points = PointsLeft(request, count / 4);
  for (std::size_t i = 0; i < channelCount; ++i) {
    const int place = channels[i].input - base;
    if (place < 0 || place > 3) continue;  // not in the sampled half
    for (int j = 0; j < points; ++j)
      Store(channels[i], request.firstPoint + j, request.pointCount,
            Convert(channels[i], codes[4 * j + place]));
  }
  return points;
}

// Inputs 4 to 7 are read half a period after inputs 0 to 3, and are
// interpolated like the second input of the two-input form.
int UnpackEight(const UnpackRequest &request, const std::uint8_t *codes, int count,
                const UnpackChannel *channels, std::size_t channelCount) {
  const int points = PointsLeft(request, count / 8);
  const int f = request.firstPoint;
  for (std::size_t i = 0; i < channelCount; ++i) {
    const UnpackChannel &channel = channels[i];
    const int c = channel.input;
    if (c < 0 || c > 7) continue;
    for (int j = 1; j < points; ++j) {
      const double value =
          c < 4 ? Convert(channel, codes[8 * j + c])
                : (Convert(channel, codes[8 * j + c - 8]) + Convert(channel, codes[8 * j + c])) / 2;
      Store(channel, f + j, request.pointCount, value);
    }
    if (f == 0 && points > 0) {
      double value = Convert(channel, codes[c]);
      if (c >= 4 && count > 15)
        value = (3 * Convert(channel, codes[c]) - Convert(channel, codes[c + 8])) / 2;
      Store(channel, 0, request.pointCount, value);
    }
  }
  return points;
}

}  // namespace

int UnpackLine(const UnpackRequest &request, const std::uint8_t *codes, int count,
               const UnpackChannel *channels, std::size_t channelCount) {
  if (!codes || count <= 0) return 0;
  if (!channels || channelCount == 0) return 0;
  switch (request.subMode) {
    case SubMode::Fast:
      return UnpackSingle(request, codes, count, channels[0], std::max(request.ratio, 1));
    case SubMode::OneInput:
      return UnpackSingle(request, codes, count, channels[0], 1);
    case SubMode::TwoInputs:
      return UnpackTwo(request, codes, count, channels, channelCount);
    case SubMode::FourLow:
      return UnpackFour(request, codes, count, channels, channelCount, 0);
    case SubMode::FourHigh:
      return UnpackFour(request, codes, count, channels, channelCount, 4);
    case SubMode::Eight:
      return UnpackEight(request, codes, count, channels, channelCount);
    default:
      return 0;
  }
}

}  // namespace kvx::device
