// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <memory>

class QSocketNotifier;

namespace kvx::platform {

// Turns SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C in the
// terminal, the terminal closing) into a signal on the window's thread, so
// that the program closes through its normal closing sequence and keeps the
// user's settings and last configuration. The handler only writes one byte to
// a pipe; a second signal of the same kind ends the program at once, for a
// close that hangs. One object a process.
class SignauxFermeture : public QObject {
  Q_OBJECT
 public:
  explicit SignauxFermeture(QObject *parent = nullptr);
  ~SignauxFermeture() override;

  bool actif() const { return m_notifier != nullptr; }

 signals:
  void fermetureDemandee(int signal);

 private:
  void lit();

  std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace kvx::platform
