// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/greek_keys.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTest>
#include <memory>

#include "ui_test_app.h"

namespace kvx::ui {
namespace {

TEST(LettreGrecque, FollowsTheTableForEveryLetter) {
  const char16_t minuscules[] = u"αβχδεφγηιψkλ\u00B5νoπθρστuvωξyζ";
  const char16_t majuscules[] = u"ABCΔEΦΓHΙΨKΛMNOΠΘRΣTUVΩΞYZ";
  for (int i = 0; i < 26; ++i) {
    SCOPED_TRACE(static_cast<char>('A' + i));
    EXPECT_EQ(LettreGrecque(static_cast<char>('A' + i), false), minuscules[i]);
    EXPECT_EQ(LettreGrecque(static_cast<char>('a' + i), false), minuscules[i]);
    EXPECT_EQ(LettreGrecque(static_cast<char>('A' + i), true), majuscules[i]);
  }
  // The capital iota is the Greek one, not the Latin I.
  EXPECT_EQ(LettreGrecque('I', true), u'\u0399');
  for (char c : {'@', '[', '`', '{', '0', '\0'}) EXPECT_EQ(LettreGrecque(c, false), 0);
}

class GreekKeyFilterTest : public testing::Test, test::AvecApplication {
 protected:
  void SetUp() override {
    test::Application().installEventFilter(&m_filtre);
    m_edit.setText(QStringLiteral("t"));
    m_edit.end(false);
  }
  void TearDown() override { test::Application().removeEventFilter(&m_filtre); }

  TGreekKeyFilter m_filtre;
  QLineEdit m_edit;
};

TEST_F(GreekKeyFilterTest, CtrlLetterTypesTheGreekLetter) {
  QTest::keyClick(&m_edit, Qt::Key_D, Qt::ControlModifier);
  QTest::keyClick(&m_edit, Qt::Key_W, Qt::ControlModifier);
  QTest::keyClick(&m_edit, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(m_edit.text(), QStringLiteral("tδωΔ"));
}

TEST_F(GreekKeyFilterTest, CtrlCCopiesASelectionAndTypesChiWithout) {
  m_edit.setText(QStringLiteral("Vsa"));
  m_edit.selectAll();
  QApplication::clipboard()->clear();
  QTest::keyClick(&m_edit, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Vsa"));
  EXPECT_EQ(m_edit.text(), QStringLiteral("Vsa"));
  m_edit.end(false);
  QTest::keyClick(&m_edit, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(m_edit.text(), QStringLiteral("Vsaχ"));
}

TEST_F(GreekKeyFilterTest, CtrlXCutsAndCtrlZLeavesASelectionAlone) {
  m_edit.setText(QStringLiteral("abc"));
  m_edit.setSelection(1, 1);
  QTest::keyClick(&m_edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(m_edit.text(), QStringLiteral("abc"));
  QTest::keyClick(&m_edit, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(m_edit.text(), QStringLiteral("ac"));
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("b"));
}

TEST_F(GreekKeyFilterTest, CtrlVStillPastes) {
  QApplication::clipboard()->setText(QStringLiteral("=2"));
  QTest::keyClick(&m_edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(m_edit.text(), QStringLiteral("t=2"));
  // With Shift the capital column applies even to V.
  QTest::keyClick(&m_edit, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(m_edit.text(), QStringLiteral("t=2V"));
}

TEST_F(GreekKeyFilterTest, AltGrAndPlainKeysPassUntouched) {
  QTest::keyClick(&m_edit, Qt::Key_A);
  // AltGr arrives as Ctrl+Alt with the character it types.
  QKeyEvent euro(QEvent::KeyPress, Qt::Key_E, Qt::ControlModifier | Qt::AltModifier,
                 QStringLiteral("€"));
  QCoreApplication::sendEvent(&m_edit, &euro);
  EXPECT_EQ(m_edit.text(), QStringLiteral("ta€"));
}

TEST_F(GreekKeyFilterTest, EditMenusNameOnlyTheShortcutsThatKeepTheirMeaning) {
  QSpinBox spin;
  for (QWidget *edit : {static_cast<QWidget *>(&m_edit), static_cast<QWidget *>(&spin)}) {
    QLineEdit *ligne = edit == &m_edit ? &m_edit : spin.findChild<QLineEdit *>();
    ASSERT_NE(ligne, nullptr);
    std::unique_ptr<QMenu> menu(ligne->createStandardContextMenu());
    QStringList raccourcis;
    for (QAction *a : menu->actions()) {
      const qsizetype tab = a->text().indexOf(QLatin1Char('\t'));
      if (tab >= 0) raccourcis << a->text().mid(tab + 1);
    }
    const QString copier = QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText);
    const QString coller = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    EXPECT_TRUE(raccourcis.contains(copier)) << raccourcis.join(u' ').toStdString();
    EXPECT_TRUE(raccourcis.contains(coller));
    for (const char *grec : {"Ctrl+A", "Ctrl+Z", "Ctrl+Y", "Ctrl+Shift+Z"})
      EXPECT_FALSE(raccourcis.contains(QString::fromLatin1(grec))) << grec;
  }
}

}  // namespace
}  // namespace kvx::ui
