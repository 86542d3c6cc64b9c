// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/acquisition_fetch.h"

namespace kvx::device {

AcquisitionFetch::AcquisitionFetch(BoxLink &link, AcquisitionCommand acquisition)
    : m_link(link), m_acquisition(std::move(acquisition)) {}

AcquisitionFetch::~AcquisitionFetch() {
  m_link.removeDataAvailable();
}

void AcquisitionFetch::start(const std::string &startCommand) {
  m_FirstPoint = m_received = m_empty = 0;
  m_lines.clear();
  m_link.SendCommand(m_acquisition.text);
  m_link.SendCommand(startCommand);
  fetchNext();
}

void AcquisitionFetch::fetchNext() {
  m_pending = false;
  m_request = ComposeFetch(m_acquisition, m_FirstPoint);
  if (m_request.text.empty()) return;
  m_parser.reset();
  m_link.setDataAvailable(
      [this](const std::uint8_t *data, std::size_t size) { onBytes(data, size); });
  m_link.SendCommand(m_request.text);
}

void AcquisitionFetch::onBytes(const std::uint8_t *data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    auto event = m_parser.feed(data[i]);
    if (event == ValueListParser::Event::EmptyLine) {
      ++m_empty;
      m_pending = true;
    } else if (event == ValueListParser::Event::Line) {
      Line line;
      line.firstPoint = m_request.firstPoint;
      line.rawStart = m_request.rawStart;
      line.codes.assign(m_parser.values().begin(), m_parser.values().begin() + m_parser.count());
      m_received = m_request.firstPoint + PointsInLine(m_acquisition, m_parser.count());
      m_FirstPoint = m_received;
      m_lines.push_back(std::move(line));
      if (done()) {
        m_link.removeDataAvailable();
        return;
      }
      fetchNext();
    }
  }
}

bool AcquisitionFetch::run(Clock::duration retry, Clock::duration limit) {
  Clock &clock = m_link.clock();
  const auto end = clock.now() + limit;
  auto nextRetry = clock.now() + retry;
  while (!done() && clock.now() < end && m_link.state() == LinkState::Present) {
    auto deadline = m_pending ? std::min(nextRetry, end) : end;
    if (m_link.waitForByte(deadline)) m_link.ServiceInput();
    if (m_pending && clock.now() >= nextRetry) fetchNext();
    if (!m_pending) nextRetry = clock.now() + retry;
  }
  return done();
}

}  // namespace kvx::device
