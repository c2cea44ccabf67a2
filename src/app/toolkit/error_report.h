#pragma once
// Where the tool's message boxes go. The program shows them as modal boxes;
// tests install a recorder so no test ever opens a dialog.

#include <functional>
#include <string>

class TNotifier {
 public:
  virtual ~TNotifier() = default;
  // The toolkit's standard error report for an exception leaving a handler.
  virtual void ShowError(const std::string& message) = 0;
  // A plain message box with a caption and an OK button.
  virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
  // An information dialog.
  virtual void ShowInformation(const std::string& text) = 0;
};

// The notifier in force: a message-box one unless a TScopedNotifier is alive.
TNotifier& Notifier();

// Installs a notifier for its lifetime (tests), restoring the previous one.
class TScopedNotifier {
 public:
  explicit TScopedNotifier(TNotifier& notifier);
  ~TScopedNotifier();
  TScopedNotifier(const TScopedNotifier&) = delete;
  TScopedNotifier& operator=(const TScopedNotifier&) = delete;

 private:
  TNotifier* FPrevious;
};

// Runs an event handler; an exception that leaves it is shown through the
// notifier and the tool carries on. Returns false when one was caught.
bool RunGuarded(const std::function<void()>& handler);
