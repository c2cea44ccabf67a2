#pragma once
// A notifier that records message boxes instead of showing them.

#include <string>
#include <vector>

#include "app/toolkit/error_report.h"

class TRecordingNotifier final : public TNotifier {
 public:
  TRecordingNotifier() : FScope(*this) {}
  void ShowError(const std::string& message) override { Errors.push_back(message); }
  void ShowMessage(const std::string& caption, const std::string& text) override {
    Messages.push_back(caption + ": " + text);
  }
  void ShowInformation(const std::string& text) override { Messages.push_back(text); }

  std::vector<std::string> Errors;
  std::vector<std::string> Messages;

 private:
  TScopedNotifier FScope;
};
