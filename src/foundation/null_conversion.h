#pragma once
// Lenient conversion of a missing (Null) value, such as the text of an XML
// element that has none or a null cell: it converts to 0 or to the empty
// string, never to an error.

#include <optional>
#include <string>

// The value, or T{} (0, false, "") when it is missing.
template <class T>
T NullToDefault(const std::optional<T>& value) {
  return value ? *value : T{};
}

inline std::string NullToEmptyString(const std::optional<std::string>& value) { return NullToDefault(value); }
