#include "eval/language/registry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>

#include "eval/functions/arithmetic/arithmetic_functions.h"
#include "eval/functions/casts/cast_functions.h"
#include "eval/functions/dates/date_functions.h"
#include "eval/functions/lookups/lookup_functions.h"
#include "eval/values/scalar_vars.h"
#include "eval/functions/scopes/scope_functions.h"
#include "eval/functions/higher_math/higher_math_functions.h"
#include "eval/functions/strings/string_functions.h"
#include "eval/language/tokenizer.h"

namespace {

TEST(JUXRegistry, BinaryOperatorTable) {
  struct TRow {
    uint8_t Kind;
    const TJUXFunctionClass* Class;
    int32_t Level;
  };
  const TRow want[] = {
      {jtkDot, JUXFunctionClass<TJUXChangeOfScope>(), 10}, {jtkMax, JUXFunctionClass<TJUXFunc_Max>(), 2},
      {jtkMin, JUXFunctionClass<TJUXFunc_Min>(), 2},        {jtkPlus, JUXFunctionClass<TJUXFunc_Plus>(), 2},
      {jtkMinus, JUXFunctionClass<TJUXFunc_Minus>(), 2},    {jtkMultiply, JUXFunctionClass<TJUXFunc_Mult>(), 3},
      {jtkDivide, JUXFunctionClass<TJUXFunc_Div>(), 3},     {jtkMod, JUXFunctionClass<TJUXFunc_Mod>(), 3},
      {jtkNotEqual, JUXFunctionClass<TJUXFunc_NotEqual>(), 1}, {jtkLargerEq, JUXFunctionClass<TJUXFunc_LargerEq>(), 1},
      {jtkSmallerEq, JUXFunctionClass<TJUXFunc_SmallerEq>(), 1}, {jtkSmaller, JUXFunctionClass<TJUXFunc_Smaller>(), 1},
      {jtkEqual, JUXFunctionClass<TJUXFunc_Equal>(), 1},    {jtkLarger, JUXFunctionClass<TJUXFunc_Larger>(), 1},
      {jtkAnd, JUXFunctionClass<TJUXFunc_And>(), 0},        {jtkOr, JUXFunctionClass<TJUXFunc_Or>(), 0},
      {jtkXor, JUXFunctionClass<TJUXFunc_Xor>(), 0},        {jtkPower, JUXFunctionClass<TJUXFunc_Power>(), 4},
  };
  const auto rows = JUXBinaryOperators();
  ASSERT_EQ(rows.size(), std::size(want));
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rows[i].TokenKind, want[i].Kind);
    EXPECT_EQ(rows[i].Class, want[i].Class);
    EXPECT_EQ(rows[i].Level, want[i].Level);
    EXPECT_EQ(JUXBinaryOperatorIndexOfKind(want[i].Kind), static_cast<int>(i));
  }
  const auto unary = JUXUnaryOperators();
  ASSERT_EQ(unary.size(), 3u);
  EXPECT_EQ(unary[0].Class, JUXFunctionClass<TJUXFunc_Not>());
  EXPECT_EQ(unary[1].Class, JUXFunctionClass<TJUXFunc_Neg>());
  EXPECT_EQ(unary[2].Class, JUXFunctionClass<TJUXFunc_Plus>());
  EXPECT_EQ(JUXUnaryOperatorIndexOfKind(jtkMinus), 1);
  EXPECT_EQ(JUXUnaryOperatorIndexOfKind(jtkMultiply), -1);
  EXPECT_EQ(JUXBinaryOperatorIndexOfKind(jtkNot), -1);
}

TEST(JUXRegistry, NamedConstants) {
  const auto constants = JUXConstants();
  ASSERT_EQ(constants.size(), 7u);
  const char* names[] = {"pi", "e", "true", "false", "nan", "infinity", "phi"};
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(constants[i].Name, names[i]);
    EXPECT_EQ(JUXConstantIndexOfName(names[i]), static_cast<int>(i));
  }
  EXPECT_EQ(constants[0].Value->AsDouble(nullptr), 3.141592653589793);
  EXPECT_EQ(constants[1].Value->AsDouble(nullptr), std::exp(1.0));
  EXPECT_EQ(&constants[2].Value->GetClass(), &TJUXVar_Boolean::Class());
  EXPECT_TRUE(constants[2].Value->AsBoolean(nullptr));
  EXPECT_FALSE(constants[3].Value->AsBoolean(nullptr));
  EXPECT_TRUE(std::isnan(constants[4].Value->AsDouble(nullptr)));
  EXPECT_EQ(constants[5].Value->AsDouble(nullptr), INFINITY);
  EXPECT_EQ(constants[6].Value->AsDouble(nullptr), (std::sqrt(5.0) + 1) / 2);
  EXPECT_EQ(&constants[6].Value->GetClass(), &TJUXVar_Double::Class());
  EXPECT_EQ(JUXConstantIndexOfName("PI"), -1);  // callers lower-case first
}

