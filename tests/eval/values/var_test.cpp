#include "eval/values/var.h"

#include <gtest/gtest.h>

#include "eval/language/expression.h"
#include "eval/values/derived_vars.h"

namespace {

struct TSink {
  TJUXExpr_Root Root;
  const std::vector<std::string>& Errors() const { return Root.Errors(); }
};

TEST(JUXVarRefusals, GetterRecordsKind4AndReturnsFallback) {
  TSink sink;
  const TJUXVar_String text("abc");
  EXPECT_EQ(text.AsInteger(&sink.Root), 1);
  ASSERT_EQ(sink.Errors().size(), 1u);
  EXPECT_EQ(sink.Errors()[0], "Incompatible types: \"integer\" and \"string\"");
  EXPECT_TRUE(sink.Root.HasErrorKind(jeIncompatibleTypes));

  // Without a sink: the same fallback, nothing recorded anywhere.
  EXPECT_EQ(text.AsInteger(nullptr), 1);
  EXPECT_EQ(text.AsDouble(nullptr), 1.0);
  EXPECT_TRUE(text.AsBoolean(nullptr));
  EXPECT_EQ(TJUXVar_Integer(5).AsString(nullptr), "");
}

TEST(JUXVarRefusals, ScopeGetterNamesLowerCaseScope) {
  TSink sink;
  EXPECT_EQ(TJUXVar_Integer(3).AsScope(&sink.Root), nullptr);
  EXPECT_EQ(sink.Errors().at(0), "Incompatible types: \"scope\" and \"integer\"");
  TSink other;
  TJUXVar_Scope().AsDouble(&other.Root);
  EXPECT_EQ(other.Errors().at(0), "Incompatible types: \"double\" and \"Scope\"");
}

TEST(JUXVarRefusals, CastLeavesFallbackInDestinationThenRecordsKind6) {
  struct TCase {
    void (TJUXVar::*Cast)(TJUXVar&, TJUXExpression*) const;
    const char* Target;
    TJUXVarKind Dest;
    double Fallback;
  };
  using K = TJUXVarKind;
  const TCase cases[] = {
      {&TJUXVar::CastToDate, "date", K::Date, 1.0},
      {&TJUXVar::CastToCurrency, "currency", K::Currency, 0.0},
      {&TJUXVar::CastToPercentage, "percentage", K::Percentage, 0.0},
      {&TJUXVar::CastToDateTime, "datetime", K::DateTime, 1.0},
      {&TJUXVar::CastToTime, "time", K::Time, 1.0},
      {&TJUXVar::CastToDuration, "duration", K::Duration, 1.0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Target);
    TSink sink;
    const std::unique_ptr<TJUXVar> dest = JUXVarClass(c.Dest).Create();
    dest->SetDouble(777.0, nullptr);
    (TJUXVar_Boolean(true).*c.Cast)(*dest, &sink.Root);
    EXPECT_EQ(dest->AsDouble(nullptr), c.Fallback);
    ASSERT_EQ(sink.Errors().size(), 1u);
    EXPECT_EQ(sink.Errors()[0], std::string("Invalid typecast, from \"boolean\" to \"") + c.Target + "\"");
  }
}

TEST(JUXVarRefusals, OperatorsAndFunctionsLeaveValuesUntouched) {
  TSink sink;
  TJUXVar_String text("abc");
  text.OpMultiply(TJUXVar_Integer(2), &sink.Root);
  EXPECT_EQ(text.Value(), "abc");
  EXPECT_EQ(sink.Errors().at(0), "Operator \"*\" not defined for variables of class \"string\"");

  TSink other;
  TJUXVar_Double result(42.0);
  text.FnSqrt(result, &other.Root);
  EXPECT_EQ(result.Value(), 42.0);
  EXPECT_EQ(other.Errors().at(0), "Function \"sqrt\" not defined for variables of class \"string\"");

  // The ordering comparisons of a Boolean are refused, result untouched.
  TSink third;
  TJUXVar_Boolean flag(true);
  TJUXVar_Boolean outcome(false);
  flag.OpLess(outcome, flag, &third.Root);
  EXPECT_FALSE(outcome.Value());
  EXPECT_EQ(third.Errors().at(0), "Operator \"<\" not defined for variables of class \"boolean\"");
}

TEST(JUXVarRefusals, CastToStringNeverFails) {
  TSink sink;
  sink.Root.FormatSettings().DecimalSeparator = '.';
  std::unique_ptr<TJUXVar> values[] = {
      std::make_unique<TJUXVar_Double>(2.5L), std::make_unique<TJUXVar_Integer>(-42),
      std::make_unique<TJUXVar_Boolean>(true), std::make_unique<TJUXVar_Scope>(),
      std::make_unique<TJUXVar_Percentage>(50.0L)};
  const char* texts[] = {"2.5", "-42", "True", "Node", "50%"};
  for (size_t i = 0; i < std::size(values); ++i) {
    SCOPED_TRACE(texts[i]);
    TJUXVar_String dest;
    values[i]->CastToString(dest, &sink.Root);
    EXPECT_EQ(dest.Value(), texts[i]);
  }
  EXPECT_TRUE(sink.Errors().empty());
}

TEST(JUXVarClasses, TypeNamesCodesAndAcceptance) {
  struct TRow {
    TJUXVarKind Kind;
    const char* Name;
    int Rank;
    std::vector<TJUXVarKind> Accepts;
    const TJUXVarClass* Promoted;
  };
  using K = TJUXVarKind;
  const TRow rows[] = {
      {K::String, "string", 0, {K::String}, nullptr},
      {K::Boolean, "boolean", 0, {K::Boolean}, nullptr},
      {K::Integer, "integer", 1, {K::Integer}, &JUXVarClass(K::Double)},
      {K::Double, "double", 2, {K::Integer, K::Double}, nullptr},
      {K::DateTime, "datetime", 3, {K::Date, K::Time, K::DateTime, K::Double, K::Integer}, nullptr},
      {K::Date, "date", 4, {K::Date, K::Double, K::Integer}, &JUXVarClass(K::DateTime)},
      {K::Time, "time", 5, {K::Time, K::Double}, &JUXVarClass(K::DateTime)},
      {K::Duration, "duration", 6, {K::Duration, K::Double, K::Integer}, nullptr},
      {K::Currency, "currency", 7, {K::Currency, K::Double, K::Integer}, nullptr},
      {K::Percentage, "percentage", 8, {K::Percentage, K::Double, K::Integer}, nullptr},
      {K::Scope, "Scope", 0, {K::Scope}, nullptr},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const TJUXVarClass& cls = JUXVarClass(row.Kind);
    EXPECT_EQ(cls.TypeName, row.Name);
    EXPECT_EQ(cls.TypeRank, row.Rank);
    EXPECT_EQ(cls.PromotedClass(), row.Promoted);
    for (int k = 0; k < kJUXVarKindCount; ++k) {
      const auto kind = static_cast<TJUXVarKind>(k);
      const bool listed = std::find(row.Accepts.begin(), row.Accepts.end(), kind) != row.Accepts.end();
      EXPECT_EQ(cls.AcceptsClass(JUXVarClass(kind)), listed) << JUXVarClass(kind).TypeName;
    }
    // The virtual constructor makes a value of the class itself.
    EXPECT_EQ(&cls.Create()->GetClass(), &cls);
    EXPECT_EQ(&cls.CreateFromText("", UserFormatSettings())->GetClass(), &cls);
  }
}

TEST(JUXVarClasses, CloneKeepsClassAndValue) {
  const TJUXVar_Date date(45000.5L);
  const std::unique_ptr<TJUXVar> copy = date.Clone();
  EXPECT_EQ(&copy->GetClass(), &TJUXVar_Date::Class());
  EXPECT_EQ(copy->AsDouble(nullptr), 45000.5);
  const std::unique_ptr<TJUXVar> text = TJUXVar_String("x").Clone();
  EXPECT_EQ(text->AsString(nullptr), "x");
}

}  // namespace
