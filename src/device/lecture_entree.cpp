// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/lecture_entree.h"

#include <algorithm>
#include <string_view>

#include "device/box_facts.h"

namespace kvx::device {

namespace {
// The stop is seen within this: closing a dialog never waits a whole
// time-out of a silent box.
constexpr std::chrono::milliseconds kTranche{5};
// A box that answers at all answers a single-byte request within this: its
// byte and ours take about a millisecond each at 9600 baud.
constexpr std::chrono::milliseconds kDerniereReponse{15};
}  // namespace

LectureEntree::LectureEntree(BoxLink &link, int entree, std::chrono::milliseconds periode)
    : m_link(link), m_periode(periode), m_entree(std::clamp(entree, 0, 7)) {
  if (!m_link.BoxPresent()) return;
  m_link.lend([this] { Arrete(); });
  m_prete = true;
  m_thread = std::thread([this] { Boucle(); });
}

LectureEntree::~LectureEntree() {
  Arrete();
}

void LectureEntree::FixeEntree(int entree) {
  m_entree.store(std::clamp(entree, 0, 7));
  m_code.store(-1);  // the last code was of the other input
}

void LectureEntree::Arrete() {
  m_arret.store(true);
  if (m_thread.joinable()) m_thread.join();
  if (m_prete) {
    m_prete = false;
    m_link.takeBack();
  }
}

void LectureEntree::Attend(Clock::time_point jusqua) {
  Clock &clock = m_link.clock();
  while (!m_arret.load()) {
    const auto maintenant = clock.now();
    if (maintenant >= jusqua) return;
    clock.sleepFor(std::min<Clock::duration>(jusqua - maintenant, kTranche));
  }
}

int LectureEntree::Lit(std::uint8_t requete) {
  // A late answer to the last request must not be taken for this one.
  m_link.FlushInput();
  const char octet = static_cast<char>(requete);
  m_link.sendRaw(std::string_view(&octet, 1));
  ++m_requetes;
  const auto envoi = m_link.clock().now();
  const auto limite = envoi + m_link.ticks(kReadByteTicks);
  while (m_link.BoxPresent()) {
    // Stopped meanwhile: the answer already on its way is still taken off the
    // line, or the window's next read would take it for its own.
    const auto fin = m_arret.load() ? std::min(limite, envoi + kDerniereReponse) : limite;
    if (m_link.waitForByte(std::min(fin, m_link.clock().now() + kTranche))) return m_link.GetByte();
    if (m_link.clock().now() >= fin) break;
  }
  return -1;
}

void LectureEntree::Boucle() {
  Clock &clock = m_link.clock();
  while (!m_arret.load() && m_link.BoxPresent()) {
    const auto debut = clock.now();
    const int entree = m_entree.load();
    const int code = Lit(static_cast<std::uint8_t>(kReadInputByte + entree));
    if (m_arret.load()) return;
    // An answer for the input the user just left is not shown for the new one.
    if (m_entree.load() == entree) m_code.store(code);
    Attend(debut + m_periode);
  }
}

}  // namespace kvx::device
