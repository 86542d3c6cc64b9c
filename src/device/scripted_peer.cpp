// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/scripted_peer.h"

#include "device/box_facts.h"

namespace kvx::device {

void ScriptedPeer::answer(const std::string &line, const std::string &answer) {
  m_answers[line] = answer;
}

void ScriptedPeer::answerByte(std::uint8_t request, const std::string &answer) {
  m_byteAnswers[request] = answer;
}

void ScriptedPeer::receive(std::uint8_t byte, time_point at) {
  if (m_bytes.size() < (1u << 20)) m_bytes.push_back(static_cast<char>(byte));
  if (m_current.empty()) {
    auto single = m_byteAnswers.find(byte);
    if (single != m_byteAnswers.end()) {
      m_pending += single->second;
      return;
    }
  }
  if (byte != kCarriageReturn) {
    if (m_current.size() < 4096) m_current.push_back(static_cast<char>(byte));
    return;
  }
  m_lines.push_back({m_current, at});
  auto found = m_answers.find(m_current);
  if (found != m_answers.end()) m_pending += found->second;
  m_current.clear();
}

void ScriptedPeer::takeOutput(time_point, std::string &out) {
  out += m_pending;
  m_pending.clear();
}

}  // namespace kvx::device
