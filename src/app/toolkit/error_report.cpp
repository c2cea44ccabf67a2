#include "app/toolkit/error_report.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <exception>

namespace {

class TMessageBoxNotifier final : public TNotifier {
 public:
  void ShowError(const std::string& message) override {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                          QString::fromStdString(message));
  }
  void ShowMessage(const std::string& caption, const std::string& text) override {
    QMessageBox::information(QApplication::activeWindow(), QString::fromStdString(caption),
                             QString::fromStdString(text));
  }
  void ShowInformation(const std::string& text) override {
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(),
                             QString::fromStdString(text));
  }
};

// The one process-wide hook: the toolkit's error report is process-wide too.
TNotifier*& CurrentNotifier() {
  static TMessageBoxNotifier boxes;
  static TNotifier* current = &boxes;
  return current;
}

}  // namespace

TNotifier& Notifier() { return *CurrentNotifier(); }

TScopedNotifier::TScopedNotifier(TNotifier& notifier) : FPrevious(CurrentNotifier()) {
  CurrentNotifier() = &notifier;
}

TScopedNotifier::~TScopedNotifier() { CurrentNotifier() = FPrevious; }

bool RunGuarded(const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    Notifier().ShowError(e.what());
  } catch (...) {
    Notifier().ShowError("Unknown error");
  }
  return false;
}
