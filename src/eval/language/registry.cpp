#include "eval/language/registry.h"

#include <cmath>
#include <limits>
#include <vector>

#include "eval/functions/arithmetic/arithmetic_functions.h"
#include "eval/functions/casts/cast_functions.h"
#include "eval/functions/dates/date_functions.h"
#include "eval/functions/lookups/lookup_functions.h"
#include "eval/values/scalar_vars.h"
#include "eval/functions/scopes/scope_functions.h"
#include "eval/functions/higher_math/higher_math_functions.h"
#include "eval/functions/strings/string_functions.h"
#include "eval/language/tokenizer.h"

const std::array<std::string_view, 116> kJUXRegistryNames = {
    "nodeinfo",   "allrecords",     "wholelevel",   "clustername",   "datatype",     "any",
    "setjoin",    "isempty",        "eval",         "attr",          "attrisnull",   "attrisempty",
    "attrisconverr", "sprintf",     "scope",        "sign",          "timestr",      "datestr",
    "datetimestr", "datetimestring", "ltrimstr",    "rtrimstr",      "trimstr",      "lenstr",
    "replacestr", "pos",            "round",        "frac",          "weekof",       "hourof",
    "minuteof",   "secondof",       "dayofyear",    "dayofmonth",    "dayofweek",    "monthof",
    "yearof",     "datefromunix",   "datediff",     "leftstr",       "rightstr",     "midstr",
    "uppercase",  "lowercase",      "comparetext",  "mapstr",        "lookup",       "mapindex",
    "find",       "setfind",        "now",          "today",         "childrencount", "levelindex",
    "filter",     "filterbool",     "evalfor",      "parent",        "children",     "root",
    "displayroot", "nodes",         "integer",      "double",        "boolean",      "string",
    "currency",   "percentage",     "datetime",     "date",          "time",         "duration",
    "tryelse",    "ifthenelse",     "abs",          "sum",           "cumsum",       "diff",
    "prod",       "maxf",           "minf",         "setmax",        "setmin",       "linseries",
    "setcount",   "setcounttrue",   "editdist",     "power",         "sin",          "cos",
    "tan",        "atan",           "atan2",        "log",           "ln",           "exp",
    "gamma",      "gammaln",        "gammainc",     "gammadist",     "chidist",      "normaldist",
    "cumchidist", "cumnormaldist",  "erf",          "erfc",          "mean",         "var",
    "sqrt",       "sqr",            "plus",         "minus",         "neg",          "mult",
    "div",        "samevalue"};

