// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/trigger_wait.h"

#include <cstdlib>
#include <string_view>

#include "device/box_facts.h"
#include "device/box_link.h"

namespace kvx::device {

namespace {
// The read-out of the watched input is refreshed at most this often: the eye
// follows no faster, and the window has better things to do than repaint a
// label at every answer (up to about 480 a second).
constexpr std::chrono::milliseconds kReadoutNoticeGap{40};
}  // namespace

bool ThresholdCrossing::feed(int code) {
  if (m_phase == 0) return true;
  const bool farSide = m_falling ? code > m_threshold : code < m_threshold;
  const bool reached = m_falling ? code <= m_threshold : code >= m_threshold;
  if (m_phase == 1 && farSide) {
    m_phase = 2;
  } else if (m_phase == 2 && reached) {
    m_phase = 0;
    return true;
  }
  return false;
}

bool ChangeDetector::feed(int code) {
  if (!m_aReference) {
    if (code != 0) {
      m_reference = code;
      m_aReference = true;
    }
    return false;
  }
  return std::abs(code - m_reference) > m_width;
}

TriggerWorker::TriggerWorker(BoxLink &link, const TriggerWaitSettings &settings,
                             std::function<void()> notify)
    : m_link(link),
      m_settings(settings),
      m_notify(std::move(notify)),
      m_thread([this] { run(); }) {}

TriggerWorker::~TriggerWorker() {
  requestStop();
  join();
}

void TriggerWorker::join() {
  if (m_thread.joinable()) m_thread.join();
}

TriggerNews TriggerWorker::take() {
  std::lock_guard<std::mutex> lock(m_mutex);
  TriggerNews news = m_news;
  m_news.code.reset();
  m_noticed = false;
  return news;
}

void TriggerWorker::post(std::optional<int> code, TriggerEnd end) {
  bool notify = false;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (code) m_news.code = code;
    if (end != TriggerEnd::Running) m_news.end = end;
    const auto now = m_link.clock().now();
    // The end is told at once; a new code only when the last notice is old.
    const bool due = end != TriggerEnd::Running || now - m_lastNotice >= kReadoutNoticeGap;
    if (!m_noticed && due) {
      m_noticed = notify = true;
      m_lastNotice = now;
    }
  }
  if (notify && m_notify) m_notify();
}

void TriggerWorker::run() {
  const TriggerEnd end = watch();
  // Set before the notice, so that whoever takes the news may join at once.
  m_ended.store(true);
  post(std::nullopt, end);
}

int TriggerWorker::awaitAnswer() {
  const auto sent = m_link.clock().now();
  for (int slice = 1; slice <= kTriggerWaitSlices; ++slice) {
    if (m_link.waitForByte(sent + slice * kTriggerWaitSlice)) return m_link.GetByte();
    if (!m_link.BoxPresent()) break;
  }
  return -1;
}

TriggerEnd TriggerWorker::watch() {
  if (!m_link.BoxPresent()) return TriggerEnd::BoxAbsent;
  ThresholdCrossing crossing(m_settings.threshold, m_settings.falling);
  ChangeDetector change(m_settings.width);
  Clock &clock = m_link.clock();
  auto lastAnswer = clock.now();
  int unanswered = 0;
  const char request = static_cast<char>(m_settings.request);
  // The stop request is read once a pass: a pass never outlasts its ten
  // milliseconds of waiting, and ends with the answer taken off the line.
  while (!m_stop.load()) {
    // A late answer to an earlier request must not be taken for this one.
    m_link.FlushInput();
    m_link.sendRaw(std::string_view(&request, 1));
    ++m_requests;
    const int code = awaitAnswer();
    if (!m_link.BoxPresent()) return TriggerEnd::BoxGone;
    if (code < 0) {
      if (++unanswered >= kTriggerSilentRequests &&
          clock.now() - lastAnswer >= m_link.ticks(kTriggerSilentTicks)) {
        m_link.boxSilent();
        return TriggerEnd::BoxGone;
      }
      continue;
    }
    ++m_answers;
    unanswered = 0;
    lastAnswer = clock.now();
    if (m_settings.change) {
      if (change.feed(code)) return TriggerEnd::Triggered;
    } else {
      if (crossing.feed(code)) return TriggerEnd::Triggered;
      post(code, TriggerEnd::Running);
    }
  }
  return TriggerEnd::Stopped;
}

}  // namespace kvx::device
