#include "foundation/assertion.h"

namespace {
std::string Describe(std::string_view message, const TSourceLocation& where) {
  std::string text(message);
  text += " (";
  text += where.file_name();
  text += ", line ";
  text += std::to_string(where.line());
  text += ")";
  return text;
}
}  // namespace

EAssertionFailed::EAssertionFailed(std::string_view message, TSourceLocation where)
    : std::logic_error(Describe(message, where)),
      FMessage(message),
      FFile(where.file_name()),
      FLine(where.line()) {}
