#include "app/toolkit/edit_events.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "app/toolkit/error_report.h"

TEditEvents::TEditEvents(QLineEdit* edit) : QObject(edit) { edit->installEventFilter(this); }

bool TEditEvents::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      if (!OnKeyDown) break;
      const int key = static_cast<QKeyEvent*>(event)->key();
      bool consumed = false;
      RunGuarded([&] { consumed = OnKeyDown(key); });
      if (consumed) return true;
      break;
    }
    case QEvent::KeyRelease: {
      auto* keyEvent = static_cast<QKeyEvent*>(event);
      if (OnKeyUp && !keyEvent->isAutoRepeat()) {
        const int key = keyEvent->key();
        RunGuarded([&] { OnKeyUp(key); });
      }
      break;
    }
    case QEvent::FocusOut: {
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
