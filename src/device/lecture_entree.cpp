#include "device/lecture_entree.h"

#include <algorithm>
#include <string_view>

#include "device/box_facts.h"

namespace kvx::device {

namespace {
// The stop is seen within this: closing a dialog never waits a whole
// time-out of a silent box.
constexpr std::chrono::milliseconds kTranche{5};
}  // namespace

LectureEntree::LectureEntree(BoxLink &link, int entree, std::chrono::milliseconds periode)
    : m_link(link), m_periode(periode), m_entree(std::clamp(entree, 0, 7)) {
  if (!m_link.BoxPresent()) return;
  m_link.lend([this] { Arrete(); });
  m_prete = true;
  m_thread = std::thread([this] { Boucle(); });
}

LectureEntree::~LectureEntree() { Arrete(); }

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
    std::this_thread::sleep_for(std::min<Clock::duration>(jusqua - maintenant, kTranche));
  }
}

int LectureEntree::Lit(std::uint8_t requete) {
  // A late answer to the last request must not be taken for this one.
  m_link.FlushInput();
  const char octet = static_cast<char>(requete);
  m_link.sendRaw(std::string_view(&octet, 1));
  ++m_requetes;
  const auto limite = m_link.clock().now() + m_link.ticks(kReadByteTicks);
  while (!m_arret.load() && m_link.BoxPresent()) {
    const auto tranche = std::min(limite, m_link.clock().now() + kTranche);
    if (m_link.waitForByte(tranche)) return m_link.GetByte();
    if (m_link.clock().now() >= limite) break;
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
