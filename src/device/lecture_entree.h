// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The live bar of the analog-input and calibration dialogs: the raw code of
// one box input, asked for with the single-byte request (64 + input) at the
// dialog's pace. A silent box makes each request wait out its time-out, so the
// requests go from a worker thread of their own, to which the window lends the
// link while the dialog is open; the dialog's timer only takes the last code.

#include <atomic>
#include <chrono>
#include <thread>

#include "device/box_link.h"

namespace kvx::device {

class LectureEntree {
 public:
  // Lends the link and starts asking for input `entree` every `periode`
  // (nothing is asked when no box is there). The link is taken back when
  // the reading ends, or at once when the window needs the link itself.
  LectureEntree(BoxLink &link, int entree, std::chrono::milliseconds periode);
  ~LectureEntree();  // ends the reading and takes the link back
  LectureEntree(const LectureEntree &) = delete;
  LectureEntree &operator=(const LectureEntree &) = delete;

  // The input to read from the next request on (0..7).
  void FixeEntree(int entree);
  // The code of the last answer, 0..255, or -1 when the last request went
  // unanswered or nothing was read yet.
  int DernierCode() const { return m_code.load(); }
  // Ends the reading and takes the link back; further calls do nothing.
  void Arrete();
  // Requests sent so far (each costs the link one byte and its answer).
  unsigned Requetes() const { return m_requetes.load(); }

 private:
  void Boucle();
  int Lit(std::uint8_t requete);
  // Sleeps up to `jusqua`, in slices short enough for the stop to be seen.
  void Attend(Clock::time_point jusqua);

  BoxLink &m_link;
  std::chrono::milliseconds m_periode;
  std::atomic<int> m_entree;
  std::atomic<int> m_code{-1};
  std::atomic<bool> m_arret{false};
  std::atomic<unsigned> m_requetes{0};
  bool m_prete = false;  // the link is lent (window's thread only)
  std::thread m_thread;
};

}  // namespace kvx::device
