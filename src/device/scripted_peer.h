// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A stand-in device for tests and trials of the link: it answers fixed bytes
// to the lines it is sent, can say something unasked, and records everything
// it received with the time. Used to play a box that answers oddly, a modem
// that chatters, or a port where nothing answers at all.

#include <map>
#include <string>
#include <vector>

#include "device/wire_peer.h"

namespace kvx::device {

class ScriptedPeer final : public WirePeer {
 public:
  struct Received {
    std::string line;  // without its carriage return
    time_point at;
  };

  // When the peer receives `line` and a carriage return, it sends `answer`.
  void answer(const std::string &line, const std::string &answer);
  // When it receives the single byte `request` (outside a line), it sends `answer`.
  void answerByte(std::uint8_t request, const std::string &answer);
  // Sends these bytes unasked as soon as asked for output.
  void say(const std::string &bytes) { m_pending += bytes; }

  void receive(std::uint8_t byte, time_point at) override;
  void takeOutput(time_point now, std::string &out) override;

  const std::vector<Received> &lines() const { return m_lines; }
  const std::string &bytes() const { return m_bytes; }

 private:
  std::map<std::string, std::string> m_answers;
  std::map<std::uint8_t, std::string> m_byteAnswers;
  std::vector<Received> m_lines;
  std::string m_bytes;
  std::string m_current;
  std::string m_pending;
};

}  // namespace kvx::device
