#include "eval/values/scalar_vars.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "eval/language/expression.h"
#include "eval/math_eval_helper.h"
#include "eval/values/derived_vars.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

class JUXScalarVars : public ::testing::Test {
 protected:
  JUXScalarVars() { Root.FormatSettings().DecimalSeparator = '.'; }
  TJUXExpression* Sink() { return &Root; }
  TJUXExpr_Root Root;
};

TEST_F(JUXScalarVars, DoubleDivisionAndRemainder) {
  struct TCase {
    double A, B;
    bool Mod;
    double Want;
    bool Flag2;
  };
  const TCase cases[] = {
      {1, 0, false, kInf, true},   {-1, 0, false, -kInf, true}, {0, 0, false, kInf, true},
      {7, 2, false, 3.5, false},   {7.5, 2, true, 1.5, false},  {-7.5, 2, true, -1.5, false},
      {7.5, 0, true, 7.5, false},  {1e30, 7, true, std::fmod(1e30, 7.0), false},
      {-1e30, 7, true, std::fmod(-1e30, 7.0), false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.A << (c.Mod ? " mod " : " / ") << c.B);
    TJUXExpr_Root sink;
    TJUXVar_Double a(c.A);
    const TJUXVar_Double b(c.B);
    if (c.Mod) a.OpMod(b, &sink); else a.OpDivide(b, &sink);
    EXPECT_EQ(static_cast<double>(a.Value()), c.Want);
    EXPECT_EQ(sink.HasErrorKind(jeDivisionByZero), c.Flag2);
    EXPECT_FALSE(sink.HasError());  // a flag, not an error
    EXPECT_TRUE(sink.Errors().empty());
  }
}

