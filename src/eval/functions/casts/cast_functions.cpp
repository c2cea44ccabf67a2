// The registry rows of the type casts, conditionals, set aggregates and clock.
#include "eval/functions/casts/cast_functions.h"
#include "eval/functions/casts/clock_functions.h"
#include "eval/functions/casts/conditional_functions.h"
#include "eval/functions/casts/set_aggregates.h"

#include <array>

namespace {

constexpr std::array<TJUXFunctionInfo, 23> kCastFunctions = {{
    {"isempty", JUXFunctionClass<TJUXFunc_IsEmpty>(), "Returns true when a set has no elements",
     "(ASet [scope]): [boolean]", {"isempty", "empty", "set", "none"}, jfcSet},
    {"now", JUXFunctionClass<TJUXFunc_Now>(), "Returns the current local date and time", ": [datetime]",
     {"now", "current", "time", "clock"}, jfcDateTime},
    {"today", JUXFunctionClass<TJUXFunc_Today>(), "Returns the current local date", ": [date]",
     {"today", "current", "date", "clock"}, jfcDateTime},
    {"integer", JUXFunctionClass<TJUXFunc_CastInteger>(), "Converts a value into an integer",
     "(AValue [any]): [integer]", {"integer", "cast", "convert", "int"}, jfcTypeCast},
    {"double", JUXFunctionClass<TJUXFunc_CastDouble>(), "Converts a value into a double",
     "(AValue [any]): [double]", {"double", "cast", "convert", "float", "real"}, jfcTypeCast},
    {"boolean", JUXFunctionClass<TJUXFunc_CastBool>(), "Converts a value into a boolean",
     "(AValue [any]): [boolean]", {"boolean", "cast", "convert", "bool"}, jfcTypeCast},
    {"string", JUXFunctionClass<TJUXFunc_CastString>(), "Converts a value into its text",
     "(AValue [any]): [string]", {"string", "cast", "convert", "text"}, jfcTypeCast},
    {"currency", JUXFunctionClass<TJUXFunc_CastCurrency>(), "Converts a value into a currency amount",
     "(AValue [any]): [currency]", {"currency", "cast", "convert", "money"}, jfcTypeCast},
    {"percentage", JUXFunctionClass<TJUXFunc_CastPercentage>(), "Converts a value into a percentage",
     "(AValue [any]): [percentage]", {"percentage", "cast", "convert", "percent", "%"}, jfcTypeCast},
    {"datetime", JUXFunctionClass<TJUXFunc_CastDateTime>(), "Converts a value into a date and time",
     "(AValue [any]): [datetime]", {"datetime", "cast", "convert", "date", "time"}, jfcTypeCast},
    {"date", JUXFunctionClass<TJUXFunc_CastDate>(), "Converts a value into a date", "(AValue [any]): [date]",
     {"date", "cast", "convert", "day"}, jfcTypeCast},
    {"time", JUXFunctionClass<TJUXFunc_CastTime>(), "Converts a value into a time of day", "(AValue [any]): [time]",
     {"time", "cast", "convert", "clock"}, jfcTypeCast},
    {"duration", JUXFunctionClass<TJUXFunc_CastDuration>(), "Converts a value into a duration",
     "(AValue [any]): [duration]", {"duration", "cast", "convert", "interval", "period"}, jfcTypeCast},
    {"tryelse", JUXFunctionClass<TJUXFunc_TryElse>(),
     "Returns the value, or the default when the value cannot be computed without an error",
     "(AValue [any]; ADefault [any]): [any]", {"tryelse", "try", "default", "error", "fallback"}, jfcConditional},
    {"ifthenelse", JUXFunctionClass<TJUXFunc_IfThenElse>(),
     "Returns the second parameter when the test is true, else the third",
     "(ATest [boolean]; ValueIfTrue [any]; ValueElse [any]): [any]", {"ifthenelse", "if", "then", "else", "condition"},
     jfcConditional},
    {"sum", JUXFunctionClass<TJUXFunc_Sum>(), "Returns the sum of the elements of a set",
     "(ASetOfNumbers [numeral]): [numeral]", {"sum", "total", "add", "set"}, jfcArithmetic},
    {"prod", JUXFunctionClass<TJUXFunc_Prod>(), "Returns the product of the elements of a set",
     "(ASetOfNumbers [numeral]): [numeral]", {"prod", "product", "multiply", "set"}, jfcArithmetic},
    {"setmax", JUXFunctionClass<TJUXFunc_SetMax>(), "Returns the largest element of a set",
     "(ASetOfNumbers [numeral]): [numeral]", {"setmax", "max", "maximum", "largest", "set"}, jfcArithmetic},
    {"setmin", JUXFunctionClass<TJUXFunc_SetMin>(), "Returns the smallest element of a set",
     "(ASetOfNumbers [numeral]): [numeral]", {"setmin", "min", "minimum", "smallest", "set"}, jfcArithmetic},
    {"setcount", JUXFunctionClass<TJUXFunc_LoopCount>(), "Returns the number of elements of a set",
     "(ASet [any]): [integer]", {"setcount", "count", "number", "size", "set"}, jfcSet},
    {"setcounttrue", JUXFunctionClass<TJUXFunc_SetCountTrue>(), "Returns the number of true elements of a set",
     "(ASet [boolean]): [integer]", {"setcounttrue", "count", "true", "set"}, jfcSet},
    {"mean", JUXFunctionClass<TJUXFunc_Mean>(), "Returns the mean of the elements of a set",
     "(SetOfValues [numeral]): [double]", {"mean", "average", "avg", "set"}, jfcStatistics},
    {"var", JUXFunctionClass<TJUXFunc_Var>(),
     "Returns the sample variance of the elements of a set (divisor: the number of elements less one)",
     "(SetOfValues [numeral]): [double]", {"var", "variance", "spread", "set"}, jfcStatistics},
}};

}  // namespace

std::span<const TJUXFunctionInfo> CastFunctionTable() { return kCastFunctions; }
