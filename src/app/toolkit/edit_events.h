#pragma once
// Key and exit events of an edit box, as the tool's handlers expect them:
// key down (Enter, Up, Down and the rest), key up, and "exit" when the focus
// moves to another control of the window. Losing the focus to another window
// or to a popup (a message box, a combo list) is not an exit: an error box
// shown by the exit handler would otherwise fire it again.
//
// A key release counts only when the press of that key reached this edit
// while it had the focus. The key that closes a message box on its press
// releases into the edit the box hands the focus back to; counted, an Enter
// that closes the error box of a key-up handler would open the box again.

#include <QObject>
#include <functional>
#include <vector>

class QLineEdit;

class TEditEvents : public QObject {
  Q_OBJECT
 public:
  // Installs itself on `edit`, which becomes its parent.
  explicit TEditEvents(QLineEdit* edit);

  // Each handler runs guarded (see RunGuarded). A key-down handler that
  // returns true consumes the key.
  std::function<bool(int key)> OnKeyDown;
  std::function<void(int key)> OnKeyUp;
  std::function<void()> OnExit;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Keys whose press this edit has seen and whose release is still to come.
  std::vector<int> FPressedKeys;
  void NotePress(int Key);
  bool TakePress(int Key);
};
