// A fresh folder of the test process's own under the temporary directory.
#pragma once

#include <filesystem>
#include <string_view>

// Makes a new folder "<prefix>-XXXXXX" under the temporary directory
// (TMPDIR, else /tmp) with mkdtemp and points TMPDIR and TEST_TMPDIR at it, so
// std::filesystem::temp_directory_path(), testing::TempDir(), Qt and any
// program the test starts all work inside it. Removes the folder and all in
// it when destroyed. One per process, made in main() before any test runs;
// not copyable.
class TScratchDir {
 public:
  explicit TScratchDir(std::string_view Prefix);
  ~TScratchDir();
  TScratchDir(const TScratchDir&) = delete;
  TScratchDir& operator=(const TScratchDir&) = delete;

  const std::filesystem::path& Path() const { return FPath; }

 private:
  std::filesystem::path FPath;
};

// The prefix for a test program's folder: the program's file name.
std::string_view ScratchPrefix(const char* Argv0);
