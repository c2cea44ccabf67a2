#pragma once
// The project's one exception type for broken preconditions (a caller's
// mistake): it carries the message text and the source file and line of the
// check that failed.

#include <stdexcept>
#include <string>
#include <string_view>
#include <version>

#ifdef __cpp_lib_source_location
#include <source_location>
using TSourceLocation = std::source_location;
#else
// The fuzzing compiler's library lacks std::source_location; the builtins
// behind it give the same file and line.
struct TSourceLocation {
  static constexpr TSourceLocation current(const char* file = __builtin_FILE(),
                                           unsigned line = __builtin_LINE()) noexcept {
    TSourceLocation where;
    where.FFile = file;
    where.FLine = line;
    return where;
  }
  constexpr const char* file_name() const noexcept { return FFile; }
  constexpr unsigned line() const noexcept { return FLine; }

 private:
  const char* FFile = "";
  unsigned FLine = 0;
};
#endif

class EAssertionFailed : public std::logic_error {
 public:
  EAssertionFailed(std::string_view message, TSourceLocation where);

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
                    TSourceLocation where = TSourceLocation::current()) {
  if (!condition) throw EAssertionFailed(message, where);
}

// As Require, for a message that costs to build (it allocates): `message()`
// is called only when `condition` fails, so a check in a hot loop costs
// nothing while it holds.
template <class TMakeMessage>
void RequireWith(bool condition, TMakeMessage&& message, TSourceLocation where = TSourceLocation::current()) {
  if (!condition) throw EAssertionFailed(message(), where);
}
