#include "eval/functions/higher_math/higher_math_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "eval/math_eval_helper.h"
#include "eval/values/derived_vars.h"

namespace {

using math_eval::EvalText;
using math_eval::TOutcome;

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kPi = std::acos(-1.0);
const double kSqrtPi = std::sqrt(kPi);

struct TValueCase {
  std::string_view Expression;
  double Value;
  double Tolerance = 1e-14;  // absolute; infinities must match exactly
};

void ExpectValues(std::span<const TValueCase> cases) {
  for (const TValueCase& c : cases) {
    SCOPED_TRACE(std::string(c.Expression));
    const TOutcome out = EvalText(c.Expression);
    ASSERT_TRUE(out.Built);
    EXPECT_TRUE(out.Errors.empty()) << out.Errors.front();
    EXPECT_EQ(out.Type, "double");
    // Out-of-domain answers are values, never flags or errors.
    EXPECT_EQ(out.Flags, 0);
    if (std::isnan(c.Value)) {
      EXPECT_TRUE(std::isnan(out.Value)) << out.Value;
    } else if (std::isinf(c.Value)) {
      EXPECT_EQ(out.Value, c.Value);
    } else {
      EXPECT_NEAR(out.Value, c.Value, c.Tolerance);
    }
  }
}

TEST(SpecialFunctionsTest, GammaFamily) {
  const TValueCase cases[] = {
      {"gamma(5)", 24, 1e-12},
      {"gamma(0.5)", kSqrtPi},
      {"gamma(-0.5)", -2 * kSqrtPi},
      {"gamma(0)", kInf},
      {"gamma(-1)", kInf},
      {"gamma(-2)", -kInf},
      {"gamma(200)", kInf},
      {"gammaln(1)", 0},
      {"gammaln(2)", 0},
      {"gammaln(2.5)", std::log(3 * kSqrtPi / 4)},
      {"gammaln(-0.5)", std::log(2 * kSqrtPi)},
      {"gammaln(0)", -kInf},
      {"gammaln(100)", std::lgamma(100.0), 1e-12},
      // The incomplete gamma function converges to a relative step of 3e-7.
      {"gammainc(0; 1)", 0},
      {"gammainc(1; 1)", 1 - std::exp(-1.0), 1e-7},
      {"gammainc(10; 2)", 1 - 11 * std::exp(-10.0), 1e-7},
      {"gammainc(-1; 1)", -kInf},
      {"gammainc(1; 0)", -kInf},
  };
  ExpectValues(cases);
}

TEST(SpecialFunctionsTest, Distributions) {
  const TValueCase cases[] = {
      {"gammadist(0; 1; 2)", 0.5},  // 0 to the power 0 is 1
      {"gammadist(2; 3; 0.5)", 4 * std::exp(-4.0) / 2 / 0.125},
      {"gammadist(-1; 1; 2)", -kInf},
      {"gammadist(1; 0; 2)", -kInf},
      {"chidist(2; 2)", 0.5 * std::exp(-1.0)},
      {"chidist(0; 2)", -kInf},
      {"chidist(1; -1)", -kInf},
      {"cumchidist(2; 2)", 1 - std::exp(-1.0), 1e-7},
      {"cumchidist(1e6; 3)", 1},
      {"cumchidist(-1; 2)", -kInf},
      {"normaldist(0; 0; 1)", 1 / std::sqrt(2 * kPi)},
      // The density of a standard deviation of 4 is a quarter as high.
      {"normaldist(0; 0; 4)", 1 / std::sqrt(8 * kPi)},
      {"normaldist(5; 3; 2)", std::exp(-0.5) / std::sqrt(4 * kPi)},
      {"normaldist(0; 0; 0)", -kInf},
      {"normaldist(0; 0; -1)", -kInf},
      // The upper tail P(X >= x).
      {"cumnormaldist(0; 0; 1)", 0.5},
      {"cumnormaldist(0; 0; 4)", 1.0},
      {"cumnormaldist(1.96; 0; 1)", 0.5 * std::erfc(1.96 / std::sqrt(2.0))},
      {"cumnormaldist(-3; 1; 2)", std::sqrt(2.0) * 0.5 * std::erfc(-2 / std::sqrt(2.0))},
      {"cumnormaldist(0; 0; 0)", std::nan("")},
      {"cumnormaldist(0; 0; -1)", std::nan("")},
  };
  ExpectValues(cases);
}

TEST(SpecialFunctionsTest, ErrorFunctions) {
  const TValueCase cases[] = {
      {"erf(0)", 0},
      {"erfc(0)", 1},
      {"erf(1)", std::erf(1.0)},
      {"erf(-1)", -std::erf(1.0)},
      {"erfc(-1)", 2 - std::erfc(1.0)},
      {"erfc(5)", std::erfc(5.0), 1e-25},
      {"erf(infinity)", 1},
      {"erfc(-infinity)", 2},
  };
  ExpectValues(cases);
}

TEST(SpecialFunctionsTest, ResultClassFollowsTheArguments) {
  // A currency argument gives a currency result; integers give doubles.
  TOutcome out = EvalText("erf(c)", math_eval::OneVariable<TJUXVar_Currency>("c", 0.5L));
  ASSERT_TRUE(out.Built);
  EXPECT_EQ(out.Type, "currency");
  EXPECT_NEAR(out.Value, std::erf(0.5), 1e-15);
  out = EvalText("gammainc(c; 2)", math_eval::OneVariable<TJUXVar_Currency>("c", 1.0L));
  EXPECT_EQ(out.Type, "currency");
  EXPECT_EQ(EvalText("gamma(3)").Type, "double");
}

TEST(SpecialFunctionsTest, SetArgumentsGiveOneValuePerElement) {
  using math_eval::RunOverSets;
  using math_eval::SetParam;
  using Texts = std::vector<std::string>;
  math_eval::TSetRun run = RunOverSets<TJUXFunc_Gamma>({SetParam({1, 2, 3, 4})});
  EXPECT_EQ(run.Texts, (Texts{"1", "1", "2", "6"}));
  EXPECT_EQ(run.LastState, jssLast);

  // A scalar repeats for every element of the set.
  run = RunOverSets<TJUXFunc_NormalDist>({SetParam({0, 0}), eval_test::IntegerParam(0), SetParam({1, 4})});
  EXPECT_EQ(run.Texts, (Texts{"0.398942", "0.199471"}));
  run = RunOverSets<TJUXFunc_GammaInc>({eval_test::IntegerParam(0), SetParam({1, 2, 3})});
  EXPECT_EQ(run.Texts, (Texts{"0", "0", "0"}));

  run = RunOverSets<TJUXFunc_ChiDist>({SetParam({1, 2, 3}), SetParam({2, 2})});
  EXPECT_TRUE(run.Flags & JUXKindFlag(jeScopeSet));
  EXPECT_EQ(RunOverSets<TJUXFunc_ErrorFcn>({SetParam({})}).LastState, jssEmpty);
}

struct TErrorCase {
  std::string_view Expression;
  std::string_view Message;
};

TEST(SpecialFunctionsTest, NonNumbersAndWrongCountsAreRefused) {
  const TErrorCase cases[] = {
      {"gamma('a')", "Incompatible types: double and string"},
      {"erf(true)", "Incompatible types: double and boolean"},
      {"normaldist(0; 'x'; 1)", "Incompatible types: double and string"},
      {"gamma(1; 2)", "Too many parameters for function \"gamma\""},
      {"gammainc(1)", "Not enough parameters for function \"gammainc\""},
      {"cumnormaldist(1; 2)", "Not enough parameters for function \"cumnormaldist\""},
      {"chidist(1; 2; 3)", "Too many parameters for function \"chidist\""},
  };
  for (const TErrorCase& c : cases) {
    SCOPED_TRACE(std::string(c.Expression));
    const TOutcome out = EvalText(c.Expression);
    ASSERT_FALSE(out.Errors.empty());
    EXPECT_EQ(out.Errors.front(), c.Message);
  }
}

TEST(SpecialFunctionsTest, RegistryRows) {
  const auto rows = SpecialFunctionTable();
  ASSERT_EQ(rows.size(), 10u);
  for (const TJUXFunctionInfo& row : rows) {
    SCOPED_TRACE(std::string(row.Name));
    EXPECT_NE(row.Class, nullptr);
    EXPECT_FALSE(row.Description.empty());
    EXPECT_TRUE(row.Signature.ends_with("): [double]"));
    EXPECT_EQ(row.Keywords[0], row.Name);
    const bool statistics = row.Name.find("dist") != std::string_view::npos;
    EXPECT_EQ(row.Category, statistics ? jfcStatistics : jfcArithmetic);
  }
}

}  // namespace
