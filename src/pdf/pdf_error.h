#pragma once
// Exceptions of the PDF writer. The library stands alone, so it has its own
// types rather than the application's.
//
// EPdfError: an object cannot be built or written (bad input); carries the
// message only.
// EPdfAssertionFailed: a caller broke a precondition; carries the message and
// the file and line of the failed check. PdfRequire raises it.

#include <stdexcept>
#include <string>
#include <string_view>

class EPdfError : public std::runtime_error {
 public:
  explicit EPdfError(const std::string& message) : std::runtime_error(message) {}
};

class EPdfAssertionFailed : public std::logic_error {
 public:
  EPdfAssertionFailed(std::string_view message, const char* file, unsigned line)
      : std::logic_error(std::string(message) + " (" + file + ":" + std::to_string(line) + ")"),
        FMessage(message),
        FFile(file),
        FLine(line) {}

  // The message text without the location.
  const std::string& Message() const noexcept { return FMessage; }
  const char* File() const noexcept { return FFile; }
  unsigned Line() const noexcept { return FLine; }

 private:
  std::string FMessage;
  const char* FFile;
  unsigned FLine;
};

// Raises EPdfAssertionFailed with `message` unless `condition` holds. The
// location comes from the compiler builtins rather than std::source_location,
// which clang 14 cannot build with this standard library (fuzz builds).
inline void PdfRequire(bool condition, std::string_view message,
                       const char* file = __builtin_FILE(), unsigned line = __builtin_LINE()) {
  if (!condition) throw EPdfAssertionFailed(message, file, line);
}
