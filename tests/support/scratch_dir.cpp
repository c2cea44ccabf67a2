#include "support/scratch_dir.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

TScratchDir::TScratchDir(std::string_view Prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (std::string(Prefix) + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::system_error(errno, std::generic_category(), "cannot make a folder like " + pattern);
  FPath = pattern;
  // testing::TempDir() reads TEST_TMPDIR before TMPDIR, so a TEST_TMPDIR
  // given from outside must be replaced too.
  if (setenv("TMPDIR", FPath.c_str(), 1) != 0 || setenv("TEST_TMPDIR", FPath.c_str(), 1) != 0)
    throw std::system_error(errno, std::generic_category(), "setenv");
}

TScratchDir::~TScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

std::string_view ScratchPrefix(const char* Argv0) {
  const std::string_view path = Argv0 == nullptr ? "" : Argv0;
  const std::string_view name = path.substr(path.find_last_of('/') + 1);
  return name.empty() ? "test" : name;
}
