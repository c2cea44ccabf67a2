#include "app/toolkit/edit_events.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <stdexcept>

#include "app/test_notifier.h"

TEST(EditEvents, KeysReachHandlersAndErrorsAreReported) {
  TRecordingNotifier notifier;
  QWidget window;
  auto* edit = new QLineEdit(&window);
  auto* events = new TEditEvents(edit);
  int downs = 0, ups = 0;
  events->OnKeyDown = [&](int key) {
    ++downs;
    return key == Qt::Key_Up;  // consume Up only
  };
  events->OnKeyUp = [&](int key) {
    ++ups;
    if (key == Qt::Key_Return) throw std::runtime_error("'abc' is not a valid floating point value");
  };
  QTest::keyClick(edit, Qt::Key_A);
  QTest::keyClick(edit, Qt::Key_Up);
  EXPECT_EQ(edit->text(), "a");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(downs, 3);
  EXPECT_EQ(ups, 3);
  ASSERT_EQ(notifier.Errors.size(), 1u);
  EXPECT_EQ(notifier.Errors[0], "'abc' is not a valid floating point value");
}

TEST(EditEvents, ExitOnlyWhenFocusMovesToAnotherControl) {
  TRecordingNotifier notifier;
  QWidget window;
  auto* edit = new QLineEdit(&window);
  auto* other = new QLineEdit(&window);
  auto* events = new TEditEvents(edit);
  int exits = 0;
  events->OnExit = [&] { ++exits; };
  window.show();
  edit->setFocus(Qt::OtherFocusReason);
  QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
  QApplication::sendEvent(edit, &popup);
  QFocusEvent deactivate(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(edit, &deactivate);
  EXPECT_EQ(exits, 0);
  QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(edit, &tab);
  EXPECT_EQ(exits, 1);
  (void)other;
}
