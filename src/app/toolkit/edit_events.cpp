#include "app/toolkit/edit_events.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

#include "app/toolkit/error_report.h"

TEditEvents::TEditEvents(QLineEdit* edit) : QObject(edit) { edit->installEventFilter(this); }

bool TEditEvents::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      // Noted before the handler runs: a box it opens takes the focus, which
      // forgets the press again (below).
      NotePress(key);
      if (!OnKeyDown) break;
      bool consumed = false;
      RunGuarded([&] { consumed = OnKeyDown(key); });
      if (consumed) return true;
      break;
    }
    case QEvent::KeyRelease: {
      auto* keyEvent = static_cast<QKeyEvent*>(event);
      // Held keys repeat as release-press pairs; only the last release ends the press.
      if (keyEvent->isAutoRepeat()) break;
      const int key = keyEvent->key();
      if (TakePress(key) && OnKeyUp) RunGuarded([&] { OnKeyUp(key); });
      break;
    }
    case QEvent::FocusOut: {
      // Whatever is released after the focus left belongs to a press made elsewhere.
      FPressedKeys.clear();
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (OnExit && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        RunGuarded(OnExit);
      break;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

void TEditEvents::NotePress(int Key) {
  if (std::find(FPressedKeys.begin(), FPressedKeys.end(), Key) == FPressedKeys.end()) FPressedKeys.push_back(Key);
}

bool TEditEvents::TakePress(int Key) {
  const auto found = std::find(FPressedKeys.begin(), FPressedKeys.end(), Key);
  if (found == FPressedKeys.end()) return false;
  FPressedKeys.erase(found);
  return true;
}
