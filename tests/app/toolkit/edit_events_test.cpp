#include "app/toolkit/edit_events.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <functional>
#include <stdexcept>
#include <vector>

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

// A release counts as a key-up only when the press of that key reached the
// same edit and the focus stayed there. A message box closes on the press of
// Enter and the window system hands the release to the edit that gets the
// focus back: that release is no key-up of the edit.
TEST(EditEvents, AKeyUpNeedsItsPressOnTheSameEdit) {
  TRecordingNotifier notifier;
  QWidget window;
  auto* edit = new QLineEdit(&window);
  auto* other = new QLineEdit(&window);
  auto* events = new TEditEvents(edit);
  std::vector<int> ups;
  events->OnKeyUp = [&](int key) { ups.push_back(key); };

  struct TCase {
    const char* Name;
    std::function<void()> Send;
    std::vector<int> Ups;
  };
  const TCase cases[] = {
      {"press and release here",
       [&] { QTest::keyClick(edit, Qt::Key_Return); },
       {Qt::Key_Return}},
      {"release alone",
       [&] { QTest::keyRelease(edit, Qt::Key_Return); },
       {}},
      {"press elsewhere, release here",
       [&] {
         QTest::keyPress(other, Qt::Key_Return);
         QTest::keyRelease(edit, Qt::Key_Return);
       },
       {}},
      {"press of another key",
       [&] {
         QTest::keyPress(edit, Qt::Key_A);
         QTest::keyRelease(edit, Qt::Key_Return);
         QTest::keyRelease(edit, Qt::Key_A);
       },
       {Qt::Key_A}},
      {"the focus leaves between press and release",
       [&] {
         QTest::keyPress(edit, Qt::Key_Return);
         QFocusEvent deactivate(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
         QApplication::sendEvent(edit, &deactivate);
         QTest::keyRelease(edit, Qt::Key_Return);
       },
       {}},
      {"one press, one key-up",
       [&] {
         QTest::keyPress(edit, Qt::Key_Return);
         QTest::keyRelease(edit, Qt::Key_Return);
         QTest::keyRelease(edit, Qt::Key_Return);
       },
       {Qt::Key_Return}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ups.clear();
    c.Send();
    EXPECT_EQ(ups, c.Ups);
  }
}
