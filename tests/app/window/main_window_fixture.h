#pragma once
// Test-only: the main window built in a scratch working directory (so the
// scheme file is found or not as the test wants), shown on the offscreen
// platform.

#include <filesystem>
#include <memory>
#include <string>

#include "app/test_notifier.h"
#include "app/window/main_window.h"

// The whole content of a file (binary); empty when it cannot be read.
std::string ReadFile(const std::string& path);

class TMainWindowUnderTest {
 public:
  // SchemeFile: the text to put into "ColorBrewer_all_schemes.txt", or empty
  // for no file.
  explicit TMainWindowUnderTest(const std::string& SchemeFile = "");
  ~TMainWindowUnderTest();
  TMainWindowUnderTest(const TMainWindowUnderTest&) = delete;
  TMainWindowUnderTest& operator=(const TMainWindowUnderTest&) = delete;

  TForm1& Form() { return *FForm; }
  TRecordingNotifier Notifier;

 private:
  std::filesystem::path FPreviousDir;
  std::filesystem::path FDir;
  std::unique_ptr<TForm1> FForm;
};