namespace {

template <class T>
constexpr TJUXOperatorSpecs Op(uint8_t kind, int32_t level) {
  return TJUXOperatorSpecs{kind, JUXFunctionClass<T>(), level, ""};
}

// The parser compares levels only; printing looks rows up by class from the
// highest row down (OperatorIndexOfClass).
constexpr std::array<TJUXOperatorSpecs, 18> kBinaryOperators = {{
    Op<TJUXChangeOfScope>(jtkDot, 10),
    Op<TJUXFunc_Max>(jtkMax, 2),
    Op<TJUXFunc_Min>(jtkMin, 2),
    Op<TJUXFunc_Plus>(jtkPlus, 2),
    Op<TJUXFunc_Minus>(jtkMinus, 2),
    Op<TJUXFunc_Mult>(jtkMultiply, 3),
    Op<TJUXFunc_Div>(jtkDivide, 3),
    Op<TJUXFunc_Mod>(jtkMod, 3),
    Op<TJUXFunc_NotEqual>(jtkNotEqual, 1),
    Op<TJUXFunc_LargerEq>(jtkLargerEq, 1),
    Op<TJUXFunc_SmallerEq>(jtkSmallerEq, 1),
    Op<TJUXFunc_Smaller>(jtkSmaller, 1),
    Op<TJUXFunc_Equal>(jtkEqual, 1),
    Op<TJUXFunc_Larger>(jtkLarger, 1),
    Op<TJUXFunc_And>(jtkAnd, 0),
    Op<TJUXFunc_Or>(jtkOr, 0),
    Op<TJUXFunc_Xor>(jtkXor, 0),
    Op<TJUXFunc_Power>(jtkPower, 4),
}};

// The level of unary rows plays no part: unary operators bind tighter than
// every binary one.
constexpr std::array<TJUXOperatorSpecs, 3> kUnaryOperators = {{
    Op<TJUXFunc_Not>(jtkNot, 0),
    Op<TJUXFunc_Neg>(jtkMinus, 0),
    Op<TJUXFunc_Plus>(jtkPlus, 0),
}};

std::string_view TokenTextOfKind(uint8_t kind) {
  const TJUXTokenKindRow* row = JUXKindRow(kind);
  return row ? row->Text : std::string_view();
}

const TJUXFunctionInfo* FindInGroups(std::string_view name) {
  using TTableAccessor = std::span<const TJUXFunctionInfo> (*)();
  static constexpr TTableAccessor kGroups[] = {
      &ScopeFunctionTable, &ArithmeticFunctionTable, &SpecialFunctionTable, &CastFunctionTable,
      &DateFunctionTable,  &StringFunctionTable,     &LookupFunctionTable};
  for (TTableAccessor group : kGroups)
    for (const TJUXFunctionInfo& row : group())
      if (row.Name == name && row.Class) return &row;
  return nullptr;
}

std::vector<TJUXFunctionInfo> AssembleRegistry() {
  std::vector<TJUXFunctionInfo> rows;
  rows.reserve(kJUXRegistryNames.size());
  for (std::string_view name : kJUXRegistryNames)
    if (const TJUXFunctionInfo* row = FindInGroups(name)) rows.push_back(*row);
  return rows;
}

std::array<TJUXConstantsRecord, 7> MakeConstants() {
  return {{
      {"pi", TJUXVar_Double::CreateWithValue(3.141592653589793)},
      {"e", TJUXVar_Double::CreateWithValue(std::exp(1.0))},
      {"true", TJUXVar_Boolean::CreateWithValue(true)},
      {"false", TJUXVar_Boolean::CreateWithValue(false)},
      {"nan", TJUXVar_Double::CreateWithValue(std::numeric_limits<double>::quiet_NaN())},
      {"infinity", TJUXVar_Double::CreateWithValue(std::numeric_limits<double>::infinity())},
      {"phi", TJUXVar_Double::CreateWithValue((std::sqrt(5.0) + 1) / 2)},
  }};
}

}  // namespace

std::span<const TJUXOperatorSpecs> JUXBinaryOperators() { return kBinaryOperators; }
std::span<const TJUXOperatorSpecs> JUXUnaryOperators() { return kUnaryOperators; }

std::span<const TJUXFunctionInfo> JUXFunctionRegistry() {
  static const std::vector<TJUXFunctionInfo> registry = AssembleRegistry();
  return registry;
}

const TJUXFunctionTables& JUXFunctionTables() {
  static const TJUXFunctionTables tables{JUXFunctionRegistry(), kBinaryOperators, kUnaryOperators,
                                         &TokenTextOfKind};
  return tables;
}

std::span<const TJUXConstantsRecord> JUXConstants() {
  static const std::array<TJUXConstantsRecord, 7> constants = MakeConstants();
  return constants;
}

int JUXFunctionIndexOfName(std::string_view lowerName) {
  const std::span<const TJUXFunctionInfo> rows = JUXFunctionRegistry();
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].Name == lowerName) return static_cast<int>(i);
  return -1;
}

int JUXConstantIndexOfName(std::string_view lowerName) {
  const std::span<const TJUXConstantsRecord> rows = JUXConstants();
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].Name == lowerName) return static_cast<int>(i);
  return -1;
}

int JUXBinaryOperatorIndexOfKind(uint8_t tokenKind) {
  for (size_t i = 0; i < kBinaryOperators.size(); ++i)
    if (kBinaryOperators[i].TokenKind == tokenKind) return static_cast<int>(i);
  return -1;
}

int JUXUnaryOperatorIndexOfKind(uint8_t tokenKind) {
  for (size_t i = 0; i < kUnaryOperators.size(); ++i)
    if (kUnaryOperators[i].TokenKind == tokenKind) return static_cast<int>(i);
  return -1;
}

int OperatorIndexOfClass(const TJUXExpression* expression) {
  const auto* function = dynamic_cast<const TJUXFunction*>(expression);
  if (!function) return -1;
  for (int row = static_cast<int>(kBinaryOperators.size()) - 1; row >= 0; --row)
    if (kBinaryOperators[static_cast<size_t>(row)].Class == function->FunctionClass()) return row;
  return -1;
}
