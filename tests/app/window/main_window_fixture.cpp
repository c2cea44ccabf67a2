#include "app/window/main_window_fixture.h"

#include <QTest>
#include <atomic>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {
std::filesystem::path ScratchDir() {
  static std::atomic<int> counter{0};
  auto dir = std::filesystem::temp_directory_path() /
             ("main_window_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
  std::filesystem::create_directories(dir);
  return dir;
}
}  // namespace

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TMainWindowUnderTest::TMainWindowUnderTest(const std::string& SchemeFile)
    : FPreviousDir(std::filesystem::current_path()), FDir(ScratchDir()) {
  if (!SchemeFile.empty()) std::ofstream(FDir / "ColorBrewer_all_schemes.txt", std::ios::binary) << SchemeFile;
  std::filesystem::current_path(FDir);
  FForm = std::make_unique<TForm1>();
  FForm->show();
  (void)QTest::qWaitForWindowExposed(FForm.get());
}

TMainWindowUnderTest::~TMainWindowUnderTest() {
  FForm.reset();
  std::filesystem::current_path(FPreviousDir);
  std::error_code ignored;
  std::filesystem::remove_all(FDir, ignored);
}
