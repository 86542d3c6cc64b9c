// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/radio_group.h"

// Helpers of the settings dialogs' tests.
namespace kvx::ui::test {

// A modal window runs its own event loop, so the test that opened it only
// gets control back once it is closed: this runs `action` from that loop as
// soon as a modal window of type T is the active one.
template <typename T>
void QuandOuvert(QObject *contexte, std::function<void(T *)> action) {
  auto *sonde = new QTimer(contexte);
  sonde->setInterval(10);
  QObject::connect(sonde, &QTimer::timeout, contexte, [sonde, action] {
    T *modal = qobject_cast<T *>(QApplication::activeModalWidget());
    if (modal == nullptr) return;
    sonde->stop();
    sonde->deleteLater();
    action(modal);
  });
  sonde->start();
}

// Runs the event loop until `fait` holds; false after `delaiMs`. QTRY_* only
// fail inside a QTest run, so window tests under gtest assert on this.
inline bool AttendQue(const std::function<bool()> &fait, int delaiMs = 5000) {
  QElapsedTimer attente;
  attente.start();
  while (!fait()) {
    if (attente.elapsed() > delaiMs) return false;
    QTest::qWait(5);
  }
  return true;
}

// What the user reads on a control: a box's title, a button's or label's text.
inline QString TexteDe(const QWidget *w) {
  if (const auto *b = qobject_cast<const QGroupBox *>(w)) return b->title();
  if (const auto *b = qobject_cast<const QAbstractButton *>(w)) return b->text();
  if (const auto *l = qobject_cast<const QLabel *>(w)) return l->text();
  return QStringLiteral("<%1>").arg(QString::fromLatin1(w->metaObject()->className()));
}

inline QStringList Items(const TRadioGroup *g) {
  QStringList l;
  for (int i = 0; i < g->count(); ++i) l << g->item(i);
  return l;
}

// A click as the user makes it, on a button that can be seen.
inline void Clique(QWidget *dialogue, const char *nom) {
  auto *b = dialogue->findChild<QAbstractButton *>(QString::fromLatin1(nom));
  ASSERT_NE(b, nullptr) << nom;
  ASSERT_TRUE(b->isVisible()) << nom;
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(4, b->height() / 2));
}

}  // namespace kvx::ui::test