TEST_F(JUXScalarVars, DoubleTextForms) {
  const std::pair<double, const char*> cases[] = {
      {2.5, "2.5"}, {10.0, "10"}, {1.0 / 3.0, "0.333333"}, {kInf, "INF"}, {-kInf, "-INF"}, {std::nan(""), "NAN"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(TJUXVar_Double(value).ToText(Root.FormatSettings()), text);
  EXPECT_EQ(TJUXVar_Integer(-42).ToText(Root.FormatSettings()), "-42");
}

TEST_F(JUXScalarVars, DoubleCastToIntegerKeepsLow32Bits) {
  const std::pair<double, int64_t> cases[] = {{5e9, 705032704}, {2.7, 2}, {-2.7, -2}, {kInf, 0}, {std::nan(""), 0}};
  for (const auto& [value, want] : cases) {
    SCOPED_TRACE(value);
    TJUXVar_Integer dest(99);
    TJUXVar_Double(value).CastToInteger(dest, Sink());
    EXPECT_EQ(dest.Value(), want);
  }
  TJUXVar_Integer dest;
  TJUXVar_Integer(5000000000).CastToInteger(dest, Sink());
  EXPECT_EQ(dest.Value(), 705032704);
}

TEST_F(JUXScalarVars, IntegerArithmeticEdges) {
  struct TCase {
    int64_t A, B;
    void (TJUXVar::*Op)(const TJUXVar&, TJUXExpression*);
    int64_t Want;
    bool Flag2;
  };
  const TCase cases[] = {
      {7, 2, &TJUXVar::OpDivide, 3, false},
      {-7, 2, &TJUXVar::OpDivide, -3, false},
      {5, 0, &TJUXVar::OpDivide, INT64_MAX, true},
      {-5, 0, &TJUXVar::OpDivide, INT64_MAX, true},
      {-7, 2, &TJUXVar::OpMod, -1, false},
      {7, 0, &TJUXVar::OpMod, INT64_MAX, true},
      {INT64_MAX, 1, &TJUXVar::OpAdd, INT64_MIN, false},
      // The most negative value divided by -1 wraps (the processor would trap).
      {INT64_MIN, -1, &TJUXVar::OpDivide, INT64_MIN, false},
      {INT64_MIN, -1, &TJUXVar::OpMod, 0, false},
      {12, 10, &TJUXVar::OpAnd, 8, false},
      {12, 10, &TJUXVar::OpXor, 6, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.A << " op " << c.B);
    TJUXExpr_Root sink;
    TJUXVar_Integer a(c.A);
    (a.*c.Op)(TJUXVar_Integer(c.B), &sink);
    EXPECT_EQ(a.Value(), c.Want);
    EXPECT_EQ(sink.HasErrorKind(jeDivisionByZero), c.Flag2);
  }
}

TEST_F(JUXScalarVars, MathFunctionDomains) {
  struct TCase {
    const char* Name;
    double X;
    void (TJUXVar::*Fn)(TJUXVar&, TJUXExpression*) const;
    double Want;
    bool Flag3;
  };
  const TCase cases[] = {
      {"ln 0", 0, &TJUXVar::FnLn, -kInf, true},     {"ln -1", -1, &TJUXVar::FnLn, -kInf, true},
      {"log 100", 100, &TJUXVar::FnLog, 2, false},  {"sqrt -4", -4, &TJUXVar::FnSqrt, kInf, true},
      {"sqrt 9", 9, &TJUXVar::FnSqrt, 3, false},    {"sin 2^63", 9223372036854775808.0, &TJUXVar::FnSin, 0, false},
      {"sqr 1e3000", kInf, &TJUXVar::FnSqr, kInf, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TJUXExpr_Root sink;
    TJUXVar_Double result;
    (TJUXVar_Double(c.X).*c.Fn)(result, &sink);
    EXPECT_EQ(static_cast<double>(result.Value()), c.Want);
    EXPECT_EQ(sink.HasErrorKind(jeMathDomain), c.Flag3);
  }
  struct TPowerCase {
    double X, Y, Want;
    bool Flag3;
  };
  const TPowerCase powers[] = {{-8, 1.0 / 3.0, kInf, true}, {-8, 3, -512, false}, {2, -2, 0.25, false},
                               {0, 5, 0, false},           {5, 0, 1, false},     {4, 0.5, 2, false}};
  for (const TPowerCase& c : powers) {
    SCOPED_TRACE(testing::Message() << "power " << c.X << " " << c.Y);
    TJUXExpr_Root sink;
    TJUXVar_Double result;
    TJUXVar_Double(c.X).FnPower(TJUXVar_Double(c.Y), result, &sink);
    if (std::isinf(c.Want))
      EXPECT_EQ(static_cast<double>(result.Value()), c.Want);
    else
      EXPECT_NEAR(static_cast<double>(result.Value()), c.Want, 1e-15);
    EXPECT_EQ(sink.HasErrorKind(jeMathDomain), c.Flag3);
  }
  TJUXExpr_Root sink;
  TJUXVar_Double result;
  TJUXVar_Double(1).FnAtan2(TJUXVar_Double(0), result, &sink);
  EXPECT_EQ(static_cast<double>(result.Value()), kInf);
  EXPECT_TRUE(sink.HasErrorKind(jeMathDomain));
}

TEST_F(JUXScalarVars, IntegerSqrStaysInteger) {
  const std::tuple<int64_t, int64_t, bool> cases[] = {{46340, 2147395600, false}, {46341, 0, true}, {-46341, 0, true},
                                                     {-3, 9, false}};
  for (const auto& [x, want, flag] : cases) {
    SCOPED_TRACE(x);
    TJUXExpr_Root sink;
    TJUXVar_Integer result(7);
    TJUXVar_Integer(x).FnSqr(result, &sink);
    EXPECT_EQ(result.Value(), want);
    EXPECT_EQ(sink.HasErrorKind(jeMathDomain), flag);
  }
}

TEST_F(JUXScalarVars, BooleanShortCircuitsAndSynonyms) {
  TJUXVar_Boolean f(false);
  f.OpAnd(TJUXVar_String("x"), Sink());
  EXPECT_FALSE(f.Value());
  EXPECT_TRUE(Root.Errors().empty());  // the string is not read

  TJUXVar_Boolean t(true);
  t.OpAnd(TJUXVar_String("x"), Sink());
  EXPECT_TRUE(t.Value());  // the getter's fallback
  ASSERT_EQ(Root.Errors().size(), 1u);
  EXPECT_EQ(Root.Errors()[0], "Incompatible types: \"boolean\" and \"string\"");

  for (bool a : {false, true})
    for (bool b : {false, true}) {
      TJUXVar_Boolean max(a), min(a);
      max.OpMax(TJUXVar_Boolean(b), nullptr);
      min.OpMin(TJUXVar_Boolean(b), nullptr);
      EXPECT_EQ(max.Value(), a || b);
      EXPECT_EQ(min.Value(), a && b);
    }
}

TEST_F(JUXScalarVars, StringOperators) {
  TJUXVar_String s("Hello");
  s.OpSubtract(TJUXVar_String("l"), Sink());
  EXPECT_EQ(s.Value(), "Heo");
  TJUXVar_String overlap("aaaa");
  overlap.OpSubtract(TJUXVar_String("aa"), Sink());
  EXPECT_EQ(overlap.Value(), "");
  TJUXVar_String keep("abc");
  keep.OpSubtract(TJUXVar_String(""), Sink());
  EXPECT_EQ(keep.Value(), "abc");
  keep.OpAdd(TJUXVar_String("def"), Sink());
  EXPECT_EQ(keep.Value(), "abcdef");

  const std::tuple<const char*, const char*, bool> less[] = {
      {"B", "a", true}, {"abc", "abcd", true}, {"abcd", "abc", false}, {"\x80", "a", false}};
  for (const auto& [a, b, want] : less) {
    SCOPED_TRACE(testing::Message() << a << " < " << b);
    TJUXVar_Boolean result;
    TJUXVar_String(a).OpLess(result, TJUXVar_String(b), Sink());
    EXPECT_EQ(result.Value(), want);
  }
}

TEST_F(JUXScalarVars, StringCasts) {
  Root.FormatSettings().DecimalSeparator = ',';
  struct TCase {
    const char* Text;
    void (TJUXVar::*Cast)(TJUXVar&, TJUXExpression*) const;
    TJUXVarKind Dest;
    double Want;
    const char* Error;  // nullptr: succeeds
  };
  using K = TJUXVarKind;
  const TCase cases[] = {
      {"TRUE", &TJUXVar::CastToBoolean, K::Boolean, 1, nullptr},
      {" true", &TJUXVar::CastToBoolean, K::Boolean, 0, "Unable to cast the string value \" true\" into a boolean"},
      {"12abc", &TJUXVar::CastToInteger, K::Integer, 0, "Unable to cast the string value \"12abc\" into an integer"},
      {"$1F", &TJUXVar::CastToInteger, K::Integer, 31, nullptr},
      {"0x10", &TJUXVar::CastToInteger, K::Integer, 16, nullptr},
      {"-2147483648", &TJUXVar::CastToInteger, K::Integer, -2147483648.0, nullptr},
      {"2147483648", &TJUXVar::CastToInteger, K::Integer, 0, "Unable to cast the string value \"2147483648\" into an integer"},
      {"50", &TJUXVar::CastToPercentage, K::Percentage, 1, "Unable to cast the string value \"50\" into a percentage"},
      {"12,5%", &TJUXVar::CastToPercentage, K::Percentage, 0.125, nullptr},
      {"50 %", &TJUXVar::CastToPercentage, K::Percentage, 0.5, nullptr},
      {"2,5", &TJUXVar::CastToDouble, K::Double, 2.5, nullptr},
      {"2.5", &TJUXVar::CastToDouble, K::Double, 0, "Unable to cast the string value \"2.5\" into a double"},
      {"1,23456", &TJUXVar::CastToCurrency, K::Currency, 1.2346, nullptr},
      {"x", &TJUXVar::CastToCurrency, K::Currency, 1, "Unable to cast the string value \"x\" into a currency"},
      {"x", &TJUXVar::CastToDate, K::Date, 1, "Unable to cast the string value \"x\" into a date"},
      {"x", &TJUXVar::CastToTime, K::Time, 1, "Unable to cast the string value \"x\" into a time"},
      {"1 day, 00:00:00", &TJUXVar::CastToDuration, K::Duration, 1.0, nullptr},
      {"- 1 day, 00:00:00", &TJUXVar::CastToDuration, K::Duration, 1.0,
       "Unable to cast the string value \"- 1 day, 00:00:00\" into a duration"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TJUXExpr_Root sink;
    sink.FormatSettings().DecimalSeparator = ',';
    const std::unique_ptr<TJUXVar> dest = JUXVarClass(c.Dest).Create();
    (TJUXVar_String(c.Text).*c.Cast)(*dest, &sink);
    const double got = c.Dest == K::Boolean  ? (dest->AsBoolean(nullptr) ? 1.0 : 0.0)
                       : c.Dest == K::Integer ? static_cast<double>(dest->AsInteger(nullptr))
                                              : dest->AsDouble(nullptr);
    EXPECT_NEAR(got, c.Want, 1e-12);
    if (c.Error) {
      ASSERT_EQ(sink.Errors().size(), 1u);
      EXPECT_EQ(sink.Errors()[0], c.Error);
      EXPECT_TRUE(sink.HasErrorKind(jeNotConvertible));
    } else {
      EXPECT_TRUE(sink.Errors().empty()) << sink.Errors()[0];
    }
  }
}

TEST_F(JUXScalarVars, DurationTextReadsBack) {
  const TFormatSettings& clock = UserFormatSettings24h();
  const std::string sep(1, clock.TimeSeparator);
  TJUXVar_Duration dest;
  TJUXVar_String("2 days, 03" + sep + "04" + sep + "05").CastToDuration(dest, Sink());
  EXPECT_NEAR(static_cast<double>(dest.Value()), 2 + (3 * 3600 + 4 * 60 + 5) / 86400.0, 1e-9);
  EXPECT_TRUE(Root.Errors().empty());
}

TEST_F(JUXScalarVars, ConstructorsFromTextNeverRecord) {
  const TFormatSettings& s = Root.FormatSettings();
  EXPECT_TRUE(TJUXVar_Boolean::Class().CreateFromText("TRUE", s)->AsBoolean(nullptr));
  EXPECT_FALSE(TJUXVar_Boolean::Class().CreateFromText("yes", s)->AsBoolean(nullptr));
  const std::pair<const char*, int64_t> ints[] = {
      {"2147483647", 2147483647}, {"2147483648", 0}, {"3000000000", 0}, {"-2147483648", -2147483648LL}, {"abc", 0}};
  for (const auto& [text, want] : ints) EXPECT_EQ(TJUXVar_Integer::Class().CreateFromText(text, s)->AsInteger(nullptr), want) << text;
  EXPECT_EQ(TJUXVar_Double::Class().CreateFromText(" 1.5e3 ", s)->AsDouble(nullptr), 1500.0);
  // Every control character counts as a blank around a number here.
  EXPECT_EQ(TJUXVar_Double::Class().CreateFromText("\v\x01 1.5e3\f\x1f", s)->AsDouble(nullptr), 1500.0);
  EXPECT_EQ(TJUXVar_Double::Class().CreateFromText("1,5", s)->AsDouble(nullptr), 0.0);
}

// Numbers beyond the double range are read in extended precision; beyond
// that they overflow to an infinity (or underflow to zero), never to the
// unreadable-text zero.
TEST_F(JUXScalarVars, NumbersBeyondDoubleRangeReadAsExtended) {
  const TFormatSettings& s = Root.FormatSettings();
  constexpr long double kInfL = std::numeric_limits<long double>::infinity();
  const std::pair<const char*, long double> cases[] = {
      {"1e400", 1e400L},  {"-1E400", -1e400L}, {"1e5000", kInfL}, {"-0.0001e-4999", -0.0L},
      {"99999e4928", kInfL}, {"1e-400", 1e-400L}, {"1e-5000", 0.0L}, {"0e99999", 0.0L},
  };
  for (const auto& [text, want] : cases) {
    SCOPED_TRACE(text);
    const std::unique_ptr<TJUXVar> created = TJUXVar_Double::Class().CreateFromText(text, s);
    EXPECT_EQ(created->AsDouble(nullptr), static_cast<double>(want));
    const auto* value = dynamic_cast<const TJUXVar_Double*>(created.get());
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->Value(), want);
    TJUXExpr_Root sink;
    sink.FormatSettings().DecimalSeparator = '.';
    TJUXVar_Double dest;
    TJUXVar_String(text).CastToDouble(dest, &sink);
    EXPECT_EQ(dest.AsDouble(nullptr), static_cast<double>(want));
    EXPECT_TRUE(sink.Errors().empty());
  }
}

TEST_F(JUXScalarVars, LiteralsBeyondDoubleRangeInExpressions) {
  struct TCase { const char* Text; const char* Want; };
  const TCase cases[] = {{"1e400", "INF"}, {"-1e400", "-INF"}, {"1e-400", "0"}, {"1e400 > 1e308", "True"}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    const math_eval::TOutcome out = math_eval::EvalText(c.Text);
    ASSERT_TRUE(out.Built);
    EXPECT_TRUE(out.Errors.empty());
    EXPECT_EQ(out.Text, c.Want);
  }
}

TEST_F(JUXScalarVars, VarRecCarriesNumbersAsExtended) {
  EXPECT_TRUE(std::holds_alternative<long double>(TJUXVar_Integer(3).ToVarRec()));
  EXPECT_EQ(std::get<long double>(TJUXVar_Integer(3).ToVarRec()), 3.0L);
  EXPECT_TRUE(std::holds_alternative<bool>(TJUXVar_Boolean(true).ToVarRec()));
  EXPECT_EQ(std::get<std::string>(TJUXVar_String("a").ToVarRec()), "a");
  EXPECT_EQ(std::get<int64_t>(TJUXVar_Scope().ToVarRec()), 0);
}

}  // namespace