// The category of every registry name.
std::map<std::string_view, uint8_t> ExpectedCategories() {
  const std::pair<uint8_t, std::vector<std::string_view>> groups[] = {
      {jfcString, {"sprintf", "timestr", "datestr", "datetimestr", "datetimestring", "ltrimstr", "rtrimstr", "trimstr",
                   "lenstr", "replacestr", "pos", "leftstr", "rightstr", "midstr", "uppercase", "lowercase",
                   "comparetext", "editdist"}},
      {jfcArithmetic, {"sign", "round", "frac", "abs", "sum", "cumsum", "diff", "prod", "maxf", "minf", "setmax",
                       "setmin", "power", "sin", "cos", "tan", "atan", "atan2", "log", "ln", "exp", "gamma",
                       "gammaln", "gammainc", "erf", "erfc", "sqrt", "sqr", "plus", "minus", "neg", "mult", "div",
                       "samevalue"}},
      {jfcStatistics, {"gammadist", "chidist", "normaldist", "cumchidist", "cumnormaldist", "mean", "var"}},
      {jfcTree, {"allrecords", "wholelevel", "clustername", "scope", "childrencount", "levelindex", "evalfor",
                 "parent", "children", "root", "displayroot", "nodes"}},
      {jfcSet, {"any", "setjoin", "isempty", "setfind", "filter", "filterbool", "linseries", "setcount",
                "setcounttrue"}},
      {jfcLookup, {"mapstr", "lookup", "mapindex", "find"}},
      {jfcDisplay, {"nodeinfo"}},
      {jfcAttribute, {"attr", "attrisnull", "attrisempty", "attrisconverr"}},
      {jfcDateTime, {"weekof", "hourof", "minuteof", "secondof", "dayofyear", "dayofmonth", "dayofweek", "monthof",
                     "yearof", "datefromunix", "datediff", "now", "today"}},
      {jfcTypeCast, {"integer", "double", "boolean", "string", "currency", "percentage", "datetime", "date", "time",
                     "duration"}},
      {jfcConditional, {"tryelse", "ifthenelse"}},
      {jfcOther, {"datatype", "eval"}},
  };
  std::map<std::string_view, uint8_t> categories;
  for (const auto& [category, names] : groups)
    for (std::string_view name : names) categories[name] = category;
  return categories;
}

TEST(JUXRegistry, NameListAndCategoriesAgree) {
  const std::set<std::string_view> names(kJUXRegistryNames.begin(), kJUXRegistryNames.end());
  EXPECT_EQ(names.size(), 116u);
  const auto categories = ExpectedCategories();
  EXPECT_EQ(categories.size(), 116u);
  for (std::string_view name : kJUXRegistryNames) EXPECT_TRUE(categories.count(name)) << name;
  EXPECT_EQ(kJUXCategoryNames[jfcArithmetic], "Arithmatic");
}

// What the groups publish must fit the registry: known names in lower case,
// each name and class once, the right category, and no operator-only class.
TEST(JUXRegistry, GroupTablesFitTheRegistry) {
  const std::pair<const char*, std::span<const TJUXFunctionInfo>> groups[] = {
      {"scope", ScopeFunctionTable()},   {"arithmetic", ArithmeticFunctionTable()},
      {"special", SpecialFunctionTable()}, {"cast", CastFunctionTable()},
      {"date", DateFunctionTable()},     {"string", StringFunctionTable()},
      {"lookup", LookupFunctionTable()},
  };
  const auto categories = ExpectedCategories();
  const std::set<const TJUXFunctionClass*> operatorOnly = {
      JUXFunctionClass<TJUXFunc_And>(),      JUXFunctionClass<TJUXFunc_Or>(),       JUXFunctionClass<TJUXFunc_Xor>(),
      JUXFunctionClass<TJUXFunc_Not>(),      JUXFunctionClass<TJUXFunc_Mod>(),      JUXFunctionClass<TJUXFunc_Larger>(),
      JUXFunctionClass<TJUXFunc_Smaller>(),  JUXFunctionClass<TJUXFunc_LargerEq>(), JUXFunctionClass<TJUXFunc_SmallerEq>(),
      JUXFunctionClass<TJUXFunc_Equal>(),    JUXFunctionClass<TJUXFunc_NotEqual>()};
  std::set<std::string_view> seenNames;
  std::set<const TJUXFunctionClass*> seenClasses;
  size_t published = 0;
  for (const auto& [group, rows] : groups) {
    for (const TJUXFunctionInfo& row : rows) {
      SCOPED_TRACE(std::string(group) + ": " + std::string(row.Name));
      ++published;
      ASSERT_TRUE(categories.count(row.Name)) << "not a registry name";
      EXPECT_EQ(row.Category, categories.at(row.Name));
      EXPECT_TRUE(seenNames.insert(row.Name).second) << "name published twice";
      EXPECT_NE(row.Class, nullptr);
      EXPECT_TRUE(seenClasses.insert(row.Class).second) << "class in two rows";
      EXPECT_FALSE(operatorOnly.count(row.Class)) << "operator-only class";
      EXPECT_FALSE(row.Description.empty());
      EXPECT_FALSE(row.Signature.empty());
    }
  }
  // Whatever is published is registered, in registry order.
  const auto registry = JUXFunctionRegistry();
  EXPECT_EQ(registry.size(), published);
  size_t next = 0;
  for (const TJUXFunctionInfo& row : registry) {
    while (next < kJUXRegistryNames.size() && kJUXRegistryNames[next] != row.Name) ++next;
    EXPECT_LT(next, kJUXRegistryNames.size()) << row.Name << " out of order";
    EXPECT_EQ(JUXFunctionIndexOfName(row.Name), &row - registry.data());
  }
  EXPECT_EQ(JUXFunctionIndexOfName("nosuchfunction"), -1);
  EXPECT_EQ(&JUXFunctionTables().Functions[0], registry.data());
}

// All 116 functions, exactly in registry order.
TEST(JUXRegistry, AllFunctionsRegisteredInOrder) {
  const auto registry = JUXFunctionRegistry();
  ASSERT_EQ(registry.size(), 116u);
  for (size_t i = 0; i < registry.size(); ++i) EXPECT_EQ(registry[i].Name, kJUXRegistryNames[i]) << "row " << i;
}

}  // namespace
