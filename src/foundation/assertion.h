#pragma once
// The project's one exception type for broken preconditions (a caller's
// mistake): it carries the message text and the source file and line of the
// check that failed.

#include <source_location>
#include <stdexcept>
#include <string>
#include <string_view>

class EAssertionFailed : public std::logic_error {
 public:
  EAssertionFailed(std::string_view message, std::source_location where);

  // The message text without the location.
  const std::string& Message() const noexcept { return FMessage; }
  const char* File() const noexcept { return FFile; }
  unsigned Line() const noexcept { return FLine; }

 private:
  std::string FMessage;
  const char* FFile;
  unsigned FLine;
};

// Raises EAssertionFailed with `message` unless `condition` holds.
inline void Require(bool condition, std::string_view message,
                    std::source_location where = std::source_location::current()) {
  if (!condition) throw EAssertionFailed(message, where);
}
