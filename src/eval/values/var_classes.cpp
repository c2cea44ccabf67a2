// The class table of the eleven value classes: the class methods (type name,
// type code, accepted and promoted classes) and the two virtual constructors.
#include "eval/values/var.h"

#include <array>

#include "eval/language/number_reading.h"
#include "eval/values/derived_vars.h"

namespace {

using K = TJUXVarKind;

constexpr uint16_t Bits(std::initializer_list<K> kinds) {
  uint16_t bits = 0;
  for (K kind : kinds) bits = static_cast<uint16_t>(bits | JUXKindBit(kind));
  return bits;
}

template <class T>
std::unique_ptr<TJUXVar> CreateZero() {
  return std::make_unique<T>();
}

template <class T>
std::unique_ptr<TJUXVar> CreateNumberFromText(std::string_view text, const TFormatSettings& settings) {
  auto value = std::make_unique<T>();
  if (const auto number = ReadJUXFloat(text, settings)) value->SetValue(*number);
  return value;
}

std::unique_ptr<TJUXVar> CreateStringFromText(std::string_view text, const TFormatSettings&) {
  return std::make_unique<TJUXVar_String>(std::string(text));
}

std::unique_ptr<TJUXVar> CreateBooleanFromText(std::string_view text, const TFormatSettings&) {
  return std::make_unique<TJUXVar_Boolean>(JUXSameTextASCII(text, "true"));
}

std::unique_ptr<TJUXVar> CreateIntegerFromText(std::string_view text, const TFormatSettings&) {
  return std::make_unique<TJUXVar_Integer>(ReadJUXInteger(text).value_or(0));
}

std::unique_ptr<TJUXVar> CreateScopeFromText(std::string_view, const TFormatSettings&) {
  return std::make_unique<TJUXVar_Scope>();
}

constexpr int8_t kNone = -1;
constexpr int8_t Kind(K kind) { return static_cast<int8_t>(kind); }

// Rows in TJUXVarKind order.
const std::array<TJUXVarClass, kJUXVarKindCount> kVarClasses = {{
    {K::String, "string", 0, Bits({K::String}), kNone, &CreateZero<TJUXVar_String>, &CreateStringFromText},
    {K::Boolean, "boolean", 0, Bits({K::Boolean}), kNone, &CreateZero<TJUXVar_Boolean>, &CreateBooleanFromText},
    {K::Integer, "integer", 1, Bits({K::Integer}), Kind(K::Double), &CreateZero<TJUXVar_Integer>,
     &CreateIntegerFromText},
    {K::Double, "double", 2, Bits({K::Integer, K::Double}), kNone, &CreateZero<TJUXVar_Double>,
     &CreateNumberFromText<TJUXVar_Double>},
    {K::DateTime, "datetime", 3, Bits({K::Date, K::Time, K::DateTime, K::Double, K::Integer}), kNone,
     &CreateZero<TJUXVar_DateTime>, &CreateNumberFromText<TJUXVar_DateTime>},
    {K::Date, "date", 4, Bits({K::Date, K::Double, K::Integer}), Kind(K::DateTime), &CreateZero<TJUXVar_Date>,
     &CreateNumberFromText<TJUXVar_Date>},
    {K::Time, "time", 5, Bits({K::Time, K::Double}), Kind(K::DateTime), &CreateZero<TJUXVar_Time>,
     &CreateNumberFromText<TJUXVar_Time>},
    {K::Duration, "duration", 6, Bits({K::Duration, K::Double, K::Integer}), kNone, &CreateZero<TJUXVar_Duration>,
     &CreateNumberFromText<TJUXVar_Duration>},
    {K::Currency, "currency", 7, Bits({K::Currency, K::Double, K::Integer}), kNone, &CreateZero<TJUXVar_Currency>,
     &CreateNumberFromText<TJUXVar_Currency>},
    {K::Percentage, "percentage", 8, Bits({K::Percentage, K::Double, K::Integer}), kNone,
     &CreateZero<TJUXVar_Percentage>, &CreateNumberFromText<TJUXVar_Percentage>},
    {K::Scope, "Scope", 0, Bits({K::Scope}), kNone, &CreateZero<TJUXVar_Scope>, &CreateScopeFromText},
}};

}  // namespace

const TJUXVarClass& JUXVarClass(TJUXVarKind kind) { return kVarClasses[static_cast<size_t>(kind)]; }
