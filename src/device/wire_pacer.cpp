// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/wire_pacer.h"

#include <algorithm>
#include <string>

namespace kvx::device {

void WirePacer::hostWrote(const std::uint8_t *data, std::size_t size, time_point now) {
  for (std::size_t i = 0; i < size && m_in.size() < kMaxInFlight; ++i) {
    m_inFree = std::max(m_inFree, now) + m_byteTime;
    m_in.push_back({data[i], m_inFree});
  }
}

void WirePacer::queueOut(const std::string &bytes, time_point at) {
  for (char c : bytes) {
    if (m_out.size() >= kMaxInFlight) return;
    m_outFree = std::max(m_outFree, at) + m_byteTime;
    m_out.push_back({static_cast<std::uint8_t>(c), m_outFree});
  }
}

void WirePacer::run(WirePeer &peer, time_point now) {
  std::string answer;
  while (!m_in.empty() && m_in.front().due <= now) {
    Timed t = m_in.front();
    m_in.pop_front();
    peer.receive(t.byte, t.due);
    answer.clear();
    peer.takeOutput(t.due, answer);
    queueOut(answer, t.due);
  }
  answer.clear();
  peer.takeOutput(now, answer);
  queueOut(answer, now);
}

std::size_t WirePacer::takeArrived(time_point now, std::uint8_t *buffer, std::size_t capacity) {
  std::size_t n = 0;
  while (n < capacity && !m_out.empty() && m_out.front().due <= now) {
    buffer[n++] = m_out.front().byte;
    m_out.pop_front();
  }
  return n;
}

std::optional<WirePacer::time_point> WirePacer::nextEvent(const WirePeer &peer) const {
  std::optional<time_point> next = peer.nextOutputTime();
  auto earliest = [&next](time_point t) {
    if (!next || t < *next) next = t;
  };
  if (!m_in.empty()) earliest(m_in.front().due);
  if (!m_out.empty()) earliest(m_out.front().due);
  return next;
}

}  // namespace kvx::device
